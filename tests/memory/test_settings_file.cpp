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
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }
    void cleanup() { tk::files::injectWriteFailure(-1); }
    void sameFileAsQSettings_data();
    void sameFileAsQSettings();
    void damagedLinesCostOnlyThemselves();
    void rewritesKeepEveryOtherLine();
    void failedWritesChangeNothingAndSayWhy_data();
    void failedWritesChangeNothingAndSayWhy();

private:
    TemporaryConfigFolder config_;
    const QString key_ = QString::fromLatin1(memoryKey);
};

void TestSettingsFile::sameFileAsQSettings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QString codes;
    for (int c = 1; c < 256; ++c)
        codes += QChar(c);
    QTest::newRow("plain") << "a" << "jkpo;";
    QTest::newRow("font codes 1-127") << "b" << codes.left(127);
    QTest::newRow("font codes 128-255") << "c" << codes.mid(127);
    QTest::newRow("separators and quotes") << "d" << "x=y; z, \"q\" \\ #";
    QTest::newRow("blanks at the ends") << "e" << "  two  ";
    QTest::newRow("an at sign first") << "f" << "@Variant(nothing)";
    QTest::newRow("a NUL then a digit") << "g" << QString(QChar(0)) + "1a";
    QTest::newRow("name with a blank") << "Last save" << "/home/u/R&D/doc one.rtf";
    QTest::newRow("name slash") << "/" << "slash";
    QTest::newRow("name percent") << "%" << "percent";
    QTest::newRow("name Tamil") << QString(QChar(0x0B95)) << "ka";
}

void TestSettingsFile::sameFileAsQSettings()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QString file = storePath();
    // Written by QSettings (as earlier versions did), read here ...
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QSettings s(file, QSettings::IniFormat);
        s.beginGroup(key_);
        s.setValue("other", "kept");
        s.setValue(QString(name).replace("%", "%25").replace("/", "%2F"), text);
    }
    const QByteArray raw = readBytes(file);
    const QString spelled = QString(name).replace("%", "%25").replace("/", "%2F");
    QCOMPARE(SettingsFile(raw).value(key_, spelled), std::optional(text));
    // ... and the other way round, byte for byte as QSettings writes it (in
    // its order of names).
    SettingsFile mine;
    if (spelled > QStringLiteral("other"))
        mine.setValue(key_, "other", "kept");
    mine.setValue(key_, spelled, text);
    if (spelled < QStringLiteral("other"))
        mine.setValue(key_, "other", "kept");
    QCOMPARE(mine.content(), raw);
}

void TestSettingsFile::damagedLinesCostOnlyThemselves()
{
    CreateKey(key_);
    // Damaged lines, then what a corrupt file ends in: NUL, a byte order
    // mark, a broken section, no last line break.
    writeBytes(storePath(), "[tamilkalvem]\n"
                            "a=first\n"
                            "b=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18garbage\n"
                            "c=\"unterminated\n"
                            "%zz=bad name\n"
                            "this line is no entry at all\n"
                            "d=last\n"
                                + QByteArray("\xff\xfe\0[[[tamil\x01kalvem\n=\n\\\n", 26) + QByteArray(300, '\x9c'));
    QCOMPARE(ReadValue(key_, "a"), QString("first"));
    QCOMPARE(ReadValue(key_, "b"), QString());
    QCOMPARE(ReadValue(key_, "c"), QString("unterminated"));
    QCOMPARE(ReadValue(key_, "d"), QString("last"));
    QVERIFY(WriteValue(key_, "e", "x"));
    QCOMPARE(ReadValue(key_, "a"), QString("first"));
}

void TestSettingsFile::rewritesKeepEveryOtherLine()
{
    CreateKey(key_);
    const QByteArray before = "; kept comment\r\n"
                              "[General]\r\n"
                              "x=@ByteArray(\\x1)\r\n"
                              "[tamilkalvem]\r\n"
                              "a=old\r\n"
                              "b=@Variant(\\0\\0\\0\\x7f broken\r\n"
                              "this line is no entry at all\r\n"
                              "\r\n"
                              "[other]\r\n"
                              "a=elsewhere\r\n";
    writeBytes(storePath(), before);
    QVERIFY(WriteValue(key_, "A", "new"));
    QVERIFY(WriteValue(key_, "k", "added"));
    QByteArray expected = before;
    expected.replace("a=old", "a=new");
    expected.replace("broken\r\n", "broken\r\nk=added\r\n");
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

void TestSettingsFile::failedWritesChangeNothingAndSayWhy()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    if (fault == "readonly" && ::geteuid() == 0)
        QSKIP("root writes into read-only folders; the full disk covers a write that fails");
    QVERIFY(CreateKey(key_));
    QVERIFY(WriteValue(key_, "b", "kept"));
    const QByteArray before = readBytes(storePath());
    const QString folder = QFileInfo(storePath()).absolutePath();
    if (fault == "full")
        tk::files::injectWriteFailure(3);
    else if (fault == "folder")
        QVERIFY(QFile::remove(storePath()) && QDir().mkpath(storePath()));
    else if (fault == "nokey")
        QVERIFY(QFile::remove(storePath()));
    else
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    QString why;
    QVERIFY(!WriteValue(key_, "a", "word", &why));
    QVERIFY2(why.contains(reason) && why.contains(storePath()), qPrintable(why));
    QCOMPARE(storeWord("a", "word", &why), fault == "nokey" ? StoreResult::Stored : StoreResult::Failed);
    if (fault == "readonly")
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (fault == "full" || fault == "readonly") {
        QCOMPARE(readBytes(storePath()), before);
        QCOMPARE(ReadValue(key_, "b"), QString("kept"));
    }
    if (fault == "folder") {
        QCOMPARE(ReadValue(key_, "b"), QString());
        QVERIFY(QFileInfo(storePath()).isDir());
        QDir(storePath()).removeRecursively();
    }
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
