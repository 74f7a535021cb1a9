// The frame's file commands when something goes wrong: a full disk, a file
// open twice or changed by another program, content the program leaves out,
// and a word memory write that fails.
#include "../app/frame_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "display_fonts.h"
#include "files/safe_write.h"
#include "memory/memory_store.h"

#include <QTemporaryDir>

using tk::seam::DialogSeam;
using tk::document::Form1;

namespace {

// The file as another program would write it: new content, a new time.
void changeBehindTheProgramsBack(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
}

} // namespace

class TestNeverLoseWork : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(tk::fonts::registerDisplayFonts()); }
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() { tk::files::injectWriteFailure(-1); }

    void fullDiskIsToldAndKeepsEverything_data();
    void fullDiskIsToldAndKeepsEverything();
    void aFileOpensInOneWindowOnly();
    void fileChangedByAnotherProgram_data();
    void fileChangedByAnotherProgram();
    void leftOutContentIsTold();
    void failedMemoryWriteIsTold();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    // A document typed and saved as file, then typed on.
    Form1* savedThenChanged(FrameFixture& f, const QString& file)
    {
        Form1* form = f.newDocument();
        QTest::keyClicks(form->RichTextBox1, "kaa");
        f.dialogs.files = {file};
        f.item("saveas")->trigger();
        QTest::keyClicks(form->RichTextBox1, " thamiz");
        f.dialogs.take();
        return form;
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestNeverLoseWork::fullDiskIsToldAndKeepsEverything_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("save") << "save";
    QTest::newRow("save as") << "saveas";
    QTest::newRow("File, Close, answered yes") << "Close1";
    QTest::newRow("the close box, answered yes") << "box";
}

void TestNeverLoseWork::fullDiskIsToldAndKeepsEverything()
{
    QFETCH(QString, how);
    FrameFixture f;
    const QString file = path("doc.rtf");
    Form1* form = savedThenChanged(f, file);
    const QByteArray before = readBytes(file);
    f.dialogs.answers = {DialogSeam::Answer::Yes};
    f.dialogs.files = {file};
    tk::files::injectWriteFailure(10);
    if (how == "box")
        form->parentWidget()->close();
    else
        f.item(qPrintable(how))->trigger();
    tk::files::injectWriteFailure(-1);
    f.settle();
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.last().contains("disk is full (No space left on device)") && log.last().contains(file)
                 && log.last().contains("keeps its previous content"),
             qPrintable(log.join('\n')));
    QCOMPARE(readBytes(file), before);
    QCOMPARE(folderEntries(dir_->path()), QStringList{"doc.rtf"});
    QCOMPARE(f.frame->documents(), QList<Form1*>{form});
    QVERIFY(form->hasUnsavedChanges() && f.item("save")->isEnabled());
    QCOMPARE(form->RichTextBox1->Text(), QStringLiteral("fh jkpo;"));
}

void TestNeverLoseWork::aFileOpensInOneWindowOnly()
{
    FrameFixture f;
    const QString file = path("doc.rtf");
    Form1* first = savedThenChanged(f, file);
    Form1* other = f.newDocument();
    QCOMPARE(f.frame->ActiveForm(), other);
    // By another spelling of the same path, too.
    f.dialogs.files = {dir_->path() + "/./doc.rtf"};
    f.item("open")->trigger();
    QCOMPARE(f.frame->documents().size(), 2);
    QCOMPARE(f.frame->ActiveForm(), first);
    QCOMPARE(first->RichTextBox1->Text(), QStringLiteral("fh jkpo;")); // not reloaded over the changes
}

void TestNeverLoseWork::fileChangedByAnotherProgram_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("onDisk");   // what the file holds afterwards
    QTest::addColumn<bool>("elsewhere");   // a Save As dialog was shown, to other.rtf
    QTest::newRow("overwrite") << int(DialogSeam::Answer::Yes) << "fh jkpo;" << false;
    QTest::newRow("save under another name") << int(DialogSeam::Answer::No) << "theirs" << true;
    QTest::newRow("cancel") << int(DialogSeam::Answer::Cancel) << "theirs" << false;
}

void TestNeverLoseWork::fileChangedByAnotherProgram()
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
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("x"));
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

void TestNeverLoseWork::leftOutContentIsTold()
{
    FrameFixture f;
    const QString file = path("report.rtf");
    writeBytes(file, "{\\rtf1\\ansi text{\\pict\\pngblip 00}\\trowd\\pard\\intbl a\\cell\\row}");
    f.dialogs.files = {file};
    f.item("open")->trigger();
    const QStringList log = f.dialogs.take();
    QVERIFY2(log.last().startsWith("message:Tamil Kalvem:This document holds 1 picture and 1 table"),
             qPrintable(log.join('\n')));
    Form1* form = f.frame->ActiveForm();
    QCOMPARE(form->windowTitle(), file);
    QVERIFY(form->RichTextBox1->Text().startsWith("text"));
    QVERIFY(!form->RichTextBox1->isReadOnly());
}

void TestNeverLoseWork::failedMemoryWriteIsTold()
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

QTEST_MAIN(TestNeverLoseWork)
#include "test_never_lose_work.moc"
