// The Convert File dialog: a file re-typed in place as the command-line
// converter types it, refused files untouched, a picked text box converted.
#include "frame_with_files.h"
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <unistd.h>

using tk::conversion::Form4;

namespace {

QByteArray typed(const QByteArray& keys)
{
    const ConverterRun r = runConverter({}, keys);
    if (r.status != 0)
        qFatal("converter failed");
    return r.out;
}

} // namespace

class TestConvertFile : public QObject {
    Q_OBJECT
private slots:
    void init() { t_ = std::make_unique<FrameWithFiles>(); }
    void cleanup() { t_.reset(); }
    void dialogFromOpenToCancel();
    void convertingAFile_data();
    void convertingAFile();
    void pickingATextBoxConvertsIt();
    void pickingNothingSaysSo();

private:
    Form4* open()
    {
        t_->f.item("Convert_document")->trigger();
        Form4* form = t_->f.frame->form4();
        if (form)
            form->show();
        return form;
    }
    QString path(const QString& name) const { return t_->path(name); }
    std::unique_ptr<FrameWithFiles> t_;
};

void TestConvertFile::dialogFromOpenToCancel()
{
    QPointer<Form4> form = open();
    QVERIFY(form && form->isVisible() && !form->isModal() && form->Command1->isDefault());
    // Exactly one picture answers the mouse.
    QVERIFY(form->Option1->isChecked() && form->Picture2->isEnabled() && !form->Picture1->isEnabled());
    form->Option2->click();
    QVERIFY(!form->Picture2->isEnabled() && form->Picture1->isEnabled());
    QCOMPARE(Form4::positionCaption(QPoint(-5, -1200)), QStringLiteral("X is-5, Y is-1200"));
    // Cancel beeps and unloads; a new showing starts afresh.
    form->Command2->click();
    FrameFixture::settle();
    QVERIFY(!form);
    QCOMPARE(t_->f.dialogs.take(), QStringList{"beep"});
    form = open();
    QVERIFY(form->Option1->isChecked() && form->Picture2->isEnabled() && !form->Picture1->isEnabled());
}

void TestConvertFile::convertingAFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written first unless null
    QTest::addColumn<QByteArray>("keys");    // what the converter is given for the same text; null: refused
    QTest::addColumn<QString>("reason");
    // The program's own plain text: CR LF between the lines.
    const QByteArray text = "vanakkam, amma!\r\nthamiz 2024 kaN\r\n\r\nsrI raamaa";
    QTest::newRow("plain text") << "letter.txt" << text << text << "";
    QTest::newRow("rich text comes back plain")
        << "styled.rtf" << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 {\\b amma}\\par appaa}")
        << QByteArray("amma\r\nappaa") << "";
    const QByteArray refused;
    QTest::newRow("no file chosen") << QString() << QByteArray() << refused << "Choose the file to convert first";
    QTest::newRow("missing file") << "gone.txt" << QByteArray() << refused << "No such file";
    QTest::newRow("folder") << "." << QByteArray() << refused << "folder";
    QTest::newRow("binary") << "photo.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << refused << "binary";
    QTest::newRow("unreadable") << "locked.txt" << QByteArray("amma") << refused << "Cannot open";
    QTest::newRow("characters a code file cannot hold")
        << "unicode.txt" << QStringLiteral("amma \u2014 appa").toUtf8() << refused << "U+2014";
}

// A converted file is replaced and the dialog unloads; a refused one is told
// and left as it was, with no other file made beside it.
void TestConvertFile::convertingAFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, keys);
    QFETCH(QString, reason);
    QString file = name.isNull() ? QString() : path(name);
    if (!content.isNull())
        writeBytes(file, content);
    if (name == QLatin1String("locked.txt")) {
        if (::geteuid() == 0)
            file = QStringLiteral("/proc/self/mem"); // reading fails for root too
        else
            QFile::setPermissions(file, {});
    }
    QPointer<Form4> form = open();
    if (!file.isNull()) {
        t_->f.dialogs.files.push_back(file);
        form->Picture2_Click();
        QCOMPARE(form->Label1->text(), file);
        QCOMPARE(t_->f.dialogs.take(), QStringList{"open:"});
    }
    form->Command1->click();
    FrameFixture::settle();
    QVERIFY(t_->f.frame->documents().isEmpty());
    QCOMPARE(QDir(t_->dir.path()).entryList(QDir::Files).size(), content.isNull() ? 0 : 1);
    const QStringList log = t_->f.dialogs.take();
    if (!keys.isNull()) {
        QVERIFY(!form);
        QCOMPARE(readBytes(file), typed(keys));
        QCOMPARE(log, QStringList{});
        QVERIFY(!t_->f.item("save")->isEnabled());
        return;
    }
    QCOMPARE(log.size(), 1);
    QVERIFY2(log.first().startsWith(QStringLiteral("message:Tamil Kalvem:")) && log.first().contains(reason),
             qPrintable(log.first()));
    if (!file.isEmpty() && name != QLatin1String("."))
        QVERIFY2(log.first().contains(file), qPrintable(log.first()));
    QVERIFY(form && form->isVisible());
    if (!content.isNull()) {
        QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(readBytes(path(name)), content);
    }
}

void TestConvertFile::pickingATextBoxConvertsIt()
{
    QLineEdit box;
    box.setWindowTitle(QStringLiteral("another window"));
    box.setText(QStringLiteral("amma vanakkam"));
    box.setGeometry(40, 540, 300, 30); // on the screen, clear of the dialog
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QPointer<Form4> form = open();
    form->Option2->click();
    const QPoint over = box.mapToGlobal(box.rect().center());
    QCursor::setPos(over);
    form->Picture1_MouseDown(1, 0, 0, 0);
    form->Picture1_MouseUp(1, 0, 0, 0);
    QCOMPARE(form->Label1->text(), Form4::positionCaption(over));
    QCOMPARE(form->pickedText, QStringLiteral("amma vanakkam"));
    // The text was taken at the end of the drag: a later change is lost.
    box.setText(QStringLiteral("changed"));
    form->Command1->click();
    FrameFixture::settle();
    QVERIFY(!form);
    QCOMPARE(box.text().toLatin1(), typed("amma vanakkam"));
    QVERIFY(t_->f.frame->documents().isEmpty());

    // Another document's text box takes the conversion as one undo step.
    auto* other = t_->f.newDocument();
    other->RichTextBox1->SetText(QStringLiteral("thamiz"));
    form = open();
    form->Option2->click();
    QCursor::setPos(other->RichTextBox1->mapToGlobal(QPoint(20, 10)));
    form->Picture1_MouseUp(1, 0, 0, 0);
    QCOMPARE(form->pickedText, QStringLiteral("thamiz"));
    form->Command1->click();
    FrameFixture::settle();
    QCOMPARE(other->RichTextBox1->Text().toLatin1(), typed("thamiz"));
    other->RichTextBox1->undo();
    QCOMPARE(other->RichTextBox1->Text(), QStringLiteral("thamiz"));
}

void TestConvertFile::pickingNothingSaysSo()
{
    QPointer<Form4> form = open();
    form->Option2->click();
    // Convert before any pick: told, nothing opened.
    form->Command1->click();
    QCOMPARE(t_->f.dialogs.take(), QStringList{"message:Tamil Kalvem:Pick the text to convert first: drag the "
                                             "pointer picture onto it."});
    // Released over the picture itself: no text box there.
    const QPoint self = form->Picture1->mapToGlobal(QPoint(5, 5));
    QCursor::setPos(self);
    form->Picture1_MouseUp(1, 0, 0, 0);
    QVERIFY(form->pickedWnd.isNull());
    QCOMPARE(form->Label1->text(), Form4::positionCaption(self) + QStringLiteral("\nThere is no text box there.\nDrag "
                                                                              "the pointer onto the text to convert."));
    // An empty text box is never replaced.
    QLineEdit empty;
    empty.setGeometry(400, 540, 200, 30);
    empty.show();
    QVERIFY(QTest::qWaitForWindowExposed(&empty));
    QCursor::setPos(empty.mapToGlobal(QPoint(10, 10)));
    form->Picture1_MouseUp(1, 0, 0, 0);
    QVERIFY(form->Label1->text().endsWith(QStringLiteral("The text box there is empty.")));
    form->Command1->click();
    QCOMPARE(t_->f.dialogs.take(),
             QStringList{"message:Tamil Kalvem:The picked window had no text to convert. It was left as it was."});
    QVERIFY(form && t_->f.frame->documents().isEmpty());
}

QTEST_MAIN(TestConvertFile)
#include "test_convert_file.moc"
