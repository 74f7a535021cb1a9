// The real converter's files under faults: signals, left-over temporary files,
// refused input, full disks, closed outputs, endless input.
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QFileInfo>

#include <csignal>
#include <unistd.h>

namespace {

ConverterRun runShell(QString script)
{
    QProcess p;
    p.start("/bin/sh", {"-c", script.replace("$CONVERT", CONVERTER_PATH)});
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
        const QString file = write("doc.txt", QByteArray("thamiz ").repeated(2000));
        const ConverterRun r = runShell(QStringLiteral("TK_FAIL_WRITES_AFTER=3 \"$CONVERT\" -i '%1'").arg(file));
        QVERIFY2(r.status == 2 && r.err.contains("disk is full (No space left on device)") && r.err.contains("unchanged"),
                 r.err);
        QCOMPARE(readBytes(file), QByteArray("thamiz ").repeated(2000));
        QCOMPARE(folderEntries(dir_->path()), QStringList({"doc.txt"}));
    }

    // A new file takes the old one's name: a hard link keeps the old content,
    // and a symbolic link stays a link to the rewritten file.
    void inPlaceReplacesTheFileThroughLinks()
    {
        const QString file = write("doc.txt", "kaa");
        QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(dir_->filePath("hard.txt")).constData()) == 0);
        QVERIFY(QFile::link("doc.txt", dir_->filePath("soft.txt")));
        const ino_t before = inodeOf(file);
        const ConverterRun r = runConverter({"-i", dir_->filePath("soft.txt")});
        QVERIFY2(r.status == 0, r.err);
        QVERIFY(QFileInfo(dir_->filePath("soft.txt")).isSymLink() && inodeOf(file) != before);
        QCOMPARE(readBytes(file) + '|' + readBytes(dir_->filePath("hard.txt")), QByteArray("fh|kaa"));
    }

    void refusedInputIsNeverCreatedOrEmptied()
    {
        const struct { const char* name; QByteArray content; const char* reason; } rows[] = { // null: no such file
            {"missing.txt", {}, "No such file"},
            {"picture.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "binary data, not text"},
            {"late.txt", QByteArray("thamiz ").repeated(100000) + '\0', "NUL byte at byte offset 700000"}};
        for (const auto& row : rows) {
            const QString file = row.content.isNull() ? dir_->filePath(row.name) : write(row.name, row.content);
            const ConverterRun r = runConverter({"-i", file});
            QVERIFY2(r.status == 2 && QString::fromLocal8Bit(r.err).contains(row.reason), r.err);
            QCOMPARE(readBytes(file), row.content.isNull() ? QByteArray("<unreadable>") : row.content);
            QVERIFY(QFile::remove(file) == !row.content.isNull() && folderEntries(dir_->path()).isEmpty());
        }
    }

    void leftOverTemporaryFilesAreNoInput()
    {
        // As a killed run leaves one: named, not converted.
        const QString stale = write(".doc.txt.tk-Ab12Cd.tmp", "half");
        const QString doc = write("doc.txt", "kaN");
        const ConverterRun r = runConverter({"-i", stale, doc});
        QVERIFY2(r.status == 2 && r.err.contains("temporary file of an interrupted conversion"), r.err);
        QCOMPARE(readBytes(stale) + '|' + readBytes(doc), QByteArray("half|fz;"));
    }

    void killedDuringInPlaceLeavesNoTemporaryFile()
    {
        // Large enough that the conversion is still writing when it is stopped.
        const QByteArray text = QByteArray("thamiz kaN ").repeated(6 << 20);
        const QString file = write("big.txt", text);
        QProcess p;
        p.start(QStringLiteral(CONVERTER_PATH), {"-i", file});
        QTRY_COMPARE_WITH_TIMEOUT(folderEntries(dir_->path()).size(), 2, 20000); // the temporary file is there
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QCOMPARE(folderEntries(dir_->path()), QStringList({"big.txt"}));
        QCOMPARE(QFileInfo(file).size(), text.size());
    }

    void failedWritesToStandardOutputAreTold()
    {
        for (const auto& [redirect, reason] : {std::pair{">&-", "Bad file descriptor"}, std::pair{">/dev/full", "disk is full"}}) {
            const ConverterRun r = runShell(QStringLiteral("echo thamiz | \"$CONVERT\" ") + redirect);
            QVERIFY2(r.status == 2 && r.err.contains("cannot write to standard output")
                         && QString::fromLocal8Bit(r.err).contains(reason), r.err);
        }
    }

    void endlessInputStaysInBoundedMemory()
    {
        // Under a memory limit far below what holding the input would take: an
        // endless stream is refused clearly, not by an abort; a long text streams
        // through, every line as it converts alone wherever the read blocks cut it.
        const ConverterRun zeros = runShell("ulimit -v 60000; \"$CONVERT\" /dev/zero");
        QVERIFY2(zeros.status == 2 && zeros.err.contains("binary data, not text"), zeros.err);
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
