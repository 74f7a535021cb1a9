#include "find_prompt.h"

#include "phonetic_line_edit.h"

#include "seam/common_dialog.h"

namespace tk::find {

QString askFindWord(QWidget* parent, QAction* convert)
{
    PhoneticLineEdit editor(convert);
    editor.setObjectName(QStringLiteral("findWord"));
    return seam::dialogs()
        .inputWith(parent, seam::messageTitle, QStringLiteral("Enter the word to search"), editor)
        .value_or(QString());
}

} // namespace tk::find
