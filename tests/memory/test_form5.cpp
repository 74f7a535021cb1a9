// The memory key dialog as a user works it.
#include "memory_fixture.h"
#include "memory/form5.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace tk::memory;

class TestForm5 : public QObject {
    Q_OBJECT
private slots:
    void init() { TemporaryConfigFolder::removeStore(); }
    void startsEmptyWithTwentyFiveLetters();
    void applyStoresAndStaysOpen();
    void cancelUnloadsTheDialog();

private:
    TemporaryConfigFolder config_;
    const QString key_ = QString::fromLatin1(memoryKey);
};

void TestForm5::startsEmptyWithTwentyFiveLetters()
{
    Form5 dialog;
    QCOMPARE(dialog.windowTitle(), QString("Enter the memory key"));
    QStringList letters;
    for (int i = 0; i < dialog.Combo1->count(); ++i)
        letters << dialog.Combo1->itemText(i);
    QCOMPARE(letters.join(""), QString("abcdefghijklmnpqrstuvwxyz"));
    QCOMPARE(dialog.Combo1->currentIndex(), -1);
    QVERIFY(dialog.Text1->text().isEmpty());
    QVERIFY(dialog.Command1->isDefault());
    QVERIFY(!dialog.isModal());
}

void TestForm5::applyStoresAndStaysOpen()
{
    Form5 dialog;
    dialog.show();
    QTest::keyClicks(dialog.Text1, "jkpo;");
    dialog.Combo1->setCurrentIndex(dialog.Combo1->findText("p"));
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QCOMPARE(ReadValue(key_, "P"), QString("jkpo;"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.Text1->text(), QString("jkpo;"));

    dialog.Text1->setText("fz;");
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QCOMPARE(ReadValue(key_, "p"), QString("fz;")); // the second text replaces the first
}

void TestForm5::cancelUnloadsTheDialog()
{
    QPointer<Form5> dialog = new Form5;
    dialog->show();
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    QTRY_VERIFY(dialog.isNull());
}

QTEST_MAIN(TestForm5)
#include "test_form5.moc"
