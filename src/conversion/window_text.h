#pragma once

// The window under the pointer and its text, for converting another
// window's text in place. A window is a text field of this program
// (line edits, text edits, an editable combo box, other documents' text
// boxes) or, through the desktop's accessibility interface, a text field of
// another program.
#include "atspi_text.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace tk::conversion {

// What stands for a window handle: at most one of the two is set.
struct WindowHandle {
    QPointer<QWidget> widget;
    atspi::Accessible accessible;
    bool isNull() const { return !widget && accessible.isNull(); }
};

// The text field under the screen point: one of this program's first, then
// one of another program. Null when there is none.
WindowHandle WindowFromPoint(QPoint screenPoint);

// The window's whole text, however long; nothing when it holds no text (or
// is gone, or does not answer).
std::optional<QString> gettext(const WindowHandle& wnd);

// Replaces the window's whole text; false when it cannot take it.
bool SetText(const WindowHandle& wnd, const QString& text);

} // namespace tk::conversion
