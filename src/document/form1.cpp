#include "form1.h"

#include "seam/common_dialog.h"
#include "file_progress.h"
#include "memory/memory_store.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace tk::document {

namespace {

QSlider* makeSlider(const char* name, const QString& label, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setToolTip(label);
    slider->setAccessibleName(label);
    slider->setFocusPolicy(Qt::NoFocus);
    return slider;
}

} // namespace

Form1::Form1(const FrameLinks& links, QWidget* parent)
    : QWidget(parent),
      Slider1(makeSlider("Slider1", QStringLiteral("Indent"), this)),
      Slider2(makeSlider("Slider2", QStringLiteral("Hanging Indent"), this)),
      RichTextBox1(new RichTextBox(this)),
      links_(links),
      surface_(*RichTextBox1)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("File 1- Tamil Kalvem"));
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));

    // The whole surface stays inside the window below the sliders.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Slider1);
    layout->addWidget(Slider2);
    layout->addWidget(RichTextBox1, 1);
    setFocusProxy(RichTextBox1);
    resize(1024, 640);

    connect(RichTextBox1, &RichTextBox::KeyDown, this, &Form1::RichTextBox1_KeyDown);
    connect(RichTextBox1, &RichTextBox::KeyPress, this, &Form1::RichTextBox1_KeyPress);
    connect(RichTextBox1, &RichTextBox::KeyUp, this, &Form1::RichTextBox1_KeyUp);
    connect(RichTextBox1, &RichTextBox::MouseDown, this, &Form1::RichTextBox1_MouseDown);
    connect(RichTextBox1, &RichTextBox::TextCommitted, this, [this] {
        // Text from an input method goes in unchanged and ends the word.
        if (convertOn())
            engine::advance(*links_.engine, ' ');
    });
    connect(RichTextBox1, &QTextEdit::textChanged, this, &Form1::RichTextBox1_Change);
    connect(Slider1, &QSlider::valueChanged, this, &Form1::Slider1_Change);
    connect(Slider2, &QSlider::valueChanged, this, &Form1::Slider2_Change);

    // Form_Load: the key memory starts afresh in a new window.
    engine::reset(*links_.engine);
}

bool Form1::hasUnsavedChanges() const { return RichTextBox1->document()->isModified(); }

bool Form1::convertOn() const { return links_.convert && links_.convert->isChecked(); }

std::string Form1::w(char cho) { return engine().w(cho); }

void Form1::correct(unsigned g) { engine().correct(g); }

void Form1::Edit() { engine().edit(); }

void Form1::Form_GotFocus()
{
    links_.save->setEnabled(modified);
    links_.close1->setEnabled(true);
}

void Form1::RichTextBox1_Change()
{
    modified = true;
    links_.save->setEnabled(true);
}

void Form1::RichTextBox1_KeyDown(int keyCode, int shift)
{
    // Ctrl+Shift and a letter recall the word stored under it; Alt is not
    // looked at. The word is font codes already and bypasses the engine.
    if ((shift & 3) == 3 && keyCode >= 'A' && keyCode <= 'Z')
        RichTextBox1->SetSelText(memory::ReadValue(QString::fromLatin1(memory::memoryKey),
                                                   QString(QChar(keyCode))));
}

void Form1::RichTextBox1_KeyPress(int* keyAscii)
{
    if (!convertOn())
        return;
    if (*keyAscii > 0xFF) {
        // No 8-bit code: goes in unchanged and ends the word.
        engine::advance(*links_.engine, ' ');
        return;
    }
    const std::string out = engine().keyPress(static_cast<char>(*keyAscii));
    *keyAscii = out.empty() ? 0 : static_cast<unsigned char>(out[0]);
}

void Form1::RichTextBox1_KeyUp(int, int shift)
{
    surface_.setJoinLastStep(true);
    engine().keyRelease(shift, convertOn());
    surface_.setJoinLastStep(false);
}

void Form1::RichTextBox1_MouseDown(int button, int, const QPoint& globalPos)
{
    if (button == 2 && links_.popup)
        links_.popup->popup(globalPos);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The sliders read as a ruler in twips across the window.
    const int widthTwips = RichTextBox::pixelsToTwips(width());
    const QSignalBlocker block1(Slider1);
    const QSignalBlocker block2(Slider2);
    Slider1->setMaximum(widthTwips);
    Slider2->setMaximum(widthTwips);
}

void Form1::Slider1_Change() { RichTextBox1->SetSelIndent(Slider1->value()); }

void Form1::Slider2_Change()
{
    RichTextBox1->SetSelHangingIndent(Slider2->value() - Slider1->value());
}

bool Form1::Form_QueryUnload(UnloadReason reason)
{
    bool cancel = false;
    bool saveFailed = false;
    if (!quiet_ && links_.save->isEnabled() && reason != UnloadReason::TaskManager) {
        auto& seam = seam::dialogs();
        switch (seam.question(this, seam::messageTitle, QStringLiteral("Do you want to save before exit"))) {
        case seam::DialogSeam::Answer::No:
            break;
        case seam::DialogSeam::Answer::Yes:
            // Unlike a plain close, a dismissed dialog or a failed save keeps
            // the window open: the text is never lost silently.
            if (!links_.cd1->ShowSave(this)) {
                cancel = true;
            } else if (const Result saved = saveShowingProgress(this, *RichTextBox1, links_.cd1->FileName); !saved.ok) {
                seam.message(this, seam::messageTitle, saved.error);
                cancel = saveFailed = true;
            } else {
                RichTextBox1->document()->setModified(false);
            }
            break;
        default:
            cancel = true;
            break;
        }
    }
    // The text a failed save could not keep still counts as unsaved.
    links_.save->setEnabled(saveFailed);
    return cancel;
}

bool Form1::closeFor(UnloadReason reason)
{
    reason_ = reason;
    QWidget* window = parentWidget() && qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    const bool closed = window->close();
    reason_ = UnloadReason::ControlMenu;
    return closed;
}

void Form1::closeWithoutQuestion()
{
    quiet_ = true;
    closeFor(UnloadReason::Code);
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload(reason_))
        event->ignore();
    else
        event->accept();
}

Form1* NewDocument(QMdiArea& area, const FrameLinks& links)
{
    static int documentCount = 0;
    ++documentCount;
    auto* form = new Form1(links);
    form->setWindowTitle(QStringLiteral("Document %1").arg(documentCount));
    QMdiSubWindow* sub = area.addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A new document takes most of the frame rather than its minimum size.
    sub->resize(std::max(320, area.width() * 3 / 4), std::max(240, area.height() * 3 / 4));
    sub->show();
    area.setActiveSubWindow(sub);
    form->RichTextBox1->setFocus();
    return form;
}

} // namespace tk::document
