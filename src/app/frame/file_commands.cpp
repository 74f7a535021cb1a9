// The File menu's commands: Open, Close, Save, Save As, Save all, the reopen
// item and Print. A document's path is its window's caption; a document that
// was never opened or saved is captioned "Document N" and has none.
#include "mdi_form1.h"

#include "document/file_progress.h"
#include "memory/memory_store.h"

#include <QAction>
#include <QDir>

namespace tk::app {

namespace {

const QString lastSave = QStringLiteral("Last save");
const QString memoryKey = QString::fromLatin1(memory::memoryKey);

// Paths from the dialogs are absolute; "Document N" is not a path.
bool hasPath(const document::Form1& form) { return QDir::isAbsolutePath(form.windowTitle()); }

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
    // Unsaved text is never replaced: the file gets a window of its own,
    // which goes again if the file cannot be read.
    document::Form1* form = ActiveForm();
    const bool besideUnsaved = form && item(QStringLiteral("save"))->isEnabled();
    if (!form || besideUnsaved) {
        new_Click();
        form = ActiveForm();
    }
    if (!form)
        return;
    bool cancelled = false;
    const document::Result loaded = document::loadShowingProgress(this, *form->RichTextBox1, path, &cancelled);
    if (loaded.ok) {
        form->setWindowTitle(path);
        if (!loaded.notice.isEmpty())
            dialogs().message(this, messageTitle, loaded.notice);
        return;
    }
    if (besideUnsaved)
        form->closeWithoutQuestion();
    if (!cancelled)
        dialogs().message(this, messageTitle, loaded.error);
}

void MDIForm1::open_Click()
{
    if (!ActiveForm())
        new_Click();
    cd1_.DialogTitle = QStringLiteral("Open");
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

bool MDIForm1::saveAs(document::Form1& form, const QString& path)
{
    const document::Result saved = document::saveShowingProgress(this, *form.RichTextBox1, path);
    if (!saved.ok) {
        dialogs().message(this, messageTitle, saved.error);
        return false;
    }
    form.setWindowTitle(path);
    item(QStringLiteral("save"))->setEnabled(false);
    return true;
}

void MDIForm1::save_Click()
{
    document::Form1* form = ActiveForm();
    if (!form)
        return;
    // Never saved: ask where, rather than write "Document N" wherever the
    // program happened to start.
    if (!hasPath(*form)) {
        saveas_Click();
        return;
    }
    saveAs(*form, form->windowTitle());
}

bool MDIForm1::showSaveAs()
{
    cd1_.DialogTitle = QStringLiteral("Save As");
    cd1_.Filter = QStringLiteral("All Files (*.*)|*.*");
    return cd1_.ShowSave(this);
}

void MDIForm1::saveas_Click()
{
    document::Form1* form = ActiveForm();
    if (!form || !showSaveAs() || !saveAs(*form, cd1_.FileName))
        return;
    // The reopen item of the next start; the key is made on first use.
    memory::CreateKey(memoryKey);
    memory::WriteValue(memoryKey, lastSave, cd1_.FileName);
}

void MDIForm1::Saveall_Click()
{
    // One pass per document window, each brought forward so the person sees
    // which one the dialog is for. A cancelled dialog or a failed save ends
    // the command.
    for (document::Form1* form : documents()) {
        activate(*form);
        if (!showSaveAs() || !saveAs(*form, cd1_.FileName))
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
