#pragma once

#include <QString>
#include <QStringMatcher>

#include <optional>

class QTextDocument;

namespace tk::document {

// The option bits of the text surface's Find.
enum SearchOption : int { WholeWord = 2, MatchCase = 4 };

// Looks for one text in a document, many times over if need be: the text of
// the document is taken once, so finding every match of a word in 10 MB
// costs one pass. The document must not change while the search is used.
//
// A whole-word match has no word character just before or just after it,
// each neighbour judged in the font it is written in (words.h): in a Tamil
// display font ";" is the pulli and "," is இ, so "fz" is not a whole word
// inside "fz;", while in a Latin font ";" ends a word. Matches never run
// across a paragraph break.
class TextSearch {
public:
    TextSearch(const QTextDocument& document, const QString& text, int options);

    // Position of the first match that starts at or after from and ends at
    // or before to (-1: the end of the text); -1 when there is none.
    // charBefore, when given, stands in for the character just before from
    // (text that will have been written there by then), in the same font.
    int next(int from, int to = -1, std::optional<QChar> charBefore = std::nullopt) const;

    qsizetype length() const { return text_.size(); }

private:
    bool isWordCharacterAt(int pos, QChar c) const;

    const QTextDocument& document_;
    QString text_;
    QString content_;
    QStringMatcher matcher_;
    bool wholeWord_;
};

} // namespace tk::document
