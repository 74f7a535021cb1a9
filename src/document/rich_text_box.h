#pragma once

#include "rtf/document_io.h"

#include <QColor>
#include <QString>
#include <QTextEdit>

#include <optional>

class QPrinter;

namespace tk::document {

// The text surface of a document window. The text is 8-bit font codes held
// as the characters U+0000 to U+00FF and shown through a Tamil display font.
// Positions count characters from 0, a paragraph break counting as one.
//
// For one key it raises KeyDown, KeyPress and KeyUp in that order. KeyPress
// carries the typed character's code, which a handler may change: the
// surface then inserts that character instead, as it would insert a typed one
// (replacing a selection, respecting overwrite mode), or nothing for 0.
// Everything a handler and the insertion do for one key is one undo step (the
// engine's text surface joins the key release's dot to it). Enter, Backspace
// and Tab are raised too and then keep their usual effect; keys held with
// Ctrl are commands and never type their character. The window's shortcuts
// come before the surface's own Ctrl keys (Ctrl+C is the frame's Copy); a
// Ctrl key that no shortcut takes keeps its usual effect here (Ctrl+Z).
//
// The caret never stands inside a letter of a Tamil display font (letters.h):
// arrow keys and the word keys move over whole letters and words, every other
// move (Home, End, Page keys, clicks, drags) is taken on to the end of the
// letter it stopped in, in the direction it went; a double click selects the
// word (words.h). Backspace takes off the sign typed last or the whole
// letter, Delete the letter after the caret.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);          // drops all formatting
    int SelStart() const;                       // characters before the caret
    void SetSelStart(int position);             // empties the selection
    int SelLength() const;
    QString SelText() const;
    void SetSelText(const QString& text);       // replaces the selection
    QString SelFontName() const;
    void SetSelFontName(const QString& family);
    void SetSelFontSize(double points);
    void SetSelColor(const QColor& color);
    // nullopt for a selection that is partly one, partly the other.
    std::optional<bool> SelBold() const;
    void SetSelBold(bool on);
    std::optional<bool> SelItalic() const;
    void SetSelItalic(bool on);
    std::optional<bool> SelUnderline() const;
    void SetSelUnderline(bool on);
    void SetSelAlignment(int alignment);        // 0 left, 1 right, 2 centre
    // Twips. The first line starts at SelIndent, the following lines at
    // SelIndent + SelHangingIndent.
    void SetSelIndent(int twips);
    void SetSelHangingIndent(int twips);
    int SelIndent() const;
    int SelHangingIndent() const;
    // options: 2 whole word (display-font letters and signs are word
    // characters), 4 match case. start -1: from the caret; end -1: to the end. The match becomes the selection; -1 when there is none.
    int Find(const QString& text, int start = -1, int end = -1, int options = 0);

    // type 0 rich text (a file that is not RTF loads as plain text), 1 plain
    // 8-bit text. A failed load leaves the content as it was; a failed save
    // leaves the previous file as it was. Either way the error names the file.
    Result LoadFile(const QString& path, int type = RichTextFile, const Progress& progress = {});
    Result SaveFile(const QString& path, int type = RichTextFile, const Progress& progress = {}) const;

    // The selection as RTF source, and its replacement by RTF source (text
    // that is not RTF goes in as it stands).
    QString SelRTF() const;
    Result SetSelRTF(const QString& source);
    // The whole content as RTF source, and its replacement.
    QString TextRTF() const;
    Result SetTextRTF(const QString& source);

    // Prints the selection, or everything when nothing is selected. Fails
    // when the printer could not be started (an output file that cannot be
    // written, say).
    Result SelPrint(QPrinter* printer, const Progress& progress = {}) const;

    // Typed characters go in in a Tamil display font while tamil is set and
    // in latinFamily while it is not, whatever the text at the caret is
    // written in; the rest of the caret's format (bold, size, colour) stays.
    void setTypingFonts(bool tamil, const QString& latinFamily);
    // The format a key typed where the text has format `at` goes in with.
    QTextCharFormat typedFormat(QTextCharFormat at) const;

    // True once the caret or the selection moved by anything but typing
    // (arrows, a click, a command, undo, another file loaded) since the last
    // key that typed. Typing itself, and what the key's handlers write on its
    // behalf, never sets it.
    bool caretMovedSinceTyping() const { return caretMoved_; }
    void markCaretMoved() { caretMoved_ = true; }

    // The ruler's units: twips as a saved document counts them, 15 to a
    // pixel of the layout.
    static int pixelsToTwips(int pixels);

signals:
    // keyCode: the key (letters 65..90 whatever the Shift state); shift: bits
    // 1 Shift, 2 Ctrl, 4 Alt.
    void KeyDown(int keyCode, int shift);
    void KeyPress(int* keyAscii);
    void KeyUp(int keyCode, int shift);
    // Text that came in without a key (an input method's commit).
    void TextCommitted(const QString& text);
    // button: 1 left, 2 right, 4 middle; globalPos: where the pointer is.
    void MouseDown(int button, int shift, const QPoint& globalPos);
    void overwriteModeToggled(bool overwrite);
    // The document's modified flag changed (QTextDocument::modificationChanged
    // of whichever document the surface shows; loading a file replaces it).
    void modificationChanged(bool changed);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The document is laid out as it is shown (DocumentLayout): the view
    // tells the layout what it shows, and scrolls with the text when
    // paragraphs above it get their real heights.
    void useOwnLayout();
    void layOutView();
    void followViewShift(qreal dy);
    bool followingShift_ = false;
    qreal shiftRemainder_ = 0;

    class TypingScope;
    void watchDocument();
    void insertTyped(QChar ch);
    // The caret keys handled here rather than by the layout; false for others.
    bool moveOverLetters(QKeyEvent* event);
    void deleteLetter(bool backward);
    void deleteWord(bool backward);
    // After a move by the base text edit: the moved end on to a letter's
    // end in the direction it went, the anchor out to whole letters.
    void snapAfterMove(int oldPosition);
    // After the mouse set the caret: the nearer end of the letter, or, for a
    // selection, whole letters.
    void snapAfterMouse();
    void setSelection(int anchor, int position);
    std::optional<bool> selectionHas(bool (*test)(const QTextCharFormat&)) const;
    void mergeSelFormat(const QTextCharFormat& format);

    int typing_ = 0;
    bool caretMoved_ = false;
    bool tamilTyping_ = true;
    QString latinFamily_;
};

// format in a Tamil display font: the document's default font when it is
// one, else Kolvani; unchanged when it is in one already.
QTextCharFormat inTamilFont(QTextCharFormat format, const QTextDocument& document);

// Shift state bits from Qt's modifiers: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);

} // namespace tk::document
