// The frame's Unicode commands: Export writes what the command-line converter
// writes, Copy puts Unicode on the clipboard, Open tells what stayed Unicode;
// the document never changes.
#include "frame_with_files.h"
#include "../support/converter_process.h"
#include "../support/test_files.h"

#include <QClipboard>
#include <QMimeData>

class TestUnicodeCommands : public QObject {
    Q_OBJECT
private slots:
    void init() { t_ = std::make_unique<FrameWithFiles>(); }
    void cleanup() { t_.reset(); }
    void exportOfATypedDocumentIsTheConvertersText();
    void copyAsUnicode();
    void openTellsWhatStayedUnicode();

private:
    tk::document::Form1* typedDocument()
    {
        auto* form = t_->f.newDocument();
        QTest::keyClicks(form->RichTextBox1, QStringLiteral("vaNakkam ammaa"));
        QTest::keyClick(form->RichTextBox1, Qt::Key_Return);
        QTest::keyClicks(form->RichTextBox1, QStringLiteral("thamiz 2024 kaN"));
        return form;
    }
    QString path(const char* name) const { return t_->path(QString::fromLatin1(name)); }
    std::unique_ptr<FrameWithFiles> t_;
};

void TestUnicodeCommands::exportOfATypedDocumentIsTheConvertersText()
{
    auto* form = typedDocument();
    const QString codes = path("codes.txt");
    QVERIFY(form->RichTextBox1->SaveFile(codes, tk::document::PlainTextFile).ok);
    const ConverterRun converted = runConverter({QStringLiteral("--to-unicode"), codes});
    QCOMPARE(converted.status, 0);
    QVERIFY(QString::fromUtf8(converted.out).startsWith(QStringLiteral("வணக்கம் அம்மா\r\nதமிழ் 2024 ")));
    const QString before = form->RichTextBox1->TextRTF();
    const QString title = form->windowTitle();
    auto exportTo = [&](const char* name) {
        t_->f.dialogs.files.push_back(path(name));
        t_->f.item("Export_unicode")->trigger();
    };
    exportTo("out.txt");
    QCOMPARE(readBytes(path("out.txt")), converted.out);
    exportTo("out.html");
    QVERIFY(QString::fromUtf8(readBytes(path("out.html"))).contains(QStringLiteral("வணக்கம் அம்மா")));
    exportTo("plain"); // a name without an extension takes the chosen filter's
    QCOMPARE(readBytes(path("plain.txt")), converted.out);
    exportTo("missing/out.txt");
    const QStringList log = t_->f.dialogs.take();
    QCOMPARE(log.mid(0, 4), QStringList(4, QStringLiteral("save:Export as Unicode")));
    QCOMPARE(log.size(), 5);
    QVERIFY2(log[4].startsWith(QStringLiteral("message:Tamil Kalvem:Cannot export")), qPrintable(log[4]));
    QCOMPARE(form->RichTextBox1->TextRTF(), before);
    QCOMPARE(form->windowTitle(), title);
    QVERIFY(t_->f.item("save")->isEnabled()); // still unsaved: exporting is no saving

    // Without a document there is nothing to export and nothing is asked.
    form->closeWithoutQuestion();
    FrameFixture::settle();
    t_->f.item("Export_unicode")->trigger();
    QVERIFY(t_->f.dialogs.take().isEmpty());
}

void TestUnicodeCommands::copyAsUnicode()
{
    auto* form = typedDocument();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    t_->f.item("Copy_unicode")->trigger(); // nothing selected: nothing copied
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    form->RichTextBox1->selectAll();
    const QString codes = form->RichTextBox1->TextRTF();
    t_->f.item("Copy_unicode")->trigger();
    QVERIFY(clipboard->text().startsWith(QStringLiteral("வணக்கம் அம்மா\nதமிழ் 2024 ")));
    QVERIFY(clipboard->mimeData()->hasHtml());
    QVERIFY(clipboard->mimeData()->html().contains(QStringLiteral("'Noto Sans Tamil'")));
    QVERIFY(clipboard->mimeData()->html().contains(QStringLiteral("வணக்கம் அம்மா")));
    QCOMPARE(form->RichTextBox1->TextRTF(), codes);
}

void TestUnicodeCommands::openTellsWhatStayedUnicode()
{
    writeBytes(path("digits.txt"), QStringLiteral("௧ அம்மா").toUtf8());
    t_->f.dialogs.files.push_back(path("digits.txt"));
    t_->f.item("open")->trigger();
    QCOMPARE(t_->f.dialogs.take(),
             (QStringList{QStringLiteral("open:Open"),
                          QStringLiteral("message:Tamil Kalvem:1 character in \"%1\" has no Tamil font code and was "
                                         "kept as it is.")
                              .arg(path("digits.txt"))}));
    QCOMPARE(t_->f.frame->ActiveForm()->RichTextBox1->Text(), QStringLiteral("௧ mk;kh"));

    // Exporting never writes over the document's own file.
    t_->f.dialogs.files.push_back(path("digits.txt"));
    t_->f.item("Export_unicode")->trigger();
    QCOMPARE(t_->f.dialogs.take(),
             (QStringList{QStringLiteral("save:Export as Unicode"),
                          QStringLiteral("message:Tamil Kalvem:\"%1\" is the document's own file, which exporting "
                                         "leaves as it is. Export to another name.")
                              .arg(path("digits.txt"))}));
    QCOMPARE(readBytes(path("digits.txt")), QStringLiteral("௧ அம்மா").toUtf8());
}

QTEST_MAIN(TestUnicodeCommands)
#include "test_unicode_commands.moc"
