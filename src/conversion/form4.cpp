#include "form4.h"

#include "replay.h"

#include "document/file_progress.h"
#include "rtf/document_io.h"
#include "seam/common_dialog.h"
#include "unicode/unicode_document.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>

namespace tk::conversion {

namespace {

int buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

// The picture the pointer takes while a window is picked: a sight, its
// centre the point that is picked.
QPixmap pointerPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(16, 16), 11, 11);
    p.drawLine(16, 1, 16, 10);
    p.drawLine(16, 22, 16, 31);
    p.drawLine(1, 16, 10, 16);
    p.drawLine(22, 16, 31, 16);
    p.setBrush(Qt::red);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
    return picture;
}

QPixmap openFilePicture(const QStyle* style)
{
    QIcon icon = QIcon::fromTheme(QStringLiteral("document-open"));
    if (icon.isNull())
        icon = style->standardIcon(QStyle::SP_DialogOpenButton);
    return icon.pixmap(32, 32);
}

// The first character above 255, which a file of 8-bit font codes cannot hold.
qsizetype wideCharacters(QStringView text, char16_t& first)
{
    qsizetype n = 0;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF && n++ == 0)
            first = c.unicode();
    }
    return n;
}

// The replayed text as the plain text file type holds it: bytes, each line
// ended by CR LF.
QByteArray plainBytes(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 32);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u == u'\r' || u == u'\n') {
            out.append("\r\n");
            if (u == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else {
            out.append(u < 0x100 ? char(u) : '?');
        }
    }
    return out;
}

} // namespace

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), event->position().toPoint().x(),
                   event->position().toPoint().y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), event->position().toPoint().x(),
                 event->position().toPoint().y());
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

Form4::Form4(ConversionHost host, QWidget* parent)
    : QDialog(parent),
      Option1(new QRadioButton(QStringLiteral("Open a file"), this)),
      Option2(new QRadioButton(QStringLiteral("Specify a  open document"), this)),
      Picture2(new PictureBox(this)),
      Picture1(new PictureBox(this)),
      Label1(new QLabel(QStringLiteral("Drag the pointer to the document"), this)),
      Command1(new QPushButton(QStringLiteral("Convert"), this)),
      Command2(new QPushButton(QStringLiteral("Cancel"), this)),
      host_(std::move(host))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Convert File"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    const QFont verdana(QStringLiteral("Verdana"));
    for (QRadioButton* option : {Option1, Option2})
        option->setFont(verdana);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Picture2->setPixmap(openFilePicture(style()));
    Picture2->setToolTip(QStringLiteral("Choose the file"));
    Picture2->setCursor(Qt::PointingHandCursor);
    Picture1->setPixmap(pointerPicture());
    Picture1->setFixedSize(32, 32);
    Picture1->setToolTip(QStringLiteral("Drag onto the text to convert"));
    Label1->setMinimumWidth(320);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Option1->setChecked(true);
    Picture2->setEnabled(true);
    Picture1->setEnabled(false);
    Command1->setDefault(true);

    auto* grid = new QGridLayout(this);
    // The dialog grows with what Label1 says.
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    grid->addWidget(Option1, 0, 0);
    grid->addWidget(Picture2, 0, 1);
    grid->addWidget(Option2, 1, 0);
    grid->addWidget(Picture1, 1, 1);
    grid->addWidget(Label1, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(Option1, &QRadioButton::clicked, this, &Form4::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Form4::Option2_Click);
    connect(Picture2, &PictureBox::Click, this, &Form4::Picture2_Click);
    connect(Picture1, &PictureBox::MouseDown, this, &Form4::Picture1_MouseDown);
    connect(Picture1, &PictureBox::MouseUp, this, &Form4::Picture1_MouseUp);
    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
}

void Form4::Option1_Click()
{
    Picture2->setEnabled(Option1->isChecked());
    Picture1->setEnabled(!Option1->isChecked());
}

void Form4::Option2_Click()
{
    Picture1->setEnabled(Option2->isChecked());
    Picture2->setEnabled(!Option2->isChecked());
}

void Form4::Picture2_Click()
{
    seam::CommonDialog& cd1 = *host_.links.cd1;
    cd1.ShowOpen(this);
    fileName_ = cd1.FileName;
    Label1->setText(fileName_);
}

void Form4::Picture1_MouseDown(int, int, int, int)
{
    // The pointer looks like the picture while the button is held; the
    // picture keeps the mouse until the button goes up, wherever it is.
    Picture1->setCursor(QCursor(Picture1->pixmap(), 16, 16));
}

QString Form4::positionCaption(QPoint p)
{
    const auto number = [](int n) { return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n); };
    return QStringLiteral("X is%1, Y is%2").arg(number(p.x()), number(p.y()));
}

void Form4::Picture1_MouseUp(int, int, int, int)
{
    Picture1->unsetCursor();
    cursorPos = QCursor::pos();
    pickedWnd = WindowFromPoint(cursorPos);
    // The text is taken now: a change made to it before Convert is lost.
    const std::optional<QString> text = gettext(pickedWnd);
    pickedText = text.value_or(QString());
    QString caption = positionCaption(cursorPos);
    if (!text)
        caption += QStringLiteral("\nThere is no text box there.\nDrag the pointer onto the text to convert.");
    else if (text->isEmpty())
        caption += QStringLiteral("\nThe text box there is empty.");
    Label1->setText(caption);
}

void Form4::say(const QString& text)
{
    // Not busy while the person reads.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    seam::dialogs().message(this, seam::messageTitle, text);
    QApplication::restoreOverrideCursor();
}

bool Form4::convertFile()
{
    if (fileName_.isEmpty()) {
        say(QStringLiteral("Choose the file to convert first: click the picture beside \"Open a file\"."));
        return false;
    }
    const QString shown = QDir::toNativeSeparators(fileName_);
    document::FileProgress progress(this, QStringLiteral("Converting %1").arg(shown), true);
    document::Form1* scratch = host_.NewDocument();
    const auto closeScratch = qScopeGuard([&] {
        host_.links.save->setEnabled(false);
        scratch->closeWithoutQuestion();
    });

    const rtf::Result loaded = scratch->RichTextBox1->LoadFile(fileName_, document::RichTextFile,
                                                               rtf::slice(progress.callback(), 0, 0.3));
    if (!loaded) {
        if (!progress.cancelled())
            say(loaded.error + QStringLiteral("\nNothing was converted."));
        return false;
    }
    const QString source = replaySource(scratch->RichTextBox1->Text());
    scratch->RichTextBox1->SetText(QString());
    char16_t first = 0;
    if (const qsizetype wide = wideCharacters(source, first); wide > 0) {
        say(QStringLiteral("\"%1\" holds %2 that a file of font codes cannot hold (the first is U+%3). "
                           "It was left as it was.")
                .arg(shown, wide == 1 ? QStringLiteral("a character") : QStringLiteral("%1 characters").arg(wide),
                     QStringLiteral("%1").arg(unsigned(first), 4, 16, QLatin1Char('0')).toUpper()));
        return false;
    }

    DocumentTypist typist(*host_.links.engine, scratch->engineMembers(), source);
    if (!replay(source, typist, *host_.links.engine, rtf::slice(progress.callback(), 0.3, 0.5)))
        return false; // cancelled: nothing written
    // Written as the plain text file type writes the document (every line
    // ended by CR LF), whole beside the file and then put in its place.
    const rtf::Result saved = unicode::writeWholeFile(fileName_, plainBytes(typist.text()), QStringLiteral("save"));
    if (!saved) {
        say(saved.error + QStringLiteral("\nThe file was left as it was."));
        return false;
    }
    return true;
}

bool Form4::convertWindow()
{
    if (pickedWnd.isNull()) {
        say(QStringLiteral("Pick the text to convert first: drag the pointer picture onto it."));
        return false;
    }
    if (pickedText.isEmpty()) {
        say(QStringLiteral("The picked window had no text to convert. It was left as it was."));
        return false;
    }
    document::FileProgress progress(this, QStringLiteral("Converting"), true);
    document::Form1* scratch = host_.NewDocument();
    const auto closeScratch = qScopeGuard([&] {
        host_.links.save->setEnabled(false);
        scratch->closeWithoutQuestion();
    });
    DocumentTypist typist(*host_.links.engine, scratch->engineMembers(), pickedText);
    if (!replay(pickedText, typist, *host_.links.engine, progress.callback()))
        return false;
    if (!SetText(pickedWnd, typist.text())) {
        say(QStringLiteral("The converted text could not be put back: the picked window is gone or takes no "
                           "text. It was left as it was."));
        return false;
    }
    return true;
}

void Form4::Command1_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = Option1->isChecked() ? convertFile() : convertWindow();
    QApplication::restoreOverrideCursor();
    if (done)
        close();
}

void Form4::Command2_Click()
{
    seam::dialogs().beep();
    close();
}

void Form4::keyPressEvent(QKeyEvent* event)
{
    // Escape is the Cancel button, beep included.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Command2_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tk::conversion
