// The splash at start-up, the About window with its drawing, the companion
// program, the Help menu's and the toolbar's ways to them, and the icon.
#include "../app/frame_fixture.h"
#include "../support/test_files.h"

#include "about/companion.h"
#include "about/frm_about.h"
#include "about/frm_splash.h"
#include "about/identity.h"
#include "display_fonts.h"

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

    void aboutShowsItsTexts();
    void menuToolbarAndSecondUseShowTheSameWindow();
    void ticksDrawAndRepaintsKeepTheDrawing();
    void okCloses();
    void mottoClickRunsOrExplainsTheCompanion();
    void orbelantFromTheMenu();
    void iconIsDrawn();
};

void TestAbout::splashShowsTheFrameBesideIt()
{
    FrameFixture f;
    f.frame->hide();
    QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
    QVERIFY(splash->isVisible());
    QVERIFY(f.frame->isVisible());
    QVERIFY(splash->Timer1->isActive());
    QCOMPARE(splash->Timer1->interval(), 1000);
    QCOMPARE(splash->ticks(), qint16(0));
    QCOMPARE(splash->Label1->text(), QStringLiteral("Tamil Kalvem 1.0"));
    QCOMPARE(splash->Label1->font().family(), QString::fromLatin1(tk::about::decorativeFamily));
    QCOMPARE(splash->Label2->font().family(), QStringLiteral("Nelpari"));
    QCOMPARE(splash->Label2->text(), tk::about::productNameCodes());
    QCOMPARE(splash->Label4->font().family(), QStringLiteral("Kolvani"));
    QCOMPARE(splash->Label5->font().family(), QStringLiteral("Kolvani"));
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

void TestAbout::aboutShowsItsTexts()
{
    FrameFixture f;
    f.item("about")->trigger();
    frmabout* about = aboutOf(f);
    QVERIFY(about && about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QStringLiteral("Tamil Kalvem"));
    QCOMPARE(about->Label2->text(), QStringLiteral("Tamil Kalvem"));
    QCOMPARE(about->Label3->font().family(), QStringLiteral("Nelpari"));
    QCOMPARE(about->Label4->text(),
             QStringLiteral("A text editer with tamil-english type format and text to text speech engine"));
    QCOMPARE(about->Label5->text(), QStringLiteral("To be a good friend.") + QString(16, u' ')
                                        + QStringLiteral("Do every thing Expect nothing"));
    QCOMPARE(about->Command1->text(), QStringLiteral("OK"));
    QVERIFY(about->Timer1->isActive());
    QCOMPARE(about->Timer1->interval(), 50);
    QVERIFY(!about->picIcon->pixmap().isNull());
}

void TestAbout::menuToolbarAndSecondUseShowTheSameWindow()
{
    FrameFixture f;
    f.item("about")->trigger();
    QPointer<frmabout> first = aboutOf(f);
    first->hide();
    f.item("about")->trigger();
    QCOMPARE(aboutOf(f), first.data());
    QVERIFY(first->isVisible());

    // The toolbar's Help key, with no document open.
    first->close();
    QTRY_VERIFY(!first);
    QAction* help = nullptr;
    for (QAction* action : f.frame->Toolbar1()->actions()) {
        if (action->data().toString() == QLatin1String("Help"))
            help = action;
    }
    QVERIFY(help);
    help->trigger();
    QVERIFY(aboutOf(f) && aboutOf(f)->isVisible());
}

void TestAbout::ticksDrawAndRepaintsKeepTheDrawing()
{
    FrameFixture f;
    f.item("about")->trigger();
    frmabout* about = aboutOf(f);
    about->Timer1->stop();
    const QImage before = about->drawing();
    QImage previous = before;
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
    for (int y = 0; y < drawn.height() && point.x() < 0; ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (qAlpha(drawn.pixel(x, y)) == 255 && !about->childAt(x, y)) {
                point = {x, y};
                break;
            }
        }
    }
    QVERIFY(point.x() >= 0);
    about->repaint();
    QCOMPARE(about->grab().toImage().pixel(point), drawn.pixel(point));
}

void TestAbout::okCloses()
{
    FrameFixture f;
    f.item("about")->trigger();
    QPointer<frmabout> about = aboutOf(f);
    QTest::mouseClick(about->Command1, Qt::LeftButton);
    QTRY_VERIFY(!about);
}

void TestAbout::mottoClickRunsOrExplainsTheCompanion()
{
    FrameFixture f;
    f.item("about")->trigger();
    frmabout* about = aboutOf(f);
    QTest::mouseClick(about->Label5, Qt::LeftButton);
    QCOMPARE(f.dialogs.take(),
             QStringList{QStringLiteral("message:Tamil Kalvem:The companion program \"obt\" is not installed.")});

    Companion companion;
    QTest::mouseClick(about->Label5, Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(companion.leaves));
    QCOMPARE(f.dialogs.take(), QStringList());
}

void TestAbout::orbelantFromTheMenu()
{
    FrameFixture f;
    f.item("Orbelant")->trigger(); // missing: nothing at all
    QCOMPARE(f.dialogs.take(), QStringList());
    Companion companion;
    f.item("Orbelant")->trigger();
    QTRY_VERIFY(QFile::exists(companion.leaves));
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
