#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QTimer;

namespace tk::about {

// The About window: the product's names and motto over a palm-leaf page, on
// which a new two-armed spiral of random size and colour is drawn every
// 50 ms for as long as the window is open. Modeless; "OK" closes it.
class frmabout : public QDialog {
    Q_OBJECT
public:
    explicit frmabout(QWidget* parent = nullptr);

    void Timer1_Timer();
    void Command1_Click();
    // Runs the companion program, or says that it is not installed.
    void Label5_Click();

    // The spirals drawn so far, over the whole inner area.
    const QImage& drawing() const { return drawing_; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Picture1;
    QLabel* Picture2;
    QLabel* picIcon;
    QPushButton* Command1;
    QTimer* Timer1;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPixmap background_;
    // Kept apart from the window, so a repaint shows every spiral again.
    QImage drawing_;
};

} // namespace tk::about
