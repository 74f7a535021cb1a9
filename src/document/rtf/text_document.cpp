#include "text_document.h"

#include "qt_formats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <unordered_map>

namespace tk::rtf {

namespace {

// Interns styles as Qt's format indexes come along; most documents use few.
class StyleTable {
public:
    StyleTable(const QTextDocument& doc, RichText& out) : doc_(doc), out_(out) {}

    template<typename GetFormat>
    int styleFor(int formatIndex, GetFormat format)
    {
        if (const auto it = byFormat_.find(formatIndex); it != byFormat_.end())
            return it->second;
        const CharStyle s = charStyleOf(format(), doc_.defaultFont());
        const auto [it, added] = byStyle_.try_emplace(s, int(out_.styles.size()));
        if (added)
            out_.styles.push_back(s);
        byFormat_.emplace(formatIndex, it->second);
        return it->second;
    }

private:
    const QTextDocument& doc_;
    RichText& out_;
    std::unordered_map<int, int> byFormat_;
    std::unordered_map<CharStyle, int, CharStyleHash> byStyle_;
};

// False when the person cancelled.
bool report(const Progress& progress, qsizetype done, qsizetype total)
{
    return !progress || total <= 0 || progress(double(done) / double(total));
}

} // namespace

RichText extractRichText(const QTextDocument& document, int from, int to, const Progress& progress)
{
    RichText out;
    StyleTable styles(document, out);
    const int end = document.characterCount() - 1; // without the final paragraph mark
    if (to < 0 || to > end)
        to = end;
    from = std::clamp(from, 0, to);
    QTextBlock block = document.findBlock(from);
    qsizetype count = 0;
    for (; block.isValid() && block.position() <= to; block = block.next()) {
        Paragraph p;
        p.format = paragraphStyleOf(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int stop = std::min(fragment.position() + fragment.length(), to);
            if (start >= stop)
                continue;
            QString text = fragment.text();
            if (start != fragment.position() || stop != fragment.position() + fragment.length())
                text = text.mid(start - fragment.position(), stop - start);
            const int style = styles.styleFor(fragment.charFormatIndex(), [&] { return fragment.charFormat(); });
            if (!p.runs.empty() && p.runs.back().style == style)
                p.runs.back().text += text;
            else
                p.runs.push_back(Run{std::move(text), style});
        }
        // The paragraph mark's format matters only where no run shows one.
        p.markStyle = p.runs.empty() ? styles.styleFor(block.charFormatIndex(), [&] { return block.charFormat(); })
                                     : p.runs.back().style;
        out.paragraphs.push_back(std::move(p));
        if ((++count & 4095) == 0)
            report(progress, block.position() - from, to - from);
    }
    if (out.paragraphs.empty())
        out.paragraphs.emplace_back();
    if (out.styles.empty())
        out.styles.push_back(charStyleOf(QTextCharFormat(), document.defaultFont()));
    return out;
}

bool insertRichText(QTextCursor& cursor, const RichText& text, const Progress& progress)
{
    const std::vector<QTextCharFormat> formats = charFormatsOf(text.styles);
    const auto format = [&](int index) {
        return index >= 0 && size_t(index) < formats.size() ? formats[size_t(index)] : QTextCharFormat();
    };

    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const size_t n = text.paragraphs.size();
    for (size_t i = 0; i < n; ++i) {
        const Paragraph& p = text.paragraphs[i];
        if (i > 0)
            cursor.insertBlock(blockFormatOf(p.format), format(p.markStyle));
        else if (n > 1)
            cursor.setBlockFormat(blockFormatOf(p.format));
        for (const Run& r : p.runs)
            cursor.insertText(r.text, format(r.style));
        if ((i & 4095) == 4095 && !report(progress, qsizetype(i), qsizetype(n))) {
            cursor.endEditBlock();
            return false;
        }
    }
    cursor.endEditBlock();
    return true;
}

bool replaceDocument(QTextDocument& document, const RichText& text, const Progress& progress)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    if (!text.paragraphs.empty()) {
        const Paragraph& first = text.paragraphs.front();
        cursor.setBlockFormat(blockFormatOf(first.format));
        if (size_t(first.markStyle) < text.styles.size())
            cursor.setBlockCharFormat(charFormatOf(text.styles[size_t(first.markStyle)]));
    }
    const bool done = insertRichText(cursor, text, progress);
    document.setUndoRedoEnabled(undo);
    return done;
}

} // namespace tk::rtf
