// The File menu's commands through the frame, as a person uses them: real
// files in temporary folders, the dialogs scripted, the settings in a
// temporary configuration folder.
#include "../app/frame_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/file_progress.h"
#include "memory/memory_store.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>

using tk::seam::DialogSeam;
using tk::document::Form1;

namespace {

const QString lastSave = QStringLiteral("Last save");
const QString memoryKey = QString::fromLatin1(tk::memory::memoryKey);

// The settings a previous run left: the reopen item's path.
std::function<void()> lastSaveRecorded(const QString& path)
{
    return [path] {
        tk::memory::CreateKey(memoryKey);
        tk::memory::WriteValue(memoryKey, lastSave, path);
    };
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void reopenItemAtStartup_data();
    void reopenItemAtStartup();
    void roundTripThroughTheCommands();
    void saveOfANeverSavedDocumentAsksWhere();
    void openAndReopen_data();
    void openAndReopen();
    void openWithNoDocumentThenCancel();
    void badFilesAreToldAndLoseNothing_data();
    void badFilesAreToldAndLoseNothing();
    void failedSavesAreToldAndLoseNothing_data();
    void failedSavesAreToldAndLoseNothing();
    void saveAllOverSeveralWindows_data();
    void saveAllOverSeveralWindows();
    void printing();
    void progressShowsOnlyForLongWork();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestFileCommands::reopenItemAtStartup_data()
{
    QTest::addColumn<QString>("recorded"); // null: nothing recorded
    QTest::newRow("nothing recorded") << QString();
    QTest::newRow("a path") << QStringLiteral("/home/user/letters/kadithan.rtf");
    QTest::newRow("an ampersand and blanks") << QStringLiteral("/home/user/R&D notes/plan one.txt");
}

void TestFileCommands::reopenItemAtStartup()
{
    QFETCH(QString, recorded);
    FrameFixture f(recorded.isNull() ? std::function<void()>() : lastSaveRecorded(recorded));
    // The item and its separator stand between Save all and Print (the
    // menu tree's order); both show only with a recorded path.
    QAction* last = f.item("last");
    QCOMPARE(last->isVisible(), !recorded.isNull());
    QCOMPARE(f.item("a")->isVisible(), !recorded.isNull());
    // Verbatim: the menu shows "&&" as one "&" and makes no shortcut of it.
    QCOMPARE(last->text().replace(QStringLiteral("&&"), QStringLiteral("&")), recorded);
    QCOMPARE(last->data().toString(), recorded);
}

void TestFileCommands::roundTripThroughTheCommands()
{
    FrameFixture f;
    const QString file = path(QStringLiteral("vanakkam.rtf"));
    Form1* form = f.newDocument();
    auto* box = form->RichTextBox1;
    QTest::keyClicks(box, QStringLiteral("vanakkam "));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("thamizh ulakam"));
    select(box, 0, 3);
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Bold"));
    box->SetSelColor(QColor(180, 20, 40));
    select(box, 2, 5);
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Italic"));
    box->SetSelStart(box->Text().size());
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Center"));
    // Indents that are no whole number of pixels must come back exactly.
    form->Slider1->setValue(1441);
    form->Slider2->setValue(1000);
    QCOMPARE(box->SelIndent(), 1441);
    QCOMPARE(box->SelHangingIndent(), -441);
    const QStringList before = dumpDocument(*box->document());

    f.dialogs.files = {file, file};
    f.item("saveas")->trigger();
    QCOMPARE(form->windowTitle(), file);
    QVERIFY(!f.item("save")->isEnabled());
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Close"));
    f.settle();
    QVERIFY(f.frame->documents().isEmpty() && !f.item("Close1")->isEnabled());
    f.item("open")->trigger();
    QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "open:Open"}));

    QCOMPARE(f.frame->documents().size(), 1);
    Form1* opened = f.frame->ActiveForm();
    QCOMPARE(opened->windowTitle(), file);
    QCOMPARE(dumpDocument(*opened->RichTextBox1->document()), before);
}

void TestFileCommands::saveOfANeverSavedDocumentAsksWhere()
{
    FrameFixture f;
    TemporaryConfigFolder::removeStore(); // a fresh installation: no key yet
    const QString file = path(QStringLiteral("first.rtf")), second = path(QStringLiteral("second.rtf"));
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("ka"));
    const QString caption = form->windowTitle();
    f.frame->CD1().Filter = QStringLiteral("Text|*.txt");
    // Cancelled: nothing is written anywhere, the document stays unsaved.
    f.dialogs.files = {QString()};
    f.item("save")->trigger();
    QCOMPARE(form->windowTitle(), caption);
    QVERIFY(f.item("save")->isEnabled() && !QFile::exists(caption));
    QCOMPARE(f.frame->CD1().Filter, tk::seam::documentFilter);
    f.dialogs.files = {file};
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Save"));
    QCOMPARE(form->windowTitle(), file);
    QCOMPARE(savedText(file), QStringLiteral("f"));
    QCOMPARE(tk::memory::ReadValue(memoryKey, lastSave), file);
    QVERIFY(!f.item("last")->isVisible()); // the reopen item waits for the next start
    // Saved once: Save writes to the caption without asking.
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("ka"));
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Save"));
    QCOMPARE(savedText(file), QStringLiteral("ff"));
    QVERIFY(!f.item("save")->isEnabled());
    // With nothing unsaved the toolbar's Save button is Save As.
    f.dialogs.files = {second};
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Save"));
    QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As", "save:Save As"}));
    QCOMPARE(form->windowTitle(), second);
    QCOMPARE(tk::memory::ReadValue(memoryKey, lastSave), second);
    // Save all records nothing.
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("ka"));
    f.item("Saveall")->trigger();
    QCOMPARE(savedText(second), QStringLiteral("fff"));
    QVERIFY(f.dialogs.take().isEmpty());
    QCOMPARE(tk::memory::ReadValue(memoryKey, lastSave), second);
}

void TestFileCommands::openAndReopen_data()
{
    QTest::addColumn<bool>("reopen");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("open into an unchanged document") << false << false;
    QTest::newRow("open beside unsaved changes") << false << true;
    QTest::newRow("reopen into an unchanged document") << true << false;
    QTest::newRow("reopen beside unsaved changes") << true << true;
}

void TestFileCommands::openAndReopen()
{
    QFETCH(bool, reopen);
    QFETCH(bool, unsaved);
    const QString file = path(QStringLiteral("letter.rtf"));
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("jkpo;"));
        QVERIFY(tk::document::saveFile(doc, file));
    }
    FrameFixture f(lastSaveRecorded(file));
    Form1* form = f.newDocument();
    const QString caption = form->windowTitle();
    if (unsaved)
        QTest::keyClicks(form->RichTextBox1, QStringLiteral("ka"));
    const QString before = form->RichTextBox1->Text();

    if (reopen) {
        f.item("last")->trigger();
    } else {
        f.dialogs.files = {file};
        f.item("open")->trigger();
    }
    QCOMPARE(f.dialogs.take(), reopen ? QStringList{} : QStringList{"open:Open"});
    Form1* target = f.frame->ActiveForm();
    QCOMPARE(target->RichTextBox1->Text(), QStringLiteral("jkpo;"));
    QCOMPARE(target->windowTitle(), file);
    if (unsaved) {
        QCOMPARE(f.frame->documents().size(), 2);
        QVERIFY(target != form);
        QCOMPARE(form->RichTextBox1->Text(), before);
        QCOMPARE(form->windowTitle(), caption);
    } else {
        QCOMPARE(f.frame->documents().size(), 1);
        QCOMPARE(target, form);
    }
    // A file just opened is unchanged: it closes without a question.
    QVERIFY(!target->hasUnsavedChanges() && !f.item("save")->isEnabled());
    QVERIFY(target->closeFor(tk::document::UnloadReason::ControlMenu));
    QVERIFY(f.dialogs.take().isEmpty());
}

void TestFileCommands::openWithNoDocumentThenCancel()
{
    FrameFixture f;
    const int next = f.newDocument()->windowTitle().section(u' ', 1).toInt() + 1;
    f.frame->ActiveForm()->closeWithoutQuestion();
    f.settle();
    f.frame->CD1().Filter = QStringLiteral("Text|*.txt");
    f.dialogs.files = {QString()};
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Open"));
    QCOMPARE(f.captions(), QStringList{QStringLiteral("Document %1").arg(next)});
    QVERIFY(f.frame->ActiveForm()->RichTextBox1->Text().isEmpty());
    QVERIFY(f.item("Close1")->isEnabled());
    QCOMPARE(f.dialogs.take(), QStringList{"open:Open"});
    QCOMPARE(f.frame->CD1().Filter, tk::seam::documentFilter);
}

void TestFileCommands::badFilesAreToldAndLoseNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("reopen");
    QTest::addColumn<QString>("reason");
    for (bool unsaved : {false, true}) {
        const char* state = unsaved ? "beside unsaved changes" : "into a saved document";
        QTest::addRow("vanished file, %s", state) << "vanished" << unsaved << false << "No such file";
        QTest::addRow("binary file, %s", state) << "binary" << unsaved << false << "binary";
        QTest::addRow("reopen a vanished file, %s", state) << "vanished" << unsaved << true << "No such file";
    }
}

void TestFileCommands::badFilesAreToldAndLoseNothing()
{
    QFETCH(QString, kind);
    QFETCH(bool, unsaved);
    QFETCH(bool, reopen);
    QFETCH(QString, reason);
    const QString bad = path(QStringLiteral("bad.rtf"));
    FrameFixture f(lastSaveRecorded(bad));
    const QString kept = path(QStringLiteral("kept.rtf"));
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("vanakkam"));
    f.dialogs.files = {kept};
    f.item("saveas")->trigger();
    if (unsaved)
        QTest::keyClicks(form->RichTextBox1, QStringLiteral(" ka"));
    const QStringList before = dumpDocument(*form->RichTextBox1->document());
    QVERIFY(f.dialogs.take().size() == 1);

    if (kind == QLatin1String("binary"))
        writeBytes(bad, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    if (reopen) {
        f.item("last")->trigger();
    } else {
        f.dialogs.files = {bad};
        f.item("open")->trigger();
    }
    f.settle();
    const QStringList log = f.dialogs.take();
    const QString message = log.value(reopen ? 0 : 1);
    QVERIFY2(message.startsWith(QStringLiteral("message:Tamil Kalvem:")) && message.contains(bad)
                 && message.contains(reason, Qt::CaseInsensitive),
             qPrintable(log.join(u'\n')));
    QCOMPARE(f.frame->documents().size(), 1);
    QCOMPARE(f.frame->ActiveForm(), form);
    QCOMPARE(form->windowTitle(), kept);
    QCOMPARE(dumpDocument(*form->RichTextBox1->document()), before);
    QCOMPARE(f.item("save")->isEnabled(), unsaved);
}

void TestFileCommands::failedSavesAreToldAndLoseNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    // Failures that hold for root too: no permission bits involved.
    QTest::newRow("save as onto a folder") << "folder" << "saveas";
    QTest::newRow("save all onto a folder") << "folder" << "Saveall";
    QTest::newRow("save where the file became a folder") << "became a folder" << "save";
}

void TestFileCommands::failedSavesAreToldAndLoseNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, command);
    FrameFixture f;
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("vanakkam"));
    QString target;
    if (kind == QLatin1String("folder")) {
        target = path(QStringLiteral("folder.rtf"));
        QVERIFY(QDir().mkdir(target));
    } else {
        target = path(QStringLiteral("doc.rtf"));
        f.dialogs.files = {target};
        f.item("saveas")->trigger();
        QTest::keyClicks(form->RichTextBox1, QStringLiteral(" ka"));
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir().mkdir(target));
        f.dialogs.take();
    }
    TemporaryConfigFolder::removeStore();
    const QString caption = form->windowTitle();
    const QStringList before = dumpDocument(*form->RichTextBox1->document());
    if (command != QLatin1String("save"))
        f.dialogs.files = {target};
    f.item(qPrintable(command))->trigger();

    const QStringList log = f.dialogs.take();
    QVERIFY2(log.last().startsWith(QStringLiteral("message:Tamil Kalvem:")) && log.last().contains(target),
             qPrintable(log.join(u'\n')));
    QCOMPARE(form->windowTitle(), caption);
    QVERIFY(f.item("save")->isEnabled());
    QCOMPARE(dumpDocument(*form->RichTextBox1->document()), before);
    QVERIFY(tk::memory::ReadValue(memoryKey, lastSave).isEmpty());
    QVERIFY(!QFileInfo(target).isFile());
}

void TestFileCommands::saveAllOverSeveralWindows_data()
{
    QTest::addColumn<int>("saved"); // windows saved before the dialog is cancelled
    QTest::newRow("all three") << 3;
    QTest::newRow("cancelled at the second") << 1;
}

void TestFileCommands::saveAllOverSeveralWindows()
{
    QFETCH(int, saved);
    FrameFixture f;
    for (const char* keys : {"ka", "kaa", "ki"})
        QTest::keyClicks(f.newDocument()->RichTextBox1, QString::fromLatin1(keys));
    QStringList expected = f.captions();
    for (int i = 0; i < 3; ++i)
        f.dialogs.files.push_back(i < saved ? path(QStringLiteral("all%1.rtf").arg(i)) : QString());
    f.item("Saveall")->trigger();
    QCOMPARE(f.dialogs.take().size(), std::min(saved + 1, 3));
    for (int i = 0; i < saved; ++i) {
        expected[i] = path(QStringLiteral("all%1.rtf").arg(i));
        QCOMPARE(savedText(expected[i]), f.frame->documents()[i]->RichTextBox1->Text());
    }
    QCOMPARE(f.captions(), expected);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), saved);
}

void TestFileCommands::printing()
{
    FrameFixture f;
    const QString pdf = path(QStringLiteral("printed.pdf"));
    auto* box = f.newDocument()->RichTextBox1;
    QTest::keyClicks(box, QStringLiteral("vanakkam"));
    QTest::keyClick(box, Qt::Key_Return);
    box->SetSelFontName(QStringLiteral("Noto Sans"));
    f.item("convert")->trigger(); // Latin typing
    QTest::keyClicks(box, QStringLiteral("Alpha Bravo Charlie"));

    // A cancelled dialog prints nothing.
    f.dialogs.printers = {QString()};
    f.item("Print")->trigger();
    QVERIFY(QDir(dir_->path()).isEmpty());

    // Nothing selected: everything. The Tamil reads as Unicode Tamil, every
    // letter of it, however the font joins them.
    f.dialogs.printers = {pdf};
    f.frame->Toolbar1_ButtonClick(QStringLiteral("Print"));
    QString text = pdfText(pdf);
    QCOMPARE(box->Text().section(u'\n', 0, 0), QStringLiteral("tdf;fk;"));
    QVERIFY2(text.startsWith(QStringLiteral("வனக்கம்\nAlpha Bravo Charlie")), qPrintable(text));

    // A selection: that alone, and no page number.
    select(box, box->Text().indexOf(QStringLiteral("Bravo")), box->Text().indexOf(QStringLiteral(" Charlie")));
    f.dialogs.printers = {pdf};
    f.item("Print")->trigger();
    QCOMPARE(pdfText(pdf).trimmed(), QStringLiteral("Bravo"));
    // A long document: every line once, over several pages.
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("Line %1").arg(i);
    box->SetText(lines.join(u'\n'));
    box->selectAll();
    box->SetSelFontName(QStringLiteral("Noto Sans"));
    box->SetSelStart(0);
    f.dialogs.printers = {pdf};
    f.item("Print")->trigger();
    text = pdfText(pdf);
    QVERIFY2(text.count(u'\f') >= 3, qPrintable(text));
    for (const QString& line : lines) {
        const QRegularExpression alone(QStringLiteral("^\f?%1$").arg(line), QRegularExpression::MultilineOption);
        QVERIFY2(text.count(alone) == 1, qPrintable(line));
    }
    QCOMPARE(f.dialogs.take(), (QStringList{"printer", "printer", "printer", "printer"}));

    // A PDF file that cannot be written is told, naming it.
    writeBytes(path(QStringLiteral("plain")), "x");
    const QString unwritable = path(QStringLiteral("plain/out.pdf"));
    f.dialogs.printers = {unwritable};
    f.item("Print")->trigger();
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.size() == 2 && log[1].startsWith(QStringLiteral("message:Tamil Kalvem:")) && log[1].contains(unwritable),
             qPrintable(log.join(u'\n')));

    // With no document the dialog shows and nothing prints.
    QVERIFY(QFile::remove(pdf));
    f.frame->ActiveForm()->closeWithoutQuestion();
    f.settle();
    f.dialogs.printers = {pdf};
    f.item("Print")->trigger();
    QCOMPARE(f.dialogs.take(), QStringList{"printer"});
    QVERIFY(!QFile::exists(pdf));
}

void TestFileCommands::progressShowsOnlyForLongWork()
{
    QWidget parent;
    parent.show();
    {
        tk::document::FileProgress quick(&parent, QStringLiteral("Opening"), true);
        QVERIFY(quick.callback()(0.5));
        QVERIFY(!quick.dialog());
    }
    tk::document::FileProgress slow(&parent, QStringLiteral("Opening"), true);
    const tk::rtf::Progress report = slow.callback();
    QThread::msleep(tk::document::FileProgress::showAfterMs + 50);
    QVERIFY(report(0.5));
    QVERIFY(slow.dialog() && slow.dialog()->isVisible());
    QCOMPARE(slow.dialog()->value(), 500);
    slow.dialog()->cancel();
    QVERIFY(!report(0.6));
    QVERIFY(slow.cancelled());
}

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
