#include "frm_splash.h"

#include "identity.h"
#include "pictures.h"

#include "display_fonts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace tk::about {

namespace {

constexpr QSize splashSize(560, 330);
constexpr qint16 ticksShown = 5;

} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(splashSize);
    setFocusPolicy(Qt::StrongFocus);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(splashPicture(splashSize));
    Picture1->setGeometry(rect());
    Picture1->setFocusPolicy(Qt::StrongFocus);

    const QColor cream(0xff, 0xf4, 0xd6);
    Label1 = makeLabel(Picture1, "Label1", QStringLiteral("Tamil Kalvem 1.0"), decorativeFont(30), cream);
    Label1->move(28, 26);
    Label2 = makeLabel(Picture1, "Label2", productNameCodes(), tamilFont(fonts::nelpariFamily, 26), Qt::white);
    Label2->move(30, 96);
    Label4 = makeLabel(Picture1, "Label4", tamilCodes("யாதும் ஊரே யாவரும் கேளிர்"),
                       tamilFont(fonts::kolvaniFamily, 14), cream);
    Label4->move(32, 168);
    Label5 = makeLabel(Picture1, "Label5", tamilCodes("கற்க கசடறக் கற்பவை கற்றபின்\nநிற்க அதற்குத் தக"),
                       tamilFont(fonts::kolvaniFamily, 12), cream);
    Label5->move(32, 200);
    Label3 = makeLabel(Picture1, "Label3", creditsText(), QFont(font().family(), 9), QColor(0xff, 0xe8, 0xc0));
    Label3->move(32, splashSize.height() - Label3->height() - 18);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

frmSplash* frmSplash::showAtStartUp(QWidget& frame)
{
    // Owned by the frame: closing the frame early takes the splash along.
    auto* splash = new frmSplash(&frame);
    splash->show();
    splash->Form_Load(frame);
    return splash;
}

void frmSplash::Form_Load(QWidget& frame)
{
    ticks_ = 0;
    Timer1->start();
    frame.show();
    // The frame came up after the splash: the splash stays in front and
    // keeps the keys, so one press sends it away.
    raise();
    activateWindow();
    setFocus();
}

void frmSplash::Timer1_Timer()
{
    if (++ticks_ >= ticksShown)
        unload();
}

void frmSplash::unload()
{
    Timer1->stop();
    close();
}

void frmSplash::keyPressEvent(QKeyEvent*) { unload(); }

void frmSplash::mousePressEvent(QMouseEvent* event)
{
    // The right button starts moving the title; any other is a click.
    if (event->button() == Qt::RightButton)
        return;
    unload();
}

void frmSplash::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::RightButton)
        return;
    Label2->move(Picture1->mapFromGlobal(event->globalPosition()).toPoint());
}

} // namespace tk::about
