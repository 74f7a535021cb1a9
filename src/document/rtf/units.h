#pragma once

#include <QtGlobal>

#include <cmath>

namespace tk::rtf {

// Paragraph indents live in QTextBlockFormat as the layout's logical pixels,
// 96 to the inch, so an indent of 15 twips is one pixel. Converting a twips
// value to pixels and back gives the same twips value, which keeps indents
// exact through a save and a reload.
//
// leftMargin is where the lines after the first start (RTF \li) and
// textIndent how far the first line starts from there (\fi, negative for a
// hanging indent). An indent I with a hanging indent H, both in twips, is
// leftMargin twipsToPixels(I + H) and textIndent twipsToPixels(-H).
inline constexpr int twipsPerPixel = 15;

inline qreal twipsToPixels(int twips) { return qreal(twips) / twipsPerPixel; }
inline int pixelsToTwips(qreal pixels) { return int(std::lround(pixels * twipsPerPixel)); }

} // namespace tk::rtf
