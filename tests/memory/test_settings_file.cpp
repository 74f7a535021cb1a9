// The settings file as lines: the same file as QSettings reads and writes,
// a damaged line costing only its own entry, and writes that keep every
// line they do not change, or fail, say why and change nothing.
#include "memory_fixture.h"
#include "../support/test_files.h"

#include "files/safe_write.h"
#include "memory/settings_file.h"
#include "memory/word_memory.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

using namespace tk::memory;

class TestSettingsFile : public QObject {
    Q_OBJECT
    TemporaryConfigFolder config_;
    const QString key_ = memoryKey;
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }
    void cleanup() { tk::files::injectWriteFailure(-1); }

    // Written by QSettings (as earlier versions did), read here; and the
    // other way round, byte for byte (in QSettings' order of names).
    void sameFileAsQSettings()
    {
        QString codes; // font codes 1-255
        for (int c = 1; c < 256; ++c)
            codes += QChar(c);
        const std::pair<QString, QString> rows[] = {
            {"b", codes}, {"d", "x=y; z, \"q\" \\ #"}, {"e", "  two  "}, {"f", "@Variant(nothing)"},
            {"g", QString(QChar(0)) + "1a"}, {"Last save", "/home/u/R&D/doc one.rtf"}, {"/", "slash"},
            {"%", "percent"}, {QString(QChar(0x0B95)), "ka"}};
        for (const auto& [name, text] : rows) {
            TemporaryConfigFolder::removeStore();
            const QString spelled = QString(name).replace("%", "%25").replace("/", "%2F");
            {
                QDir().mkpath(QFileInfo(storePath()).absolutePath());
                QSettings s(storePath(), QSettings::IniFormat);
                s.setValue(key_ + "/other", "kept");
                s.setValue(key_ + '/' + spelled, text);
            }
            const QByteArray raw = readBytes(storePath());
            QCOMPARE(SettingsFile(raw).value(key_, spelled), std::optional(text));
            SettingsFile mine;
            for (const QString& n : spelled < "other" ? QStringList{spelled, "other"} : QStringList{"other", spelled})
                mine.setValue(key_, n, n == spelled ? text : "kept");
            QCOMPARE(mine.content(), raw);
        }
    }

    // Down to what a corrupt file ends in: NUL, a byte order mark, a broken
    // section; the last line gets its line break.
    void damagedLinesCostOnlyThemselves()
    {
        CreateKey(key_);
        const QByteArray before =
            "; kept comment\r\n[General]\r\nx=@ByteArray(\\x1)\r\n[tamilkalvem]\r\na=old\r\n"
            "b=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18garbage\r\nc=\"unterminated\r\n%zz=bad name\r\n"
            "this line is no entry at all\r\nd=last\r\n\r\n[other]\r\na=elsewhere\r\n"
            + QByteArray("\xff\xfe\0[[[tamil\x01kalvem\r\n=\r\n\\\r\n", 29) + QByteArray(300, '\x9c');
        writeBytes(storePath(), before);
        QStringList read;
        for (const char* name : {"a", "b", "c", "d"})
            read << ReadValue(key_, name);
        QCOMPARE(read, (QStringList{"old", "", "unterminated", "last"}));
        QVERIFY(WriteValue(key_, "A", "new") && WriteValue(key_, "k", "added"));
        QByteArray expected = before;
        expected.replace("a=old", "a=new").replace("d=last\r\n", "d=last\r\nk=added\r\n").append("\r\n");
        QCOMPARE(readBytes(storePath()), expected);
    }

    void failedWritesChangeNothingAndSayWhy_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "full" << "the disk is full (No space left on device)";
        QTest::newRow("folder in its place") << "folder" << "a folder of that name";
        QTest::newRow("no key yet") << "nokey" << "does not exist";
        QTest::newRow("read-only folder") << "readonly" << "permission denied";
    }

    // The full disk and the read-only folder keep the file as it was; a
    // folder in its place stays.
    void failedWritesChangeNothingAndSayWhy()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        if (fault == "readonly" && ::geteuid() == 0)
            QSKIP("root writes into read-only folders; the full disk covers a write that fails");
        QVERIFY(CreateKey(key_) && WriteValue(key_, "b", "kept"));
        const QByteArray before = readBytes(storePath());
        const QString folder = QFileInfo(storePath()).absolutePath();
        if (fault == "full")
            tk::files::injectWriteFailure(3);
        else if (fault == "readonly")
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        else
            QVERIFY(QFile::remove(storePath()) && (fault == "nokey" || QDir().mkpath(storePath())));
        QString why;
        QVERIFY(!WriteValue(key_, "a", "word", &why));
        QVERIFY2(why.contains(reason) && why.contains(storePath()), qPrintable(why));
        QCOMPARE(storeWord("a", "word", &why), fault == "nokey" ? StoreResult::Stored : StoreResult::Failed);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (fault == "full" || fault == "readonly")
            QCOMPARE(readBytes(storePath()), before);
        if (fault == "folder") {
            QVERIFY(QFileInfo(storePath()).isDir() && ReadValue(key_, "b").isEmpty());
            QDir(storePath()).removeRecursively();
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
