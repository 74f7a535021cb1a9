#include "text_search.h"

#include "display_fonts.h"
#include "rtf/qt_formats.h"
#include "words.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tk::document {

TextSearch::TextSearch(const QTextDocument& document, const QString& text, int options)
    : document_(document),
      text_(text),
      // Positions in the raw text are the document's positions: a paragraph
      // break is one character there as in the document.
      content_(text.isEmpty() ? QString() : document.toRawText()),
      matcher_(text, options & MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
      wholeWord_(options & WholeWord)
{
}

// Most characters are word characters, or not, in every font; only the
// punctuation codes that a display font draws as Tamil need their font looked
// up, so a search does not walk the formatting of the whole document.
bool TextSearch::isWordCharacterAt(int pos, QChar c) const
{
    const bool latin = isWordCharacter(c, false);
    if (latin == isWordCharacter(c, true))
        return latin;
    const QTextBlock block = document_.findBlock(pos);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (pos >= fragment.position() && pos < fragment.position() + fragment.length())
            return isWordCharacter(c, fonts::isTamilDisplayFont(rtf::familyOf(fragment.charFormat(),
                                                                                 document_.defaultFont())));
    }
    return latin;
}

int TextSearch::next(int from, int to, std::optional<QChar> charBefore) const
{
    if (text_.isEmpty())
        return -1;
    const qsizetype end = to < 0 ? content_.size() : std::min<qsizetype>(to, content_.size());
    for (qsizetype at = matcher_.indexIn(content_, std::max(from, 0)); at >= 0 && at + text_.size() <= end;
         at = matcher_.indexIn(content_, at + 1)) {
        if (!wholeWord_)
            return int(at);
        const qsizetype after = at + text_.size();
        const QChar before = at == from && charBefore ? *charBefore : at > 0 ? content_.at(at - 1) : QChar();
        if (at > 0 && isWordCharacterAt(int(at - 1), before))
            continue;
        if (after < content_.size() && isWordCharacterAt(int(after), content_.at(after)))
            continue;
        return int(at);
    }
    return -1;
}

} // namespace tk::document
