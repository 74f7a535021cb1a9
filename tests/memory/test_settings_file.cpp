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
    void sameFileAsQSettings_data();
    void sameFileAsQSettings();
    void damagedLinesCostOnlyThemselves();
    void failedWritesChangeNothingAndSayWhy_data();
    void failedWritesChangeNothingAndSayWhy();
};

void TestSettingsFile::sameFileAsQSettings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QString codes;
    for (int c = 1; c < 256; ++c)
        codes += QChar(c);
    QTest::newRow("font codes 1-255") << "b" << codes;
    QTest::newRow("separators and quotes") << "d" << "x=y; z, \"q\" \\ #";
    QTest::newRow("blanks at the ends") << "e" << "  two  ";
    QTest::newRow("an at sign first") << "f" << "@Variant(nothing)";
    QTest::newRow("a NUL then a digit") << "g" << QString(QChar(0)) + "1a";
    QTest::newRow("name with a blank") << "Last save" << "/home/u/R&D/doc one.rtf";
    QTest::newRow("name slash") << "/" << "slash";
    QTest::newRow("name percent") << "%" << "percent";
    QTest::newRow("name Tamil") << QString(QChar(0x0B95)) << "ka";
}

// Written by QSettings (as earlier versions did), read here; and the other
// way round, byte for byte as QSettings writes it (in its order of names).
void TestSettingsFile::sameFileAsQSettings()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QString spelled = QString(name).replace("%", "%25").replace("/", "%2F");
    {
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        QSettings s(storePath(), QSettings::IniFormat);
        s.beginGroup(key_);
        s.setValue("other", "kept");
        s.setValue(spelled, text);
    }
    const QByteArray raw = readBytes(storePath());
    QCOMPARE(SettingsFile(raw).value(key_, spelled), std::optional(text));
    SettingsFile mine;
    for (const QString& n : spelled < "other" ? QStringList{spelled, "other"} : QStringList{"other", spelled})
        mine.setValue(key_, n, n == spelled ? text : "kept");
    QCOMPARE(mine.content(), raw);
}

// Damaged lines cost only their own entry, and writes keep every line they
// do not change, down to what a corrupt file ends in: NUL, a byte order
// mark, a broken section; the last line gets its line break.
void TestSettingsFile::damagedLinesCostOnlyThemselves()
{
    CreateKey(key_);
    const QByteArray before = "; kept comment\r\n[General]\r\nx=@ByteArray(\\x1)\r\n[tamilkalvem]\r\na=old\r\n"
                              "b=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18garbage\r\nc=\"unterminated\r\n%zz=bad name\r\n"
                              "this line is no entry at all\r\nd=last\r\n\r\n[other]\r\na=elsewhere\r\n"
                            + QByteArray("\xff\xfe\0[[[tamil\x01kalvem\r\n=\r\n\\\r\n", 29) + QByteArray(300, '\x9c');
    writeBytes(storePath(), before);
    const QStringList read = {ReadValue(key_, "a"), ReadValue(key_, "b"), ReadValue(key_, "c"), ReadValue(key_, "d")};
    QCOMPARE(read, (QStringList{"old", "", "unterminated", "last"}));
    QVERIFY(WriteValue(key_, "A", "new") && WriteValue(key_, "k", "added"));
    QByteArray expected = before;
    expected.replace("a=old", "a=new").replace("d=last\r\n", "d=last\r\nk=added\r\n").append("\r\n");
    QCOMPARE(readBytes(storePath()), expected);
    QCOMPARE(ReadValue(key_, "a"), QString("new"));
}

void TestSettingsFile::failedWritesChangeNothingAndSayWhy_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk") << "full" << "the disk is full (No space left on device)";
    QTest::newRow("folder in its place") << "folder" << "a folder of that name";
    QTest::newRow("no key yet") << "nokey" << "does not exist";
    QTest::newRow("read-only folder") << "readonly" << "permission denied";
}

// The full disk and the read-only folder keep the file as it was; a folder
// in its place stays.
void TestSettingsFile::failedWritesChangeNothingAndSayWhy()
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

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
