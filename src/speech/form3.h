#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;

namespace tk::speech {

class DirectSS1;

// The speech options: speed, pitch and mode for the active document's speech
// control. Modeless; every showing starts from the same values, not from the
// control's, and Ok or Cancel closes (and deletes) it.
class Form3 : public QDialog {
    Q_OBJECT
public:
    // activeControl gives the speech control of the document being worked
    // on, or nullptr when none is open.
    explicit Form3(std::function<DirectSS1*()> activeControl, QWidget* parent = nullptr);

    QLabel* Label1;
    QScrollBar* HScroll1;
    QLabel* Label2;
    QScrollBar* HScroll2;
    QLabel* Label3;
    QScrollBar* HScroll3;
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();
    void Command2_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<DirectSS1*()> activeControl_;
};

} // namespace tk::speech
