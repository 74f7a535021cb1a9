#pragma once

#include <QTextBlock>

class QTextDocument;

namespace tk::document {

// The height of every paragraph of a document, held in the document's own
// block tree: Qt keeps a per-block count (the "line count" its plain-text
// layout uses) summed over a balanced tree, so the y of a paragraph and the
// paragraph at a y are both found in logarithmic time, and inserting or
// removing paragraphs keeps the sums right without any work here.
//
// Heights are held as fixed-point units, 64 to the pixel like the layout's
// own arithmetic; a document too tall for that in 32 bits (tens of millions
// of pixels) moves to coarser units.
class BlockHeights {
public:
    explicit BlockHeights(QTextDocument& document) : document_(document) {}

    qreal height(const QTextBlock& block) const { return fromUnits(units(block)); }
    // Returns whether the stored height changed.
    bool setHeight(const QTextBlock& block, qreal pixels);
    // The sum of the heights of the paragraphs before `block`.
    qreal offset(const QTextBlock& block) const { return fromUnits(quint32(block.firstLineNumber())); }
    qreal total() const;
    // The paragraph whose height spans `y` (an offset as above); the first
    // or the last for a y before or after them all.
    QTextBlock blockAt(qreal y) const;

    // Sets a run of heights at once, checking for overflow only at the end:
    // beginBatch(), any number of setHeightInBatch(), finishBatch().
    void beginBatch() { batchTotal_ = qint64(totalUnits()); }
    void setHeightInBatch(const QTextBlock& block, qreal pixels);
    void finishBatch();

private:
    static quint32 units(const QTextBlock& block) { return quint32(block.lineCount()); }
    quint32 toUnits(qreal pixels) const;
    qreal fromUnits(quint64 units) const { return qreal(units) / unitsPerPixel(); }
    qreal unitsPerPixel() const { return qreal(1 << shift_); }
    quint64 totalUnits() const;
    // Returns the new total.
    quint64 coarsen();

    QTextDocument& document_;
    int shift_ = 6;
    qint64 batchTotal_ = 0;
};

} // namespace tk::document
