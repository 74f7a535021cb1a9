#include "rich_text_box.h"

#include "document_layout.h"
#include "letters.h"
#include "print_document.h"

#include "display_fonts.h"
#include "rtf/qt_formats.h"
#include "rtf/units.h"
#include "text_search.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextOption>

#include <memory>

namespace tk::document {

namespace {

// A key that types a character into the text: what the base text edit would
// insert, and Enter, Backspace and Tab, which the engine also sees.
bool typesCharacter(const QKeyEvent* event)
{
    if (event->text().size() != 1)
        return false;
    const QChar ch = event->text().at(0);
    return ch.isPrint() || ch == u'\t' || ch == u'\r' || ch == u'\b';
}

} // namespace

// While a key types (its handlers, the engine's edits on its behalf, the
// insertion and the key release), caret moves are typing, not moves.
class RichTextBox::TypingScope {
public:
    explicit TypingScope(RichTextBox& box) : box_(box) { ++box_.typing_; }
    ~TypingScope() { --box_.typing_; }
    TypingScope(const TypingScope&) = delete;
    TypingScope& operator=(const TypingScope&) = delete;

private:
    RichTextBox& box_;
};

QTextCharFormat inTamilFont(QTextCharFormat format, const QTextDocument& document)
{
    if (fonts::isTamilDisplayFont(rtf::familyOf(format, document.defaultFont())))
        return format;
    const QString family = document.defaultFont().family();
    format.setFontFamilies({fonts::isTamilDisplayFont(family) ? family : QString::fromLatin1(fonts::kolvaniFamily)});
    fonts::applyNoLetterSpacing(format);
    return format;
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(false);
    // Tamil display fonts draw clusters from neighbouring codes: no letter
    // spacing, ever.
    QFont font(QStringLiteral("Kolvani"));
    font.setPointSizeF(14.25);
    font.setWeight(QFont::Normal);
    document()->setDefaultFont(font);
    // Without a fixed direction the layout scans every paragraph after an
    // edit for its first strong character, which doubles the cost of a key
    // typed early in a long document. Tamil and the codes run left to right.
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);
    setFont(font);
    setCurrentFont(font);

    auto moved = [this] {
        if (typing_ == 0)
            caretMoved_ = true;
    };
    connect(this, &QTextEdit::cursorPositionChanged, this, moved);
    connect(this, &QTextEdit::selectionChanged, this, moved);
    watchDocument();
    useOwnLayout();
}

void RichTextBox::useOwnLayout()
{
    useDocumentLayout(*document());
    connect(static_cast<DocumentLayout*>(document()->documentLayout()), &DocumentLayout::viewShifted, this,
            &RichTextBox::followViewShift, Qt::UniqueConnection);
}

void RichTextBox::layOutView()
{
    if (auto* layout = qobject_cast<DocumentLayout*>(document()->documentLayout()))
        layout->setView(verticalScrollBar()->value(), viewport()->height());
}

void RichTextBox::followViewShift(qreal dy)
{
    shiftRemainder_ += dy;
    const int step = int(std::lround(shiftRemainder_));
    shiftRemainder_ -= step;
    if (step == 0)
        return;
    QScopedValueRollback guard(followingShift_, true);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
}

void RichTextBox::scrollContentsBy(int dx, int dy)
{
    if (followingShift_) {
        // The text moved as far as the view: what is on screen stays, but
        // the pixels cannot simply be moved.
        viewport()->update();
        return;
    }
    QTextEdit::scrollContentsBy(dx, dy);
    layOutView();
}

void RichTextBox::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    layOutView();
}

void RichTextBox::watchDocument()
{
    connect(document(), &QTextDocument::modificationChanged, this, &RichTextBox::modificationChanged);
}

void RichTextBox::setTypingFonts(bool tamil, const QString& latinFamily)
{
    tamilTyping_ = tamil;
    latinFamily_ = latinFamily;
}

QString RichTextBox::Text() const
{
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void RichTextBox::SetText(const QString& text) { setPlainText(text); }

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::SetSelStart(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(position, 0, document()->characterCount() - 1));
    setTextCursor(c);
}

int RichTextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

QString RichTextBox::SelText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void RichTextBox::SetSelText(const QString& text)
{
    QTextCursor c = textCursor();
    c.insertText(text);
    setTextCursor(c);
}

QString RichTextBox::SelFontName() const
{
    const QStringList families = textCursor().charFormat().fontFamilies().toStringList();
    return families.isEmpty() ? currentFont().family() : families.first();
}

void RichTextBox::mergeSelFormat(const QTextCharFormat& format)
{
    mergeCurrentCharFormat(format);
}

void RichTextBox::SetSelFontName(const QString& family)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    mergeSelFormat(f);
}

void RichTextBox::SetSelFontSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeSelFormat(f);
}

void RichTextBox::SetSelColor(const QColor& color)
{
    QTextCharFormat f;
    f.setForeground(color);
    mergeSelFormat(f);
}

std::optional<bool> RichTextBox::selectionHas(bool (*test)(const QTextCharFormat&)) const
{
    const QTextCursor sel = textCursor();
    if (!sel.hasSelection())
        return test(sel.charFormat());
    // Walk the fragments that overlap the selection; a few per formatted run.
    std::optional<bool> seen;
    const int from = sel.selectionStart(), to = sel.selectionEnd();
    for (QTextBlock b = document()->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= from || frag.position() >= to)
                continue;
            const bool on = test(frag.charFormat());
            if (seen && *seen != on)
                return std::nullopt;
            seen = on;
        }
    }
    return seen.value_or(false);
}

std::optional<bool> RichTextBox::SelBold() const
{
    return selectionHas([](const QTextCharFormat& f) { return f.fontWeight() >= QFont::Bold; });
}

void RichTextBox::SetSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelFormat(f);
}

std::optional<bool> RichTextBox::SelItalic() const
{
    return selectionHas([](const QTextCharFormat& f) { return f.fontItalic(); });
}

void RichTextBox::SetSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeSelFormat(f);
}

std::optional<bool> RichTextBox::SelUnderline() const
{
    return selectionHas([](const QTextCharFormat& f) { return f.fontUnderline(); });
}

void RichTextBox::SetSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeSelFormat(f);
}

void RichTextBox::SetSelAlignment(int alignment)
{
    switch (alignment) {
    case 0: setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); break;
    case 1: setAlignment(Qt::AlignRight | Qt::AlignAbsolute); break;
    case 2: setAlignment(Qt::AlignHCenter); break;
    default: break;
    }
}

int RichTextBox::pixelsToTwips(int pixels) { return rtf::pixelsToTwips(pixels); }

// The text edit knows a left margin for all lines and an extra indent for the
// first; the first line sits at SelIndent, the others SelHangingIndent from it.
// A margin cannot go left of the page, so a negative hanging indent moves the
// first line right instead. Both are held in the layout's pixels as the RTF
// code converts twips, so any twips value comes back unchanged.
int RichTextBox::SelIndent() const
{
    const QTextBlockFormat f = textCursor().blockFormat();
    return rtf::pixelsToTwips(f.leftMargin() + f.textIndent());
}

int RichTextBox::SelHangingIndent() const { return rtf::pixelsToTwips(-textCursor().blockFormat().textIndent()); }

static void setIndents(RichTextBox& box, int firstTwips, int hangingTwips)
{
    const int margin = std::max(0, firstTwips + hangingTwips);
    QTextBlockFormat f;
    f.setLeftMargin(rtf::twipsToPixels(margin));
    f.setTextIndent(rtf::twipsToPixels(firstTwips - margin));
    box.textCursor().mergeBlockFormat(f);
}

void RichTextBox::SetSelIndent(int twips) { setIndents(*this, twips, SelHangingIndent()); }

void RichTextBox::SetSelHangingIndent(int twips) { setIndents(*this, SelIndent(), twips); }

int RichTextBox::Find(const QString& text, int start, int end, int options)
{
    const int at = TextSearch(*document(), text, options).next(start < 0 ? SelStart() : start, end);
    if (at < 0)
        return -1;
    QTextCursor match(document());
    match.setPosition(at);
    match.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
    setTextCursor(match);
    return at;
}

Result RichTextBox::LoadFile(const QString& path, int type, const Progress& progress)
{
    // Built in a document of its own, so that a failed load leaves the shown
    // one as it was; the view then takes it whole. The new document starts as
    // the old one did, with an empty undo history.
    QTextDocument* old = document();
    auto fresh = std::make_unique<QTextDocument>(this);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setDefaultTextOption(old->defaultTextOption());
    fresh->setUndoRedoEnabled(old->isUndoRedoEnabled());
    // With the shown width and layout from the start, the load only
    // estimates the paragraphs' heights; they are laid out as they come into
    // view.
    fresh->setPageSize(old->pageSize());
    useDocumentLayout(*fresh);
    const Result loaded = loadFile(*fresh, path, type, progress);
    if (!loaded)
        return loaded;
    fresh->setModified(false);
    // The first document belongs to the text edit, which deletes it itself.
    const bool ours = old->parent() == this;
    setDocument(fresh.release());
    if (ours)
        delete old;
    useOwnLayout();
    watchDocument();
    // Typing goes on in the format of the loaded text, not that of the caret
    // in the text it replaced.
    setTextCursor(QTextCursor(document()));
    caretMoved_ = true;
    layOutView();
    // Another document in the view: nothing of the old picture stands.
    viewport()->update();
    emit modificationChanged(false);
    return loaded;
}

Result RichTextBox::SaveFile(const QString& path, int type, const Progress& progress) const
{
    return saveFile(*document(), path, type, progress);
}

QString RichTextBox::SelRTF() const { return selRtf(textCursor()); }

Result RichTextBox::SetSelRTF(const QString& source)
{
    QTextCursor c = textCursor();
    const Result r = setSelRtf(c, source);
    setTextCursor(c);
    return r;
}

QString RichTextBox::TextRTF() const { return textRtf(*document()); }

Result RichTextBox::SetTextRTF(const QString& source) { return setTextRtf(*document(), source); }

Result RichTextBox::SelPrint(QPrinter* printer, const Progress& progress) const
{
    if (!printer)
        return Result::failure(QStringLiteral("No printer was chosen."));
    const QTextCursor sel = textCursor();
    return sel.hasSelection() ? printDocument(*document(), sel.selectionStart(), sel.selectionEnd(), *printer, progress)
                              : printDocument(*document(), 0, -1, *printer, progress);
}

void RichTextBox::insertTyped(QChar ch)
{
    QTextCursor c = textCursor();
    // Overwriting takes the whole letter after the caret, never half of it.
    if (overwriteMode() && !c.hasSelection()) {
        const Letter next = letterAfter(*document(), c.position());
        c.setPosition(next.end, QTextCursor::KeepAnchor);
    }
    c.insertText(QString(ch), typedFormat(c.charFormat()));
    setTextCursor(c);
}

QTextCharFormat RichTextBox::typedFormat(QTextCharFormat at) const
{
    const bool inTamil = fonts::isTamilDisplayFont(rtf::familyOf(at, document()->defaultFont()));
    if (tamilTyping_ && !inTamil) {
        at = inTamilFont(at, *document());
    } else if (!tamilTyping_ && inTamil && !latinFamily_.isEmpty()) {
        at.setFontFamilies({latinFamily_});
        at.setFontLetterSpacingType(QFont::PercentageSpacing);
        at.setFontLetterSpacing(100);
    }
    return at;
}

bool RichTextBox::event(QEvent* event)
{
    // Not claiming a Ctrl key lets the window's shortcut for it run; with
    // none, the key comes back here as an ordinary key press.
    if (event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier) {
        event->ignore();
        return true;
    }
    return QTextEdit::event(event);
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    const int shift = shiftState(event->modifiers());
    {
        const TypingScope typing(*this);
        emit KeyDown(event->key(), shift);
    }

    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        emit overwriteModeToggled(overwriteMode());
        return;
    }
    if (moveOverLetters(event)) {
        event->accept();
        return;
    }
    const int oldPosition = textCursor().position();
    if (event->modifiers() & Qt::ControlModifier && !event->text().isEmpty()) {
        // A command key: whatever text it carries is not typed.
        QKeyEvent command(event->type(), event->key(), event->modifiers(), QString(),
                          event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QTextEdit::keyPressEvent(&command);
        event->setAccepted(command.isAccepted());
        snapAfterMove(oldPosition);
        return;
    }
    if (!typesCharacter(event)) {
        QTextEdit::keyPressEvent(event);
        snapAfterMove(oldPosition);
        return;
    }

    const TypingScope typing(*this);
    const QChar typed = event->text().at(0);
    const bool control = typed.unicode() < 32;
    QTextCursor step = textCursor();
    step.beginEditBlock();
    int code = typed.unicode();
    emit KeyPress(&code);
    if (control && code == u'\b') {
        deleteLetter(true);
    } else if (control && code == typed.unicode()) {
        // Enter and Tab keep their usual effect.
        QTextEdit::keyPressEvent(event);
    } else if (code > 0) {
        insertTyped(QChar(code));
    }
    step.endEditBlock();
    caretMoved_ = false;
    ensureCursorVisible();
    event->accept();
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event)
{
    {
        const TypingScope typing(*this);
        emit KeyUp(event->key(), shiftState(event->modifiers()));
    }
    QTextEdit::keyReleaseEvent(event);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    QTextEdit::inputMethodEvent(event);
    if (!committed.isEmpty())
        emit TextCommitted(committed);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    // Raised before the caret moves: what a key still held asked for (the
    // dot after a consonant) belongs where the caret stands now.
    {
        const TypingScope typing(*this);
        emit MouseDown(button, shiftState(event->modifiers()), event->globalPosition().toPoint());
    }
    // The caret stays where it is on a right click: the menu acts on the
    // selection the user made.
    if (button == 2)
        return;
    QTextEdit::mousePressEvent(event);
    caretMoved_ = true;
    snapAfterMouse();
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The document window pops up the frame's own menu on the button press.
    event->accept();
}

} // namespace tk::document
