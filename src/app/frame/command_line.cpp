// The files named on the command line, as the file manager passes them.
#include "mdi_form1.h"

#include "document/file_progress.h"

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
        if (!form)
            continue;
        bool cancelled = false;
        const files::FileStamp stamp = files::FileStamp::of(path);
        const document::Result loaded = document::loadShowingProgress(this, *form->RichTextBox1, path, &cancelled);
        if (loaded.ok) {
            form->setWindowTitle(path);
            form->diskStamp = stamp;
            if (!loaded.notice.isEmpty())
                dialogs().message(this, messageTitle, loaded.notice);
            continue;
        }
        form->closeWithoutQuestion();
        if (!cancelled)
            dialogs().message(this, messageTitle, loaded.error);
    }
    item(QStringLiteral("Close1"))->setEnabled(ActiveForm() != nullptr);
}

} // namespace tk::app
