// The same file open in two windows would have each save over the other:
// opening a file that is open already brings its window forward.
#include "mdi_form1.h"

#include <QDir>
#include <QFileInfo>

namespace tk::app {

document::Form1* MDIForm1::windowShowing(const QString& path) const
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return nullptr;
    for (document::Form1* form : documents()) {
        const QString caption = form->windowTitle();
        if (QDir::isAbsolutePath(caption) && QFileInfo(caption).canonicalFilePath() == wanted)
            return form;
    }
    return nullptr;
}

} // namespace tk::app
