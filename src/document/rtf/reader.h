#pragma once

#include "result.h"
#include "rich_text.h"

#include <QByteArrayView>

namespace tk::rtf {

// Groups may nest this deep; deeper input is refused rather than trusted.
inline constexpr int maxGroupDepth = 1000;

// True when data starts (after white space) with "{\rtf".
bool looksLikeRtf(QByteArrayView data);

// Reads RTF source into paragraphs and runs. Tolerates what common word
// processors write (unknown words and destinations, missing final braces);
// fails on input that is not RTF, on nesting past maxGroupDepth, or when the
// progress callback cancels. On failure out is left empty.
Result parseRtf(QByteArrayView data, RichText& out, const Progress& progress = {});

} // namespace tk::rtf
