// The File menu's commands through the frame, as a person uses them, and
// when something goes wrong: unreadable files, failed saves and a full disk,
// a file open twice or changed by another program, content left out. Real
// files in temporary folders, the dialogs scripted (and what they are shown
// with), the settings in a temporary configuration folder.
#include "../app/frame_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/file_progress.h"
#include "files/safe_write.h"
#include "memory/memory_store.h"

#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>

using tk::document::Form1;
using tk::seam::CommonDialog;
using tk::seam::DialogSeam;

namespace {

const QString memoryKey = QString::fromLatin1(tk::memory::memoryKey);

QString lastSave() { return tk::memory::ReadValue(memoryKey, "Last save"); }

// The settings a previous run left: the reopen item's path.
std::function<void()> lastSaveRecorded(const QString& path)
{
    return [path] {
        tk::memory::CreateKey(memoryKey);
        tk::memory::WriteValue(memoryKey, "Last save", path);
    };
}

Form1* typed(FrameFixture& f, const char* keys)
{
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, keys);
    return form;
}

QStringList dump(Form1* form) { return dumpDocument(*form->RichTextBox1->document()); }

// The last dialog shown was our message, saying each of parts.
void told(const QStringList& log, const QStringList& parts)
{
    const QString m = log.value(log.size() - 1);
    bool all = m.startsWith("message:Tamil Kalvem:");
    for (const QString& part : parts)
        all = all && m.contains(part, Qt::CaseInsensitive);
    QVERIFY2(all, qPrintable(log.join(u'\n')));
}

// The file as another program would write it: new content, a new time.
void changeBehindTheProgramsBack(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
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
    void cleanup() { tk::files::injectWriteFailure(-1); }

    void saveOfANeverSavedDocumentAsksWhere()
    {
        FrameFixture f;
        TemporaryConfigFolder::removeStore(); // a fresh installation: no key yet
        const QString file = path("first.rtf"), second = path("second.rtf");
        Form1* form = typed(f, "ka");
        const QString caption = form->windowTitle();
        // Cancelled: nothing is written anywhere, the document stays unsaved.
        f.dialogs.files = {QString(), file};
        f.item("save")->trigger();
        QVERIFY(form->windowTitle() == caption && f.item("save")->isEnabled() && !QFile::exists(caption));
        f.frame->Toolbar1_ButtonClick("Save");
        QCOMPARE(form->windowTitle(), file);
        QCOMPARE(savedText(file), QStringLiteral("f"));
        QCOMPARE(lastSave(), file);
        QVERIFY(!f.item("save")->isEnabled());
        // Nothing was recorded at the start; the reopen item waits for the next.
        QVERIFY(!f.item("last")->isVisible() && !f.item("a")->isVisible());
        // Saved once: Save writes to the caption without asking, formatting and
        // all; indents that are no whole number of pixels come back exactly.
        QTest::keyClicks(form->RichTextBox1, "ka");
        select(form->RichTextBox1, 0, 1);
        f.frame->Toolbar1_ButtonClick("Bold");
        form->RichTextBox1->SetSelColor(QColor(180, 20, 40));
        form->Slider1->setValue(1441);
        form->Slider2->setValue(1000);
        const QStringList before = dump(form);
        f.frame->Toolbar1_ButtonClick("Save");
        QCOMPARE(savedText(file), QStringLiteral("ff"));
        // With nothing unsaved the toolbar's Save button is Save As.
        f.dialogs.files = {second, second};
        f.frame->Toolbar1_ButtonClick("Save");
        QCOMPARE(form->windowTitle(), second);
        QCOMPARE(lastSave(), second);
        f.frame->Toolbar1_ButtonClick("Close");
        f.settle();
        QVERIFY(f.frame->documents().isEmpty());
        f.item("open")->trigger();
        QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As", "save:Save As", "open:Open"}));
        QCOMPARE(f.captions(), QStringList{second});
        QCOMPARE(dump(f.frame->ActiveForm()), before);
    }

    void openAndReopen_data()
    {
        QTest::addColumn<bool>("reopen");
        QTest::addColumn<bool>("unsaved");
        for (bool reopen : {false, true}) {
            QTest::addRow("%s into an unchanged document", reopen ? "reopen" : "open") << reopen << false;
            QTest::addRow("%s beside unsaved changes", reopen ? "reopen" : "open") << reopen << true;
        }
    }

    void openAndReopen()
    {
        QFETCH(bool, reopen);
        QFETCH(bool, unsaved);
        QVERIFY(QDir(dir_->path()).mkpath("R&D notes"));
        const QString file = path("R&D notes/plan one.rtf");
        writeBytes(file, "{\\rtf1 jkpo;}");
        FrameFixture f(lastSaveRecorded(file));
        // The recorded path shows, with its separator, verbatim: the menu shows
        // "&&" as one "&" and makes no shortcut of it.
        QVERIFY(f.item("last")->isVisible() && f.item("a")->isVisible());
        QCOMPARE(f.item("last")->text().replace("&&", "&"), file);
        Form1* form = typed(f, unsaved ? "ka" : "");
        const QString caption = form->windowTitle();
        f.dialogs.files = {file};
        f.item(reopen ? "last" : "open")->trigger();
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

    void dialogsStartInTheDocumentsFolder()
    {
        const QString filters = QStringLiteral("Rich Text (*.rtf);;Text (*.txt);;All Files (*.*)");
        FrameFixture f;
        const QString file = path("letter.rtf");
        writeBytes(file, "{\\rtf1 jkpo;}");
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        // No document: Open makes an empty one, which stays when cancelled.
        // Nothing chosen yet: the documents folder, never the working folder;
        // and the document types, whatever the dialog was left with.
        f.frame->CD1().Filter = "Text|*.txt";
        f.dialogs.files = {QString(), file, QString()};
        f.frame->Toolbar1_ButtonClick("Open");
        QCOMPARE(f.dialogs.lastStart, CommonDialog::documentsFolder());
        QCOMPARE(f.dialogs.lastFilter, filters);
        QVERIFY(f.captions().size() == 1 && f.captions()[0].startsWith("Document "));
        QVERIFY(f.frame->ActiveForm()->RichTextBox1->Text().isEmpty());
        f.item("open")->trigger();
        QCOMPARE(f.captions(), QStringList{file});
        // The active document's file: its folder, no name proposed for Open.
        f.item("open")->trigger();
        QCOMPARE(f.dialogs.lastStart, dir_->path());
        // Save As proposes the file's own name.
        f.frame->CD1().Filter = "Text|*.txt";
        f.dialogs.files = {QString()};
        f.item("saveas")->trigger();
        QCOMPARE(f.dialogs.lastStart, file);
        QCOMPARE(f.dialogs.lastFilter, filters);
        // A document without a file: the folder used last, its caption as name.
        Form1* fresh = typed(f, "ka");
        f.dialogs.files = {QString()};
        f.item("save")->trigger();
        QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(fresh->windowTitle()));
        QVERIFY(f.dialogs.take().filter("unexpected").isEmpty());
    }

    void saveAsAddsAnExtension_data()
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

    void saveAsAddsAnExtension()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QVERIFY(QDir(dir_->path()).mkpath("v1.2"));
        FrameFixture f;
        Form1* form = typed(f, "kaa");
        f.dialogs.files = {path(chosen)};
        if (!filter.isEmpty())
            f.dialogs.saveFilters = {filter};
        f.item("saveas")->trigger();
        QCOMPARE(form->windowTitle(), path(written));
        QCOMPARE(savedText(path(written)), QStringLiteral("fh"));
    }

    void saveAllAsksOnlyWhereThereIsNoFile()
    {
        FrameFixture f;
        const QString file = path("had.rtf");
        Form1* hadFile = savedThenChanged(f, file);
        f.newDocument(); // unchanged: neither saved nor asked about
        for (const char* keys : {"kaa", "ki", "ku"})
            typed(f, keys);
        const QStringList captions = f.captions();
        f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(hadFile->parentWidget()));
        // A dialog for each document that never had a file, proposing its
        // caption in the folder used last; cancelled, it ends the command.
        f.dialogs.files = {path("fresh"), QString()};
        f.item("Saveall")->trigger();
        QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As"}));
        QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(captions[3]));
        QCOMPARE(savedText(file), QStringLiteral("fh jkpo;"));
        QCOMPARE(savedText(path("fresh.rtf")), QStringLiteral("fh"));
        QCOMPARE(f.captions(), (QStringList{file, captions[1], path("fresh.rtf"), captions[3], captions[4]}));
        QVERIFY(f.frame->documents()[4]->hasUnsavedChanges());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 2);
    }

    void printing()
    {
        FrameFixture f;
        const QString pdf = path("printed.pdf");
        auto* box = f.newDocument()->RichTextBox1;
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("Line %1").arg(i);
        box->SetText(lines.join(u'\n'));
        box->selectAll();
        box->SetSelFontName("Noto Sans");
        box->SetSelStart(0);
        // Cancelled: nothing. Nothing selected: every line once, over pages.
        f.dialogs.printers = {QString(), pdf};
        f.item("Print")->trigger();
        QVERIFY(QDir(dir_->path()).isEmpty());
        f.frame->Toolbar1_ButtonClick("Print");
        const QString text = pdfText(pdf);
        QVERIFY2(text.count(u'\f') >= 3, qPrintable(text));
        for (const QString& line : lines)
            QVERIFY2(text.count(QRegularExpression("^\f?" + line + "$", QRegularExpression::MultilineOption)) == 1,
                     qPrintable(line));
        // A selection: that alone, and no page number.
        const int at = box->Text().indexOf("Line 20");
        select(box, at + 2, at + 7);
        f.dialogs.printers = {pdf};
        f.item("Print")->trigger();
        QCOMPARE(pdfText(pdf).trimmed(), QStringLiteral("ne 20"));
        // A PDF file that cannot be written is told, naming it.
        writeBytes(path("plain"), "x");
        f.dialogs.printers = {path("plain/out.pdf")};
        f.item("Print")->trigger();
        told(f.dialogs.take(), {path("plain/out.pdf")});
        // With no document the dialog shows and nothing prints.
        QVERIFY(QFile::remove(pdf));
        f.frame->ActiveForm()->closeWithoutQuestion();
        f.settle();
        f.dialogs.printers = {pdf};
        f.item("Print")->trigger();
        QCOMPARE(f.dialogs.take(), QStringList{"printer"});
        QVERIFY(!QFile::exists(pdf));
    }

    void progressShowsOnlyForLongWork()
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

    void badFilesAreToldAndLoseNothing_data()
    {
        QTest::addColumn<bool>("binary"); // else the file has vanished
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<bool>("reopen");
        QTest::newRow("vanished file, into a saved document") << false << false << false;
        QTest::newRow("binary file, beside unsaved changes") << true << true << false;
        QTest::newRow("reopen a vanished file, beside unsaved changes") << false << true << true;
    }

    void badFilesAreToldAndLoseNothing()
    {
        QFETCH(bool, binary);
        QFETCH(bool, unsaved);
        QFETCH(bool, reopen);
        const QString bad = path("bad.rtf"), kept = path("kept.rtf");
        FrameFixture f(lastSaveRecorded(bad));
        Form1* form = savedThenChanged(f, kept, unsaved);
        const QStringList before = dump(form);
        if (binary)
            writeBytes(bad, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        f.dialogs.files = {bad};
        f.item(reopen ? "last" : "open")->trigger();
        f.settle();
        told(f.dialogs.take(), {bad, binary ? "binary" : "No such file"});
        QCOMPARE(f.captions(), QStringList{kept});
        QCOMPARE(dump(form), before);
        QCOMPARE(f.item("save")->isEnabled(), unsaved);
    }

    void failedSavesAreToldAndLoseNothing_data()
    {
        QTest::addColumn<QString>("how"); // the command, or "box": the window's close box
        QTest::addColumn<bool>("folder"); // a folder where the file goes, else a full disk
        QTest::newRow("save, disk full") << "save" << false;
        QTest::newRow("save as, disk full") << "saveas" << false;
        QTest::newRow("File, Close, answered yes, disk full") << "Close1" << false;
        QTest::newRow("the close box, answered yes, disk full") << "box" << false;
        QTest::newRow("save where the file became a folder") << "save" << true;
        QTest::newRow("save as onto a folder") << "saveas" << true;
        QTest::newRow("save all, a new document onto a folder") << "Saveall" << true;
    }

    void failedSavesAreToldAndLoseNothing()
    {
        QFETCH(QString, how);
        QFETCH(bool, folder);
        FrameFixture f;
        const QString file = path("doc.rtf");
        // Save all asks only for a document that never had a file.
        Form1* form = how == "Saveall" ? typed(f, "kaa thamiz") : savedThenChanged(f, file);
        if (folder)
            QVERIFY((QFile::remove(file) || how == "Saveall") && QDir().mkdir(file));
        TemporaryConfigFolder::removeStore();
        const QByteArray before = readBytes(file);
        const QString caption = form->windowTitle();
        const QStringList text = dump(form);
        f.dialogs.answers = {DialogSeam::Answer::Yes};
        f.dialogs.files = {file};
        tk::files::injectWriteFailure(folder ? -1 : 10);
        if (how == "box")
            form->parentWidget()->close();
        else
            f.item(qPrintable(how))->trigger();
        tk::files::injectWriteFailure(-1);
        f.settle();
        told(f.dialogs.take(), {file, folder ? "" : "disk is full (No space left on device)",
                                folder ? "" : "keeps its previous content"});
        QCOMPARE(readBytes(file), before);
        QCOMPARE(folderEntries(dir_->path()), QStringList{"doc.rtf"}); // no temporary file left
        QCOMPARE(f.frame->documents(), QList<Form1*>{form});
        QCOMPARE(form->windowTitle(), caption);
        QVERIFY(form->hasUnsavedChanges() && f.item("save")->isEnabled());
        QCOMPARE(dump(form), text);
        QVERIFY(lastSave().isEmpty());
    }

    void aFileOpensInOneWindowOnly()
    {
        FrameFixture f;
        const QString file = path("doc.rtf");
        Form1* first = savedThenChanged(f, file);
        f.newDocument();
        f.dialogs.files = {dir_->path() + "/./doc.rtf"}; // another spelling of the path
        f.item("open")->trigger();
        QVERIFY(f.frame->documents().size() == 2 && f.frame->ActiveForm() == first);
        QCOMPARE(first->RichTextBox1->Text(), QStringLiteral("fh jkpo;")); // not reloaded over the changes
    }

    void fileChangedByAnotherProgram_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("onDisk");   // what the file holds afterwards
        QTest::addColumn<bool>("elsewhere");   // a Save As dialog was shown, to other.rtf
        QTest::newRow("overwrite") << int(DialogSeam::Answer::Yes) << "fh jkpo;" << false;
        QTest::newRow("save under another name") << int(DialogSeam::Answer::No) << "theirs" << true;
        QTest::newRow("cancel") << int(DialogSeam::Answer::Cancel) << "theirs" << false;
    }

    void fileChangedByAnotherProgram()
    {
        QFETCH(int, answer);
        QFETCH(QString, onDisk);
        QFETCH(bool, elsewhere);
        FrameFixture f;
        const QString file = path("doc.rtf");
        Form1* form = savedThenChanged(f, file);
        // Unchanged on the disk: saving asks nothing.
        f.item("save")->trigger();
        QVERIFY(f.dialogs.take().isEmpty());
        QTest::keyClicks(form->RichTextBox1, "x");
        changeBehindTheProgramsBack(file, "theirs");
        f.dialogs.answers = {DialogSeam::Answer(answer)};
        f.dialogs.files = {path("other.rtf")};
        f.item("save")->trigger();
        const QStringList log = f.dialogs.take();
        QVERIFY2(log.first().startsWith("question:Tamil Kalvem:\"" + file + "\" was changed by another program"),
                 qPrintable(log.join('\n')));
        QCOMPARE(log.size(), elsewhere ? 2 : 1);
        QVERIFY2(savedText(file).startsWith(onDisk), qPrintable(savedText(file)));
        QCOMPARE(QFileInfo::exists(path("other.rtf")), elsewhere);
        QCOMPARE(form->windowTitle(), elsewhere ? path("other.rtf") : file);
        QCOMPARE(form->hasUnsavedChanges(), answer == int(DialogSeam::Answer::Cancel));
    }

    void leftOutContentIsTold()
    {
        FrameFixture f;
        const QString file = path("report.rtf");
        writeBytes(file, "{\\rtf1\\ansi text{\\pict\\pngblip 00}\\trowd\\pard\\intbl a\\cell\\row}");
        f.dialogs.files = {file};
        f.item("open")->trigger();
        const QStringList log = f.dialogs.take();
        QVERIFY2(log.last().startsWith("message:Tamil Kalvem:This document holds 1 picture and 1 table"),
                 qPrintable(log.join('\n')));
        QCOMPARE(f.captions(), QStringList{file});
        QVERIFY(f.frame->ActiveForm()->RichTextBox1->Text().startsWith("text"));
        QVERIFY(!f.frame->ActiveForm()->RichTextBox1->isReadOnly());
    }

    void failedMemoryWriteIsTold()
    {
        FrameFixture f;
        const QString key = QString::fromLatin1(tk::memory::memoryKey);
        QVERIFY(tk::memory::CreateKey(key) && tk::memory::WriteValue(key, "b", "kept"));
        const QByteArray before = readBytes(tk::memory::storePath());
        Form1* form = f.newDocument();
        QTest::keyClicks(form->RichTextBox1, QStringLiteral("vanakkam"));
        form->RichTextBox1->selectAll();
        f.dialogs.inputs = {"a"};
        tk::files::injectWriteFailure(5);
        f.item("let")->trigger();
        tk::files::injectWriteFailure(-1);
        const QStringList log = f.dialogs.take();
        QVERIFY2(log.last().startsWith("message:Tamil Kalvem:The word was not stored under \"a\"")
                     && log.last().contains("disk is full"),
                 qPrintable(log.join('\n')));
        QCOMPARE(readBytes(tk::memory::storePath()), before);
    }

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    // A document typed and saved as file, then typed on if asked.
    Form1* savedThenChanged(FrameFixture& f, const QString& file, bool typeOn = true)
    {
        Form1* form = typed(f, "kaa");
        f.dialogs.files = {file};
        f.item("saveas")->trigger();
        if (typeOn)
            QTest::keyClicks(form->RichTextBox1, " thamiz");
        f.dialogs.take();
        return form;
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
