#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>

// The pictures of the splash and About windows, drawn for the product: the
// dot kolam of the icon on a warm ground, and a pale palm-leaf page.
namespace tk::about {

QPixmap splashPicture(QSize size);
QPixmap aboutBackground(QSize size);
// The kolam alone on a transparent ground, side pixels square.
QPixmap kolamOrnament(int side, const QColor& ink);

} // namespace tk::about
