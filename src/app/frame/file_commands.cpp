// The File menu's commands: Open, Close, Save, Save As, Save all, the reopen
// item and Print. A document's path is its window's caption; a document that
// was never opened or saved is captioned "Document N" and has none.
#include "mdi_form1.h"

#include "document/file_progress.h"
#include "memory/memory_store.h"

#include <QAction>
#include <QFileInfo>

namespace tk::app {

namespace {

const QString lastSave = QStringLiteral("Last save");
const QString memoryKey = QString::fromLatin1(memory::memoryKey);

} // namespace

void MDIForm1::reopenItemStartup()
{
    const QString path = memory::ReadValue(memoryKey, lastSave);
    if (path.isEmpty())
        return;
    QAction* last = item(QStringLiteral("last"));
    item(QStringLiteral("a"))->setVisible(true);
    last->setVisible(true);
    // Shown as it stands: an "&" in a folder name is no shortcut mark.
    last->setText(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
    last->setData(path);
}

void MDIForm1::openPath(const QString& path)
{
    // A file shows in one window only: two would save over each other.
    if (document::Form1* showing = windowShowing(path)) {
        activate(*showing);
        return;
    }
    // Unsaved text is never replaced: the file gets a window of its own,
    // which goes again if the file cannot be read.
    document::Form1* form = ActiveForm();
    const bool besideUnsaved = form && form->hasUnsavedChanges();
    if (!form || besideUnsaved) {
        new_Click();
        form = ActiveForm();
    }
    if (!form || loadInto(*form, path))
        return;
    if (besideUnsaved)
        form->closeWithoutQuestion();
}

bool MDIForm1::loadInto(document::Form1& form, const QString& path)
{
    bool cancelled = false;
    const files::FileStamp stamp = files::FileStamp::of(path);
    const document::Result loaded = document::loadShowingProgress(this, *form.RichTextBox1, path, &cancelled);
    if (!loaded.ok) {
        if (!cancelled)
            dialogs().message(this, messageTitle, loaded.error);
        return false;
    }
    form.setWindowTitle(path);
    form.diskStamp = stamp;
    if (!loaded.notice.isEmpty())
        dialogs().message(this, messageTitle, loaded.notice);
    return true;
}

void MDIForm1::open_Click()
{
    if (!ActiveForm())
        new_Click();
    // In the folder of the active document's file, proposing no name.
    const QString path = ActiveForm() ? ActiveForm()->filePath() : QString();
    cd1_.DialogTitle = QStringLiteral("Open");
    cd1_.Filter = seam::documentFilter;
    cd1_.InitDir = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    cd1_.FileName.clear();
    if (!cd1_.ShowOpen(this))
        return;
    openPath(cd1_.FileName);
}

void MDIForm1::last_Click() { openPath(item(QStringLiteral("last"))->data().toString()); }

void MDIForm1::Close1_Click()
{
    if (document::Form1* form = ActiveForm())
        form->closeFor(document::UnloadReason::Code);
    if (!ActiveForm())
        item(QStringLiteral("Close1"))->setEnabled(false);
}

void MDIForm1::save_Click()
{
    // A document that was never saved asks where, rather than write
    // "Document N" wherever the program happened to start.
    document::Form1* form = ActiveForm();
    if (form && form->filePath().isEmpty())
        saveas_Click();
    else if (form)
        form->save();
}

void MDIForm1::saveas_Click()
{
    document::Form1* form = ActiveForm();
    if (!form || !form->saveAs())
        return;
    // The reopen item of the next start; the key is made on first use.
    memory::CreateKey(memoryKey);
    memory::WriteValue(memoryKey, lastSave, form->filePath());
}

void MDIForm1::Saveall_Click()
{
    // Each changed document to its own file; only one that never had a file
    // asks where, brought forward so the person sees which one it is. A
    // cancelled dialog or a failed save ends the command.
    for (document::Form1* form : documents()) {
        if (!form->hasUnsavedChanges())
            continue;
        if (form->filePath().isEmpty())
            activate(*form);
        if (!form->save())
            return;
    }
}

void MDIForm1::Print_Click()
{
    if (!cd1_.ShowPrinter(this))
        return;
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    if (const document::Result printed = document::printShowingProgress(this, *form->RichTextBox1, cd1_.printer()); !printed.ok)
        dialogs().message(this, messageTitle, printed.error);
}

} // namespace tk::app
