#pragma once

#include "rich_text.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <vector>

namespace tk::rtf {

// Between the reader's and writer's styles and Qt's formats. A property the
// Qt format leaves unset is taken from the document's default font.
// The font family a format writes in: its own, or the default font's.
QString familyOf(const QTextCharFormat& format, const QFont& defaultFont);
CharStyle charStyleOf(const QTextCharFormat& format, const QFont& defaultFont);
QTextCharFormat charFormatOf(const CharStyle& style);
// The formats of a document's styles, in their order. Qt looks up every
// family when it lays text out, and one that is not installed costs a search
// of the system's fonts (about half a millisecond each here, more once its
// font cache overflows): a file naming 40,000 fonts kept the window busy for
// a minute and a half after it was read. Past the first few hundred families
// that are not installed, text shows in the system's general font and keeps
// its family for saving (familyOf gives it).
std::vector<QTextCharFormat> charFormatsOf(const std::vector<CharStyle>& styles);

// Indents: QTextBlockFormat holds logical pixels, the styles twips (units.h).
ParagraphStyle paragraphStyleOf(const QTextBlockFormat& format);
QTextBlockFormat blockFormatOf(const ParagraphStyle& style);

} // namespace tk::rtf
