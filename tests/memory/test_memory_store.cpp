// The word memory store: what comes back, under which names, and that
// nothing is stored before the key exists.
#include "memory_fixture.h"
#include "memory/word_memory.h"

#include <QFileInfo>
#include <QTest>

using namespace tk::memory;

class TestMemoryStore : public QObject {
    Q_OBJECT
    TemporaryConfigFolder config_;
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }
    void nothingBeforeTheKeyExists();
    void readRules_data();
    void readRules();
    void storeWord_data();
    void storeWord();
};

void TestMemoryStore::nothingBeforeTheKeyExists()
{
    QVERIFY(storePath().startsWith(config_.dir.path() + "/"));
    QCOMPARE(ReadValue(memoryKey, "a"), QString());
    WriteValue(memoryKey, "a", "fz;");
    QVERIFY(!QFileInfo::exists(storePath()));
    CreateKey(memoryKey);
    QCOMPARE(ReadValue(memoryKey, "a"), QString());
    WriteValue(memoryKey, "a", "fz;");
    QCOMPARE(ReadValue(memoryKey, "a"), QString("fz;"));
    CreateKey(memoryKey); // creating it again keeps what it holds
    QCOMPARE(ReadValue(memoryKey, "a"), QString("fz;"));
}

void TestMemoryStore::readRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("readAs"); // the name read back under
    QTest::addColumn<QString>("read");
    QTest::newRow("blanks at the ends go") << "k" << "  jkpo; fz;  " << "k" << "jkpo; fz;";
    QTest::newRow("only blanks") << "k" << "   " << "k" << "";
    QTest::newRow("254 characters whole") << "k" << QString(254, 'f') << "k" << QString(254, 'f');
    QTest::newRow("254 with blanks") << "k" << " " + QString(252, 'f') + " " << "k" << QString(252, 'f');
    QTest::newRow("255 characters read as nothing") << "k" << QString(255, 'f') << "k" << "";
    for (const QChar n : QStringLiteral("/\\%7;#[]="))
        QTest::addRow("name %c", n.toLatin1()) << QString(n) << "value " + QString(n) << QString(n) << "value " + QString(n);
    QTest::newRow("name blank") << " " << "value " << " " << "value";
    QTest::newRow("names ignore case and replace") << "A" << "second" << "a" << "second";
    QTest::newRow("a name with a blank") << "Last save" << "/home/u/doc.rtf" << "LAST SAVE" << "/home/u/doc.rtf";
    QTest::newRow("a name never stored") << "k" << "x" << "c" << "";
}

// Around it "a" and "other" are stored first; "other" is never touched.
void TestMemoryStore::readRules()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(QString, readAs);
    QFETCH(QString, read);
    CreateKey(memoryKey);
    WriteValue(memoryKey, "a", "first");
    WriteValue(memoryKey, "other", "other");
    WriteValue(memoryKey, name, stored);
    QCOMPARE(ReadValue(memoryKey, readAs), read);
    QCOMPARE(ReadValue(memoryKey, "other"), QString("other"));
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

// The key is made only for a text that is stored.
void TestMemoryStore::storeWord()
{
    QFETCH(QString, keyChar);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(QString, name);
    QCOMPARE(int(tk::memory::storeWord(keyChar, text)), result);
    QCOMPARE(QFileInfo::exists(storePath()), !name.isEmpty());
    for (const QString n : {"a", "b", "7"})
        QCOMPARE(ReadValue(memoryKey, n), n == name ? text : QString());
}

QTEST_GUILESS_MAIN(TestMemoryStore)
#include "test_memory_store.moc"
