#pragma once

// Rich text whose runs are Unicode (see unicodeFromCodes) written out for
// other programs: a web page that keeps the formatting, or plain text.
#include "rtf/rich_text.h"

#include <QString>

namespace tk::unicode {

// A complete HTML page in UTF-8 terms (the caller encodes it): bold, italic,
// underline, colour, size, alignment and indents kept; runs in
// unicodeTamilFamily ask for the Tamil fonts of unicodeTamilFamilies().
QString htmlOf(const rtf::RichText& text, const QString& title = {});

// The text alone, each paragraph (and each line break inside one) ended by
// lineEnd but the last.
QString plainTextOf(const rtf::RichText& text, QStringView lineEnd);

} // namespace tk::unicode
