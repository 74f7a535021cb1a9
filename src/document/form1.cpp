#include "form1.h"

#include "seam/common_dialog.h"
#include "display_fonts.h"
#include "file_progress.h"
#include "memory/memory_store.h"
#include "window_placement.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>

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

// Keys that only change what the next key means.
bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Meta: case Qt::Key_Alt: case Qt::Key_AltGr:
    case Qt::Key_CapsLock: case Qt::Key_NumLock: case Qt::Key_ScrollLock: case Qt::Key_Super_L:
    case Qt::Key_Super_R: case Qt::Key_Hyper_L: case Qt::Key_Hyper_R: case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}

} // namespace

QString latinTypingFamily()
{
    const QString family = memory::ReadValue(QString::fromLatin1(memory::memoryKey), QStringLiteral("Latin font"));
    return family.isEmpty() || fonts::isTamilDisplayFont(family) ? QStringLiteral("Noto Sans") : family;
}

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

    // Each slider with its caption before it; the surface stays inside the
    // window below them.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setHorizontalSpacing(6);
    int row = 0;
    for (QSlider* slider : {Slider1, Slider2}) {
        auto* caption = new QLabel(slider->toolTip(), this);
        caption->setObjectName(slider->objectName() + QStringLiteral("Caption"));
        caption->setBuddy(slider);
        layout->addWidget(caption, row, 0);
        layout->addWidget(slider, row++, 1);
    }
    layout->addWidget(RichTextBox1, row, 0, 1, 2);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(1, 1);
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
    connect(RichTextBox1, &RichTextBox::modificationChanged, this, &Form1::RichTextBox1_ModificationChanged);
    connect(RichTextBox1, &QTextEdit::cursorPositionChanged, this, &Form1::showIndents);
    connect(Slider1, &QSlider::valueChanged, this, &Form1::Slider1_Change);
    connect(Slider2, &QSlider::valueChanged, this, &Form1::Slider2_Change);
    if (links_.convert)
        connect(links_.convert, &QAction::toggled, this, &Form1::followTypingSwitch);
    followTypingSwitch();

    // Form_Load: the key memory starts afresh in a new window.
    engine::reset(*links_.engine);
}

bool Form1::convertOn() const { return links_.convert && links_.convert->isChecked(); }

void Form1::followTypingSwitch() { RichTextBox1->setTypingFonts(convertOn(), latinTypingFamily()); }

bool Form1::hasUnsavedChanges() const { return RichTextBox1->document()->isModified(); }

QString Form1::filePath() const
{
    // Paths from the dialogs are absolute; "Document N" is not a path.
    return QDir::isAbsolutePath(windowTitle()) ? windowTitle() : QString();
}

QString Form1::questionTitle() const
{
    const QString path = filePath();
    return QStringLiteral("%1 - %2").arg(path.isEmpty() ? windowTitle() : QFileInfo(path).fileName(),
                                         seam::messageTitle);
}

bool Form1::isActiveDocument() const
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return !sub || !sub->mdiArea() || sub->mdiArea()->currentSubWindow() == sub;
}

std::string Form1::w(char cho) { return engine().w(cho); }

void Form1::correct(unsigned g) { engine().correct(g); }

void Form1::Edit() { engine().edit(); }

void Form1::Form_GotFocus()
{
    links_.save->setEnabled(hasUnsavedChanges());
    links_.close1->setEnabled(true);
    // Another document was worked on meanwhile: the next key starts a word.
    RichTextBox1->markCaretMoved();
}

void Form1::RichTextBox1_ModificationChanged(bool changed)
{
    if (isActiveDocument())
        links_.save->setEnabled(changed);
    showIndents();
    emit modificationChanged(changed);
}

void Form1::settlePendingDot()
{
    engine::EngineState& state = *links_.engine;
    if (!state.dotPending || !convertOn())
        return;
    if (!RichTextBox1->caretMovedSinceTyping()) {
        surface_.setJoinLastStep(true);
        Edit();
        surface_.setJoinLastStep(false);
    }
    state.dotPending = false;
}

void Form1::RichTextBox1_KeyDown(int keyCode, int shift)
{
    // A key that goes down while the consonant key before it is still held
    // (fast typing) must find the consonant's dot written, as it would after
    // the release.
    if (!isModifierKey(keyCode))
        settlePendingDot();
    // Ctrl+Shift and a letter recall the word stored under it; Alt is not
    // looked at. The word is font codes already and bypasses the engine.
    if ((shift & 3) == 3 && keyCode >= 'A' && keyCode <= 'Z') {
        RichTextBox1->SetSelText(memory::ReadValue(QString::fromLatin1(memory::memoryKey),
                                                   QString(QChar(keyCode))));
        engine::reset(*links_.engine);
    }
}

void Form1::RichTextBox1_KeyPress(int* keyAscii)
{
    if (!convertOn())
        return;
    // The text before a caret put there by anything but typing is no part
    // of the word being typed.
    if (RichTextBox1->caretMovedSinceTyping())
        engine::reset(*links_.engine);
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
    if (convertOn() && RichTextBox1->caretMovedSinceTyping())
        links_.engine->dotPending = false;
    surface_.setJoinLastStep(true);
    engine().keyRelease(shift, convertOn());
    surface_.setJoinLastStep(false);
}

void Form1::RichTextBox1_MouseDown(int button, int, const QPoint& globalPos)
{
    settlePendingDot();
    if (button == 2 && links_.popup)
        links_.popup->popup(globalPos);
}

void Form1::showIndents()
{
    const int first = RichTextBox1->SelIndent();
    const int following = first + RichTextBox1->SelHangingIndent();
    // A ruler as wide as the window, or wider when the paragraph reaches
    // further, so the sliders never clamp what the text holds.
    const int widthTwips = RichTextBox::pixelsToTwips(width());
    const QSignalBlocker block1(Slider1);
    const QSignalBlocker block2(Slider2);
    Slider1->setMaximum(std::max({widthTwips, first, following}));
    Slider2->setMaximum(Slider1->maximum());
    Slider1->setValue(first);
    Slider2->setValue(following);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showIndents();
}

void Form1::Slider1_Change()
{
    RichTextBox1->SetSelIndent(Slider1->value());
    showIndents();
}

void Form1::Slider2_Change()
{
    RichTextBox1->SetSelHangingIndent(Slider2->value() - Slider1->value());
    showIndents();
}

bool Form1::saveTo(const QString& path)
{
    // Only the file this document came from or went to last is its own.
    if (diskStamp.exists && path == filePath()) {
        const files::FileStamp now = files::FileStamp::of(path);
        if (now.exists && now != diskStamp) {
            const QString text = QStringLiteral("\"%1\" was changed by another program since Tamil Kalvem opened or "
                                                "saved it.\n\nDo you want to overwrite it with this document? Choose No "
                                                "to save the document under another name instead.")
                                     .arg(QDir::toNativeSeparators(path));
            switch (seam::dialogs().question(this, seam::messageTitle, text)) {
            case seam::DialogSeam::Answer::Yes: break;
            case seam::DialogSeam::Answer::No: return saveAs();
            default: return false;
            }
        }
    }
    const Result saved = saveShowingProgress(this, *RichTextBox1, path);
    if (!saved.ok) {
        seam::dialogs().message(this, seam::messageTitle, saved.error);
        return false;
    }
    setWindowTitle(path);
    diskStamp = files::FileStamp::of(path);
    RichTextBox1->document()->setModified(false);
    return true;
}

bool Form1::saveAs()
{
    seam::CommonDialog& cd1 = *links_.cd1;
    const QString path = filePath();
    cd1.DialogTitle = QStringLiteral("Save As");
    cd1.Filter = seam::documentFilter;
    cd1.FilterIndex = 1;
    cd1.DefaultExt = QStringLiteral("rtf");
    cd1.InitDir = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    cd1.FileName = path.isEmpty() ? windowTitle() : QFileInfo(path).fileName();
    return cd1.ShowSave(this) && saveTo(cd1.FileName);
}

bool Form1::save()
{
    const QString path = filePath();
    return path.isEmpty() ? saveAs() : saveTo(path);
}

bool Form1::Form_QueryUnload(UnloadReason reason)
{
    if (quiet_ || !hasUnsavedChanges() || reason == UnloadReason::TaskManager)
        return false;
    switch (seam::dialogs().question(this, questionTitle(), QStringLiteral("Do you want to save before exit"))) {
    case seam::DialogSeam::Answer::No:
        return false;
    case seam::DialogSeam::Answer::Yes:
        // A dismissed dialog or a failed save keeps the window open: the
        // text is never lost silently.
        return !save();
    default:
        return true;
    }
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
    if (closed_ || !Form_QueryUnload(reason_)) {
        closed_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

Form1* NewDocument(QMdiArea& area, const FrameLinks& links)
{
    static int documentCount = 0;
    ++documentCount;
    auto* form = new Form1(links);
    form->setWindowTitle(QStringLiteral("Document %1").arg(documentCount));
    const int open = int(area.subWindowList().size());
    QMdiSubWindow* sub = area.addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Most of the visible area, cascaded, and all of it in sight.
    const int titleBar = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    sub->setGeometry(newWindowGeometry(area.viewport()->size(), open, titleBar));
    sub->show();
    area.setActiveSubWindow(sub);
    form->RichTextBox1->setFocus();
    return form;
}

} // namespace tk::document
