// The splash at start-up, the About window with its drawing, the companion
// program, the Help menu's and the toolbar's ways to them, and the icon.
#include "../app/frame_fixture.h"
#include "../support/test_files.h"

#include "about/companion.h"
#include "about/frm_about.h"
#include "about/frm_splash.h"
#include "about/identity.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

using tk::about::frmabout;
using tk::about::frmSplash;

namespace {

// A companion program in the program's folder for as long as it lives; it
// leaves a file behind when it runs.
struct Companion {
    QTemporaryDir dir;
    QString leaves = dir.filePath(QStringLiteral("ran"));
    Companion()
    {
        writeBytes(tk::about::companionPath(), QStringLiteral("#!/bin/sh\necho ran > '%1'\n").arg(leaves).toLocal8Bit());
        QFile::setPermissions(tk::about::companionPath(),
                              QFile::permissions(tk::about::companionPath()) | QFile::ExeOwner);
    }
    ~Companion() { QFile::remove(tk::about::companionPath()); }
};

void sendMouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, to->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

frmabout* aboutOf(const FrameFixture& f) { return qobject_cast<frmabout*>(f.frame->frmabout()); }

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void init() { QFile::remove(tk::about::companionPath()); }

    void splashShowsTheFrameBesideIt();
    void splashGoesAfterFiveTicks();
    void splashGoesAtOnceOnAClickOrKey_data();
    void splashGoesAtOnceOnAClickOrKey();
    void rightDragMovesTheTamilName();

    void menuToolbarAndSecondUseShowTheSameWindow();
    void ticksDrawAndRepaintsKeepTheDrawing();
    void companionFromTheMottoAndTheMenu();
    void iconIsDrawn();
};

void TestAbout::splashShowsTheFrameBesideIt()
{
    FrameFixture f;
    f.frame->hide();
    QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
    QVERIFY(splash->isVisible() && f.frame->isVisible() && splash->Timer1->isActive());
    QCOMPARE(splash->Label2->font().family(), QStringLiteral("Nelpari"));
    QCOMPARE(splash->Label4->font().family(), QStringLiteral("Kolvani"));
    // The Tamil texts are all held by the font's codes.
    for (QLabel* label : {splash->Label2, splash->Label4, splash->Label5})
        QVERIFY2(!label->text().isEmpty() && !label->text().contains(u'?'), qPrintable(label->objectName()));
    QVERIFY(!splash->Picture1->pixmap().isNull());
}

void TestAbout::splashGoesAfterFiveTicks()
{
    FrameFixture f;
    QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
    for (int tick = 1; tick <= 4; ++tick)
        splash->Timer1_Timer();
    QVERIFY(splash->isVisible());
    splash->Timer1_Timer();
    QTRY_VERIFY(!splash);
    QVERIFY(f.frame->isVisible());
}

void TestAbout::splashGoesAtOnceOnAClickOrKey_data()
{
    QTest::addColumn<QString>("target"); // "" the window itself
    QTest::addColumn<bool>("key");
    for (const char* target : {"", "Picture1", "Label1", "Label2", "Label3", "Label4", "Label5"})
        QTest::addRow("click on %s", *target ? target : "the window") << QString::fromLatin1(target) << false;
    QTest::newRow("key on the window") << QString() << true;
    QTest::newRow("key on the picture") << QStringLiteral("Picture1") << true;
}

void TestAbout::splashGoesAtOnceOnAClickOrKey()
{
    QFETCH(QString, target);
    QFETCH(bool, key);
    FrameFixture f;
    QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
    QWidget* on = target.isEmpty() ? splash.data() : splash->findChild<QWidget*>(target);
    QVERIFY(on);
    if (key)
        QTest::keyClick(on, Qt::Key_Space);
    else
        QTest::mouseClick(on, Qt::LeftButton, {}, QPoint(2, 2));
    QTRY_VERIFY(!splash);
    QVERIFY(f.frame->isVisible());
}

void TestAbout::rightDragMovesTheTamilName()
{
    FrameFixture f;
    QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
    QWidget* picture = splash->Picture1;
    sendMouse(picture, QEvent::MouseButtonPress, {300, 40}, Qt::RightButton, Qt::RightButton);
    sendMouse(picture, QEvent::MouseMove, {320, 60}, Qt::NoButton, Qt::RightButton);
    QCOMPARE(splash->Label2->pos(), QPoint(320, 60));
    // Over a label too, the position is taken in the picture's coordinates.
    sendMouse(splash->Label1, QEvent::MouseMove, {5, 5}, Qt::NoButton, Qt::RightButton);
    QCOMPARE(splash->Label2->pos(), splash->Label1->pos() + QPoint(5, 5));
    // Another button held as well, or none: the name stays.
    sendMouse(picture, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::RightButton | Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, {110, 110}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(splash->Label2->pos(), splash->Label1->pos() + QPoint(5, 5));
    sendMouse(picture, QEvent::MouseButtonRelease, {110, 110}, Qt::RightButton, Qt::NoButton);
    QVERIFY(splash);
}

// The Help menu, a second use and the toolbar's Help key (with no document
// open) all show the one modeless window; OK closes it.
void TestAbout::menuToolbarAndSecondUseShowTheSameWindow()
{
    FrameFixture f;
    f.item("about")->trigger();
    QPointer<frmabout> first = aboutOf(f);
    QVERIFY(first && first->isVisible() && !first->isModal() && first->Timer1->isActive());
    QVERIFY(!first->picIcon->pixmap().isNull());
    first->hide();
    f.item("about")->trigger();
    QCOMPARE(aboutOf(f), first.data());
    QVERIFY(first->isVisible());

    QTest::mouseClick(first->Command1, Qt::LeftButton);
    QTRY_VERIFY(!first);
    const QList<QAction*> keys = f.frame->Toolbar1()->actions();
    const auto help = std::find_if(keys.begin(), keys.end(),
                                   [](QAction* key) { return key->data().toString() == QLatin1String("Help"); });
    QVERIFY(help != keys.end());
    (*help)->trigger();
    QVERIFY(aboutOf(f) && aboutOf(f)->isVisible());
}

void TestAbout::ticksDrawAndRepaintsKeepTheDrawing()
{
    FrameFixture f;
    f.item("about")->trigger();
    frmabout* about = aboutOf(f);
    about->Timer1->stop();
    QImage previous = about->drawing();
    int changedTicks = 0;
    for (int tick = 0; tick < 4; ++tick) {
        about->Timer1_Timer();
        changedTicks += about->drawing() != previous;
        previous = about->drawing();
    }
    // A spiral may be too small to leave a mark; four in a row never all are.
    QVERIFY(changedTicks >= 3);

    // A drawn point away from the controls is on screen after a repaint.
    const QImage drawn = about->drawing();
    QPoint point(-1, -1);
    for (int i = 0; i < drawn.width() * drawn.height() && point.x() < 0; ++i) {
        const QPoint at(i % drawn.width(), i / drawn.width());
        if (qAlpha(drawn.pixel(at)) == 255 && !about->childAt(at))
            point = at;
    }
    QVERIFY(point.x() >= 0);
    about->repaint();
    QCOMPARE(about->grab().toImage().pixel(point), drawn.pixel(point));
}

// The motto explains a missing companion program, the menu item stays
// silent; both run it once it is there.
void TestAbout::companionFromTheMottoAndTheMenu()
{
    FrameFixture f;
    f.item("about")->trigger();
    QTest::mouseClick(aboutOf(f)->Label5, Qt::LeftButton);
    f.item("Orbelant")->trigger();
    QCOMPARE(f.dialogs.take(),
             QStringList{QStringLiteral("message:Tamil Kalvem:The companion program \"obt\" is not installed.")});

    {
        Companion companion;
        QTest::mouseClick(aboutOf(f)->Label5, Qt::LeftButton);
        QTRY_VERIFY(QFile::exists(companion.leaves));
    }
    Companion companion;
    f.item("Orbelant")->trigger();
    QTRY_VERIFY(QFile::exists(companion.leaves));
    QCOMPARE(f.dialogs.take(), QStringList());
}

void TestAbout::iconIsDrawn()
{
    const QImage icon = tk::about::applicationIcon().pixmap(48, 48).toImage();
    QVERIFY(!icon.isNull());
    QCOMPARE(qAlpha(icon.pixel(24, 24)), 255); // the kolam's middle, not an empty image
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);     // the rounded corner
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
