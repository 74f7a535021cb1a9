#include "status_panels.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

#include "lock_keys.h"

namespace tk::app {

StatusPanels::StatusPanels(QStatusBar& bar) : QObject(&bar), timer_(new QTimer(this))
{
    const int stretch[7] = {0, 0, 0, 4, 1, 0, 0};
    for (int i = 0; i < 7; ++i) {
        panels_[i] = new QLabel(&bar);
        panels_[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setMinimumWidth(stretch[i] ? 60 : 0);
        bar.addPermanentWidget(panels_[i], stretch[i]);
    }
    panels_[0]->setText(QStringLiteral("CAPS"));
    panels_[1]->setText(QStringLiteral("NUM"));
    setOverwrite(false);
    // Where the window system does not tell the lock states, the lock keys
    // typed in this program keep them.
    qApp->installEventFilter(this);
    connect(timer_, &QTimer::timeout, this, &StatusPanels::refresh);
    timer_->start(1000);
    refresh();
}

void StatusPanels::refresh()
{
    bool caps = capsLock_, num = numLock_;
    if (queryLockKeys(caps, num)) {
        capsLock_ = caps;
        numLock_ = num;
        lockKnown_ = true;
    }
    panels_[0]->setEnabled(capsLock_);
    panels_[1]->setEnabled(numLock_);
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    panels_[5]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    panels_[6]->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

void StatusPanels::setOverwrite(bool overwrite)
{
    panels_[2]->setText(overwrite ? QStringLiteral("OVR") : QStringLiteral("INS"));
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event)
{
    if (!lockKnown_ && event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && key->key() == Qt::Key_CapsLock)
            capsLock_ = !capsLock_;
        else if (!key->isAutoRepeat() && key->key() == Qt::Key_NumLock)
            numLock_ = !numLock_;
        else
            return false;
        refresh();
    }
    return false;
}

} // namespace tk::app
