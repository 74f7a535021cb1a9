#include "words.h"

#include "display_fonts.h"
#include "engine/font_codes.h"
#include "rtf/qt_formats.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tk::document {

bool isWordCharacter(QChar c, bool tamilDisplayFont)
{
    if (tamilDisplayFont && c.unicode() < 256 && engine::fontcodes::isTamilLetterCode(char(c.unicode())))
        return true;
    return c.isLetterOrNumber() || c.isMark() || c == u'_';
}

bool isWordCharacterAt(const QTextDocument& document, int pos)
{
    const QTextBlock block = document.findBlock(pos);
    if (!block.isValid() || pos < block.position() || pos >= block.position() + block.length() - 1)
        return false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (pos < fragment.position() || pos >= fragment.position() + fragment.length())
            continue;
        const QChar c = fragment.text().at(pos - fragment.position());
        const QString family = rtf::familyOf(fragment.charFormat(), document.defaultFont());
        return isWordCharacter(c, fonts::isTamilDisplayFont(family));
    }
    return false;
}

WordSpan wordAt(const QTextDocument& document, int pos)
{
    if (!isWordCharacterAt(document, pos)) {
        if (pos > 0 && isWordCharacterAt(document, pos - 1))
            --pos;
        else
            return {pos, pos};
    }
    const QTextBlock block = document.findBlock(pos);
    int start = pos, end = pos + 1;
    while (start > block.position() && isWordCharacterAt(document, start - 1))
        --start;
    while (isWordCharacterAt(document, end))
        ++end;
    return {start, end};
}

int nextWordPlace(const QTextDocument& document, int pos)
{
    const QTextBlock block = document.findBlock(pos);
    const int end = block.position() + block.length() - 1;
    if (pos >= end)
        return std::min(pos + 1, document.characterCount() - 1);
    while (pos < end && isWordCharacterAt(document, pos))
        ++pos;
    while (pos < end && !isWordCharacterAt(document, pos))
        ++pos;
    return pos;
}

int previousWordPlace(const QTextDocument& document, int pos)
{
    const int start = document.findBlock(pos).position();
    if (pos <= start)
        return std::max(pos - 1, 0);
    while (pos > start && !isWordCharacterAt(document, pos - 1))
        --pos;
    while (pos > start && isWordCharacterAt(document, pos - 1))
        --pos;
    return pos;
}

} // namespace tk::document
