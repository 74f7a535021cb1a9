// The converter's files under faults: signals, left-over temporary files,
// unreadable and binary input, full disks and closed outputs, and input
// larger than it may hold. Each case runs the real binary.
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

ConverterRun runShell(const QString& script)
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("CONVERT", QStringLiteral(CONVERTER_PATH));
    p.setProcessEnvironment(e);
    p.start("/bin/sh", {"-c", script});
    if (!p.waitForFinished(60000))
        qFatal("shell did not finish");
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace

class TestConverterFiles : public QObject {
    Q_OBJECT
private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void inPlaceOnAFullDisk()
    {
        // The fault seam: every write fails once 3 bytes are through.
        const QString file = write("doc.txt", QByteArray("thamiz ").repeated(2000));
        const ConverterRun r = runShell(QStringLiteral("TK_FAIL_WRITES_AFTER=3 \"$CONVERT\" -i '%1'").arg(file));
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("disk is full (No space left on device)") && r.err.contains("unchanged"), r.err);
        QCOMPARE(readBytes(file), QByteArray("thamiz ").repeated(2000));
        QCOMPARE(folderEntries(dir_->path()), QStringList({"doc.txt"}));
    }

    void refusedInputIsNeverCreatedOrEmptied_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.txt" << QByteArray() << "No such file";
        QTest::newRow("binary") << "picture.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "binary data, not text";
        QTest::newRow("NUL late in a long file") << "late.txt" << QByteArray("thamiz ").repeated(100000) + '\0' << "NUL byte at byte offset 700000";
        QTest::newRow("a folder") << "folder" << QByteArray("<dir>") << "folder";
    }

    void refusedInputIsNeverCreatedOrEmptied()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString file = dir_->filePath(name);
        if (content == "<dir>")
            QVERIFY(QDir(dir_->path()).mkdir(name));
        else if (!content.isNull())
            write(name, content);
        const ConverterRun r = runConverter({"-i", file});
        QCOMPARE(r.status, 2);
        QVERIFY2(QString::fromLocal8Bit(r.err).contains(reason), r.err);
        QCOMPARE(QFileInfo::exists(file), !content.isNull());
        if (!content.isNull() && content != "<dir>")
            QCOMPARE(readBytes(file), content);
        QCOMPARE(folderEntries(dir_->path()), content.isNull() ? QStringList() : QStringList({name}));
    }

    void leftOverTemporaryFilesAreNoInput()
    {
        // As a killed run with no chance to tidy up leaves one: named, not found.
        const QString stale = write(".doc.txt.tk-Ab12Cd.tmp", "half");
        const QString doc = write("doc.txt", "kaN");
        const ConverterRun r = runConverter({"-i", stale, doc});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("temporary file of an interrupted conversion"), r.err);
        QCOMPARE(readBytes(stale), QByteArray("half"));
        QCOMPARE(readBytes(doc), QByteArray("fz;"));
    }

    void killedDuringInPlaceLeavesNoTemporaryFile()
    {
        // Large enough that the conversion is still writing when it is stopped.
        const QByteArray text = QByteArray("thamiz kaN ").repeated(6 << 20);
        const QString file = write("big.txt", text);
        QProcess p;
        p.start(QStringLiteral(CONVERTER_PATH), {"-i", file});
        QVERIFY(p.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (folderEntries(dir_->path()).size() < 2 && clock.elapsed() < 20000 && p.state() == QProcess::Running)
            QThread::usleep(200);
        QCOMPARE(folderEntries(dir_->path()).size(), 2); // the temporary file is there
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QCOMPARE(folderEntries(dir_->path()), QStringList({"big.txt"}));
        QCOMPARE(QFileInfo(file).size(), text.size());
    }

    void failedWritesToStandardOutputAreTold_data()
    {
        QTest::addColumn<QString>("redirect");
        QTest::addColumn<QString>("reason");
        QTest::newRow("closed") << ">&-" << "Bad file descriptor";
        QTest::newRow("full") << ">/dev/full" << "disk is full";
    }

    void failedWritesToStandardOutputAreTold()
    {
        QFETCH(QString, redirect);
        QFETCH(QString, reason);
        const ConverterRun r = runShell("echo thamiz | \"$CONVERT\" " + redirect);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("cannot write to standard output") && QString::fromLocal8Bit(r.err).contains(reason), r.err);
    }

    void endlessInputStaysInBoundedMemory()
    {
        // An endless stream, under a memory limit far below what holding it
        // would take: ends with a clear refusal, not an abort.
        const ConverterRun zeros = runShell("ulimit -v 60000; \"$CONVERT\" /dev/zero");
        QCOMPARE(zeros.status, 2);
        QVERIFY2(zeros.err.contains("binary data, not text"), zeros.err);
        // A long text streams through in flat memory, every line as it converts
        // alone, wherever the blocks the converter reads cut it.
        const ConverterRun text =
            runShell("yes 'thamiz kaNNan' | head -n 6000000 | (ulimit -v 60000; \"$CONVERT\") | uniq -c");
        QVERIFY2(text.status == 0 && text.err.isEmpty(), text.err);
        QCOMPARE(text.out.simplified(), "6000000 " + runConverter({}, "thamiz kaNNan\n").out.trimmed());
    }

private:
    QString write(const QString& name, const QByteArray& data) { return writeTestFile(*dir_, name, data); }
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_GUILESS_MAIN(TestConverterFiles)
#include "test_converter_files.moc"
