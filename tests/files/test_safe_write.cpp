// The one safe write under every save: what replaces a file, what a failure
// leaves, and a real full disk where this machine lets the test make one.
#include "../support/test_files.h"

#include "files/qt_safe_write.h"
#include "files/safe_write.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tk::files;

class TestSafeWrite : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY((dir_ = std::make_unique<QTemporaryDir>())->isValid()); }
    void cleanup() { injectWriteFailure(-1); }

    void replacesTheFileThroughANewOne()
    {
        // A hard link keeps the old content: a new file was renamed over the
        // name, with the old one's permissions.
        const QString file = path("letter.sh");
        writeBytes(file, "old");
        QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(path("hard")).constData()) == 0);
        QVERIFY(::chmod(QFile::encodeName(file), 0751) == 0);
        const ino_t before = inodeOf(file);
        QString reason;
        QVERIFY2(writeFileSafely(file, "new", &reason), qPrintable(reason));
        QCOMPARE(readBytes(file) + readBytes(path("hard")), QByteArray("newold"));
        QVERIFY(inodeOf(file) != before);
        QCOMPARE(folderEntries(dir_->path()), QStringList({"hard", "letter.sh"}));
        QCOMPARE(QFileInfo(file).permissions(), QFileInfo(path("hard")).permissions());
        // A new file gets the umask's usual mode, not a temporary file's 0600.
        const mode_t mask = ::umask(022);
        QVERIFY(writeFileSafely(path("new.txt"), "x"));
        ::umask(mask);
        QCOMPARE(int(QFileInfo(path("new.txt")).permissions() & 0x777), 0x644);
    }

    void followsSymbolicLinks()
    {
        QVERIFY(QDir(dir_->path()).mkpath("real"));
        writeBytes(path("real/doc.txt"), "old");
        QVERIFY(QFile::link("real/doc.txt", path("link.txt")));
        QVERIFY(writeFileSafely(path("link.txt"), "new"));
        QVERIFY(QFileInfo(path("link.txt")).isSymLink());
        QVERIFY(QFile::link("real/later.txt", path("dangling.txt"))); // makes the file it names
        QVERIFY(writeFileSafely(path("dangling.txt"), "made") && QFileInfo(path("dangling.txt")).isSymLink());
        QCOMPARE(readBytes(path("real/doc.txt")) + readBytes(path("real/later.txt")), QByteArray("newmade"));
    }

    void injectedFullDisk()
    {
        const QString file = path("doc.rtf");
        writeBytes(file, "previous");
        const std::pair<long long, int> cuts[] = {{0, 100}, {4000, 8000}, {1000000, 3000000}}; // at once, late
        for (const auto& [after, size] : cuts) {
            injectWriteFailure(after);
            QString reason;
            QVERIFY(!writeFileSafely(file, QByteArray(size, 'x'), &reason));
            QVERIFY2(reason.contains("disk is full (No space left on device)"), qPrintable(reason));
            QCOMPARE(readBytes(file), QByteArray("previous"));
            QCOMPARE(folderEntries(dir_->path()), QStringList({"doc.rtf"})); // no temporary file left
        }
    }

    void failuresGiveTheSystemsReason()
    {
        QVERIFY(QDir(dir_->path()).mkpath("folder"));
        writeBytes(path("kept.txt"), "old");
        QVERIFY(::chmod(QFile::encodeName(path("kept.txt")).constData(), 0444) == 0);
        const struct { QString file; const char* reason; } rows[] = {
            {path("missing/doc.txt"), "folder does not exist"}, {path("folder"), "it is a folder"},
            {"/dev/null", "not an ordinary file"}, {"", "no file name"}, {path("kept.txt"), "read-only"}};
        for (const auto& row : rows) {
            if (row.file == path("kept.txt") && ::geteuid() == 0)
                continue; // root may write any file
            QString why;
            QVERIFY2(!writeFileSafely(row.file, "x", &why) && why.contains(row.reason), qPrintable(row.file + ": " + why));
        }
        QCOMPARE(folderEntries(dir_->path()), QStringList({"folder", "kept.txt"}));
        QCOMPARE(readBytes(path("kept.txt")), QByteArray("old"));
    }

    void temporaryNames()
    {
        const struct { const char* name; bool temporary; } rows[] = {
            {".doc.txt.tk-a1B2c3.tmp", true}, {"..tk-.tk-zzzzzz.tmp", true}, {"doc.txt", false},
            {"doc.txt.tk-a1B2c3.tmp", false}, {".doc.tk-a1B2c.tmp", false}, {".doc.tk-a1B2c-.tmp", false},
            {".doc.txt.swp", false}};
        QStringList wrong;
        for (const auto& row : rows)
            if (isTemporaryName(row.name) != row.temporary)
                wrong << row.name;
        QCOMPARE(wrong, QStringList());
        SafeWriter writer(path("doc.txt").toStdString()); // and what the writer makes is one
        QVERIFY(writer.open());
        QVERIFY(isTemporaryName(QFileInfo(QString::fromStdString(writer.temporaryPath())).fileName().toStdString()));
    }

    void realFullDisk()
    {
        // A tmpfs filled to the last byte, then a save far smaller than a buffer.
        if (::geteuid() != 0)
            QSKIP("mounting a small file system to fill needs root; the injected fault covers the rest");
        QTemporaryDir mountPoint;
        const QByteArray where = QFile::encodeName(mountPoint.path());
        if (::mount("tk-full", where.constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here: %1").arg(qt_error_string(errno))));
        const auto unmount = qScopeGuard([&] { ::umount2(where.constData(), MNT_DETACH); });
        const QString file = mountPoint.filePath("doc.rtf");
        QVERIFY(writeFileSafely(file, "{\\rtf1 previous}"));
        {
            QFile filler(mountPoint.filePath("filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size()) {}
            while (filler.write("f", 1) == 1) {}
        }
        QString reason;
        QVERIFY(!writeFileSafely(file, QByteArray(10000, 'x'), &reason));
        QVERIFY2(reason.contains("disk is full"), qPrintable(reason));
        QCOMPARE(readBytes(file), QByteArray("{\\rtf1 previous}"));
        QCOMPARE(folderEntries(mountPoint.path()), QStringList({"doc.rtf", "filler"}));
    }

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "test_safe_write.moc"
