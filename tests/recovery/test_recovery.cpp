// Copies of changed documents: kept while unsaved, gone once saved or
// closed, kept when the session ends, offered after a crash. The crash is a
// real one: the program runs as a child, types, and is killed.
#include "../app/frame_fixture.h"
#include "../support/test_files.h"

#include "app/recovery_start.h"
#include "display_fonts.h"
#include "recovery/auto_recovery.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

using tk::recovery::AutoRecovery;
using A = tk::seam::DialogSeam::Answer;

namespace {

// The copies (descriptions) under the recovery folder, any run.
QStringList copies()
{
    QStringList found;
    for (QDirIterator it(AutoRecovery::folder(), {"*.json"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        found << it.next();
    return found;
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> data_;
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_->path()));
    }
    void stoppedProgramsDocumentsAreOffered_data();
    void stoppedProgramsDocumentsAreOffered();
    void copiesFollowTheDocument();
    void answersAfterTheSessionEnded_data();
    void answersAfterTheSessionEnded();
    void intervalFromTheSettings_data();
    void intervalFromTheSettings();
};

void TestRecovery::stoppedProgramsDocumentsAreOffered_data()
{
    QTest::addColumn<bool>("kill");
    QTest::newRow("SIGKILL: nothing runs on the way out") << true;
    QTest::newRow("SIGTERM long before the next copy is due") << false;
}

// The program as a child types at start; its copy is offered at the next
// start as it was typed, and then belongs to that run.
void TestRecovery::stoppedProgramsDocumentsAreOffered()
{
    QFETCH(bool, kill);
    QTemporaryDir config;
    if (kill) { // a copy every second, so that one is there to kill
        QVERIFY(QDir().mkpath(config.filePath("tamilkalvem")));
        writeBytes(config.filePath("tamilkalvem/tamilkalvem.ini"), "[tamilkalvem]\nAutosave%20seconds=1\n");
    }
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_DATA_HOME", data_->path());
    env.insert("TK_TYPE_AT_START", "vanakkam thamiz");
    app.setProcessEnvironment(env);
    app.start(APP_PATH, {});
    QVERIFY(app.waitForStarted());
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while ((kill ? copies().isEmpty() : !out.contains("typed")) && clock.elapsed() < 30000
           && app.state() == QProcess::Running) {
        app.waitForReadyRead(50);
        out += app.readAllStandardOutput();
    }
    QCOMPARE(copies().size(), kill ? 1 : 0);
    kill ? app.kill() : app.terminate();
    QVERIFY(app.waitForFinished(20000));
    QCOMPARE(app.exitStatus() == QProcess::NormalExit, !kill);
    QCOMPARE(copies().size(), 1);

    FrameFixture f;
    f.dialogs.answers = {A::Yes};
    tk::app::startRecovery(*f.frame);
    QTRY_COMPARE(f.frame->documents().size(), 1);
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.size() == 1 && log[0].contains("Tamil Kalvem ended without saving \"Document 1\". A copy was kept at"),
             qPrintable(log.join('\n')));
    QCOMPARE(f.frame->ActiveForm()->RichTextBox1->Text(), QStringLiteral("tdf;fk; jkpo;"));
    QVERIFY(f.frame->ActiveForm()->hasUnsavedChanges());
    QCOMPARE(copies().size(), 1);
    AutoRecovery other([] { return QList<tk::document::Form1*>(); });
    QVERIFY(other.leftBehind().isEmpty());
}

// Nothing until changed; saved, or closed without saving, the copy goes.
void TestRecovery::copiesFollowTheDocument()
{
    FrameFixture f;
    AutoRecovery keeper([&f] { return f.frame->documents(); });
    tk::document::Form1* form = f.newDocument();
    QVERIFY(keeper.writeChanged());
    QVERIFY(copies().isEmpty());
    QTest::keyClicks(form->RichTextBox1, "kaa");
    QVERIFY(keeper.writeChanged());
    QCOMPARE(copies().size(), 1);
    QTemporaryDir dir;
    f.dialogs.files = {dir.filePath("doc.rtf")};
    f.item("saveas")->trigger();
    QVERIFY(keeper.writeChanged());
    QVERIFY(copies().isEmpty());
    QTest::keyClicks(form->RichTextBox1, "thamiz");
    QVERIFY(keeper.writeChanged());
    QCOMPARE(copies().size(), 1);
    f.dialogs.answers = {A::No};
    form->closeFor(tk::document::UnloadReason::ControlMenu);
    f.settle();
    QVERIFY(copies().isEmpty());
}

void TestRecovery::answersAfterTheSessionEnded_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("opened");
    QTest::newRow("yes opens") << int(A::Yes) << 2;
    QTest::newRow("no keeps nothing") << int(A::No) << 0;
    QTest::newRow("cancel asks again next time") << int(A::Cancel) << 0;
}

// The session's end keeps a copy of each changed document, past the end of
// the program; the next start asks about each.
void TestRecovery::answersAfterTheSessionEnded()
{
    QFETCH(int, answer);
    QFETCH(int, opened);
    {
        FrameFixture f;
        tk::app::startRecovery(*f.frame);
        QTest::qWait(0); // the offer of what earlier runs left: nothing
        QTest::keyClicks(f.newDocument()->RichTextBox1, "kaa");
        QTest::keyClicks(f.newDocument()->RichTextBox1, "thamiz");
        f.newDocument(); // unchanged: no copy
        QVERIFY(copies().isEmpty());
        f.frame->endBySession();
        f.settle();
        QVERIFY(f.frame->documents().isEmpty());
        QCOMPARE(copies().size(), 2);
    }
    QCOMPARE(copies().size(), 2);
    FrameFixture f;
    f.dialogs.answers = {A(answer), A(answer)};
    {
        AutoRecovery keeper([&f] { return f.frame->documents(); });
        const auto forms = keeper.offer(f.frame, [&f] { return f.newDocument(); });
        QCOMPARE(forms.size(), opened);
        QCOMPARE(copies().size(), answer == int(A::No) ? 0 : 2);
        for (auto* form : forms)
            form->closeWithoutQuestion();
        f.settle();
    }
    QCOMPARE(copies().size(), answer == int(A::Cancel) ? 2 : 0);
    if (answer == int(A::No)) // nor the run's folder
        QVERIFY(QDir(AutoRecovery::folder()).entryList({"run-*"}, QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

void TestRecovery::intervalFromTheSettings_data()
{
    QTest::addColumn<QString>("stored"); // null: nothing stored
    QTest::addColumn<int>("seconds");
    QTest::newRow("nothing stored: two minutes") << QString() << 120;
    QTest::newRow("ten seconds") << "10" << 10;
    QTest::newRow("not a number") << "soon" << 120;
    QTest::newRow("zero") << "0" << 120;
}

void TestRecovery::intervalFromTheSettings()
{
    QFETCH(QString, stored);
    QFETCH(int, seconds);
    TemporaryConfigFolder config;
    if (!stored.isNull())
        QVERIFY(tk::memory::CreateKey(tk::memory::memoryKey)
                && tk::memory::WriteValue(tk::memory::memoryKey, "Autosave seconds", stored));
    QCOMPARE(AutoRecovery([] { return QList<tk::document::Form1*>(); }).intervalMs(), seconds * 1000);
}

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
