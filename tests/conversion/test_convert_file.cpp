// The Convert File dialog: a file re-typed in place as the command-line
// converter types it, refused files untouched, a picked text box converted.
#include "../app/frame_fixture.h"
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <unistd.h>

using tk::conversion::Form4;

namespace {

// What the command-line converter makes of the keys.
QByteArray typed(const QByteArray& keys) { return runConverter({}, keys).out; }

Form4* open(FrameFixture& f, bool picking = false)
{
    f.item("Convert_document")->trigger();
    Form4* form = f.frame->form4();
    if (form)
        form->show();
    if (form && picking)
        form->Option2->click();
    return form;
}

void pickAt(Form4* form, QPoint at)
{
    QCursor::setPos(at);
    form->Picture1_MouseUp(1, 0, 0, 0);
}

void convert(Form4* form)
{
    form->Command1->click();
    FrameFixture::settle();
}

} // namespace

class TestConvertFile : public QObject {
    Q_OBJECT
private slots:
    void convertingAFile();
    void pickingATextBoxConvertsIt();
    void pickingNothingSaysSoAndCancelUnloads();
};

// A converted file is replaced and the dialog unloads; a refused one is told
// in one message naming the file (but a folder) and why, and left as it was,
// with no other file made beside it. Rows: file, content written first unless
// null, what the converter is given for the same text (null: refused), reason.
void TestConvertFile::convertingAFile()
{
    const QByteArray text = "vanakkam, amma!\r\nthamiz 2024 kaN\r\n\r\nsrI raamaa"; // our plain text: CR LF
    const struct { const char* name; QByteArray content, keys; const char* reason; } rows[] = {
        {"letter.txt", text, text, ""},
        {"styled.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 {\\b amma}\\par appaa}", "amma\r\nappaa", ""},
        {nullptr, {}, {}, "Choose the file to convert first"},
        {"gone.txt", {}, {}, "No such file"},
        {".", {}, {}, "folder"},
        {"photo.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {}, "binary"},
        {"locked.txt", "amma", {}, "Cannot open"},
        {"unicode.txt", QStringLiteral("amma \u2014 appa").toUtf8(), {}, "U+2014"}, // no code for it
    };
    for (const auto& r : rows) {
        FrameFixture f;
        QTemporaryDir dir;
        const QString named = r.name ? dir.filePath(QString::fromLatin1(r.name)) : QString();
        QString file = named;
        if (!r.content.isNull())
            writeBytes(file, r.content);
        const bool locked = qstrcmp(r.name, "locked.txt") == 0;
        if (locked && ::geteuid() == 0)
            file = QStringLiteral("/proc/self/mem"); // reading fails for root too
        else if (locked)
            QFile::setPermissions(file, {});
        QPointer<Form4> form = open(f);
        if (!file.isNull()) {
            f.dialogs.files.push_back(file);
            form->Picture2_Click();
            QCOMPARE(form->Label1->text(), file);
        }
        convert(form);
        QVERIFY(f.frame->documents().isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), r.content.isNull() ? 0 : 1);
        const QString log = f.dialogs.take().join(u'|').remove(QRegularExpression(QStringLiteral("^open:\\|?")));
        if (!r.keys.isNull()) {
            QVERIFY(!form && log.isEmpty() && !f.item("save")->isEnabled());
            QCOMPARE(readBytes(file), typed(r.keys));
            continue;
        }
        QVERIFY2(log.startsWith(QStringLiteral("message:Tamil Kalvem:")) && !log.contains(u'|') && log.contains(r.reason)
                     && (file.isEmpty() || qstrcmp(r.name, ".") == 0 || log.contains(file)),
                 qPrintable(named + u':' + log));
        QVERIFY(form && form->isVisible());
        if (locked)
            QFile::setPermissions(named, QFile::ReadOwner | QFile::WriteOwner);
        if (!r.content.isNull())
            QCOMPARE(readBytes(named), r.content);
    }
}

void TestConvertFile::pickingATextBoxConvertsIt()
{
    FrameFixture f;
    QLineEdit box;
    box.setText(QStringLiteral("amma vanakkam"));
    box.setGeometry(40, 540, 300, 30); // on the screen, clear of the dialog
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QPointer<Form4> form = open(f, true);
    const QPoint over = box.mapToGlobal(box.rect().center());
    form->Picture1_MouseDown(1, 0, 0, 0);
    pickAt(form, over);
    QCOMPARE(form->Label1->text(), Form4::positionCaption(over));
    QCOMPARE(form->pickedText, QStringLiteral("amma vanakkam"));
    // The text was taken at the end of the drag: a later change is lost.
    box.setText(QStringLiteral("changed"));
    convert(form);
    QVERIFY(!form && f.frame->documents().isEmpty());
    QCOMPARE(box.text().toLatin1(), typed("amma vanakkam"));
    // Another document's text box takes the conversion as one undo step.
    auto* other = f.newDocument()->RichTextBox1;
    other->SetText(QStringLiteral("thamiz"));
    form = open(f, true);
    pickAt(form, other->mapToGlobal(QPoint(20, 10)));
    QCOMPARE(form->pickedText, QStringLiteral("thamiz"));
    convert(form);
    QCOMPARE(other->Text().toLatin1(), typed("thamiz"));
    other->undo();
    QCOMPARE(other->Text(), QStringLiteral("thamiz"));
}

// Exactly one picture answers the mouse. Before any pick, over the picture
// itself (no text box there) and over an empty text box, which is never
// replaced: told, nothing opened. Cancel beeps and unloads; a new showing
// starts afresh.
void TestConvertFile::pickingNothingSaysSoAndCancelUnloads()
{
    FrameFixture f;
    QPointer<Form4> form = open(f);
    auto fresh = [&] { return form->Option1->isChecked() && form->Picture2->isEnabled() && !form->Picture1->isEnabled(); };
    QVERIFY(form && form->isVisible() && !form->isModal() && form->Command1->isDefault() && fresh());
    form->Option2->click();
    QVERIFY(!form->Picture2->isEnabled() && form->Picture1->isEnabled());
    form->Command1->click();
    QCOMPARE(Form4::positionCaption(QPoint(-5, -1200)), QStringLiteral("X is-5, Y is-1200"));
    const QPoint self = form->Picture1->mapToGlobal(QPoint(5, 5));
    pickAt(form, self);
    QVERIFY(form->pickedWnd.isNull());
    QCOMPARE(form->Label1->text(), Form4::positionCaption(self) + QStringLiteral("\nThere is no text box there.\nDrag "
                                                                              "the pointer onto the text to convert."));
    QLineEdit empty;
    empty.setGeometry(400, 540, 200, 30);
    empty.show();
    QVERIFY(QTest::qWaitForWindowExposed(&empty));
    pickAt(form, empty.mapToGlobal(QPoint(10, 10)));
    QVERIFY(form->Label1->text().endsWith(QStringLiteral("The text box there is empty.")));
    form->Command1->click();
    QVERIFY(form && f.frame->documents().isEmpty());
    form->Command2->click();
    FrameFixture::settle();
    QVERIFY(!form);
    QCOMPARE(f.dialogs.take(),
             (QStringList{"message:Tamil Kalvem:Pick the text to convert first: drag the pointer picture onto it.",
                          "message:Tamil Kalvem:The picked window had no text to convert. It was left as it was.",
                          "beep"}));
    form = open(f);
    QVERIFY(fresh());
}

QTEST_MAIN(TestConvertFile)
#include "test_convert_file.moc"
