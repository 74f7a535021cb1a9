// Fast typing through a real X server: xdotool presses each key before the
// one before it comes up, as fast typists do, into the word processor's own
// window, and the text must be what one key at a time gives. Runs under a
// private X server (run_under_x.sh); skipped with a message without one.
#include "../engine/engine_fixture.h"
#include "frame_fixture.h"

#include "display_fonts.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int skipped = 77;

// One xdotool command line: each key goes down before the one before it
// comes up; a key that needs Shift comes up before the next goes down, so
// Shift never reaches another key.
QStringList rolledKeys(const QByteArray& keys)
{
    QStringList args;
    QString held;
    for (const char c : keys) {
        const QString name = c == ' '                ? QStringLiteral("space")
                             : c >= 'A' && c <= 'Z' ? QStringLiteral("shift+") + QChar(c - 'A' + 'a')
                                                    : QString(QChar(c));
        if (!held.isEmpty() && (held == name || held.startsWith("shift+")))
            args << "keyup" << std::exchange(held, QString());
        args << "keydown" << name;
        if (!held.isEmpty())
            args << "keyup" << held;
        held = name;
    }
    return held.isEmpty() ? args : args << "keyup" << held;
}

} // namespace

class TestRolloverX11 : public QObject {
    Q_OBJECT
    std::unique_ptr<FrameFixture> f_;
private slots:
    void initTestCase()
    {
        QVERIFY(tk::fonts::registerDisplayFonts());
        f_ = std::make_unique<FrameFixture>();
        f_->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f_->frame));
        QTRY_VERIFY(f_->newDocument()->RichTextBox1->hasFocus());
    }
    void cleanupTestCase() { f_.reset(); }

    void rolledKeysTypeTheSameText_data()
    {
        QTest::addColumn<QByteArray>("keys");
        for (const char* w : {"vanakkam", "vaNakkam", "kaa", "thamiz ammaa", "nanRi", "koo kO kou", "jutam", "pikshU",
                              "kai thaai"})
            QTest::newRow(w) << QByteArray(w);
    }

    void rolledKeysTypeTheSameText()
    {
        QFETCH(QByteArray, keys);
        EngineFixture oneByOne;
        const QByteArray expected = typeKeys(oneByOne, keys);
        tk::document::RichTextBox* box = f_->frame->ActiveForm()->RichTextBox1;
        box->SetText(QString());
        box->setFocus();
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), rolledKeys(keys));
        QVERIFY(xdotool.waitForFinished(20000) && xdotool.exitCode() == 0);
        QTRY_COMPARE_WITH_TIMEOUT(box->Text().toLatin1(), expected, 5000);
        QTest::qWait(100); // nothing more arrives late
        QCOMPARE(box->Text().toLatin1(), expected);
    }
};

int main(int argc, char* argv[])
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        std::printf("SKIP: xdotool is not installed; the real-window typing test needs it.\n");
        return skipped;
    }
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        std::printf("SKIP: no X server; run it through run_under_x.sh.\n");
        return skipped;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    // A window manager gives the focus back to the frame as on a desktop.
    QProcess openbox;
    if (!QStandardPaths::findExecutable("openbox").isEmpty()) {
        openbox.start("openbox");
        QTest::qWait(500);
    }
    TestRolloverX11 test;
    const int result = QTest::qExec(&test, argc, argv);
    openbox.kill();
    openbox.waitForFinished();
    return result;
}

#include "test_rollover_x11.moc"
