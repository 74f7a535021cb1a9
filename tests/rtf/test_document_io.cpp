// Loading and saving documents as files: both file types, the fall-back to
// plain text, and every way a file can fail without costing the user data.
#include "document_dump.h"
#include "../support/test_files.h"
#include "rtf/document_io.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <memory>
#include <unistd.h>

using namespace tk::document;

namespace {

void makeFormatted(QTextDocument& doc)
{
    doc.setDefaultFont(QFont(QStringLiteral("Kolvani"), 14));
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(14.25);
    c.insertText(QStringLiteral("f;fk\xe9"), bold);
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centre);
    c.insertText(QStringLiteral("tdf"));
}

const QString unchanged = QStringLiteral("unchanged\ntext");

} // namespace

class TestDocumentIo : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void richTextThroughAFile();
    void plainTextKeepsEveryByte();
    void plainText_data();
    void plainText();
    void loadFailures_data();
    void loadFailures();
    void saveFailuresKeepThePreviousFile_data();
    void saveFailuresKeepThePreviousFile();
    void selectionAndWholeTextAsRtf();
    void progressIsReported();

private:
    QString path(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDocumentIo::richTextThroughAFile()
{
    QTextDocument doc;
    makeFormatted(doc);
    // The name says text, the content is RTF: the type decides, not the name.
    const QString file = path("notes.txt");
    QVERIFY(saveFile(doc, file).ok);
    QVERIFY(readBytes(file).startsWith("{\\rtf1"));

    QTextDocument loaded;
    loaded.setDefaultFont(doc.defaultFont());
    const Result r = loadFile(loaded, file);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(dumpDocument(loaded), dumpDocument(doc));
}

void TestDocumentIo::plainTextKeepsEveryByte()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\n' && b != '\r')
            bytes.append(char(b));
    bytes += "\r\nsecond line\r\n";
    const QString file = path("codes.tam");
    writeBytes(file, bytes);

    QTextDocument doc;
    QVERIFY(loadFile(doc, file, PlainTextFile).ok);
    QCOMPARE(doc.blockCount(), 3);
    QCOMPARE(doc.firstBlock().text().size(), 253);
    QCOMPARE(doc.firstBlock().text().at(0xA0 - 3).unicode(), char16_t(0xA0)); // byte 0xA0, not a space
    QVERIFY(saveFile(doc, path("copy.tam"), PlainTextFile).ok);
    QCOMPARE(readBytes(path("copy.tam")), bytes);

    // Characters beyond eight bits cannot be stored as plain text.
    doc.setPlainText(QString::fromUtf16(u"a\u0B95b"));
    QVERIFY(saveFile(doc, path("wide.tam"), PlainTextFile).ok);
    QCOMPARE(readBytes(path("wide.tam")), QByteArray("a?b"));
}

void TestDocumentIo::plainText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("paragraphs");
    QTest::newRow("LF") << QByteArray("a\nb\n") << int(PlainTextFile) << "a|b|";
    QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n\r\nc") << int(PlainTextFile) << "a|b||c";
    QTest::newRow("CR") << QByteArray("a\rb") << int(PlainTextFile) << "a|b";
    QTest::newRow("empty") << QByteArray() << int(PlainTextFile) << "";
    QTest::newRow("not RTF, read as plain text") << QByteArray("vanakkam {\\b not rtf}\n\xe9") << int(RichTextFile)
                                                  << "vanakkam {\\b not rtf}|<e9>";
}

void TestDocumentIo::plainText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, type);
    QFETCH(QString, paragraphs);
    writeBytes(path("lines.txt"), bytes);
    QTextDocument doc;
    makeFormatted(doc);
    QVERIFY(loadFile(doc, path("lines.txt"), type).ok);
    QCOMPARE(plainOf(doc), paragraphs);
    QVERIFY(!doc.firstBlock().charFormat().hasProperty(QTextFormat::FontWeight)); // nothing of the old format
}

void TestDocumentIo::loadFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written first unless empty
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "gone.rtf" << QByteArray() << 0 << "No such file";
    QTest::newRow("folder") << "." << QByteArray() << 0 << "folder";
    QTest::newRow("binary file") << "image.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 0 << "binary";
    QTest::newRow("binary as plain") << "image.png" << QByteArray("ab\0cd", 5) << 1 << "binary";
    QTest::newRow("nested too deep") << "deep.rtf" << ("{\\rtf1" + QByteArray(5000, '{')) << 0 << "nested";
    QTest::newRow("unknown type") << "x.rtf" << QByteArray("{\\rtf1 x}") << 7 << "unknown file type";
    QTest::newRow("empty name") << "" << QByteArray() << 0 << "no file name";
    QTest::newRow("unreadable") << "secret.rtf" << QByteArray("{\\rtf1 x}") << 0 << "Permission denied";
}

void TestDocumentIo::loadFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, type);
    QFETCH(QString, reason);
    const QString file = name.isEmpty() ? QString() : dir_->filePath(name);
    if (!content.isEmpty())
        writeBytes(file, content);
    if (name == "secret.rtf") {
        if (::geteuid() == 0)
            QSKIP("root reads any file");
        QFile::setPermissions(file, {});
    }
    QTextDocument doc;
    doc.setPlainText(unchanged);
    const Result r = loadFile(doc, file, type);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(reason) && r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
    QCOMPARE(doc.toPlainText(), unchanged);
}

// Replacing a file through a new one, its mode and the system's reasons are
// the safe writer's own tests; here the document tells which file failed.
void TestDocumentIo::saveFailuresKeepThePreviousFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder of the target is a file") << "regular/inside.rtf";
    QTest::newRow("folder of the target is missing") << "missing/inside.rtf";
    QTest::newRow("read-only folder") << "locked/letter.rtf";
}

void TestDocumentIo::saveFailuresKeepThePreviousFile()
{
    QFETCH(QString, name);
    if (name.startsWith("locked") && ::geteuid() == 0)
        QSKIP("root writes into read-only folders");
    for (const char* folder : {"folder", "locked"})
        QVERIFY(QDir(dir_->path()).mkpath(folder));
    writeBytes(path("folder/kept.txt"), "kept");
    writeBytes(path("locked/letter.rtf"), "previous");
    writeBytes(path("regular"), "previous");
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    QTextDocument doc;
    makeFormatted(doc);
    const QString file = dir_->filePath(name);
    const Result r = saveFile(doc, file);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
    QCOMPARE(readBytes(path("folder/kept.txt")), QByteArray("kept"));
    QCOMPARE(readBytes(path("locked/letter.rtf")), QByteArray("previous"));
    QCOMPARE(readBytes(path("regular")), QByteArray("previous"));
    for (const char* folder : {".", "folder", "locked"})
        QCOMPARE(folderEntries(path(folder)).size(), folder[0] == '.' ? 3 : 1);
}

void TestDocumentIo::selectionAndWholeTextAsRtf()
{
    QTextDocument doc;
    makeFormatted(doc);
    // Plain text is inserted as it is, replacing the selection.
    QTextDocument other;
    other.setDefaultFont(doc.defaultFont());
    other.setPlainText(QStringLiteral("<fk>"));
    QTextCursor at(&other);
    at.setPosition(0);
    at.setPosition(1, QTextCursor::KeepAnchor);
    QVERIFY(setSelRtf(at, QStringLiteral("plain {\\b}")).ok);
    QCOMPARE(other.toPlainText(), QStringLiteral("plain {\\b}fk>"));

    // An empty selection gives a document with nothing in it.
    QTextCursor none(&doc);
    QVERIFY(setTextRtf(other, selRtf(none)).ok);
    QVERIFY(other.toPlainText().isEmpty());

    QVERIFY(setTextRtf(other, textRtf(doc)).ok);
    QCOMPARE(dumpDocument(other), dumpDocument(doc));
    QVERIFY(setTextRtf(other, QStringLiteral("just text")).ok);
    QCOMPARE(other.toPlainText(), QStringLiteral("just text"));
    QVERIFY(!setTextRtf(other, QStringLiteral("{\\rtf1") + QString(2000, u'{')).ok);
    QCOMPARE(other.toPlainText(), QStringLiteral("just text"));
}

void TestDocumentIo::progressIsReported()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("f;fk tdf;fk kh\n").repeated(20000));
    QList<double> saving, loading;
    QVERIFY(saveFile(doc, path("big.rtf"), RichTextFile, [&](double f) { return saving << f, true; }).ok);
    QTextDocument loaded;
    QVERIFY(loadFile(loaded, path("big.rtf"), RichTextFile, [&](double f) { return loading << f, true; }).ok);
    QCOMPARE(loaded.toPlainText(), doc.toPlainText());
    for (const auto* seen : {&saving, &loading})
        QVERIFY(seen->size() > 3 && std::is_sorted(seen->begin(), seen->end()) && seen->first() >= 0 && seen->last() <= 1);
    // A load cancelled part way changes nothing.
    loaded.setPlainText(unchanged);
    int calls = 0;
    QVERIFY(!loadFile(loaded, path("big.rtf"), RichTextFile, [&](double) { return ++calls < 3; }).ok);
    QCOMPARE(calls, 3);
    QCOMPARE(loaded.toPlainText(), unchanged);
}

QTEST_GUILESS_MAIN(TestDocumentIo)
#include "test_document_io.moc"
