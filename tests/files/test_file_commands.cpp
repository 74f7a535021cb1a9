// The File menu's commands through the frame, and what they leave when a file
// is unreadable, a save fails, a file is open twice or changed elsewhere.
#include "../app/frame_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "document/file_progress.h"
#include "files/safe_write.h"
#include "memory/memory_store.h"

#include <QRegularExpression>
#include <QSlider>
#include <QThread>

using tk::document::Form1;
using tk::seam::DialogSeam;

namespace {

const QString memoryKey = QString::fromLatin1(tk::memory::memoryKey);

QString lastSave() { return tk::memory::ReadValue(memoryKey, "Last save"); }

// The settings a previous run left: the reopen item's path.
std::function<void()> lastSaveRecorded(const QString& path)
{
    return [path] { tk::memory::CreateKey(memoryKey), tk::memory::WriteValue(memoryKey, "Last save", path); };
}

Form1* typed(FrameFixture& f, const char* keys)
{
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, keys);
    return form;
}

// The command run, its file dialogs answering files in turn ("" cancels).
void choose(FrameFixture& f, const char* command, std::initializer_list<QString> files)
{
    f.dialogs.files = files;
    f.item(command)->trigger();
}

QStringList dump(Form1* form) { return dumpDocument(*form->RichTextBox1->document()); }

// The last dialog shown was our message, saying each of parts.
void told(const QStringList& log, const QStringList& parts)
{
    const QString m = log.value(log.size() - 1);
    const auto said = [&](const QString& part) { return m.contains(part, Qt::CaseInsensitive); };
    QVERIFY2(m.startsWith("message:Tamil Kalvem:") && std::all_of(parts.begin(), parts.end(), said),
             qPrintable(log.join(u'\n')));
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init() { QVERIFY((dir_ = std::make_unique<QTemporaryDir>())->isValid()); }
    void cleanup() { tk::files::injectWriteFailure(-1); }

    void saveOfANeverSavedDocumentAsksWhere()
    {
        FrameFixture f;
        TemporaryConfigFolder::removeStore(); // a fresh installation: no key yet
        const QString file = path("first.rtf"), second = path("second.rtf");
        Form1* form = typed(f, "ka");
        const QString caption = form->windowTitle();
        choose(f, "save", {QString(), file}); // cancelled: nothing written, still unsaved
        QVERIFY(form->windowTitle() == caption && f.item("save")->isEnabled() && !QFile::exists(caption));
        f.frame->Toolbar1_ButtonClick("Save");
        QVERIFY(form->windowTitle() == file && savedText(file) == "f" && lastSave() == file);
        QVERIFY(!f.item("save")->isEnabled() && !f.item("last")->isVisible() && !f.item("a")->isVisible());
        // Saved once, Save asks nothing and keeps formatting, part-pixel indents too.
        QTest::keyClicks(form->RichTextBox1, "ka");
        select(form->RichTextBox1, 0, 1);
        f.frame->Toolbar1_ButtonClick("Bold");
        form->RichTextBox1->SetSelColor(QColor(180, 20, 40));
        form->Slider1->setValue(1441);
        form->Slider2->setValue(1000);
        const QStringList before = dump(form);
        f.frame->Toolbar1_ButtonClick("Save");
        QCOMPARE(savedText(file), QStringLiteral("ff"));
        f.dialogs.files = {second, second}; // nothing unsaved: the toolbar's Save is Save As
        f.frame->Toolbar1_ButtonClick("Save");
        QVERIFY(form->windowTitle() == second && lastSave() == second);
        f.frame->Toolbar1_ButtonClick("Close");
        f.settle();
        QVERIFY(f.frame->documents().isEmpty());
        f.item("open")->trigger();
        QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As", "save:Save As", "open:Open"}));
        QCOMPARE(f.captions(), QStringList{second});
        QCOMPARE(dump(f.frame->ActiveForm()), before);
    }

    void openAndReopen()
    {
        QVERIFY(QDir(dir_->path()).mkpath("R&D notes"));
        const QString file = path("R&D notes/plan one.rtf");
        writeBytes(file, "{\\rtf1 jkpo;}");
        for (const auto& [reopen, unsaved] : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
            FrameFixture f(lastSaveRecorded(file));
            // The path shows verbatim: "&&" is one "&", no shortcut.
            QVERIFY(f.item("last")->isVisible() && f.item("a")->isVisible());
            QCOMPARE(f.item("last")->text().replace("&&", "&"), file);
            Form1* form = typed(f, unsaved ? "ka" : "");
            const QString caption = form->windowTitle();
            choose(f, reopen ? "last" : "open", {file});
            QCOMPARE(f.dialogs.take(), reopen ? QStringList{} : QStringList{"open:Open"});
            Form1* target = f.frame->ActiveForm();
            QCOMPARE(target->RichTextBox1->Text(), QStringLiteral("jkpo;"));
            // Unsaved text is never replaced: the file gets a window of its own.
            QCOMPARE(f.captions(), (unsaved ? QStringList{caption, file} : QStringList{file}));
            if (unsaved)
                QCOMPARE(form->RichTextBox1->Text(), QStringLiteral("f"));
            // Just opened is unchanged: it closes without a question.
            QVERIFY(!target->hasUnsavedChanges() && !f.item("save")->isEnabled());
            QVERIFY(target->closeFor(tk::document::UnloadReason::ControlMenu) && f.dialogs.take().isEmpty());
        }
    }

    void dialogsStartInTheDocumentsFolder()
    {
        const QString filters = QStringLiteral("Rich Text (*.rtf);;Text (*.txt);;All Files (*.*)");
        FrameFixture f;
        const QString file = path("letter.rtf");
        writeBytes(file, "{\\rtf1 jkpo;}");
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        // No document: Open makes one that stays when cancelled. Nothing chosen yet: the
        // documents folder, not the working one, and the document types whatever filter was left.
        f.frame->CD1().Filter = "Text|*.txt";
        f.dialogs.files = {QString(), file, QString()};
        f.frame->Toolbar1_ButtonClick("Open");
        QVERIFY(f.dialogs.lastStart == tk::seam::CommonDialog::documentsFolder() && f.dialogs.lastFilter == filters);
        QVERIFY(f.captions().size() == 1 && f.captions()[0].startsWith("Document "));
        QVERIFY(f.frame->ActiveForm()->RichTextBox1->Text().isEmpty());
        f.item("open")->trigger();
        QCOMPARE(f.captions(), QStringList{file});
        f.item("open")->trigger(); // the active document's folder, no name proposed
        QCOMPARE(f.dialogs.lastStart, dir_->path());
        f.frame->CD1().Filter = "Text|*.txt";
        choose(f, "saveas", {QString()}); // the file's own name
        QVERIFY(f.dialogs.lastStart == file && f.dialogs.lastFilter == filters);
        Form1* fresh = typed(f, "ka");
        choose(f, "save", {QString()}); // no file: the folder used last, the caption as name
        QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(fresh->windowTitle()));
        QVERIFY(f.dialogs.take().filter("unexpected").isEmpty());
    }

    void saveAsAddsAnExtension()
    {
        QVERIFY(QDir(dir_->path()).mkpath("v1.2"));
        const struct { const char *chosen, *filter, *written; } rows[] = { // filter left chosen; "" the first
            {"name", "", "name.rtf"}, {"name", "Text (*.txt)", "name.txt"}, {"name", "All Files (*.*)", "name.rtf"},
            {"name.doc", "Text (*.txt)", "name.doc"}, {"v1.2/name", "", "v1.2/name.rtf"}};
        for (const auto& row : rows) {
            FrameFixture f;
            Form1* form = typed(f, "kaa");
            f.dialogs.files = {path(row.chosen)};
            if (*row.filter)
                f.dialogs.saveFilters = {row.filter};
            f.item("saveas")->trigger();
            QCOMPARE(form->windowTitle(), path(row.written));
            QCOMPARE(savedText(path(row.written)), QStringLiteral("fh"));
        }
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
        // Asks only where there was no file, proposing the caption; cancelled, it stops.
        choose(f, "Saveall", {path("fresh"), QString()});
        QCOMPARE(f.dialogs.take(), (QStringList{"save:Save As", "save:Save As"}));
        QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(captions[3]));
        QCOMPARE(savedText(file) + '|' + savedText(path("fresh.rtf")), QStringLiteral("fh jkpo;|fh"));
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
        const auto print = [&](std::initializer_list<QString> to) { f.dialogs.printers = to; f.item("Print")->trigger(); };
        print({QString(), pdf}); // cancelled: nothing; then nothing selected: every line once, over pages
        QVERIFY(QDir(dir_->path()).isEmpty());
        f.frame->Toolbar1_ButtonClick("Print");
        const QString text = pdfText(pdf);
        QVERIFY2(text.count(u'\f') >= 3, qPrintable(text));
        for (const QString& line : lines)
            QVERIFY2(text.count(QRegularExpression("^\f?" + line + "$", QRegularExpression::MultilineOption)) == 1,
                     qPrintable(line));
        const int at = box->Text().indexOf("Line 20");
        select(box, at + 2, at + 7); // a selection: that alone, no page number
        print({pdf});
        QCOMPARE(pdfText(pdf).trimmed(), QStringLiteral("ne 20"));
        writeBytes(path("plain"), "x");
        print({path("plain/out.pdf")});
        told(f.dialogs.take(), {path("plain/out.pdf")});
        QVERIFY(QFile::remove(pdf)); // no document: the dialog shows, nothing prints
        f.frame->ActiveForm()->closeWithoutQuestion();
        f.settle();
        print({pdf});
        QVERIFY(f.dialogs.take() == QStringList{"printer"} && !QFile::exists(pdf));
    }

    void progressShowsOnlyForLongWork()
    {
        QWidget parent;
        parent.show();
        {
            tk::document::FileProgress quick(&parent, "Opening", true);
            QVERIFY(quick.callback()(0.5) && !quick.dialog());
        }
        tk::document::FileProgress slow(&parent, "Opening", true);
        const tk::rtf::Progress report = slow.callback();
        QThread::msleep(tk::document::FileProgress::showAfterMs + 50);
        QVERIFY(report(0.5) && slow.dialog() && slow.dialog()->isVisible());
        QCOMPARE(slow.dialog()->value(), 500);
        slow.dialog()->cancel();
        QVERIFY(!report(0.6) && slow.cancelled());
    }

    void badFilesAreToldAndLoseNothing()
    {
        const QString bad = path("bad.rtf"), kept = path("kept.rtf");
        const struct { bool binary, unsaved, reopen; } rows[] = { // not binary: the file has vanished
            {false, false, false}, {true, true, false}, {false, true, true}};
        for (const auto& row : rows) {
            QFile::remove(bad), QFile::remove(kept);
            FrameFixture f(lastSaveRecorded(bad));
            Form1* form = savedThenChanged(f, kept, row.unsaved);
            const QStringList before = dump(form);
            if (row.binary)
                writeBytes(bad, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
            choose(f, row.reopen ? "last" : "open", {bad});
            f.settle();
            told(f.dialogs.take(), {bad, row.binary ? "binary" : "No such file"});
            QCOMPARE(f.captions(), QStringList{kept});
            QCOMPARE(dump(form), before);
            QCOMPARE(f.item("save")->isEnabled(), row.unsaved);
        }
    }

    void failedSavesAreToldAndLoseNothing_data()
    {
        QTest::addColumn<QString>("how"); // the command, or "box": the window's close box
        QTest::addColumn<bool>("folder"); // a folder where the file goes, else a full disk
        for (const char* how : {"save", "saveas", "Close1", "box"}) // Close1, box: answered yes
            QTest::addRow("%s, disk full", how) << QString(how) << false;
        for (const char* how : {"save", "saveas", "Saveall"}) // Saveall: a new document
            QTest::addRow("%s onto a folder", how) << QString(how) << true;
    }

    void failedSavesAreToldAndLoseNothing()
    {
        QFETCH(QString, how);
        QFETCH(bool, folder);
        FrameFixture f;
        const QString file = path("doc.rtf");
        Form1* form = how == "Saveall" ? typed(f, "kaa thamiz") : savedThenChanged(f, file); // asks only without a file
        if (folder)
            QVERIFY((QFile::remove(file) || how == "Saveall") && QDir().mkdir(file));
        TemporaryConfigFolder::removeStore();
        const QByteArray before = readBytes(file);
        const QString caption = form->windowTitle();
        const QStringList text = dump(form);
        f.dialogs.answers = {DialogSeam::Answer::Yes};
        f.dialogs.files = {file};
        tk::files::injectWriteFailure(folder ? -1 : 10);
        how == "box" ? form->parentWidget()->close() : (f.item(qPrintable(how))->trigger(), true);
        tk::files::injectWriteFailure(-1);
        f.settle();
        told(f.dialogs.take(), {file, folder ? "" : "disk is full (No space left on device)",
                                folder ? "" : "keeps its previous content"});
        QCOMPARE(readBytes(file), before);
        QCOMPARE(folderEntries(dir_->path()), QStringList{"doc.rtf"}); // no temporary file left
        QVERIFY(f.frame->documents() == QList<Form1*>{form} && form->windowTitle() == caption);
        QVERIFY(form->hasUnsavedChanges() && f.item("save")->isEnabled() && lastSave().isEmpty());
        QCOMPARE(dump(form), text);
    }

    void aFileOpensInOneWindowOnly()
    {
        FrameFixture f;
        Form1* first = savedThenChanged(f, path("doc.rtf"));
        f.newDocument();
        choose(f, "open", {dir_->path() + "/./doc.rtf"}); // another spelling of the path
        QVERIFY(f.frame->documents().size() == 2 && f.frame->ActiveForm() == first);
        QCOMPARE(first->RichTextBox1->Text(), QStringLiteral("fh jkpo;")); // not reloaded over the changes
    }

    void fileChangedByAnotherProgram()
    {
        using A = DialogSeam::Answer;
        const QString file = path("doc.rtf");
        const struct { A answer; const char* onDisk; bool elsewhere; } rows[] = { // elsewhere: Save As other.rtf
            {A::Yes, "fh jkpo;", false}, {A::No, "theirs", true}, {A::Cancel, "theirs", false}};
        for (const auto& row : rows) {
            QFile::remove(path("other.rtf"));
            FrameFixture f;
            Form1* form = savedThenChanged(f, file);
            f.item("save")->trigger(); // unchanged on the disk: no question
            QVERIFY(f.dialogs.take().isEmpty());
            QTest::keyClicks(form->RichTextBox1, "x");
            writeBytes(file, "theirs");
            f.dialogs.answers = {row.answer};
            choose(f, "save", {path("other.rtf")});
            const QStringList log = f.dialogs.take();
            QVERIFY2(log.size() == (row.elsewhere ? 2 : 1)
                         && log.first().startsWith("question:Tamil Kalvem:\"" + file + "\" was changed by another program"),
                     qPrintable(log.join('\n')));
            QVERIFY2(savedText(file).startsWith(row.onDisk), qPrintable(savedText(file)));
            QCOMPARE(QFileInfo::exists(path("other.rtf")), row.elsewhere);
            QCOMPARE(form->windowTitle(), row.elsewhere ? path("other.rtf") : file);
            QCOMPARE(form->hasUnsavedChanges(), row.answer == A::Cancel);
        }
    }

    void leftOutContentIsTold()
    {
        FrameFixture f;
        const QString file = path("report.rtf");
        writeBytes(file, "{\\rtf1\\ansi text{\\pict\\pngblip 00}\\trowd\\pard\\intbl a\\cell\\row}");
        choose(f, "open", {file});
        told(f.dialogs.take(), {"This document holds 1 picture and 1 table"});
        QCOMPARE(f.captions(), QStringList{file});
        QVERIFY(f.frame->ActiveForm()->RichTextBox1->Text().startsWith("text"));
        QVERIFY(!f.frame->ActiveForm()->RichTextBox1->isReadOnly());
    }

    void failedMemoryWriteIsTold()
    {
        FrameFixture f;
        QVERIFY(tk::memory::CreateKey(memoryKey) && tk::memory::WriteValue(memoryKey, "b", "kept"));
        const QByteArray before = readBytes(tk::memory::storePath());
        typed(f, "vanakkam")->RichTextBox1->selectAll();
        f.dialogs.inputs = {"a"};
        tk::files::injectWriteFailure(5);
        f.item("let")->trigger();
        tk::files::injectWriteFailure(-1);
        told(f.dialogs.take(), {"The word was not stored under \"a\"", "disk is full"});
        QCOMPARE(readBytes(tk::memory::storePath()), before);
    }

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    // A document typed and saved as file, then typed on if asked.
    Form1* savedThenChanged(FrameFixture& f, const QString& file, bool typeOn = true)
    {
        Form1* form = typed(f, "kaa");
        choose(f, "saveas", {file});
        if (typeOn)
            QTest::keyClicks(form->RichTextBox1, " thamiz");
        f.dialogs.take();
        return form;
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
