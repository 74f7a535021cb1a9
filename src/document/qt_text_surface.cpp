#include "qt_text_surface.h"

#include "rich_text_box.h"

#include <QTextCursor>
#include <QTextEdit>

namespace tk::document {

QString QtTextSurface::fromCodes(std::string_view codes)
{
    QString text(static_cast<qsizetype>(codes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < codes.size(); ++i)
        text[static_cast<qsizetype>(i)] = QChar(static_cast<unsigned char>(codes[i]));
    return text;
}

std::string QtTextSurface::toCodes(const QString& text)
{
    std::string codes;
    codes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        if (ch == QChar::ParagraphSeparator)
            codes.push_back('\r');
        else
            codes.push_back(ch.unicode() <= 0xFF ? static_cast<char>(ch.unicode()) : '\0');
    }
    return codes;
}

int QtTextSurface::caret() const { return edit_.textCursor().selectionStart(); }

std::string QtTextSurface::before(int n) const
{
    QTextCursor c = edit_.textCursor();
    const int end = c.selectionStart();
    c.setPosition(end - std::clamp(n, 0, end));
    c.setPosition(end, QTextCursor::KeepAnchor);
    return toCodes(c.selectedText());
}

void QtTextSurface::replace(int from, int to, std::string_view text)
{
    QTextCursor c = edit_.textCursor();
    if (join_)
        c.joinPreviousEditBlock();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    // A rewritten cluster keeps the look of the characters it replaces.
    const QTextCharFormat format = c.charFormat();
    if (text.empty()) {
        c.removeSelectedText();
        removedAt_ = from;
        removedFormat_ = format;
    } else {
        c.insertText(fromCodes(text), format);
        removedAt_ = -1;
    }
    if (join_)
        c.endEditBlock();
    edit_.setTextCursor(c);
}

void QtTextSurface::replaceBefore(int k, std::string_view text)
{
    const int end = caret();
    replace(end - std::clamp(k, 0, end), end, text);
}

void QtTextSurface::insert(std::string_view text)
{
    // As typing does: replaces the selection, in the format text typed next
    // would get, but always in a Tamil display font: these are font codes.
    QTextCursor c = edit_.textCursor();
    if (join_)
        c.joinPreviousEditBlock();
    if (!c.hasSelection() && c.position() == removedAt_)
        c.insertText(fromCodes(text), removedFormat_);
    else
        c.insertText(fromCodes(text), inTamilFont(c.charFormat(), *edit_.document()));
    removedAt_ = -1;
    if (join_)
        c.endEditBlock();
    edit_.setTextCursor(c);
}

} // namespace tk::document
