#include "window_arrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace tk::app {

namespace {

// Splits the area into strips, one per window, across or down; the last
// strip takes what rounding leaves over.
void tile(QMdiArea& area, bool sideBySide)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    }
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int count = static_cast<int>(windows.size());
    const int total = sideBySide ? space.width() : space.height();
    const int each = total / count;
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        const int start = i * each;
        const int length = i == count - 1 ? total - start : each;
        sub->setGeometry(sideBySide ? QRect(start, 0, length, space.height())
                                    : QRect(0, start, space.width(), length));
    }
}

} // namespace

void arrange(QMdiArea& area, int code)
{
    switch (code) {
    case 0: area.cascadeSubWindows(); break;
    case 1: tile(area, false); break;
    case 2: tile(area, true); break;
    default: break;
    }
}

} // namespace tk::app
