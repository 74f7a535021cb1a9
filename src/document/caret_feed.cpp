#include "caret_feed.h"

#include "qt_text_surface.h"
#include "rich_text_box.h"
#include "tamil_runs.h"

#include "engine/engine.h"

#include <QTextCursor>

#include <algorithm>

namespace tk::document {

namespace {

// The text before the caret as the engine sees it: a copy of the document's
// last few characters, loaded further back only when the engine looks
// further, followed by what the feeding writes. `touched` marks where the
// copy first differs from the document.
class CaretCopy final : public engine::TextSurface {
public:
    CaretCopy(const QTextDocument& document, int caret) : document_(document), origin_(caret), caret_(caret) {}

    int caret() const override { return origin_ + int(buffer_.size()); }
    std::string before(int n) const override
    {
        load(n);
        return QtTextSurface::toCodes(buffer_.right(std::clamp<qsizetype>(n, 0, buffer_.size())));
    }
    void replaceBefore(int k, std::string_view text) override
    {
        load(k);
        buffer_.chop(std::clamp<qsizetype>(k, 0, buffer_.size()));
        touched_ = std::min(touched_, buffer_.size());
        insert(text);
    }
    void insert(std::string_view text) override
    {
        for (const char c : text)
            buffer_ += c == '\r' || c == '\n' ? QChar(QChar::ParagraphSeparator) : QChar(static_cast<unsigned char>(c));
    }
    // Characters that bypass the engine.
    void insertAsIs(const QString& text) { buffer_ += text; }
    void reserve(qsizetype n) { buffer_.reserve(buffer_.size() + n); }

    // Puts the result in place of the characters it replaces.
    void writeBack(QTextCursor& cursor, const QTextCharFormat& format) const
    {
        cursor.setPosition(origin_ + int(touched_));
        cursor.setPosition(caret_, QTextCursor::KeepAnchor);
        cursor.insertText(buffer_.mid(touched_), format);
    }

private:
    // Makes at least n characters before the end of the copy available,
    // as far as the document has them.
    void load(int n) const
    {
        if (buffer_.size() >= n || origin_ == 0)
            return;
        const int more = std::min<int>(origin_, std::max<int>(n - int(buffer_.size()), 16));
        QTextCursor c(const_cast<QTextDocument*>(&document_));
        c.setPosition(origin_ - more);
        c.setPosition(origin_, QTextCursor::KeepAnchor);
        buffer_.prepend(c.selectedText());
        origin_ -= more;
        touched_ += more;
    }

    const QTextDocument& document_;
    mutable int origin_;   // where the copy starts in the document
    const int caret_;      // the caret in the document, which the copy ends at
    mutable QString buffer_;
    mutable qsizetype touched_ = 0;
};

} // namespace

void feedAtCaret(RichTextBox& edit, engine::EngineState& keys, engine::DocumentState& members, const QString& text,
                 const rtf::Progress& progress)
{
    QTextCursor cursor = edit.textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // What typing at the caret would be written in.
    const QTextCharFormat format = edit.typedFormat(cursor.charFormat());

    CaretCopy copy(*edit.document(), cursor.position());
    copy.reserve(text.size());
    engine::Engine engine(keys, members, copy);
    constexpr qsizetype step = 1 << 16;
    qsizetype done = 0;
    std::string bytes;
    for (const PastedRun& run : tamilRunsToCodes(text)) {
        if (run.codes) {
            const QByteArray codes = run.text.toLatin1();
            copy.insert(std::string_view(codes.constData(), std::size_t(codes.size())));
            engine::advance(keys, ' ');
        } else {
            // 8-bit characters are keys; anything else goes in as it is.
            for (qsizetype i = 0; i < run.text.size();) {
                qsizetype j = i;
                while (j < run.text.size() && run.text.at(j).unicode() <= 0xFF)
                    ++j;
                if (j > i) {
                    for (qsizetype k = i; k < j; k += step) {
                        bytes = run.text.mid(k, std::min(step, j - k)).toLatin1().toStdString();
                        engine.feed(bytes);
                        if (progress)
                            progress(double(done + k - i) / double(std::max<qsizetype>(text.size(), 1)));
                    }
                } else {
                    copy.insertAsIs(run.text.at(j));
                    engine::advance(keys, ' ');
                    ++j;
                }
                i = j;
            }
        }
        done += run.text.size();
    }
    copy.writeBack(cursor, format);
    cursor.endEditBlock();
    edit.setTextCursor(cursor);
    if (progress)
        progress(1.0);
}

} // namespace tk::document
