// The files named on the command line, as the file manager passes them.
#include "mdi_form1.h"

#include <QFileInfo>

namespace tk::app {

void MDIForm1::openFiles(const QStringList& paths)
{
    // Each file gets a window of its own; one that cannot be read is told
    // and its window goes again.
    for (const QString& name : paths) {
        const QString path = QFileInfo(name).absoluteFilePath();
        if (windowShowing(path))
            continue; // named twice
        new_Click();
        document::Form1* form = ActiveForm();
        if (form && !loadInto(*form, path))
            form->closeWithoutQuestion();
    }
    item(QStringLiteral("Close1"))->setEnabled(ActiveForm() != nullptr);
}

} // namespace tk::app
