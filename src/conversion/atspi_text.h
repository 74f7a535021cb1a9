#pragma once

// Other programs' text fields through the desktop's accessibility
// interface (AT-SPI over D-Bus): the accessible under a screen point, its
// text, and the replacement of that text. Everything fails quietly (an
// empty reference, no text, false) when there is no accessibility bus or
// the other program does not answer within a short time.
#include <QPoint>
#include <QString>

#include <optional>

namespace tk::conversion::atspi {

// An accessible object of another program: its bus name and object path.
struct Accessible {
    QString service;
    QString path;
    bool isNull() const { return service.isEmpty() || path.isEmpty(); }
    bool operator==(const Accessible&) const = default;
};

// True when the session has an accessibility bus this program can reach.
bool available();

// The accessible with a text at the screen point (pixels), in the windows
// of other programs; null when there is none.
Accessible textAt(QPoint screenPoint);

// Its whole text; nothing when it has none or does not answer.
std::optional<QString> text(const Accessible& accessible);

// Replaces its whole text; false when it cannot be edited or did not answer.
bool setText(const Accessible& accessible, const QString& text);

} // namespace tk::conversion::atspi
