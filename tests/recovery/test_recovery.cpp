// Copies of changed documents: kept while unsaved, gone once saved or
// closed, kept when the session ends, offered after a crash. The crash is a
// real one: the program runs as a child, types, and is killed with SIGKILL.
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
using tk::seam::DialogSeam;

namespace {

// The copies (descriptions) under the recovery folder, any run.
QStringList copies()
{
    QStringList found;
    QDirIterator it(AutoRecovery::folder(), {"*.json"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// The program as a child that types `keys` at start, with its settings in
// `config` and its copies under `data`.
void startTyping(QProcess& app, const QString& config, const QString& data, const QString& keys)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_DATA_HOME", data);
    env.insert("TK_TYPE_AT_START", keys);
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(APP_PATH), {});
    QVERIFY(app.waitForStarted());
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_->path()));
    }
    void killedProgramsDocumentsAreOffered();
    void terminationSignalsKeepThem();
    void copiesFollowTheDocument();
    void theEndOfTheSessionKeepsThem();
    void answers_data();
    void answers();
    void intervalFromTheSettings_data();
    void intervalFromTheSettings();

private:
    std::unique_ptr<QTemporaryDir> data_;
};

void TestRecovery::killedProgramsDocumentsAreOffered()
{
    QTemporaryDir config;
    QVERIFY(QDir().mkpath(config.filePath("tamilkalvem")));
    writeBytes(config.filePath("tamilkalvem/tamilkalvem.ini"), "[tamilkalvem]\nAutosave%20seconds=1\n");
    QProcess app;
    startTyping(app, config.path(), data_->path(), "vanakkam thamiz");
    QElapsedTimer clock;
    clock.start();
    while (copies().isEmpty() && clock.elapsed() < 30000 && app.state() == QProcess::Running)
        QTest::qWait(50);
    QCOMPARE(copies().size(), 1);
    app.kill(); // SIGKILL: nothing runs on the way out
    QVERIFY(app.waitForFinished(10000));
    QCOMPARE(copies().size(), 1);

    // The next start offers it, as it was typed.
    FrameFixture f;
    f.dialogs.answers = {DialogSeam::Answer::Yes};
    tk::app::startRecovery(*f.frame);
    QTRY_COMPARE(f.frame->documents().size(), 1);
    const QStringList log = f.dialogs.take();
    QCOMPARE(log.size(), 1);
    QVERIFY2(log[0].contains("Tamil Kalvem ended without saving \"Document 1\". A copy was kept at"), qPrintable(log[0]));
    tk::document::Form1* form = f.frame->ActiveForm();
    QCOMPARE(form->RichTextBox1->Text(), QStringLiteral("tdf;fk; jkpo;"));
    QVERIFY(form->hasUnsavedChanges());
    // The copy now belongs to this run, which is still alive: nothing is
    // left to offer to another start.
    QCOMPARE(copies().size(), 1);
    AutoRecovery other([] { return QList<tk::document::Form1*>(); });
    QVERIFY(other.leftBehind().isEmpty());
}

void TestRecovery::terminationSignalsKeepThem()
{
    // A shutdown sends SIGTERM; long before the next copy is due.
    QTemporaryDir config;
    QProcess app;
    startTyping(app, config.path(), data_->path(), "kaa");
    QElapsedTimer clock;
    clock.start();
    while (!app.readAllStandardOutput().contains("typed") && clock.elapsed() < 30000)
        app.waitForReadyRead(100);
    QVERIFY(copies().isEmpty());
    app.terminate();
    QVERIFY(app.waitForFinished(20000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(copies().size(), 1);
}

void TestRecovery::copiesFollowTheDocument()
{
    FrameFixture f;
    AutoRecovery keeper([&f] { return f.frame->documents(); });
    tk::document::Form1* form = f.newDocument();
    QVERIFY(keeper.writeChanged());
    QVERIFY(copies().isEmpty()); // nothing changed yet
    QTest::keyClicks(form->RichTextBox1, "kaa");
    QVERIFY(keeper.writeChanged());
    QCOMPARE(copies().size(), 1);
    // Saved: the copy goes.
    QTemporaryDir dir;
    f.dialogs.files = {dir.filePath("doc.rtf")};
    f.item("saveas")->trigger();
    QVERIFY(keeper.writeChanged());
    QVERIFY(copies().isEmpty());
    // Changed again, then closed without saving: gone too.
    QTest::keyClicks(form->RichTextBox1, "thamiz");
    QVERIFY(keeper.writeChanged());
    QCOMPARE(copies().size(), 1);
    f.dialogs.answers = {DialogSeam::Answer::No};
    form->closeFor(tk::document::UnloadReason::ControlMenu);
    f.settle();
    QVERIFY(copies().isEmpty());
}

void TestRecovery::theEndOfTheSessionKeepsThem()
{
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
    } // the frame and its keeper go, as the program ends
    QCOMPARE(copies().size(), 2);
}

void TestRecovery::answers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("opened");
    QTest::addColumn<int>("left"); // copies left on the disk afterwards
    QTest::newRow("yes opens") << int(DialogSeam::Answer::Yes) << 1 << 1;
    QTest::newRow("no keeps nothing") << int(DialogSeam::Answer::No) << 0 << 0;
    QTest::newRow("cancel asks again next time") << int(DialogSeam::Answer::Cancel) << 0 << 1;
}

void TestRecovery::answers()
{
    QFETCH(int, answer);
    QFETCH(int, opened);
    QFETCH(int, left);
    {
        FrameFixture f;
        AutoRecovery keeper([&f] { return f.frame->documents(); });
        QTest::keyClicks(f.newDocument()->RichTextBox1, "kaa");
        keeper.sessionEnding();
    }
    FrameFixture f;
    f.dialogs.answers = {DialogSeam::Answer(answer)};
    {
        AutoRecovery keeper([&f] { return f.frame->documents(); });
        const auto forms = keeper.offer(f.frame, [&f] { return f.newDocument(); });
        QCOMPARE(forms.size(), opened);
        QCOMPARE(copies().size(), left);
        for (auto* form : forms)
            form->closeWithoutQuestion();
        f.settle();
    }
    QCOMPARE(copies().size(), answer == int(DialogSeam::Answer::Cancel) ? 1 : 0);
    if (answer == int(DialogSeam::Answer::No)) // nor the run's folder
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
    const QString key = QString::fromLatin1(tk::memory::memoryKey);
    if (!stored.isNull()) {
        QVERIFY(tk::memory::CreateKey(key));
        QVERIFY(tk::memory::WriteValue(key, "Autosave seconds", stored));
    }
    QCOMPARE(AutoRecovery::intervalSeconds(), seconds);
    AutoRecovery keeper([] { return QList<tk::document::Form1*>(); });
    QCOMPARE(keeper.intervalMs(), seconds * 1000);
}

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
