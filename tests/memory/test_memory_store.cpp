// The word memory store: what comes back, under which names, and that a
// missing, corrupt or unreadable file never does more than give "".
#include "memory_fixture.h"
#include "memory/word_memory.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace tk::memory;

class TestMemoryStore : public QObject {
    Q_OBJECT
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }
    void storePathIsInTheConfigFolder();
    void nothingBeforeTheKeyExists();
    void readRules_data();
    void readRules();
    void namesAreCaseInsensitiveAndReplace();
    void corruptFileReadsAsNothing();
    void unreadableFileReadsAsNothing();
    void storeWord_data();
    void storeWord();

private:
    TemporaryConfigFolder config_;
    const QString key_ = QString::fromLatin1(memoryKey);
};

void TestMemoryStore::storePathIsInTheConfigFolder()
{
    QVERIFY(storePath().startsWith(config_.dir.path() + "/"));
}

void TestMemoryStore::nothingBeforeTheKeyExists()
{
    QCOMPARE(ReadValue(key_, "a"), QString());
    WriteValue(key_, "a", "fz;");
    QVERIFY(!QFileInfo::exists(storePath()));
    CreateKey(key_);
    QCOMPARE(ReadValue(key_, "a"), QString());
    WriteValue(key_, "a", "fz;");
    QCOMPARE(ReadValue(key_, "a"), QString("fz;"));
    CreateKey(key_); // creating it again keeps what it holds
    QCOMPARE(ReadValue(key_, "a"), QString("fz;"));
}

void TestMemoryStore::readRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");

    QTest::newRow("plain") << "k" << "jkpo;" << "jkpo;";
    QTest::newRow("blanks at the ends go") << "k" << "  jkpo; fz;  " << "jkpo; fz;";
    QTest::newRow("only blanks") << "k" << "   " << "";
    QTest::newRow("254 characters whole") << "k" << QString(254, 'f') << QString(254, 'f');
    QTest::newRow("254 with blanks") << "k" << " " + QString(252, 'f') + " " << QString(252, 'f');
    QTest::newRow("255 characters read as nothing") << "k" << QString(255, 'f') << "";
    QTest::newRow("separators in the text") << "k" << "a=b; [c] #d, \"e\"" << "a=b; [c] #d, \"e\"";
    QString codes;
    for (int c = 1; c < 256; ++c)
        if (c != ' ')
            codes += QChar(c);
    QTest::newRow("eight-bit codes") << "x" << codes.left(200) << codes.left(200);
    QTest::newRow("eight-bit codes, the rest") << "y" << codes.mid(200) << codes.mid(200);
    for (const QChar n : QStringLiteral("/\\%7;#[]="))
        QTest::addRow("name %c", n.toLatin1()) << QString(n) << QStringLiteral("value ") + n << QStringLiteral("value ") + n;
    QTest::newRow("name blank") << " " << "value " << "value";
}

void TestMemoryStore::readRules()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(QString, read);
    CreateKey(key_);
    WriteValue(key_, "other", "other");
    WriteValue(key_, name, stored);
    QCOMPARE(ReadValue(key_, name), read);
    QCOMPARE(ReadValue(key_, "other"), QString("other"));
}

void TestMemoryStore::namesAreCaseInsensitiveAndReplace()
{
    CreateKey(key_);
    WriteValue(key_, "a", "first");
    WriteValue(key_, "b", "other");
    WriteValue(key_, "Last save", "/home/u/doc.rtf");
    QCOMPARE(ReadValue(key_, "A"), QString("first"));
    WriteValue(key_, "A", "second");
    QCOMPARE(ReadValue(key_, "a"), QString("second"));
    QCOMPARE(ReadValue(key_, "b"), QString("other"));
    QCOMPARE(ReadValue(key_, "LAST SAVE"), QString("/home/u/doc.rtf"));
    QCOMPARE(ReadValue(key_, "c"), QString());
}

void TestMemoryStore::corruptFileReadsAsNothing()
{
    CreateKey(key_);
    QFile file(storePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\xff\xfe\0[[[tamil\x01kalvem\n=\n\\\n", 26) + QByteArray(300, '\x9c'));
    file.close();
    QCOMPARE(ReadValue(key_, "a"), QString());
    QCOMPARE(ReadValue(key_, "Last save"), QString());
    WriteValue(key_, "a", "x"); // must not crash; whatever it does, reading stays safe
    ReadValue(key_, "a");
}

void TestMemoryStore::unreadableFileReadsAsNothing()
{
    // A folder where the file should be: nothing can be read or written.
    QDir().mkpath(storePath());
    QCOMPARE(ReadValue(key_, "a"), QString());
    CreateKey(key_);
    WriteValue(key_, "a", "x");
    QCOMPARE(ReadValue(key_, "a"), QString());
    QVERIFY(QFileInfo(storePath()).isDir());
    QDir(storePath()).removeRecursively();
}

void TestMemoryStore::storeWord_data()
{
    QTest::addColumn<QString>("keyChar");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("name"); // where it lands, "" for nowhere

    QTest::newRow("first character, lower case") << "Ab" << "jkpo;" << int(StoreResult::Stored) << "a";
    QTest::newRow("digit") << "7" << "fz;" << int(StoreResult::Stored) << "7";
    QTest::newRow("no key") << "" << "fz;" << int(StoreResult::Nothing) << "";
    QTest::newRow("no text") << "a" << "" << int(StoreResult::Nothing) << "";
    QTest::newRow("254 stored") << "b" << QString(254, 'f') << int(StoreResult::Stored) << "b";
    QTest::newRow("255 refused") << "b" << QString(255, 'f') << int(StoreResult::TooLong) << "";
}

void TestMemoryStore::storeWord()
{
    QFETCH(QString, keyChar);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(QString, name);

    QCOMPARE(int(tk::memory::storeWord(keyChar, text)), result);
    // The key is made only for a text that is stored.
    QCOMPARE(QFileInfo::exists(storePath()), !name.isEmpty());
    for (const QString n : {"a", "b", "7"})
        QCOMPARE(ReadValue(key_, n), n == name ? text : QString());
}

QTEST_GUILESS_MAIN(TestMemoryStore)
#include "test_memory_store.moc"
