#pragma once

#include <QRect>
#include <QSize>

namespace tk::document {

// Where the next new document window goes in a frame area of the given size
// (the part of the area that shows): three quarters of the area, stepped
// down and right by one title bar for each window already open, so they
// cascade from the top-left; a window that would reach past the right or
// bottom edge starts again at the top-left. Never larger than the area.
QRect newWindowGeometry(QSize area, int windowsOpen, int titleBarHeight);

} // namespace tk::document
