// The memory key dialog as a user works it: it starts empty with its
// twenty-five letters, stores and stays open, and Cancel unloads it.
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
    TemporaryConfigFolder config_;
private slots:
    void asAUserWorksIt();
};

void TestForm5::asAUserWorksIt()
{
    QPointer<Form5> dialog = new Form5;
    QCOMPARE(dialog->windowTitle(), QString("Enter the memory key"));
    QString letters;
    for (int i = 0; i < dialog->Combo1->count(); ++i)
        letters += dialog->Combo1->itemText(i);
    QCOMPARE(letters, QString("abcdefghijklmnpqrstuvwxyz"));
    QCOMPARE(dialog->Combo1->currentIndex(), -1);
    QVERIFY(dialog->Text1->text().isEmpty() && dialog->Command1->isDefault() && !dialog->isModal());

    dialog->show();
    QTest::keyClicks(dialog->Text1, "jkpo;");
    dialog->Combo1->setCurrentIndex(dialog->Combo1->findText("p"));
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    QCOMPARE(ReadValue(memoryKey, "P"), QString("jkpo;"));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->Text1->text(), QString("jkpo;"));
    dialog->Text1->setText("fz;");
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    QCOMPARE(ReadValue(memoryKey, "p"), QString("fz;")); // the second text replaces the first

    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    QTRY_VERIFY(dialog.isNull());
}

QTEST_MAIN(TestForm5)
#include "test_form5.moc"
