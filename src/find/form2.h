#pragma once

#include <QDialog>

#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tk::document {
class RichTextBox;
}

namespace tk::find {

class PhoneticLineEdit;

// The Find and Replace dialog: one modeless instance, which Search runs on
// whatever document is active at that moment. Closing it unloads it; the
// next Replace shows it afresh.
class Form2 : public QDialog {
    Q_OBJECT
public:
    // convert: the Tamil typing switch the two boxes follow; activeBox: the
    // text surface of the active document, nullptr when none is open.
    Form2(QAction* convert, std::function<document::RichTextBox*()> activeBox, QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLabel* Label1;
    PhoneticLineEdit* Text1;
    QLabel* Label2;
    PhoneticLineEdit* Text2;
    QGroupBox* Frame2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* Command2;

    // Search: replaces every match and says how many.
    void Command1_Click();
    // E&xit: a beep, then the dialog unloads.
    void Command2_Click();

    // The count message: "made", the count with the blank of its sign, "times".
    static QString countMessage(qint64 count);

private:
    std::function<document::RichTextBox*()> activeBox_;
};

} // namespace tk::find
