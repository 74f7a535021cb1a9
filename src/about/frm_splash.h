#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace tk::about {

// The splash window: the product's picture, names and credits in front of
// the frame for five one-second ticks, or until the first click or key.
// A drag with the right button moves the Tamil name about the picture.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // The start-up: shows the splash, starts its ticks and shows frame
    // beside it. The splash deletes itself when it goes.
    static frmSplash* showAtStartUp(QWidget& frame);

    void Form_Load(QWidget& frame);
    void Timer1_Timer();
    qint16 ticks() const { return ticks_; }
    // Goes at once, as after the last tick.
    void unload();

    QLabel* Picture1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QTimer* Timer1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    qint16 ticks_ = 0;
};

} // namespace tk::about
