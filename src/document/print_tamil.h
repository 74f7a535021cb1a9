#pragma once

class QPainter;
class QRectF;
class QTextDocument;

namespace tk::document {

// Printed Tamil that reads as Unicode Tamil in a PDF. The text in a Tamil
// display font becomes Unicode Tamil in the font the display font was made
// from, which looks the same. Its shaped glyphs (க், கு, the ி that leans
// on its consonant) have no character of their own that a PDF could name,
// so they are drawn as outlines, and an invisible copy of the same text, one
// glyph per character in reading order, lies over them for search and copy.

// Rewrites the display-font text of a document about to be printed.
void printTamilAsUnicode(QTextDocument& document);

// The invisible copy for the part of the laid-out document within view, in
// the painter's current coordinates (those the layout was drawn in).
void drawTamilTextLayer(QPainter& painter, const QTextDocument& document, const QRectF& view);

} // namespace tk::document
