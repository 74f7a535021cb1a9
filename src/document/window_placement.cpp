#include "window_placement.h"

#include <algorithm>

namespace tk::document {

QRect newWindowGeometry(QSize area, int windowsOpen, int titleBarHeight)
{
    const QSize size(std::min(area.width(), std::max(320, area.width() * 3 / 4)),
                     std::min(area.height(), std::max(240, area.height() * 3 / 4)));
    const int step = std::max(1, titleBarHeight);
    // How many steps fit before the window would cross an edge.
    const int room = std::min(area.width() - size.width(), area.height() - size.height()) / step + 1;
    const int offset = step * (std::max(0, windowsOpen) % std::max(1, room));
    return {QPoint(offset, offset), size};
}

} // namespace tk::document
