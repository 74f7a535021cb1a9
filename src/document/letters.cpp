#include "letters.h"

#include "text_runs.h"

#include "engine/letters.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tk::document {

namespace {

// A stretch of one paragraph as font codes, from document position from.
struct Stretch {
    int from = 0;
    std::string codes;
    bool cutAtStart = false; // the paragraph goes on before it
    bool cutAtEnd = false;   // or after it
};

// Positions from to to, kept inside the paragraph.
Stretch readStretch(const QTextDocument& document, const QTextBlock& block, int from, int to)
{
    const int blockStart = block.position();
    const int blockEnd = blockStart + block.length() - 1; // before the paragraph break
    Stretch s;
    s.from = std::max(blockStart, from);
    to = std::min(blockEnd, to);
    s.cutAtStart = s.from > blockStart;
    s.cutAtEnd = to < blockEnd;
    s.codes.assign(static_cast<std::size_t>(std::max(0, to - s.from)), '\0');
    forEachRun(document, s.from, to, [&](const TextRun& run) {
        if (run.tamilDisplayFont && !run.paragraphBreak) {
            for (qsizetype i = 0; i < run.text.size(); ++i) {
                const char16_t ch = run.text.at(i).unicode();
                if (ch <= 0xFF)
                    s.codes[static_cast<std::size_t>(run.position - s.from + i)] = static_cast<char>(ch);
            }
        }
        return true;
    });
    return s;
}

// The letter rules judge a place from the codes up to four before it and
// one after; a result that near a cut end is read again with more around it.
constexpr int context = 5;

template <typename Rule>
int inParagraph(const QTextDocument& document, int pos, Rule rule)
{
    const QTextBlock block = document.findBlock(pos);
    if (!block.isValid())
        return pos;
    for (int reach = 16;; reach *= 4) {
        const Stretch s = readStretch(document, block, pos - reach, pos + reach);
        const int at = rule(s.codes, static_cast<std::size_t>(pos - s.from));
        const bool nearCut = (s.cutAtStart && at < context) || (s.cutAtEnd && at > int(s.codes.size()) - context);
        if (!nearCut)
            return s.from + at;
    }
}

Letter letterOf(const QTextDocument& document, int start, int end)
{
    Letter l{start, end, {}};
    if (end > start) {
        l.codes = readStretch(document, document.findBlock(start), start, end).codes;
    }
    return l;
}

int paragraphStart(const QTextDocument& document, int pos) { return document.findBlock(pos).position(); }

int paragraphEnd(const QTextDocument& document, int pos)
{
    const QTextBlock block = document.findBlock(pos);
    return block.position() + block.length() - 1;
}

} // namespace

int snapToLetter(const QTextDocument& document, int pos, Toward toward)
{
    return inParagraph(document, pos, [toward](std::string_view codes, std::size_t at) {
        return int(toward == Toward::Start ? engine::letterStartAtOrBefore(codes, at)
                                           : engine::letterEndAtOrAfter(codes, at));
    });
}

int nearestLetterPlace(const QTextDocument& document, int pos)
{
    const int start = snapToLetter(document, pos, Toward::Start);
    const int end = snapToLetter(document, pos, Toward::End);
    return pos - start <= end - pos ? start : end;
}

int previousLetterPlace(const QTextDocument& document, int pos)
{
    if (pos <= 0)
        return 0;
    if (pos == paragraphStart(document, pos))
        return pos - 1;
    return snapToLetter(document, pos - 1, Toward::Start);
}

int nextLetterPlace(const QTextDocument& document, int pos)
{
    const int last = document.characterCount() - 1;
    if (pos >= last)
        return last;
    if (pos == paragraphEnd(document, pos))
        return pos + 1;
    return snapToLetter(document, pos + 1, Toward::End);
}

Letter letterBefore(const QTextDocument& document, int pos)
{
    if (pos <= 0 || pos == paragraphStart(document, pos))
        return {pos, pos, {}};
    return letterOf(document, snapToLetter(document, pos - 1, Toward::Start), pos);
}

Letter letterAfter(const QTextDocument& document, int pos)
{
    if (pos >= document.characterCount() - 1 || pos == paragraphEnd(document, pos))
        return {pos, pos, {}};
    return letterOf(document, pos, snapToLetter(document, pos + 1, Toward::End));
}

} // namespace tk::document
