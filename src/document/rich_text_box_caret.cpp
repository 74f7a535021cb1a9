// The caret over whole letters: the keys that move it or delete at it, and
// where the mouse leaves it. Positions are judged by letters.h, never by the
// layout's own idea of where a cursor may stand, so they hold whatever lays
// the text out.
#include "rich_text_box.h"

#include "letters.h"
#include "qt_text_surface.h"
#include "words.h"

#include "engine/letters.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tk::document {

void RichTextBox::setSelection(int anchor, int position)
{
    QTextCursor c = textCursor();
    if (c.anchor() == anchor && c.position() == position)
        return;
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void RichTextBox::snapAfterMove(int oldPosition)
{
    const QTextCursor c = textCursor();
    const int position = c.position();
    const int anchor = c.anchor();
    const int snapped = snapToLetter(*document(), position, position < oldPosition ? Toward::Start : Toward::End);
    if (!c.hasSelection())
        setSelection(snapped, snapped);
    else
        setSelection(snapToLetter(*document(), anchor, anchor <= position ? Toward::Start : Toward::End), snapped);
}

void RichTextBox::snapAfterMouse()
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        const int place = nearestLetterPlace(*document(), c.position());
        setSelection(place, place);
        return;
    }
    const bool forward = c.anchor() < c.position();
    setSelection(snapToLetter(*document(), c.anchor(), forward ? Toward::Start : Toward::End),
                 snapToLetter(*document(), c.position(), forward ? Toward::End : Toward::Start));
}

bool RichTextBox::moveOverLetters(QKeyEvent* event)
{
    const QTextDocument& doc = *document();
    const QTextCursor c = textCursor();
    auto move = [&](int position, bool select) {
        setSelection(select ? c.anchor() : position, position);
        ensureCursorVisible();
        return true;
    };
    const int from = c.position();
    if (event == QKeySequence::MoveToNextChar)
        return move(c.hasSelection() ? c.selectionEnd() : nextLetterPlace(doc, from), false);
    if (event == QKeySequence::MoveToPreviousChar)
        return move(c.hasSelection() ? c.selectionStart() : previousLetterPlace(doc, from), false);
    if (event == QKeySequence::SelectNextChar)
        return move(nextLetterPlace(doc, from), true);
    if (event == QKeySequence::SelectPreviousChar)
        return move(previousLetterPlace(doc, from), true);
    if (event == QKeySequence::MoveToNextWord)
        return move(snapToLetter(doc, nextWordPlace(doc, from), Toward::End), false);
    if (event == QKeySequence::MoveToPreviousWord)
        return move(snapToLetter(doc, previousWordPlace(doc, from), Toward::Start), false);
    if (event == QKeySequence::SelectNextWord)
        return move(snapToLetter(doc, nextWordPlace(doc, from), Toward::End), true);
    if (event == QKeySequence::SelectPreviousWord)
        return move(snapToLetter(doc, previousWordPlace(doc, from), Toward::Start), true);
    if (isReadOnly())
        return false;
    if (event == QKeySequence::Delete) {
        deleteLetter(false);
        return true;
    }
    if (event == QKeySequence::DeleteEndOfWord) {
        deleteWord(false);
        return true;
    }
    if (event == QKeySequence::DeleteStartOfWord) {
        deleteWord(true);
        return true;
    }
    return false;
}

void RichTextBox::deleteLetter(bool backward)
{
    QTextCursor c = textCursor();
    if (c.hasSelection()) {
        c.removeSelectedText();
        setTextCursor(c);
        return;
    }
    const int at = c.position();
    const Letter letter = backward ? letterBefore(*document(), at) : letterAfter(*document(), at);
    if (letter.start == letter.end || letter.codes.find('\0') != std::string::npos) {
        // A paragraph break, or text outside the display fonts: as usual.
        if (backward)
            c.deletePreviousChar();
        else
            c.deleteChar();
        setTextCursor(c);
        return;
    }
    const std::string rest = backward ? engine::withoutLastSign(letter.codes) : std::string();
    // Only the codes that change are touched, so the rest keeps its look.
    std::size_t same = 0;
    while (same < rest.size() && rest[same] == letter.codes[same])
        ++same;
    std::size_t sameEnd = 0;
    while (sameEnd < rest.size() - same && sameEnd < letter.codes.size() - same && rest[rest.size() - 1 - sameEnd] == letter.codes[letter.codes.size() - 1 - sameEnd])
        ++sameEnd;
    c.setPosition(letter.start + int(same));
    c.setPosition(letter.end - int(sameEnd), QTextCursor::KeepAnchor);
    const QString replacement = QtTextSurface::fromCodes(std::string_view(rest).substr(same, rest.size() - same - sameEnd));
    if (replacement.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(replacement, c.charFormat());
    // The caret stays after what is left of the letter.
    c.setPosition(letter.start + int(rest.size()));
    setTextCursor(c);
}

void RichTextBox::deleteWord(bool backward)
{
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        const int at = c.position();
        const int to = backward ? snapToLetter(*document(), previousWordPlace(*document(), at), Toward::Start)
                                : snapToLetter(*document(), nextWordPlace(*document(), at), Toward::End);
        c.setPosition(to, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
    setTextCursor(c);
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton)
        snapAfterMouse();
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        snapAfterMouse();
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTextEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The whole word, Tamil letters and signs included, as Find sees words.
    const WordSpan word = wordAt(*document(), cursorForPosition(event->position().toPoint()).position());
    if (word.start < word.end)
        setSelection(snapToLetter(*document(), word.start, Toward::Start),
                     snapToLetter(*document(), word.end, Toward::End));
    else
        snapAfterMouse();
}

} // namespace tk::document
