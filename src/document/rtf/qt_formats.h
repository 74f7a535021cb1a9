#pragma once

#include "rich_text.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace tk::rtf {

// Between the reader's and writer's styles and Qt's formats. A property the
// Qt format leaves unset is taken from the document's default font.
// The font family a format writes in: its own, or the default font's.
QString familyOf(const QTextCharFormat& format, const QFont& defaultFont);
CharStyle charStyleOf(const QTextCharFormat& format, const QFont& defaultFont);
QTextCharFormat charFormatOf(const CharStyle& style);

// Indents: QTextBlockFormat holds logical pixels, the styles twips (units.h).
ParagraphStyle paragraphStyleOf(const QTextBlockFormat& format);
QTextBlockFormat blockFormatOf(const ParagraphStyle& style);

} // namespace tk::rtf
