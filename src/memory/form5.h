#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The memory key dialog: the user types a text (in font codes, as the box
// does not go through the phonetic engine) and picks the letter that recalls
// it with Ctrl+Shift. Modeless; stays open after Apply so that several
// letters can be filled one after another. Deletes itself when closed.
class Form5 : public QDialog {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QComboBox* Combo1;
    QPushButton* Command1;
    QPushButton* Command2;

signals:
    // A message for the user (a refused text); the frame shows it.
    void messageRequested(const QString& text);

private slots:
    void Command1_Click();
    void Command2_Click();
};
