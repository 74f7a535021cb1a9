#pragma once

#include "seam/common_dialog.h"
#include "menu_tree.h"

#include "conversion/form4.h"
#include "document/form1.h"
#include "find/form2.h"
#include "engine/engine_state.h"
#include "memory/form5.h"
#include "speech/form3.h"
#include "spelling/spelling_dialog.h"

#include <QMainWindow>
#include <QPointer>

class QMdiArea;
class QToolBar;


namespace tk::app {

// The frame asks its questions through the seam below the documents.
using seam::CommonDialog;
using seam::DialogSeam;
using seam::dialogs;
using seam::messageTitle;

class StatusPanels;

// The main frame: the document windows in a multiple-document area, the menu
// bar whose item states are the program's shared flags, the toolbar, the
// status bar and the one common dialog. There is one for the life of the
// program, reached through MDIForm1::instance().
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    MDIForm1();
    ~MDIForm1() override;

    static MDIForm1* instance();

    // The document being worked on, or nullptr when none is open.
    document::Form1* ActiveForm() const;
    QList<document::Form1*> documents() const;

    CommonDialog& CD1() { return cd1_; }
    QAction* item(const QString& name) const { return menus_.item(name); }
    QMenu* menu() const { return menus_.menus.value(QStringLiteral("menu")); }
    QMdiArea* mdiArea() const { return area_; }
    QToolBar* Toolbar1() const { return toolbar_; }
    QStatusBar* StatusBar1() const { return statusBar(); }
    StatusPanels* statusPanels() const { return panels_; }
    engine::EngineState& engineState() { return engineState_; }
    document::FrameLinks links();
    Form5* form5() const { return form5_; }

    // The Click handlers; toolbar buttons run the same ones.
    void new_Click();
    void exit_Click();
    void toolbar_Click();
    void statusbar_Click();
    void cascade_Click();
    void Horizontally_Click();
    void vertically_Click();
    void let_Click();
    void Enter_Click();
    // The file commands.
    void open_Click();
    void Close1_Click();
    void save_Click();
    void saveas_Click();
    void Saveall_Click();
    void last_Click();
    void Print_Click();
    void saveButton_Click();
    void Toolbar1_ButtonClick(const QString& key);
    // The edit commands: clipboard, Paste special, Delete, Find and Replace.
    void cut_Click();
    void copy_Click();
    void paste_Click();
    void Cut_text_Click();
    void Copy_text_Click();
    void paste_text_Click();
    void special_Click();
    void Delete_Click();
    void find_Click();
    void replace_Click();
    find::Form2* form2() const { return form2_; }
    // The scratch surface of Paste special; never shown, never a document.
    document::RichTextBox* Rich() const { return rich_; }
    // The format commands.
    void font_Click();
    void colour_Click();
    // Conversion and Unicode: Convert a document (the Convert File dialog),
    // Export as Unicode and Copy as Unicode.
    void Convert_document_Click();
    void Export_unicode_Click();
    void Copy_unicode_Click();
    conversion::Form4* form4() const { return form4_; }
    // Read aloud, the speech options and the spell check.
    void text_Click();
    void read_Click();
    void options_Click();
    void spellcheck_Click();
    speech::Form3* form3() const { return form3_; }
    spelling::SpellingDialog* spellingDialog() const { return spelling_; }
    // The Help menu (help_commands.cpp) and the files named at start-up.
    void about_Click();
    void Orbelant_Click();
    void system_Click();
    void web_Click();
    QWidget* frmabout() const { return frmabout_; }
    QWidget* frmBrowser() const { return frmBrowser_; }
    void openFiles(const QStringList& paths);

    // Never losing work (file_safety.cpp): one window per file. (The
    // question before saving over a file changed elsewhere is the document
    // window's own, in Form1::saveTo.)
    document::Form1* windowShowing(const QString& path) const;

    // The frame's closing question; true when the closing must stop.
    bool MDIForm_QueryUnload(document::UnloadReason reason);
    // The desktop session ends: everything closes without a question, once
    // sessionEnding has let the recovery keep the unsaved documents.
    void endBySession();

signals:
    void sessionEnding();

public:

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void MDIForm_Load();
    // Shows the path saved last as the reopen item of the File menu.
    void reopenItemStartup();
    void buildToolbar();
    void connectCommands();
    // Loads path into the active document, or into a new window when the
    // active one has unsaved changes; a failure is told and changes nothing.
    void openPath(const QString& path);
    // Loads path into form and captions it; a failure is told (unless the
    // person cancelled it) and leaves form as it was.
    bool loadInto(document::Form1& form, const QString& path);
    // Size and place at start: as the settings file remembers, else
    // maximised on a small screen and most of a large one, centred.
    void placeOnScreen();
    void rememberPlace();
    // Brings the document window forward; it becomes ActiveForm.
    void activate(document::Form1& form);
    void activeDocumentChanged();

    MenuTree menus_;
    QMdiArea* area_;
    QToolBar* toolbar_ = nullptr;
    StatusPanels* panels_ = nullptr;
    CommonDialog cd1_;
    engine::EngineState engineState_;
    QPointer<Form5> form5_;
    QPointer<find::Form2> form2_;
    document::RichTextBox* rich_ = nullptr;
    QPointer<conversion::Form4> form4_;
    QPointer<speech::Form3> form3_;
    QPointer<spelling::SpellingDialog> spelling_;
    QPointer<QWidget> frmabout_;
    QPointer<QWidget> frmBrowser_;
    document::UnloadReason closeReason_ = document::UnloadReason::ControlMenu;
};

} // namespace tk::app
