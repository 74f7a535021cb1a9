#pragma once

// The Convert File dialog: re-types a file, or the text of a window picked
// with the pointer, through the phonetic engine and puts the Tamil back where
// it came from.
#include "window_text.h"

#include "document/form1.h"

#include <QDialog>
#include <QLabel>

#include <functional>

class QPushButton;
class QRadioButton;

namespace tk::conversion {

// What the dialog needs of the main frame.
struct ConversionHost {
    // Opens a new, empty document window and makes it the active one.
    std::function<document::Form1*()> NewDocument;
    // The save item, the common dialog CD1 and the key memory.
    document::FrameLinks links;
};

// A picture box: a picture that reports clicks and mouse buttons.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void Click();
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt.
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(ConversionHost host, QWidget* parent = nullptr);

    QRadioButton* Option1;
    QRadioButton* Option2;
    PictureBox* Picture2;
    PictureBox* Picture1;
    QLabel* Label1;
    QPushButton* Command1;
    QPushButton* Command2;

    // Where the drag ended, the window under it and its text at that moment.
    QPoint cursorPos;
    WindowHandle pickedWnd;
    QString pickedText;

    void Option1_Click();
    void Option2_Click();
    void Picture2_Click();
    void Picture1_MouseDown(int button, int shift, int x, int y);
    void Picture1_MouseUp(int button, int shift, int x, int y);
    void Command1_Click();
    void Command2_Click();

    // "X is 12, Y is-3": each number with a blank before it, or its sign.
    static QString positionCaption(QPoint p);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool convertFile();
    bool convertWindow();
    void say(const QString& text);

    ConversionHost host_;
    QString fileName_; // the file chosen in this dialog, shown in Label1
};

} // namespace tk::conversion
