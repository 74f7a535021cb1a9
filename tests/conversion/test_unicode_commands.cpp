// The frame's Unicode commands: Export writes what the command-line converter
// writes, Copy puts Unicode on the clipboard, Open tells what stayed Unicode;
// the document never changes.
#include "../app/frame_fixture.h"
#include "../support/converter_process.h"
#include "../support/test_files.h"
#include "../support/text_pieces.h"

#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>

class TestUnicodeCommands : public QObject {
    Q_OBJECT
private slots:
    void init() { f_ = std::make_unique<FrameFixture>(); }
    void cleanup() { f_.reset(); }
    void exportOfATypedDocumentIsTheConvertersText();
    void copyAsUnicode();
    void openTellsWhatStayedUnicode();

private:
    tk::document::Form1* typedDocument()
    {
        auto* form = f_->newDocument();
        fill(*form->RichTextBox1, QStringLiteral("K:tzf;fk; mk;kh\njkpo; 2024 fz;"));
        return form;
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    void exportTo(const char* name)
    {
        f_->dialogs.files.push_back(path(name));
        f_->item("Export_unicode")->trigger();
    }
    std::unique_ptr<FrameFixture> f_;
    QTemporaryDir dir_;
};

// A name without an extension takes the chosen filter's; exporting is no
// saving, the document stays unsaved.
void TestUnicodeCommands::exportOfATypedDocumentIsTheConvertersText()
{
    auto* form = typedDocument();
    const QString codes = path("codes.txt");
    QVERIFY(form->RichTextBox1->SaveFile(codes, tk::document::PlainTextFile).ok);
    const ConverterRun converted = runConverter({QStringLiteral("--to-unicode"), codes});
    QCOMPARE(converted.status, 0);
    QVERIFY(QString::fromUtf8(converted.out).startsWith(QStringLiteral("வணக்கம் அம்மா\r\nதமிழ் 2024 ")));
    const QString before = form->RichTextBox1->TextRTF() + form->windowTitle();
    exportTo("out.txt");
    exportTo("out.html");
    exportTo("plain");
    exportTo("missing/out.txt");
    QCOMPARE(readBytes(path("out.txt")), converted.out);
    QVERIFY(QString::fromUtf8(readBytes(path("out.html"))).contains(QStringLiteral("வணக்கம் அம்மா")));
    QCOMPARE(readBytes(path("plain.txt")), converted.out);
    const QStringList log = f_->dialogs.take();
    QCOMPARE(log.mid(0, 4), QStringList(4, QStringLiteral("save:Export as Unicode")));
    QVERIFY2(log.size() == 5 && log[4].startsWith(QStringLiteral("message:Tamil Kalvem:Cannot export")),
             qPrintable(log.join(u'|')));
    QCOMPARE(form->RichTextBox1->TextRTF() + form->windowTitle(), before);
    QVERIFY(f_->item("save")->isEnabled());
    // Without a document there is nothing to export and nothing is asked.
    form->closeWithoutQuestion();
    FrameFixture::settle();
    f_->item("Export_unicode")->trigger();
    QVERIFY(f_->dialogs.take().isEmpty());
}

// Nothing selected: nothing copied.
void TestUnicodeCommands::copyAsUnicode()
{
    auto* form = typedDocument();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    f_->item("Copy_unicode")->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    form->RichTextBox1->selectAll();
    const QString codes = form->RichTextBox1->TextRTF();
    f_->item("Copy_unicode")->trigger();
    QVERIFY(clipboard->text().startsWith(QStringLiteral("வணக்கம் அம்மா\nதமிழ் 2024 ")));
    QVERIFY(clipboard->mimeData()->html().contains(QStringLiteral("வணக்கம் அம்மா")));
    QCOMPARE(form->RichTextBox1->TextRTF(), codes);
}

// Exporting never writes over the document's own file.
void TestUnicodeCommands::openTellsWhatStayedUnicode()
{
    const QString file = path("digits.txt");
    writeBytes(file, QStringLiteral("௧ அம்மா").toUtf8());
    f_->dialogs.files.push_back(file);
    f_->item("open")->trigger();
    QCOMPARE(f_->frame->ActiveForm()->RichTextBox1->Text(), QStringLiteral("௧ mk;kh"));
    exportTo("digits.txt");
    QCOMPARE(f_->dialogs.take(),
             (QStringList{"open:Open",
                          QStringLiteral("message:Tamil Kalvem:1 character in \"%1\" has no Tamil font code and was "
                                         "kept as it is.").arg(file),
                          "save:Export as Unicode",
                          QStringLiteral("message:Tamil Kalvem:\"%1\" is the document's own file, which exporting "
                                         "leaves as it is. Export to another name.").arg(file)}));
    QCOMPARE(readBytes(file), QStringLiteral("௧ அம்மா").toUtf8());
}

QTEST_MAIN(TestUnicodeCommands)
#include "test_unicode_commands.moc"
