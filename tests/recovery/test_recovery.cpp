// Copies of changed documents: kept while unsaved, gone once saved or
// closed, kept when the session ends, offered after a crash. The crash is a
// real one: the program runs as a child, types, and is killed.
#include "../app/frame_fixture.h"

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
qsizetype copies()
{
    QDirIterator it(AutoRecovery::folder(), {"*.json"}, QDir::Files, QDirIterator::Subdirectories);
    qsizetype found = 0;
    for (; it.hasNext(); ++found)
        it.next();
    return found;
}

QList<tk::document::Form1*> none() { return {}; }

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

    void stoppedProgramsDocumentsAreOffered_data()
    {
        QTest::addColumn<bool>("kill");
        QTest::newRow("SIGKILL: nothing runs on the way out") << true;
        QTest::newRow("SIGTERM long before the next copy is due") << false;
    }

    // The program as a child types at start; its copy is offered at the next
    // start as it was typed, and then belongs to that run.
    void stoppedProgramsDocumentsAreOffered()
    {
        QFETCH(bool, kill);
        TemporaryConfigFolder config; // the child inherits it, and XDG_DATA_HOME
        if (kill) // a copy every second, so that one is there to kill
            QVERIFY(tk::memory::CreateKey(tk::memory::memoryKey)
                    && tk::memory::WriteValue(tk::memory::memoryKey, "Autosave seconds", "1"));
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TK_TYPE_AT_START", "vanakkam thamiz");
        app.setProcessEnvironment(env);
        app.start(APP_PATH, {});
        QVERIFY(app.waitForStarted());
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while ((kill ? copies() == 0 : !out.contains("typed")) && clock.elapsed() < 30000
               && app.state() == QProcess::Running) {
            app.waitForReadyRead(50);
            out += app.readAllStandardOutput();
        }
        QCOMPARE(copies(), kill ? 1 : 0);
        kill ? app.kill() : app.terminate();
        QVERIFY(app.waitForFinished(20000));
        QCOMPARE(app.exitStatus() == QProcess::NormalExit, !kill);
        QCOMPARE(copies(), 1);
        FrameFixture f;
        f.dialogs.answers = {A::Yes};
        // The splash goes before the question, not over it.
        qsizetype askedBeforeSplashWent = -1;
        tk::app::startRecovery(*f.frame, [&] { askedBeforeSplashWent = f.dialogs.log.size(); });
        QTRY_COMPARE(f.frame->documents().size(), 1);
        QCOMPARE(askedBeforeSplashWent, 0);
        const QStringList log = f.dialogs.take();
        const QString offer = "Tamil Kalvem ended without saving \"Document 1\". A copy was kept at";
        QVERIFY2(log.size() == 1 && log[0].contains(offer), qPrintable(log.join('\n')));
        QCOMPARE(f.frame->ActiveForm()->RichTextBox1->Text(), QStringLiteral("tdf;fk; jkpo;"));
        QVERIFY(f.frame->ActiveForm()->hasUnsavedChanges());
        QCOMPARE(copies(), 1);
        QVERIFY(AutoRecovery(none).leftBehind().isEmpty());
    }

    // Nothing until changed; saved, or closed without saving, the copy goes.
    void copiesFollowTheDocument()
    {
        FrameFixture f;
        AutoRecovery keeper([&f] { return f.frame->documents(); });
        tk::document::Form1* form = f.newDocument();
        QTemporaryDir dir;
        f.dialogs.files = {dir.filePath("doc.rtf")};
        f.dialogs.answers = {A::No};
        const std::function<void()> steps[] = {
            [] {}, [&] { QTest::keyClicks(form->RichTextBox1, "kaa"); }, [&] { f.item("saveas")->trigger(); },
            [&] { QTest::keyClicks(form->RichTextBox1, "thamiz"); },
            [&] { form->closeFor(tk::document::UnloadReason::ControlMenu), f.settle(); }};
        QList<qsizetype> kept;
        for (const auto& step : steps) {
            step();
            QVERIFY(keeper.writeChanged());
            kept << copies();
        }
        QCOMPARE(kept, (QList<qsizetype>{0, 1, 0, 1, 0}));
    }

    void answersAfterTheSessionEnded_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes opens") << int(A::Yes);
        QTest::newRow("no keeps nothing") << int(A::No);
        QTest::newRow("cancel asks again next time") << int(A::Cancel);
    }

    // The session's end keeps a copy of each changed document, past the end
    // of the program; the next start asks about each.
    void answersAfterTheSessionEnded()
    {
        QFETCH(int, answer);
        {
            FrameFixture f;
            tk::app::startRecovery(*f.frame, [] { QFAIL("nothing to offer, yet the splash was sent away"); });
            QTest::qWait(0); // the offer of what earlier runs left: nothing
            QTest::keyClicks(f.newDocument()->RichTextBox1, "kaa");
            QTest::keyClicks(f.newDocument()->RichTextBox1, "thamiz");
            f.newDocument(); // unchanged: no copy
            QCOMPARE(copies(), 0);
            f.frame->endBySession();
            f.settle();
            QVERIFY(f.frame->documents().isEmpty());
        }
        QCOMPARE(copies(), 2);
        FrameFixture f;
        f.dialogs.answers = {A(answer), A(answer)};
        {
            AutoRecovery keeper([&f] { return f.frame->documents(); });
            const auto forms = keeper.offer(f.frame, [&f] { return f.newDocument(); });
            QCOMPARE(forms.size(), answer == int(A::Yes) ? 2 : 0);
            QCOMPARE(copies(), answer == int(A::No) ? 0 : 2);
            for (auto* form : forms)
                form->closeWithoutQuestion();
            f.settle();
        }
        QCOMPARE(copies(), answer == int(A::Cancel) ? 2 : 0);
        if (answer == int(A::No)) // nor the run's folder
            QVERIFY(QDir(AutoRecovery::folder()).entryList({"run-*"}, QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    // Two minutes unless a whole number of seconds above zero is stored.
    void intervalFromTheSettings()
    {
        TemporaryConfigFolder config;
        QList<int> seconds{AutoRecovery(none).intervalMs() / 1000};
        QVERIFY(tk::memory::CreateKey(tk::memory::memoryKey));
        for (const char* stored : {"10", "soon", "0"}) {
            QVERIFY(tk::memory::WriteValue(tk::memory::memoryKey, "Autosave seconds", stored));
            seconds << AutoRecovery(none).intervalMs() / 1000;
        }
        QCOMPARE(seconds, (QList<int>{120, 10, 120, 120}));
    }
};

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
