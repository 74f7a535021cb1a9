#pragma once

#include "engine/engine.h"
#include "qt_text_surface.h"
#include "rich_text_box.h"

#include "files/qt_safe_write.h"

#include <QWidget>

#include <optional>

class QAction;
class QMdiArea;
class QMenu;
class QSlider;

namespace tk::seam {
class CommonDialog;
}

namespace tk::document {

// What a document window uses of the frame: the shared menu states, the
// context menu, the common dialog and the program-wide key memory.
struct FrameLinks {
    QAction* save = nullptr;     // enabled: the active document has unsaved changes
    QAction* close1 = nullptr;   // enabled: there is a document to close
    QAction* convert = nullptr;  // checked: Tamil typing is on
    QMenu* popup = nullptr;      // the right-button menu
    seam::CommonDialog* cd1 = nullptr;
    engine::EngineState* engine = nullptr;
};

// Why a window is asked to close. Closing by the end of the session stands
// for the platform's task manager: no question is asked.
enum class UnloadReason { ControlMenu = 0, Code = 1, AppWindows = 2, TaskManager = 3, MDIForm = 4 };

// A document window: two indent sliders above the text surface and the
// document's engine members. The document counts as changed exactly while
// its text surface's document is modified: since the window was made, the
// file loaded or the last save, less what undo took back.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const FrameLinks& links, QWidget* parent = nullptr);

    QSlider* Slider1;
    QSlider* Slider2;
    RichTextBox* RichTextBox1;

    bool hasUnsavedChanges() const;
    // The file as it was when this document was loaded from it or saved to
    // it: a save over it asks first once another program has changed it.
    files::FileStamp diskStamp;
    // The document's file: the caption once it was opened or saved, "" for
    // a document captioned "Document N".
    QString filePath() const;

    // Writes the document to path, takes the path as caption and clears the
    // changed mark. A failure is told and changes nothing. Over the
    // document's own file, changed by another program since, it asks first:
    // overwrite, save under another name, or stop.
    bool saveTo(const QString& path);
    // Asks for a name with the Save dialog (in the file's folder, proposing
    // its name or the caption) and saves there; false when cancelled or failed.
    bool saveAs();
    // To the document's file, or, when it has none, as Save As.
    bool save();

    // The engine's procedures on this document, for the commands that feed
    // text through it.
    std::string w(char cho);
    void correct(unsigned g);
    void Edit();
    engine::DocumentState& engineMembers() { return members_; }
    QtTextSurface& surface() { return surface_; }

    // The closing question; true when the window must stay open.
    bool Form_QueryUnload(UnloadReason reason);
    // Closes for the given reason (the close box counts as ControlMenu).
    bool closeFor(UnloadReason reason);
    // Closes without any question and without saving.
    void closeWithoutQuestion();

    // "Document 1 - Tamil Kalvem": the closing question's title, naming
    // the document it asks about.
    QString questionTitle() const;
    bool closed() const { return closed_; }

public slots:
    void Form_GotFocus();

signals:
    // hasUnsavedChanges() changed (QTextDocument::modificationChanged of the
    // document shown, which loading a file replaces).
    void modificationChanged(bool changed);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RichTextBox1_KeyDown(int keyCode, int shift);
    void RichTextBox1_KeyPress(int* keyAscii);
    void RichTextBox1_KeyUp(int keyCode, int shift);
    void RichTextBox1_MouseDown(int button, int shift, const QPoint& globalPos);
    void RichTextBox1_ModificationChanged(bool changed);
    void Slider1_Change();
    void Slider2_Change();
    // The sliders as the paragraph at the caret stands, their maxima the
    // window's width or more.
    void showIndents();
    bool convertOn() const;
    bool isActiveDocument() const;
    // The dot a consonant key asked for, written before anything else
    // happens at the caret; dropped when the caret has left the consonant.
    void settlePendingDot();
    void followTypingSwitch();
    engine::Engine engine() { return {*links_.engine, members_, surface_}; }

    FrameLinks links_;
    engine::DocumentState members_;
    QtTextSurface surface_;
    UnloadReason reason_ = UnloadReason::ControlMenu;
    bool quiet_ = false;
    bool closed_ = false;
};

// The font typed text goes in while Tamil typing is off: the settings value
// "Latin font", else Noto Sans.
QString latinTypingFamily();

// Makes, captions ("Document " and a running number never reused in a run)
// and shows a new document window in area.
Form1* NewDocument(QMdiArea& area, const FrameLinks& links);

} // namespace tk::document
