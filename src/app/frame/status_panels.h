#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

namespace tk::app {

// The seven panels of the frame's status bar, left to right: Caps Lock,
// Num Lock, Insert state, two empty text panels (the first the widest), the
// date and the time. Kept up to date by a one-second timer and by the
// text surface's overwrite switch.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    explicit StatusPanels(QStatusBar& bar);

    QLabel* panel(int index) const { return panels_[index]; }

public slots:
    void refresh();
    void setOverwrite(bool overwrite);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* panels_[7];
    QTimer* timer_;
    bool capsLock_ = false;
    bool numLock_ = false;
    bool lockKnown_ = false;
};

} // namespace tk::app
