// Where the frame opens, and remembering it for the next start.
#include "mdi_form1.h"

#include "memory/memory_store.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace tk::app {

namespace {

const QString placeKey = QStringLiteral("frame/geometry");

} // namespace

void MDIForm1::placeOnScreen()
{
    const QSettings settings(memory::storePath(), QSettings::IniFormat);
    if (restoreGeometry(settings.value(placeKey).toByteArray()))
        return;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // A small screen is all needed; on a large one the frame leaves room
    // around it.
    if (screen->size().width() <= 1280 && screen->size().height() <= 800) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    const QRect space = screen->availableGeometry();
    const QSize size = space.size() * 0.8;
    setGeometry(QRect(space.topLeft() + QPoint((space.width() - size.width()) / 2, (space.height() - size.height()) / 2),
                      size));
}

void MDIForm1::rememberPlace()
{
    QSettings settings(memory::storePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return; // never overwrite a file that could not be read
    settings.setValue(placeKey, saveGeometry());
    settings.sync();
}

} // namespace tk::app
