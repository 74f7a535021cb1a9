// The word memory store: what comes back, under which names, that nothing
// is stored before the key exists; and its dialog as a user works it.
#include "memory_fixture.h"
#include "memory/form5.h"
#include "memory/word_memory.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace tk::memory;

class TestMemoryStore : public QObject {
    Q_OBJECT
    TemporaryConfigFolder config_;
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }

    void nothingBeforeTheKeyExists()
    {
        QVERIFY(storePath().startsWith(config_.dir.path() + "/"));
        QVERIFY(!WriteValue(memoryKey, "a", "fz;") && !QFileInfo::exists(storePath()));
        // Creating the key again keeps what it holds.
        QVERIFY(CreateKey(memoryKey) && WriteValue(memoryKey, "a", "fz;") && CreateKey(memoryKey));
        QCOMPARE(ReadValue(memoryKey, "a"), QString("fz;"));
    }

    // Each row stored with "a" and "other" stored first; "other" is never
    // touched. Name, text stored, name read back under, text read.
    void readRules()
    {
        QList<QStringList> rows = {
            {"k", "  jkpo; fz;  ", "k", "jkpo; fz;"}, {"k", "   ", "k", ""},
            {"k", QString(254, 'f'), "k", QString(254, 'f')},
            {"k", " " + QString(252, 'f') + " ", "k", QString(252, 'f')}, {"k", QString(255, 'f'), "k", ""},
            {"A", "second", "a", "second"}, {"Last save", "/u/doc.rtf", "LAST SAVE", "/u/doc.rtf"},
            {"k", "x", "c", ""}};
        for (const QChar n : QStringLiteral("/\\%7;#[]= "))
            rows.append({n, "value " + QString(n), n, ("value " + QString(n)).trimmed()});
        for (const QStringList& row : rows) {
            TemporaryConfigFolder::removeStore();
            CreateKey(memoryKey);
            WriteValue(memoryKey, "a", "first");
            WriteValue(memoryKey, "other", "other");
            WriteValue(memoryKey, row[0], row[1]);
            const QStringList got = {row[0], row[1], row[2], ReadValue(memoryKey, row[2])};
            QCOMPARE(got, row);
            QCOMPARE(ReadValue(memoryKey, "other"), QString("other"));
        }
    }

    // Key letter, text, result, where it lands ("" nowhere); the key is made
    // only for a text that is stored.
    void storeWord()
    {
        const std::tuple<QString, QString, StoreResult, QString> rows[] = {
            {"Ab", "jkpo;", StoreResult::Stored, "a"},           {"7", "fz;", StoreResult::Stored, "7"},
            {"", "fz;", StoreResult::Nothing, ""},               {"a", "", StoreResult::Nothing, ""},
            {"b", QString(254, 'f'), StoreResult::Stored, "b"}, {"b", QString(255, 'f'), StoreResult::TooLong, ""}};
        for (const auto& [keyChar, text, result, name] : rows) {
            TemporaryConfigFolder::removeStore();
            QStringList got{keyChar, QString::number(int(tk::memory::storeWord(keyChar, text)))};
            QStringList expected{keyChar, QString::number(int(result))};
            for (const QString n : {"a", "b", "7"}) {
                got << ReadValue(memoryKey, n);
                expected << (n == name ? text : QString());
            }
            got << (QFileInfo::exists(storePath()) ? "file" : "none");
            QCOMPARE(got, expected << (name.isEmpty() ? "none" : "file"));
        }
    }

    // It starts empty with its twenty-five letters, stores and stays open,
    // a second text replaces the first, and Cancel unloads it.
    void keyDialog()
    {
        QPointer<Form5> dialog = new Form5;
        QString letters;
        for (int i = 0; i < dialog->Combo1->count(); ++i)
            letters += dialog->Combo1->itemText(i);
        QCOMPARE(dialog->windowTitle() + ':' + letters, QString("Enter the memory key:abcdefghijklmnpqrstuvwxyz"));
        QVERIFY(dialog->Combo1->currentIndex() == -1 && dialog->Text1->text().isEmpty());
        QVERIFY(dialog->Command1->isDefault() && !dialog->isModal());
        dialog->show();
        QTest::keyClicks(dialog->Text1, "jkpo;");
        dialog->Combo1->setCurrentIndex(dialog->Combo1->findText("p"));
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        QCOMPARE(ReadValue(memoryKey, "P"), QString("jkpo;"));
        QVERIFY(dialog->isVisible() && dialog->Text1->text() == "jkpo;");
        dialog->Text1->setText("fz;");
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        QCOMPARE(ReadValue(memoryKey, "p"), QString("fz;"));
        QTest::mouseClick(dialog->Command2, Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestMemoryStore)
#include "test_memory_store.moc"
