// The one safe write under every save: what replaces a file, what a failure
// leaves, and a real full disk where this machine lets the test make one.
#include "../support/test_files.h"

#include "files/qt_safe_write.h"
#include "files/safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tk::files;

class TestSafeWrite : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { injectWriteFailure(-1); }

    void replacesTheFileThroughANewOne()
    {
        // A hard link to the old file keeps the old content: the save made a new
        // file and renamed it over the name, it did not write into the old one.
        // The new file has the old one's permissions.
        const QString file = path("letter.sh");
        writeBytes(file, "old");
        QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(path("hard")).constData()) == 0);
        QVERIFY(::chmod(QFile::encodeName(file), 0751) == 0);
        const ino_t before = inodeOf(file);
        QString reason;
        QVERIFY2(writeFileSafely(file, "new", &reason), qPrintable(reason));
        QCOMPARE(readBytes(file), QByteArray("new"));
        QCOMPARE(readBytes(path("hard")), QByteArray("old"));
        QVERIFY(inodeOf(file) != before);
        QCOMPARE(folderEntries(dir_->path()), QStringList({"hard", "letter.sh"}));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(file), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0751));
        // A new file gets the usual mode for the umask, not a temporary file's 0600.
        const mode_t mask = ::umask(022);
        QVERIFY(writeFileSafely(path("new.txt"), "x"));
        ::umask(mask);
        QVERIFY(::stat(QFile::encodeName(path("new.txt")), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0644));
    }

    void followsSymbolicLinks()
    {
        QVERIFY(QDir(dir_->path()).mkpath("real"));
        writeBytes(path("real/doc.txt"), "old");
        QVERIFY(QFile::link("real/doc.txt", path("link.txt")));
        QVERIFY(writeFileSafely(path("link.txt"), "new"));
        QVERIFY(QFileInfo(path("link.txt")).isSymLink());
        QCOMPARE(readBytes(path("real/doc.txt")), QByteArray("new"));
        // A link to a file that does not exist yet makes that file.
        QVERIFY(QFile::link("real/later.txt", path("dangling.txt")));
        QVERIFY(writeFileSafely(path("dangling.txt"), "made"));
        QCOMPARE(readBytes(path("real/later.txt")), QByteArray("made"));
        QVERIFY(QFileInfo(path("dangling.txt")).isSymLink());
    }

    void injectedFullDisk_data()
    {
        QTest::addColumn<long long>("after");
        QTest::addColumn<int>("size");
        QTest::newRow("nothing fits") << 0LL << 100;
        QTest::newRow("small file, cut") << 4000LL << 8000;
        QTest::newRow("large file, cut late") << 1000000LL << 3000000;
    }

    void injectedFullDisk()
    {
        QFETCH(long long, after);
        QFETCH(int, size);
        const QString file = path("doc.rtf");
        writeBytes(file, "previous");
        injectWriteFailure(after);
        QString reason;
        QVERIFY(!writeFileSafely(file, QByteArray(size, 'x'), &reason));
        QVERIFY2(reason.contains("disk is full") && reason.contains("No space left on device"), qPrintable(reason));
        QCOMPARE(readBytes(file), QByteArray("previous"));
        QCOMPARE(folderEntries(dir_->path()), QStringList({"doc.rtf"})); // no temporary file left
    }

    void failuresGiveTheSystemsReason_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder missing") << "missing/doc.txt" << "folder does not exist";
        QTest::newRow("a folder in its place") << "folder" << "it is a folder";
        QTest::newRow("a device") << "/dev/null" << "not an ordinary file";
        QTest::newRow("no name") << "" << "no file name";
        QTest::newRow("a read-only file") << "kept.txt" << "read-only";
    }

    void failuresGiveTheSystemsReason()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        if (name == "kept.txt" && ::geteuid() == 0)
            QSKIP("root may write any file");
        QVERIFY(QDir(dir_->path()).mkpath("folder"));
        writeBytes(path("kept.txt"), "old");
        QVERIFY(::chmod(QFile::encodeName(path("kept.txt")).constData(), 0444) == 0);
        const QString file = name.startsWith('/') || name.isEmpty() ? name : path(name);
        QString why;
        QVERIFY(!writeFileSafely(file, "x", &why));
        QVERIFY2(why.contains(reason), qPrintable(why));
        QCOMPARE(folderEntries(dir_->path()), QStringList({"folder", "kept.txt"}));
        QCOMPARE(readBytes(path("kept.txt")), QByteArray("old"));
    }

    void temporaryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("temporary");
        QTest::newRow("ours") << ".doc.txt.tk-a1B2c3.tmp" << true;
        QTest::newRow("ours, odd name") << "..tk-.tk-zzzzzz.tmp" << true;
        QTest::newRow("a document") << "doc.txt" << false;
        QTest::newRow("not hidden") << "doc.txt.tk-a1B2c3.tmp" << false;
        QTest::newRow("tag too short") << ".doc.tk-a1B2c.tmp" << false;
        QTest::newRow("tag not alphanumeric") << ".doc.tk-a1B2c-.tmp" << false;
        QTest::newRow("another program's") << ".doc.txt.swp" << false;
    }

    void temporaryNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, temporary);
        QCOMPARE(isTemporaryName(name.toStdString()), temporary);
        // and what the writer makes is one
        SafeWriter writer(path("doc.txt").toStdString());
        QVERIFY(writer.open());
        QVERIFY(isTemporaryName(QFileInfo(QString::fromStdString(writer.temporaryPath())).fileName().toStdString()));
    }

    void realFullDisk()
    {
        // A small memory file system, filled to the last byte, then a save of a
        // document far smaller than a buffer.
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
