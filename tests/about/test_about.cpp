// The splash, the About window with its drawing, the companion program, the system-information
// tool found through the machine's registry file, the ways to them, and the icon.
#include "../app/frame_fixture.h"
#include "../support/test_files.h"

#include "about/companion.h"
#include "about/frm_about.h"
#include "about/frm_splash.h"
#include "about/identity.h"
#include "about/machine_registry.h"
#include "about/system_info.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

using namespace tk::about;

namespace {

// A program at path for as long as this lives; it leaves a file behind when it runs.
struct Program {
    QString path;
    QTemporaryDir dir;
    QString leaves = dir.filePath(QStringLiteral("ran"));
    explicit Program(QString at) : path(std::move(at))
    {
        writeBytes(path, QStringLiteral("#!/bin/sh\necho ran > '%1'\n").arg(leaves).toLocal8Bit());
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    ~Program() { QFile::remove(path); }
    bool ran() const { return QFile::exists(leaves); }
};

void sendMouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton;
    QMouseEvent event(type, at, to->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

frmabout* aboutOf(const FrameFixture& f) { return qobject_cast<frmabout*>(f.frame->frmabout()); }

const QString msinfo =
    QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n\"PATH\"=\"%1\"\n");
const QString location =
    QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n\"MSINFO\"=\"%1\"\n");

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
    QTemporaryDir machine_, later_; // the system configuration folders, first and later

    static void setRegistry(const QTemporaryDir& folder, const QString& text)
    {
        QDir().mkpath(folder.filePath(QStringLiteral("tamilkalvem")));
        writeBytes(folder.filePath(QStringLiteral("tamilkalvem/machine.reg")), text.toUtf8());
    }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_DIRS", (machine_.path() + u':' + later_.path()).toLocal8Bit()); }

    void splashShowsTheFrameMovesTheNameAndGoesAfterFiveTicks()
    {
        FrameFixture f;
        f.frame->hide();
        QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
        QVERIFY(splash->isVisible() && f.frame->isVisible() && splash->Timer1->isActive());
        QVERIFY(splash->Label2->font().family() == "Nelpari" && splash->Label4->font().family() == "Kolvani");
        for (QLabel* label : {splash->Label2, splash->Label4, splash->Label5}) // Tamil held as the font's codes
            QVERIFY2(!label->text().isEmpty() && !label->text().contains(u'?'), qPrintable(label->objectName()));
        QVERIFY(!splash->Picture1->pixmap().isNull());

        // A right drag moves the Tamil name, over a label too; other buttons as well, or none: it stays.
        QWidget* picture = splash->Picture1;
        sendMouse(picture, QEvent::MouseButtonPress, {300, 40}, Qt::RightButton);
        sendMouse(picture, QEvent::MouseMove, {320, 60}, Qt::RightButton);
        QCOMPARE(splash->Label2->pos(), QPoint(320, 60));
        sendMouse(splash->Label1, QEvent::MouseMove, {5, 5}, Qt::RightButton);
        QCOMPARE(splash->Label2->pos(), splash->Label1->pos() + QPoint(5, 5));
        sendMouse(picture, QEvent::MouseMove, {100, 100}, Qt::RightButton | Qt::LeftButton);
        sendMouse(picture, QEvent::MouseMove, {110, 110}, Qt::NoButton);
        sendMouse(picture, QEvent::MouseButtonRelease, {110, 110}, Qt::NoButton);
        QCOMPARE(splash->Label2->pos(), splash->Label1->pos() + QPoint(5, 5));

        for (int tick = 1; tick <= 4; ++tick)
            splash->Timer1_Timer();
        QVERIFY(splash->isVisible());
        splash->Timer1_Timer();
        QTRY_VERIFY(!splash);
    }

    void splashGoesAtOnceOnAClickOrKey_data()
    {
        QTest::addColumn<QString>("target"); // "" the window itself
        QTest::addColumn<bool>("key");
        for (const char* target : {"", "Picture1", "Label1", "Label2", "Label3", "Label4", "Label5"})
            QTest::addRow("click on %s", *target ? target : "the window") << QString::fromLatin1(target) << false;
        QTest::newRow("key") << QString() << true;
    }
    void splashGoesAtOnceOnAClickOrKey()
    {
        QFETCH(QString, target);
        FrameFixture f;
        QPointer<frmSplash> splash = frmSplash::showAtStartUp(*f.frame);
        QWidget* on = target.isEmpty() ? splash.data() : splash->findChild<QWidget*>(target);
        QVERIFY(on);
        QFETCH(bool, key);
        key ? QTest::keyClick(on, Qt::Key_Space) : QTest::mouseClick(on, Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_VERIFY(!splash);
    }

    // The menu, a second use and the toolbar's Help key show one modeless window; OK closes it.
    void menuToolbarAndSecondUseShowTheSameWindowWithTheCompanion()
    {
        FrameFixture f;
        f.item("about")->trigger();
        QPointer<frmabout> first = aboutOf(f);
        QVERIFY(first && first->isVisible() && !first->isModal() && first->Timer1->isActive());
        QVERIFY(!first->picIcon->pixmap().isNull());
        const QImage icon = applicationIcon().pixmap(48, 48).toImage(); // the kolam drawn, the corners round
        QVERIFY(qAlpha(icon.pixel(24, 24)) == 255 && qAlpha(icon.pixel(0, 0)) == 0);
        first->hide();
        f.item("about")->trigger();
        QVERIFY(aboutOf(f) == first && first->isVisible());
        QTest::mouseClick(first->Command1, Qt::LeftButton);
        QTRY_VERIFY(!first);
        for (QAction* key : f.frame->Toolbar1()->actions())
            if (key->data().toString() == QLatin1String("Help"))
                key->trigger();
        QVERIFY(aboutOf(f) && aboutOf(f)->isVisible());

        // The motto explains a missing companion program, the menu item is silent; both run it.
        QTest::mouseClick(aboutOf(f)->Label5, Qt::LeftButton);
        f.item("Orbelant")->trigger();
        QCOMPARE(f.dialogs.take(), QStringList{"message:Tamil Kalvem:The companion program \"obt\" is not installed."});
        for (const bool fromMenu : {false, true}) {
            Program companion(companionPath());
            fromMenu ? f.item("Orbelant")->trigger() : QTest::mouseClick(aboutOf(f)->Label5, Qt::LeftButton);
            QTRY_VERIFY(companion.ran());
        }
        QCOMPARE(f.dialogs.take(), QStringList());
    }

    void ticksDrawAndRepaintsKeepTheDrawing()
    {
        FrameFixture f;
        f.item("about")->trigger();
        frmabout* about = aboutOf(f);
        about->Timer1->stop();
        const QImage before = about->drawing();
        for (int tick = 0; tick < 4; ++tick)
            about->Timer1_Timer();
        QVERIFY(about->drawing() != before);
        about->repaint();
        const QImage drawn = about->drawing(), shown = about->grab().toImage();
        int kept = 0, lost = 0; // drawn points away from the controls, on screen after a repaint
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (qAlpha(drawn.pixel(x, y)) == 255 && !about->childAt(x, y))
                    ++(shown.pixel(x, y) == drawn.pixel(x, y) ? kept : lost);
        QVERIFY2(kept > 0 && lost == 0, qPrintable(QStringLiteral("%1 kept, %2 lost").arg(kept).arg(lost)));
    }

    void getKeyValue_data()
    {
        QTest::addColumn<QString>("body"); // under [HKEY_LOCAL_MACHINE\SOFTWARE\Tools]
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("text"); // KeyVal after the call; it held "before"
        auto row = [](const char* name, const QString& body, const char* value, bool read, const char* text,
                      const char* key = "SOFTWARE\\Tools") {
            QTest::newRow(name) << body << QString::fromLatin1(key) << QString::fromLatin1(value) << read
                                << QString::fromLatin1(text);
        };
        row("string", "\"Path\"=\"/opt/tool\"\n", "Path", true, "/opt/tool");
        row("escaped quote and backslash", "\"Path\"=\"a\\\\b \\\"c\\\"\"\n", "Path", true, "a\\b \"c\"");
        row("empty string", "\"Path\"=\"\"\n", "Path", true, "");
        row("names match without case", "\"PATH\"=\"/x\"\n", "path", true, "/x");
        row("key names match without case", "\"Path\"=\"/y\"\n", "Path", true, "/y", "software\\tools");
        row("dword", "\"N\"=dword:0000012c\n", "N", true, "300");
        row("dword with a one-digit byte", "\"N\"=dword:00000105\n", "N", true, "261");
        row("dword at its top", "\"N\"=dword:ffffffff\n", "N", true, "4294967295");
        row("other kinds leave the text", "\"B\"=hex:01,02\n", "B", true, "before");
        row("no such value", "\"Path\"=\"/x\"\n", "Other", false, "");
        row("no such key", "\"Path\"=\"/x\"\n", "Path", false, "", "SOFTWARE\\Other");
        row("a value too long for the buffer", "\"Path\"=\"" + QString(1100, u'x') + "\"\n", "Path", false, "");
        row("malformed data", "\"N\"=dword:xyz\n", "N", false, "");
        row("a later folder fills what the first lacks", "", "Later", true, "later");
        row("but never overrides it", "\"First\"=\"first\"\n", "First", true, "first");
    }
    void getKeyValue()
    {
        QFETCH(QString, body);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString section = QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tools]\n");
        setRegistry(machine_, section + body);
        setRegistry(later_, section + "\"First\"=\"later\"\n\"Later\"=\"later\"\n");
        QString text = QStringLiteral("before");
        QTEST(GetKeyValue(HKEY_LOCAL_MACHINE, key, value, text), "read");
        QTEST(text, "text");
    }

    // Help, System Info: the tool the registry file names, else one on PATH, else a message.
    void systemInfo_data()
    {
        QTest::addColumn<QString>("file");    // %1 a folder of the row's own, alone on PATH
        QTest::addColumn<QString>("program"); // a program's name in that folder, "" for none
        QTest::addColumn<bool>("runs");
        QTest::newRow("no values") << QString() << QString() << false;
        QTest::newRow("first names a program") << msinfo.arg("%1/tool") << "tool" << true;
        QTest::newRow("first names nothing there") << msinfo.arg("%1/tool") << QString() << false;
        QTest::newRow("first empty, second has the file") << msinfo.arg("") + location << "MSINFO32.EXE" << true;
        QTest::newRow("only second, no file in its folder") << location << QString() << false;
        QTest::newRow("only second, another file") << location << "msinfo" << false;
        QTest::newRow("none named, a program on PATH") << QString() << "hardinfo" << true;
    }
    void systemInfo()
    {
        QFETCH(QString, file);
        QFETCH(QString, program);
        QTemporaryDir folder;
        setRegistry(machine_, file.arg(folder.path()));
        qputenv("PATH", folder.path().toLocal8Bit());
        std::optional<Program> tool;
        if (!program.isEmpty())
            tool.emplace(folder.filePath(program));
        FrameFixture f;
        f.item("system")->trigger();
        QFETCH(bool, runs);
        QTRY_COMPARE(tool && tool->ran(), runs);
        const char* unavailable = "message:Tamil Kalvem:System Information Is Unavailable At This Time";
        QCOMPARE(f.dialogs.take(), runs ? QStringList() : QStringList{unavailable});
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
