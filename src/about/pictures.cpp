#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tk::about {

namespace {

// The icon's kolam, in the icon's units (dots 48 apart) around centre.
void drawKolam(QPainter& p, QPointF centre, qreal dotStep, const QColor& ink)
{
    p.save();
    p.translate(centre);
    p.scale(dotStep / 48.0, dotStep / 48.0);
    p.translate(-128, -128);
    QPen pen(ink, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);

    QPainterPath path;
    path.moveTo(128, 100);
    path.lineTo(156, 128);
    path.lineTo(128, 156);
    path.lineTo(100, 128);
    path.closeSubpath();
    // The four loops, each from one side of the diamond round a dot and back.
    path.moveTo(114, 114);
    path.cubicTo(92, 92, 100, 58, 128, 58);
    path.cubicTo(156, 58, 164, 92, 142, 114);
    path.cubicTo(164, 92, 198, 100, 198, 128);
    path.cubicTo(198, 156, 164, 164, 142, 142);
    path.cubicTo(164, 164, 156, 198, 128, 198);
    path.cubicTo(100, 198, 92, 164, 114, 142);
    path.cubicTo(92, 164, 58, 156, 58, 128);
    path.cubicTo(58, 100, 92, 92, 114, 114);
    p.drawPath(path);
    for (const QPointF corner : {QPointF(80, 80), QPointF(176, 80), QPointF(176, 176), QPointF(80, 176)})
        p.drawEllipse(corner, 15, 15);

    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (const QPointF dot : {QPointF(128, 128), QPointF(128, 80), QPointF(176, 128), QPointF(128, 176),
                              QPointF(80, 128)})
        p.drawEllipse(dot, 7, 7);
    for (const QPointF dot : {QPointF(80, 80), QPointF(176, 80), QPointF(176, 176), QPointF(80, 176)})
        p.drawEllipse(dot, 6, 6);
    p.restore();
}

} // namespace

QPixmap splashPicture(QSize size)
{
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, size.width(), size.height());
    ground.setColorAt(0, QColor(0x7a, 0x14, 0x26));
    ground.setColorAt(1, QColor(0xe8, 0x86, 0x2a));
    p.fillRect(picture.rect(), ground);

    // A lamp's glow behind the kolam.
    const QPointF centre(size.width() * 0.78, size.height() * 0.48);
    QRadialGradient glow(centre, size.height() * 0.55);
    glow.setColorAt(0, QColor(255, 236, 180, 120));
    glow.setColorAt(1, QColor(255, 236, 180, 0));
    p.fillRect(picture.rect(), glow);

    // Faint dots across the page, as the grid a kolam is drawn on.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 244, 214, 40));
    for (int y = 12; y < size.height(); y += 24) {
        for (int x = 12; x < size.width(); x += 24)
            p.drawEllipse(QPointF(x, y), 1.6, 1.6);
    }
    drawKolam(p, centre, size.height() * 0.16, QColor(0xff, 0xf4, 0xd6));
    return picture;
}

QPixmap aboutBackground(QSize size)
{
    QPixmap picture(size);
    QPainter p(&picture);
    QLinearGradient leaf(0, 0, 0, size.height());
    leaf.setColorAt(0, QColor(0xff, 0xf8, 0xe6));
    leaf.setColorAt(1, QColor(0xf3, 0xdf, 0xb0));
    p.fillRect(picture.rect(), leaf);
    // The ruled lines of a palm-leaf page.
    p.setPen(QPen(QColor(0xc8, 0xa8, 0x70, 60), 1));
    for (int y = 24; y < size.height(); y += 24)
        p.drawLine(12, y, size.width() - 12, y);
    return picture;
}

QPixmap kolamOrnament(int side, const QColor& ink)
{
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    drawKolam(p, QPointF(side / 2.0, side / 2.0), side * 48.0 / 160.0, ink);
    return picture;
}

} // namespace tk::about
