// The word memory store: what comes back, under which names, and that
// nothing is stored before the key exists.
#include "memory_fixture.h"
#include "memory/word_memory.h"

#include <QFileInfo>
#include <QTest>

using namespace tk::memory;

class TestMemoryStore : public QObject {
    Q_OBJECT
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }
    void nothingBeforeTheKeyExists();
    void readRules_data();
    void readRules();
    void namesAreCaseInsensitiveAndReplace();
    void storeWord_data();
    void storeWord();

private:
    TemporaryConfigFolder config_;
    const QString key_ = QString::fromLatin1(memoryKey);
};

void TestMemoryStore::nothingBeforeTheKeyExists()
{
    QVERIFY(storePath().startsWith(config_.dir.path() + "/"));
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
    QTest::newRow("blanks at the ends go") << "k" << "  jkpo; fz;  " << "jkpo; fz;";
    QTest::newRow("only blanks") << "k" << "   " << "";
    QTest::newRow("254 characters whole") << "k" << QString(254, 'f') << QString(254, 'f');
    QTest::newRow("254 with blanks") << "k" << " " + QString(252, 'f') + " " << QString(252, 'f');
    QTest::newRow("255 characters read as nothing") << "k" << QString(255, 'f') << "";
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
    WriteValue(key_, "A", "second");
    QCOMPARE(ReadValue(key_, "a"), QString("second"));
    QCOMPARE(ReadValue(key_, "b"), QString("other"));
    QCOMPARE(ReadValue(key_, "LAST SAVE"), QString("/home/u/doc.rtf"));
    QCOMPARE(ReadValue(key_, "c"), QString());
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
