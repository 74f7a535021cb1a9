// Fast typing through a real X server: xdotool presses each key before the
// one before it comes up, as fast typists do, into the word processor's
// own window, and the text must be what one key at a time gives. Runs under
// a private Xvfb (with openbox, when installed, as on a desktop); without
// Xvfb or xdotool it is skipped with a message.
#include "../engine/engine_fixture.h"
#include "../memory/memory_fixture.h"
#include "../support/scripted_dialogs.h"

#include "app/frame/mdi_form1.h"
#include "display_fonts.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int skipped = 77;

// xdotool's name for a key and whether it needs Shift.
QString keyName(char c)
{
    if (c == ' ')
        return QStringLiteral("space");
    if (c >= 'A' && c <= 'Z')
        return QStringLiteral("shift+") + QChar(c - 'A' + 'a');
    return QString(QChar(c));
}

// One xdotool command line: each key goes down before the one before it
// comes up; a key that needs Shift comes up before the next goes down, so
// Shift never reaches another key.
QStringList rolledKeys(const QByteArray& keys)
{
    QStringList args;
    QString held;
    for (const char c : keys) {
        const QString name = keyName(c);
        if (!held.isEmpty() && (held == name || held.startsWith(QStringLiteral("shift+")))) {
            args << QStringLiteral("keyup") << held;
            held.clear();
        }
        args << QStringLiteral("keydown") << name;
        if (!held.isEmpty())
            args << QStringLiteral("keyup") << held;
        held = name;
    }
    if (!held.isEmpty())
        args << QStringLiteral("keyup") << held;
    return args;
}

pid_t spawn(const std::vector<std::string>& argv, int keepFd = -1)
{
    const pid_t pid = fork();
    if (pid == 0) {
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keepFd)
                close(fd);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid)
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

} // namespace

class TestRolloverX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void rolledKeysTypeTheSameText_data();
    void rolledKeysTypeTheSameText();

private:
    TemporaryConfigFolder config_;
    ScriptedDialogs dialogs_;
    QPointer<tk::app::MDIForm1> frame_;
};

void TestRolloverX11::initTestCase()
{
    QVERIFY(tk::fonts::registerDisplayFonts());
    frame_ = new tk::app::MDIForm1;
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_));
    frame_->item(QStringLiteral("new"))->trigger();
    QVERIFY(frame_->ActiveForm());
    QTRY_VERIFY(frame_->ActiveForm()->RichTextBox1->hasFocus());
}

void TestRolloverX11::cleanupTestCase()
{
    if (frame_) {
        for (auto* form : frame_->documents())
            form->closeWithoutQuestion();
        delete frame_.data();
    }
}

void TestRolloverX11::rolledKeysTypeTheSameText_data()
{
    QTest::addColumn<QByteArray>("keys");
    for (const char* w : {"vanakkam", "vaNakkam", "kaa", "thamiz ammaa", "nanRi", "koo kO kou", "jutam", "pikshU",
                          "kai thaai"})
        QTest::newRow(w) << QByteArray(w);
}

void TestRolloverX11::rolledKeysTypeTheSameText()
{
    QFETCH(QByteArray, keys);
    EngineFixture oneByOne;
    const QByteArray expected = typeKeys(oneByOne, keys);
    tk::document::RichTextBox* box = frame_->ActiveForm()->RichTextBox1;
    box->SetText(QString());
    box->setFocus();
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), rolledKeys(keys));
    QVERIFY(xdotool.waitForFinished(20000));
    QCOMPARE(xdotool.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(box->Text().toLatin1(), expected, 5000);
    // Nothing more arrives late.
    QTest::qWait(100);
    QCOMPARE(box->Text().toLatin1(), expected);
}

int main(int argc, char* argv[])
{
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::printf("SKIP: %s is not installed; the real-window typing test needs Xvfb and xdotool.\n", tool);
            return skipped;
        }
    }
    // A private X server on the first free display; it writes the number to
    // the pipe, which stays open (the server writes it again should it reset).
    int fds[2];
    if (pipe(fds) != 0)
        return 1;
    const pid_t xvfb = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24",
                              "-nolisten", "tcp", "-noreset"},
                             fds[1]);
    close(fds[1]);
    pollfd wait{fds[0], POLLIN, 0};
    char number[16] = {};
    if (poll(&wait, 1, 15000) <= 0 || read(fds[0], number, sizeof number - 1) <= 0) {
        stop(xvfb);
        std::printf("SKIP: Xvfb did not start.\n");
        return skipped;
    }
    setenv("DISPLAY", (":" + std::string(number, strcspn(number, "\n"))).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // A window manager gives the focus back to the frame as on a desktop.
    pid_t openbox = -1;
    if (!QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
        openbox = spawn({"openbox"});
        usleep(500000);
    }
    int result = 1;
    {
        QApplication app(argc, argv);
        TestRolloverX11 test;
        result = QTest::qExec(&test, argc, argv);
    }
    stop(openbox);
    stop(xvfb);
    close(fds[0]);
    return result;
}

#include "test_rollover_x11.moc"
