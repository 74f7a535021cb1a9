// The File menu's commands through the frame, as a person uses them: real
// files in temporary folders, the dialogs scripted (and what they are shown
// with), the settings in a temporary configuration folder.
#include "../app/frame_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/file_progress.h"
#include "memory/memory_store.h"

#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>

using tk::document::Form1;
using tk::seam::CommonDialog;

namespace {

const QString lastSave = QStringLiteral("Last save");
const QString memoryKey = QString::fromLatin1(tk::memory::memoryKey);
const QString filters = QStringLiteral("Rich Text (*.rtf);;Text (*.txt);;All Files (*.*)");

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
    void dialogsStartInTheDocumentsFolder();
    void saveAsAddsAnExtension_data();
    void saveAsAddsAnExtension();
    void saveAllAsksOnlyWhereThereIsNoFile();
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
    QTest::newRow("an ampersand and blanks") << QStringLiteral("/home/user/R&D notes/plan one.txt");
}

void TestFileCommands::reopenItemAtStartup()
{
    QFETCH(QString, recorded);
    FrameFixture f(recorded.isNull() ? std::function<void()>() : lastSaveRecorded(recorded));
    // The item and its separator show only with a recorded path.
    QAction* last = f.item("last");
    QCOMPARE(last->isVisible(), !recorded.isNull());
    QCOMPARE(f.item("a")->isVisible(), !recorded.isNull());
    // Verbatim: the menu shows "&&" as one "&" and makes no shortcut of it.
    QCOMPARE(last->text().replace("&&", "&"), recorded);
    QCOMPARE(last->data().toString(), recorded);
}

void TestFileCommands::roundTripThroughTheCommands()
{
    FrameFixture f;
    const QString file = path("vanakkam.rtf");
    Form1* form = f.newDocument();
    auto* box = form->RichTextBox1;
    QTest::keyClicks(box, "vanakkam ");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "thamizh ulakam");
    select(box, 0, 3);
    f.frame->Toolbar1_ButtonClick("Bold");
    box->SetSelColor(QColor(180, 20, 40));
    select(box, 2, 5);
    f.frame->Toolbar1_ButtonClick("Italic");
    box->SetSelStart(box->Text().size());
    f.frame->Toolbar1_ButtonClick("Center");
    // Indents that are no whole number of pixels must come back exactly.
    form->Slider1->setValue(1441);
    form->Slider2->setValue(1000);
    QCOMPARE(box->SelHangingIndent(), -441);
    const QStringList before = dumpDocument(*box->document());

    f.dialogs.files = {file, file};
    f.item("saveas")->trigger();
    QCOMPARE(form->windowTitle(), file);
    QVERIFY(!f.item("save")->isEnabled());
    f.frame->Toolbar1_ButtonClick("Close");
    f.settle();
    QVERIFY(f.frame->documents().isEmpty() && !f.item("Close1")->isEnabled());
    f.item("open")->trigger();
    QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "open:Open"}));
    QCOMPARE(f.captions(), QStringList{file});
    QCOMPARE(dumpDocument(*f.frame->ActiveForm()->RichTextBox1->document()), before);
}

void TestFileCommands::saveOfANeverSavedDocumentAsksWhere()
{
    FrameFixture f;
    TemporaryConfigFolder::removeStore(); // a fresh installation: no key yet
    const QString file = path("first.rtf"), second = path("second.rtf");
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, "ka");
    const QString caption = form->windowTitle();
    // Cancelled: nothing is written anywhere, the document stays unsaved.
    f.dialogs.files = {QString()};
    f.item("save")->trigger();
    QCOMPARE(form->windowTitle(), caption);
    QVERIFY(f.item("save")->isEnabled() && !QFile::exists(caption));
    f.dialogs.files = {file};
    f.frame->Toolbar1_ButtonClick("Save");
    QCOMPARE(form->windowTitle(), file);
    QCOMPARE(savedText(file), QStringLiteral("f"));
    QCOMPARE(tk::memory::ReadValue(memoryKey, lastSave), file);
    QVERIFY(!f.item("last")->isVisible()); // the reopen item waits for the next start
    // Saved once: Save writes to the caption without asking.
    QTest::keyClicks(form->RichTextBox1, "ka");
    f.frame->Toolbar1_ButtonClick("Save");
    QCOMPARE(savedText(file), QStringLiteral("ff"));
    QVERIFY(!f.item("save")->isEnabled());
    // With nothing unsaved the toolbar's Save button is Save As.
    f.dialogs.files = {second};
    f.frame->Toolbar1_ButtonClick("Save");
    QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As", "save:Save As"}));
    QCOMPARE(form->windowTitle(), second);
    QCOMPARE(tk::memory::ReadValue(memoryKey, lastSave), second);
    // Save all records nothing.
    QTest::keyClicks(form->RichTextBox1, "ka");
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
    const QString file = path("letter.rtf");
    writeBytes(file, "{\\rtf1 jkpo;}");
    FrameFixture f(lastSaveRecorded(file));
    Form1* form = f.newDocument();
    const QString caption = form->windowTitle();
    if (unsaved)
        QTest::keyClicks(form->RichTextBox1, "ka");
    if (reopen) {
        f.item("last")->trigger();
    } else {
        f.dialogs.files = {file};
        f.item("open")->trigger();
    }
    QCOMPARE(f.dialogs.take(), reopen ? QStringList{} : QStringList{"open:Open"});
    Form1* target = f.frame->ActiveForm();
    QCOMPARE(target->RichTextBox1->Text(), QStringLiteral("jkpo;"));
    // Unsaved text is never replaced: the file gets a window of its own.
    QCOMPARE(f.captions(), (unsaved ? QStringList{caption, file} : QStringList{file}));
    if (unsaved)
        QCOMPARE(form->RichTextBox1->Text(), QStringLiteral("f"));
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
    f.dialogs.files = {QString()};
    f.frame->Toolbar1_ButtonClick("Open");
    QCOMPARE(f.dialogs.take(), QStringList{"open:Open"});
    QCOMPARE(f.captions(), QStringList{QStringLiteral("Document %1").arg(next)});
    QVERIFY(f.frame->ActiveForm()->RichTextBox1->Text().isEmpty());
    QVERIFY(f.item("Close1")->isEnabled());
}

void TestFileCommands::badFilesAreToldAndLoseNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("reopen");
    QTest::addColumn<QString>("reason");
    QTest::newRow("vanished file, into a saved document") << "vanished" << false << false << "No such file";
    QTest::newRow("binary file, beside unsaved changes") << "binary" << true << false << "binary";
    QTest::newRow("reopen a vanished file, beside unsaved changes") << "vanished" << true << true << "No such file";
}

void TestFileCommands::badFilesAreToldAndLoseNothing()
{
    QFETCH(QString, kind);
    QFETCH(bool, unsaved);
    QFETCH(bool, reopen);
    QFETCH(QString, reason);
    const QString bad = path("bad.rtf"), kept = path("kept.rtf");
    FrameFixture f(lastSaveRecorded(bad));
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, "vanakkam");
    f.dialogs.files = {kept};
    f.item("saveas")->trigger();
    if (unsaved)
        QTest::keyClicks(form->RichTextBox1, " ka");
    const QStringList before = dumpDocument(*form->RichTextBox1->document());
    f.dialogs.take();

    if (kind == "binary")
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
    QVERIFY2(message.startsWith("message:Tamil Kalvem:") && message.contains(bad)
                 && message.contains(reason, Qt::CaseInsensitive),
             qPrintable(log.join(u'\n')));
    QCOMPARE(f.captions(), QStringList{kept});
    QCOMPARE(dumpDocument(*form->RichTextBox1->document()), before);
    QCOMPARE(f.item("save")->isEnabled(), unsaved);
}

void TestFileCommands::failedSavesAreToldAndLoseNothing_data()
{
    QTest::addColumn<bool>("hadFile");
    QTest::addColumn<QString>("command");
    // Failures that hold for root too: no permission bits involved.
    QTest::newRow("save as onto a folder") << false << "saveas";
    QTest::newRow("save all onto a folder") << false << "Saveall";
    QTest::newRow("save where the file became a folder") << true << "save";
}

void TestFileCommands::failedSavesAreToldAndLoseNothing()
{
    QFETCH(bool, hadFile);
    QFETCH(QString, command);
    FrameFixture f;
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, "vanakkam");
    const QString target = path("doc.rtf");
    if (hadFile) {
        f.dialogs.files = {target};
        f.item("saveas")->trigger();
        QTest::keyClicks(form->RichTextBox1, " ka");
        QVERIFY(QFile::remove(target));
        f.dialogs.take();
    }
    QVERIFY(QDir().mkdir(target));
    TemporaryConfigFolder::removeStore();
    const QString caption = form->windowTitle();
    const QStringList before = dumpDocument(*form->RichTextBox1->document());
    if (!hadFile)
        f.dialogs.files = {target};
    f.item(qPrintable(command))->trigger();

    const QStringList log = f.dialogs.take();
    QVERIFY2(log.last().startsWith("message:Tamil Kalvem:") && log.last().contains(target), qPrintable(log.join(u'\n')));
    QCOMPARE(form->windowTitle(), caption);
    QVERIFY(f.item("save")->isEnabled());
    QCOMPARE(dumpDocument(*form->RichTextBox1->document()), before);
    QVERIFY(tk::memory::ReadValue(memoryKey, lastSave).isEmpty());
}

void TestFileCommands::dialogsStartInTheDocumentsFolder()
{
    FrameFixture f;
    const QString file = path("letter.rtf");
    writeBytes(file, "{\\rtf1 jkpo;}");
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    // Nothing chosen yet: the documents folder, never the working folder;
    // and the document types, whatever the dialog was left with.
    f.frame->CD1().Filter = "Text|*.txt";
    f.dialogs.files = {file};
    f.item("open")->trigger();
    QCOMPARE(f.dialogs.lastStart, CommonDialog::documentsFolder());
    QCOMPARE(f.dialogs.lastFilter, filters);
    // The active document's file: its folder, no name proposed for Open.
    f.dialogs.files = {QString()};
    f.item("open")->trigger();
    QCOMPARE(f.dialogs.lastStart, dir_->path());
    // Save As proposes the file's own name.
    f.frame->CD1().Filter = "Text|*.txt";
    f.dialogs.files = {QString()};
    f.item("saveas")->trigger();
    QCOMPARE(f.dialogs.lastStart, file);
    QCOMPARE(f.dialogs.lastFilter, filters);
    // A document without a file: the folder used last, its caption as name.
    Form1* fresh = f.newDocument();
    QTest::keyClicks(fresh->RichTextBox1, "ka");
    f.dialogs.files = {QString()};
    f.item("save")->trigger();
    QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(fresh->windowTitle()));
    QVERIFY(f.dialogs.take().filter("unexpected").isEmpty());
}

void TestFileCommands::saveAsAddsAnExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("filter"); // left chosen in the dialog; "" the first
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "name" << "" << "name.rtf";
    QTest::newRow("text filter") << "name" << "Text (*.txt)" << "name.txt";
    QTest::newRow("all files") << "name" << "All Files (*.*)" << "name.rtf";
    QTest::newRow("an extension of its own") << "name.doc" << "Text (*.txt)" << "name.doc";
    QTest::newRow("a dot in a folder only") << "v1.2/name" << "" << "v1.2/name.rtf";
}

void TestFileCommands::saveAsAddsAnExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QVERIFY(QDir(dir_->path()).mkpath("v1.2"));
    FrameFixture f;
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, "kaa");
    f.dialogs.files = {path(chosen)};
    if (!filter.isEmpty())
        f.dialogs.saveFilters = {filter};
    f.item("saveas")->trigger();
    QCOMPARE(form->windowTitle(), path(written));
    QCOMPARE(savedText(path(written)), QStringLiteral("fh"));
}

void TestFileCommands::saveAllAsksOnlyWhereThereIsNoFile()
{
    FrameFixture f;
    const QString file = path("had.rtf");
    writeBytes(file, "{\\rtf1 jkpo;}");
    f.dialogs.files = {file};
    Form1* hadFile = f.newDocument();
    f.item("open")->trigger();
    QTest::keyClicks(hadFile->RichTextBox1, " ka");
    f.newDocument(); // unchanged: neither saved nor asked about
    for (const char* keys : {"kaa", "ki", "ku"})
        QTest::keyClicks(f.newDocument()->RichTextBox1, keys);
    const QStringList captions = f.captions();
    f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(hadFile->parentWidget()));
    f.dialogs.take();

    // A dialog for each document that never had a file, proposing its
    // caption in the folder used last; cancelled, it ends the command.
    f.dialogs.files = {path("fresh"), QString()};
    f.item("Saveall")->trigger();
    QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As"}));
    QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(captions[3]));
    QCOMPARE(savedText(file), QStringLiteral(" fjkpo;"));
    QCOMPARE(savedText(path("fresh.rtf")), QStringLiteral("fh"));
    QCOMPARE(f.captions(), (QStringList{file, captions[1], path("fresh.rtf"), captions[3], captions[4]}));
    QVERIFY(f.frame->documents()[4]->hasUnsavedChanges());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 2);
}

void TestFileCommands::printing()
{
    FrameFixture f;
    const QString pdf = path("printed.pdf");
    auto* box = f.newDocument()->RichTextBox1;
    QTest::keyClicks(box, "vanakkam");
    QTest::keyClick(box, Qt::Key_Return);
    box->SetSelFontName("Noto Sans");
    f.item("convert")->trigger(); // Latin typing
    QTest::keyClicks(box, "Alpha Bravo Charlie");
    // Cancelled: nothing. Nothing selected: everything, the Tamil as Unicode.
    f.dialogs.printers = {QString(), pdf};
    f.item("Print")->trigger();
    QVERIFY(QDir(dir_->path()).isEmpty());
    f.frame->Toolbar1_ButtonClick("Print");
    QString text = pdfText(pdf);
    QVERIFY2(text.startsWith("வனக்கம்\nAlpha Bravo Charlie"), qPrintable(text));
    // A selection: that alone, and no page number.
    select(box, box->Text().indexOf("Bravo"), box->Text().indexOf(" Charlie"));
    f.dialogs.printers = {pdf};
    f.item("Print")->trigger();
    QCOMPARE(pdfText(pdf).trimmed(), QStringLiteral("Bravo"));
    // A long document: every line once, over several pages.
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("Line %1").arg(i);
    box->SetText(lines.join(u'\n'));
    box->selectAll();
    box->SetSelFontName("Noto Sans");
    box->SetSelStart(0);
    f.dialogs.printers = {pdf};
    f.item("Print")->trigger();
    text = pdfText(pdf);
    QVERIFY2(text.count(u'\f') >= 3, qPrintable(text));
    for (const QString& line : lines)
        QVERIFY2(text.count(QRegularExpression("^\f?" + line + "$", QRegularExpression::MultilineOption)) == 1,
                 qPrintable(line));
    QCOMPARE(f.dialogs.take(), (QStringList{"printer", "printer", "printer", "printer"}));

    // A PDF file that cannot be written is told, naming it.
    writeBytes(path("plain"), "x");
    const QString unwritable = path("plain/out.pdf");
    f.dialogs.printers = {unwritable};
    f.item("Print")->trigger();
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.size() == 2 && log[1].startsWith("message:Tamil Kalvem:") && log[1].contains(unwritable),
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
        tk::document::FileProgress quick(&parent, "Opening", true);
        QVERIFY(quick.callback()(0.5));
        QVERIFY(!quick.dialog());
    }
    tk::document::FileProgress slow(&parent, "Opening", true);
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
