// What the Open and Save dialogs are shown with, and what Save all asks:
// the document's own folder and name, the three file types, an extension
// for a name without one, and no dialog for a document that has a file.
#include "../app/frame_fixture.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

using tk::document::Form1;
using tk::seam::CommonDialog;

namespace {

const QString filters = QStringLiteral("Rich Text (*.rtf);;Text (*.txt);;All Files (*.*)");

} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void dialogsStartInTheDocumentsFolder();
    void saveAsAddsAnExtension_data();
    void saveAsAddsAnExtension();
    void saveAllAsksOnlyWhereThereIsNoFile();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestFileDialogs::dialogsStartInTheDocumentsFolder()
{
    FrameFixture f;
    const QString file = path(QStringLiteral("letter.rtf"));
    writeBytes(file, "{\\rtf1 jkpo;}");
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    // Nothing chosen yet: the documents folder, never the working folder.
    f.dialogs.files = {file};
    f.item("open")->trigger();
    QCOMPARE(f.dialogs.lastStart, CommonDialog::documentsFolder());
    QCOMPARE(f.dialogs.lastFilter, filters);
    // The active document's file: its folder, no name proposed for Open.
    f.dialogs.files = {QString()};
    f.item("open")->trigger();
    QCOMPARE(f.dialogs.lastStart, dir_->path());
    // Save As proposes the file's own name.
    f.dialogs.files = {QString()};
    f.item("saveas")->trigger();
    QCOMPARE(f.dialogs.lastStart, file);
    QCOMPARE(f.dialogs.lastFilter, filters);
    // A document without a file: the folder used last, its caption as name.
    Form1* fresh = f.newDocument();
    QTest::keyClicks(fresh->RichTextBox1, QStringLiteral("ka"));
    f.dialogs.files = {QString()};
    f.item("save")->trigger();
    QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(fresh->windowTitle()));
    QVERIFY2(f.dialogs.take().filter(QStringLiteral("unexpected")).isEmpty(), "");
}

void TestFileDialogs::saveAsAddsAnExtension_data()
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

void TestFileDialogs::saveAsAddsAnExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("v1.2")));
    FrameFixture f;
    Form1* form = f.newDocument();
    QTest::keyClicks(form->RichTextBox1, QStringLiteral("kaa"));
    f.dialogs.files = {path(chosen)};
    if (!filter.isEmpty())
        f.dialogs.saveFilters = {filter};
    f.item("saveas")->trigger();
    QCOMPARE(form->windowTitle(), path(written));
    QCOMPARE(savedText(path(written)), QStringLiteral("fh"));
}

void TestFileDialogs::saveAllAsksOnlyWhereThereIsNoFile()
{
    FrameFixture f;
    const QString file = path(QStringLiteral("had.rtf"));
    writeBytes(file, "{\\rtf1 jkpo;}");
    f.dialogs.files = {file};
    Form1* hadFile = f.newDocument();
    f.item("open")->trigger();
    QTest::keyClicks(hadFile->RichTextBox1, QStringLiteral(" ka"));
    Form1* untouched = f.newDocument();
    Form1* fresh = f.newDocument();
    QTest::keyClicks(fresh->RichTextBox1, QStringLiteral("kaa"));
    const QString proposed = fresh->windowTitle();
    f.frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(hadFile->parentWidget()));
    f.dialogs.take();

    f.dialogs.files = {path(QStringLiteral("fresh"))};
    f.item("Saveall")->trigger();
    // One dialog, for the document that never had a file, proposing its
    // caption in the folder used last.
    QCOMPARE(f.dialogs.take(), QStringList{"save:Save As"});
    QCOMPARE(f.dialogs.lastStart, QDir(dir_->path()).filePath(proposed));
    QCOMPARE(savedText(file), QStringLiteral(" fjkpo;"));
    QCOMPARE(savedText(path(QStringLiteral("fresh.rtf"))), QStringLiteral("fh"));
    QCOMPARE(fresh->windowTitle(), path(QStringLiteral("fresh.rtf")));
    QVERIFY(untouched->windowTitle().startsWith(QStringLiteral("Document ")));
    for (Form1* form : f.frame->documents())
        QVERIFY(!form->hasUnsavedChanges());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 2);
}

QTEST_MAIN(TestFileDialogs)
#include "test_file_dialogs.moc"
