#pragma once

#include "result.h"
#include "rich_text.h"

#include <QByteArray>

namespace tk::rtf {

// Writes paragraphs and runs as RTF: a font table of the fonts used (all as
// \fnil\fcharset0), a colour table, then each paragraph with its alignment
// and indents and each run with what changed since the run before. Text in
// the Tamil display fonts is written byte for byte (128-255 as \'hh); other
// characters above 255 as \uN with a "?" fallback. Sizes that are not whole
// half points add the exact size in a word other readers ignore.
QByteArray writeRtf(const RichText& text, const Progress& progress = {});

} // namespace tk::rtf
