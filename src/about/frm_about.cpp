#include "frm_about.h"

#include "companion.h"
#include "identity.h"
#include "pictures.h"

#include "display_fonts.h"
#include "seam/common_dialog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <random>

namespace tk::about {

namespace {

constexpr QSize aboutSize(520, 360);
const QColor ink(0x5a, 0x12, 0x1e);

QLabel* picture(QWidget* parent, const char* name, const QPixmap& pixmap, QPoint at)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setPixmap(pixmap);
    l->setGeometry(QRect(at, pixmap.deviceIndependentSize().toSize()));
    return l;
}

} // namespace

frmabout::frmabout(QWidget* parent)
    : QDialog(parent), background_(aboutBackground(aboutSize)),
      drawing_(aboutSize, QImage::Format_ARGB32_Premultiplied)
{
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QStringLiteral("Tamil Kalvem"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(aboutSize);
    drawing_.fill(Qt::transparent);

    picIcon = picture(this, "picIcon", applicationIcon().pixmap(64, 64), QPoint(24, 22));
    Picture1 = picture(this, "Picture1", kolamOrnament(56, QColor(0xc8, 0x6a, 0x22)), QPoint(440, 24));
    Picture2 = picture(this, "Picture2", kolamOrnament(40, QColor(0xc8, 0x6a, 0x22)), QPoint(24, 292));

    Label2 = makeLabel(this, "Label2", QStringLiteral("Tamil Kalvem"), decorativeFont(26), ink);
    Label2->setGeometry(104, 20, 330, 44);
    Label3 = makeLabel(this, "Label3", productNameCodes(), tamilFont(fonts::nelpariFamily, 18), ink);
    Label3->setGeometry(106, 64, 330, 34);
    Label4 = makeLabel(this, "Label4",
                       QStringLiteral("A text editer with tamil-english type format and text to text speech engine"),
                       QFont(font().family(), 11), ink);
    Label4->setWordWrap(true);
    Label4->setGeometry(24, 116, 472, 48);
    Label5 = makeLabel(this, "Label5",
                       QStringLiteral("To be a good friend.                Do every thing Expect nothing"),
                       QFont(font().family(), 10, -1, true), ink);
    Label5->setGeometry(24, 176, 472, 24);
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->installEventFilter(this);
    Label1 = makeLabel(this, "Label1", creditsText(), QFont(font().family(), 9), ink);
    Label1->setGeometry(24, 220, 472, 44);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setGeometry(aboutSize.width() - 110, aboutSize.height() - 48, 88, 30);
    connect(Command1, &QPushButton::clicked, this, &frmabout::Command1_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &frmabout::Timer1_Timer);
    Timer1->start();
}

void frmabout::Timer1_Timer()
{
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<float> rnd(0.0f, 1.0f);
    const auto channel = [&] { return std::min(255, int(std::lround(256.0f * rnd(random)))); };
    const int red = channel();
    const int green = channel();
    const int blue = channel();
    const QColor colour(red, green, blue);
    const float a = 3.0f * rnd(random);
    const float twoPi = 8.0f * std::atan(1.0f);

    // The window runs from -3 to 3 on both axes, y upwards, origin in the
    // middle. Each tick adds the lituus r^2 = a^2 / t and its reflection
    // through the origin.
    const float sx = drawing_.width() / 6.0f;
    const float sy = drawing_.height() / 6.0f;
    const QRgb pixel = colour.rgb();
    auto set = [&](float x, float y) {
        const int px = int(std::floor((x + 3.0f) * sx));
        const int py = int(std::floor((3.0f - y) * sy));
        if (px >= 0 && py >= 0 && px < drawing_.width() && py < drawing_.height())
            drawing_.setPixel(px, py, pixel);
    };
    for (float t = 0.001f; t <= twoPi; t += 0.01f) {
        const float r = std::sqrt(a * a / t);
        set(r * std::cos(t), r * std::sin(t));
        set(-r * std::cos(t), -r * std::sin(t));
    }
    update();
}

void frmabout::Command1_Click() { close(); }

void frmabout::Label5_Click()
{
    if (!runCompanion())
        seam::dialogs().message(this, seam::messageTitle,
                                QStringLiteral("The companion program \"obt\" is not installed."));
}

void frmabout::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
    p.drawImage(0, 0, drawing_);
}

bool frmabout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label5 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label5_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tk::about
