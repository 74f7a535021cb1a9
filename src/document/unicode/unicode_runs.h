#pragma once

// Unicode Tamil in and out of the runs of a rich text, the one place where
// the documents meet the Unicode world (files, other programs, the clipboard).
// The documents keep Tamil as 8-bit codes of a display font; everyone else
// writes Unicode Tamil in a Unicode font.
#include "rtf/rich_text.h"

#include <QString>
#include <QStringList>

namespace tk::unicode {

// Where Unicode Tamil goes out: the font it asks for first, then the usual
// Tamil fonts of other systems.
inline constexpr const char* unicodeTamilFamily = "Noto Sans Tamil";
const QStringList& unicodeTamilFamilies();
// The Latin font that Latin text coming in gets when it names none of its own
// (or names a Tamil font): the document's default font is a Tamil display font.
inline constexpr const char* defaultLatinFamily = "Noto Sans";

// U+0B80 to U+0BFF.
constexpr bool isTamil(char16_t c) { return c >= 0x0B80 && c <= 0x0BFF; }

struct UnicodeIn {
    qsizetype converted = 0;   // Unicode Tamil characters now held as codes
    qsizetype unconverted = 0; // characters kept as they were: no code stands for them
};

// Turns the Unicode Tamil of every run into codes in "Kolvani" (or in the
// run's own display font), keeping size, bold, italic, underline and colour.
// A run in a Tamil display font (or with no family: the document default) is
// codes already and only its Unicode Tamil changes. In any other run the rest
// stays as it is: Latin in its Latin font, or in latinFamily when the run's
// font is a Unicode Tamil font. A letter without a code stays Unicode and is
// counted, never dropped.
UnicodeIn codesFromUnicode(rtf::RichText& text, const QString& latinFamily = QString::fromLatin1(defaultLatinFamily));
// What to tell the person about characters left unconverted in source
// (a file's name in quotes, "the clipboard"): "" when there are none.
QString unconvertedNotice(qsizetype unconverted, const QString& source);
// True when codesFromUnicode would change something: Unicode Tamil, or a
// run in a Unicode Tamil font.
bool holdsUnicodeTamil(const rtf::RichText& text);

// The reverse: every run in a Tamil display font (or with no family) becomes
// Unicode Tamil in unicodeTamilFamily; other runs stay as they are. A letter
// whose codes straddle two runs (a sign drawn before its consonant in bold,
// the consonant not) goes whole into the run of its consonant.
rtf::RichText unicodeFromCodes(const rtf::RichText& text);

// The paragraphs of Unicode text (any of CR LF, LF, CR, U+2029 ends one) as
// runs in one style.
rtf::RichText richTextOfPlainText(QStringView text, const rtf::CharStyle& style);

} // namespace tk::unicode
