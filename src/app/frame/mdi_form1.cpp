#include "mdi_form1.h"

#include "status_panels.h"
#include "window_arrangement.h"

#include "document/file_progress.h"
#include "memory/form5.h"
#include "memory/word_memory.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSessionManager>
#include <QStatusBar>
#include <QToolBar>

namespace tk::app {

namespace {

MDIForm1* theFrame = nullptr;

} // namespace

MDIForm1* MDIForm1::instance() { return theFrame; }

MDIForm1::MDIForm1() : area_(new QMdiArea(this))
{
    theFrame = this;
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Tmil Kalvem"));
    area_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(area_);
    menus_ = buildMenuTree(*this);
    buildToolbar();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(true);
    panels_ = new StatusPanels(*statusBar());
    rich_ = new document::RichTextBox(this);
    rich_->setObjectName(QStringLiteral("Rich"));
    rich_->hide();
    connectCommands();
    connect(area_, &QMdiArea::subWindowActivated, this, &MDIForm1::activeDocumentChanged);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { endBySession(); });
    placeOnScreen();
    MDIForm_Load();
}

MDIForm1::~MDIForm1()
{
    if (theFrame == this)
        theFrame = nullptr;
}

void MDIForm1::MDIForm_Load() { reopenItemStartup(); }

document::FrameLinks MDIForm1::links()
{
    return {item(QStringLiteral("save")), item(QStringLiteral("Close1")), item(QStringLiteral("convert")),
            menu(), &cd1_, &engineState_};
}

document::Form1* MDIForm1::ActiveForm() const
{
    QMdiSubWindow* sub = area_->currentSubWindow();
    return sub ? qobject_cast<document::Form1*>(sub->widget()) : nullptr;
}

QList<document::Form1*> MDIForm1::documents() const
{
    QList<document::Form1*> forms;
    for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* form = qobject_cast<document::Form1*>(sub->widget()))
            forms << form;
    }
    return forms;
}

void MDIForm1::activate(document::Form1& form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form.parentWidget()))
        area_->setActiveSubWindow(sub);
}

void MDIForm1::activeDocumentChanged()
{
    if (document::Form1* form = ActiveForm()) {
        form->Form_GotFocus();
        connect(form->RichTextBox1, &document::RichTextBox::overwriteModeToggled, panels_,
                &StatusPanels::setOverwrite, Qt::UniqueConnection);
        panels_->setOverwrite(form->RichTextBox1->overwriteMode());
    } else {
        item(QStringLiteral("save"))->setEnabled(false);
    }
}

void MDIForm1::connectCommands()
{
    auto on = [this](const char* name, void (MDIForm1::*handler)()) {
        connect(item(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("new", &MDIForm1::new_Click);
    on("newwindow", &MDIForm1::new_Click);
    on("exit", &MDIForm1::exit_Click);
    on("toolbar", &MDIForm1::toolbar_Click);
    on("statusbar", &MDIForm1::statusbar_Click);
    on("cascade", &MDIForm1::cascade_Click);
    on("Horizontally", &MDIForm1::Horizontally_Click);
    on("vertically", &MDIForm1::vertically_Click);
    on("let", &MDIForm1::let_Click);
    on("Enter", &MDIForm1::Enter_Click);
    on("open", &MDIForm1::open_Click);
    on("Close1", &MDIForm1::Close1_Click);
    on("save", &MDIForm1::save_Click);
    on("saveas", &MDIForm1::saveas_Click);
    on("Saveall", &MDIForm1::Saveall_Click);
    on("last", &MDIForm1::last_Click);
    on("Print", &MDIForm1::Print_Click);
    on("cut", &MDIForm1::cut_Click);
    on("cut1", &MDIForm1::cut_Click);
    on("copy", &MDIForm1::copy_Click);
    on("copy1", &MDIForm1::copy_Click);
    on("paste", &MDIForm1::paste_Click);
    on("paste1", &MDIForm1::paste_Click);
    on("Cut_text", &MDIForm1::Cut_text_Click);
    on("Copy_text", &MDIForm1::Copy_text_Click);
    on("paste_text", &MDIForm1::paste_text_Click);
    on("special", &MDIForm1::special_Click);
    on("Delete", &MDIForm1::Delete_Click);
    on("find", &MDIForm1::find_Click);
    on("find1", &MDIForm1::find_Click);
    on("replace", &MDIForm1::replace_Click);
    on("replace1", &MDIForm1::replace_Click);
    on("font", &MDIForm1::font_Click);
    on("colour", &MDIForm1::colour_Click);
    on("Convert_document", &MDIForm1::Convert_document_Click);
    on("Export_unicode", &MDIForm1::Export_unicode_Click);
    on("Copy_unicode", &MDIForm1::Copy_unicode_Click);
    on("text", &MDIForm1::text_Click);
    on("read", &MDIForm1::read_Click);
    on("options", &MDIForm1::options_Click);
    on("spellcheck", &MDIForm1::spellcheck_Click);
    on("about", &MDIForm1::about_Click);
    on("Orbelant", &MDIForm1::Orbelant_Click);
    on("system", &MDIForm1::system_Click);
    on("web", &MDIForm1::web_Click);
}

void MDIForm1::new_Click()
{
    document::NewDocument(*area_, links());
    item(QStringLiteral("Close1"))->setEnabled(true);
}

// Runs the closing question like the close box: ending with unsaved
// documents and no question would lose them.
void MDIForm1::exit_Click() { close(); }

// The item toggles its own check mark; the bar follows it.
void MDIForm1::toolbar_Click() { toolbar_->setVisible(item(QStringLiteral("toolbar"))->isChecked()); }

void MDIForm1::statusbar_Click() { statusBar()->setVisible(item(QStringLiteral("statusbar"))->isChecked()); }

void MDIForm1::cascade_Click() { arrange(*area_, 0); }

void MDIForm1::Horizontally_Click() { arrange(*area_, 1); }

void MDIForm1::vertically_Click() { arrange(*area_, 2); }

void MDIForm1::let_Click()
{
    document::Form1* form = ActiveForm();
    const QString selected = form ? form->RichTextBox1->SelText() : QString();
    // Nothing to keep: say so rather than ask for a letter and store nothing.
    if (selected.isEmpty()) {
        dialogs().message(this, seam::messageTitle, memory::nothingSelectedMessage());
        return;
    }
    const auto answer = dialogs().input(
        this, QStringLiteral("TamilKalvem"),
        QStringLiteral("Please Enter the KEY-LETTER for the selected word to enter int the memmory eg. 'a'"),
        QString());
    const QString keyChar = answer.value_or(QString()).left(1);
    QString reason;
    const memory::StoreResult stored = memory::storeWord(keyChar, selected, &reason);
    if (stored == memory::StoreResult::TooLong)
        dialogs().message(this, seam::messageTitle, memory::tooLongMessage());
    else if (stored == memory::StoreResult::Failed)
        dialogs().message(this, seam::messageTitle, reason);
}

void MDIForm1::Enter_Click()
{
    if (!form5_) {
        form5_ = new Form5(this);
        connect(form5_, &Form5::messageRequested, this,
                [this](const QString& text) { dialogs().message(form5_, seam::messageTitle, text); });
    }
    form5_->show();
    form5_->raise();
    form5_->activateWindow();
}

bool MDIForm1::MDIForm_QueryUnload(document::UnloadReason reason)
{
    // The question is about the active document and names it; the others
    // that have changes ask their own when they close, so none is asked
    // about twice and none closes unsaved without a question.
    document::Form1* form = ActiveForm();
    if (!form || !form->hasUnsavedChanges() || reason == document::UnloadReason::TaskManager)
        return false;
    switch (dialogs().question(this, form->questionTitle(), QStringLiteral("Do you want to save before exit"))) {
    case DialogSeam::Answer::No:
        form->closeWithoutQuestion();
        return false;
    case DialogSeam::Answer::Yes:
        // A dismissed dialog or a failed save stops the closing.
        return !form->save();
    default:
        return true;
    }
}

void MDIForm1::endBySession()
{
    emit sessionEnding();
    closeReason_ = document::UnloadReason::TaskManager;
    close();
    closeReason_ = document::UnloadReason::ControlMenu;
}

void MDIForm1::closeEvent(QCloseEvent* event)
{
    const document::UnloadReason reason = closeReason_;
    if (MDIForm_QueryUnload(reason)) {
        event->ignore();
        return;
    }
    // Each document window then closes with its own question. Each is
    // brought forward first, so the person sees which one is asked about.
    for (document::Form1* form : documents()) {
        if (form->closed())
            continue;
        activate(*form);
        if (!form->closeFor(reason == document::UnloadReason::TaskManager ? reason
                                                                          : document::UnloadReason::MDIForm)) {
            event->ignore();
            return;
        }
    }
    if (form5_)
        form5_->close();
    if (form2_)
        form2_->close();
    if (form4_)
        form4_->close();
    rememberPlace();
    event->accept();
}

} // namespace tk::app
