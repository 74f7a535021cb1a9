// Kept apart: the X11 headers define macros that clash with Qt's names.
#include "lock_keys.h"

#include <QGuiApplication>

#ifdef TK_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace tk::app {

bool queryLockKeys(bool& caps, bool& num)
{
#ifdef TK_HAVE_X11
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        unsigned int state = 0;
        Display* display = x11->display();
        if (display && XkbGetIndicatorState(display, XkbUseCoreKbd, &state) == Success) {
            caps = state & 1u;
            num = state & 2u;
            return true;
        }
    }
#endif
    (void)caps;
    (void)num;
    return false;
}

} // namespace tk::app
