#pragma once

class QMdiArea;

namespace tk::app {

// The frame's arrangement operation: 0 cascade, 1 tile horizontally (the
// windows stacked one above the other, each the full width of the area),
// 2 tile vertically (side by side, each the full height). Minimised windows
// are left where they are.
void arrange(QMdiArea& area, int code);

} // namespace tk::app
