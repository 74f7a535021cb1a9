#include "block_heights.h"

#include <QTextDocument>

#include <cmath>

namespace tk::document {

namespace {

// Sums stay within a signed int, which is how Qt hands them out.
constexpr quint64 maxTotalUnits = 0x7fffffff;

} // namespace

quint32 BlockHeights::toUnits(qreal pixels) const
{
    // Never zero: a paragraph always takes some room, and a zero would make
    // the tree skip it when asked for the paragraph at a y.
    const qreal u = std::round(std::max<qreal>(pixels, 0) * unitsPerPixel());
    return quint32(std::clamp<qreal>(u, 1, qreal(maxTotalUnits)));
}

quint64 BlockHeights::totalUnits() const
{
    const QTextBlock last = document_.lastBlock();
    return quint64(quint32(last.firstLineNumber())) + units(last);
}

qreal BlockHeights::total() const { return fromUnits(totalUnits()); }

bool BlockHeights::setHeight(const QTextBlock& block, qreal pixels)
{
    quint32 u = toUnits(pixels);
    const quint32 old = units(block);
    if (u == old)
        return false;
    while (u > old && totalUnits() - old + u > maxTotalUnits) {
        if (shift_ == 0) {
            u = quint32(std::max<quint64>(1, maxTotalUnits - (totalUnits() - old)));
            break;
        }
        coarsen();
        u = toUnits(pixels);
    }
    const_cast<QTextBlock&>(block).setLineCount(int(u));
    return true;
}

void BlockHeights::setHeightInBatch(const QTextBlock& block, qreal pixels)
{
    // Unsigned sums that wrap on the way are still right once the values are
    // brought back in range, so the check waits for the end of the batch.
    const quint32 u = toUnits(pixels);
    batchTotal_ += qint64(u) - qint64(units(block));
    const_cast<QTextBlock&>(block).setLineCount(int(u));
}

void BlockHeights::finishBatch()
{
    while (batchTotal_ > qint64(maxTotalUnits) && shift_ > 0)
        batchTotal_ = qint64(coarsen());
}

quint64 BlockHeights::coarsen()
{
    const int step = std::min(shift_, 3);
    shift_ -= step;
    quint64 sum = 0;
    for (QTextBlock b = document_.begin(); b.isValid(); b = b.next()) {
        const quint32 u = std::max<quint32>(1, (units(b) + (1u << step) / 2) >> step);
        b.setLineCount(int(u));
        sum += u;
    }
    return sum;
}

QTextBlock BlockHeights::blockAt(qreal y) const
{
    if (y <= 0)
        return document_.begin();
    const qreal u = std::floor(y * unitsPerPixel());
    if (u >= qreal(totalUnits()))
        return document_.lastBlock();
    return document_.findBlockByLineNumber(int(u));
}

} // namespace tk::document
