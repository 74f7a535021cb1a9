// Loading and saving documents as files: both file types, the fall-back to
// plain text, and every way a file can fail without costing the user data.
#include "document_dump.h"
#include "../support/test_files.h"

#include <QTemporaryDir>
#include <QTextCursor>

#include <memory>
#include <unistd.h>

using namespace tk::document;

namespace {

// Bold codes at a size of no whole point, then a centred paragraph.
void makeFormatted(QTextDocument& doc)
{
    doc.setDefaultFont(QFont(QStringLiteral("Kolvani"), 14));
    QVERIFY(setTextRtf(doc, "{\\rtf1{\\fonttbl{\\f0 Kolvani;}}\\f0\\fs29\\tkfs1425\\b f;fk\\'e9\\par\\qc\\b0 tdf}").ok);
}

const QString unchanged = QStringLiteral("unchanged\ntext");

} // namespace

class TestDocumentIo : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY((dir_ = std::make_unique<QTemporaryDir>())->isValid()); }
    void richTextThroughAFile();
    void plainTextKeepsEveryByte();
    void plainText();
    void loadFailures();
    void saveFailuresKeepThePreviousFile();
    void selectionAndWholeTextAsRtf();
    void progressIsReported();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDocumentIo::richTextThroughAFile()
{
    QTextDocument doc, loaded;
    makeFormatted(doc);
    loaded.setDefaultFont(doc.defaultFont());
    // The name says text, the content is RTF: the type decides, not the name.
    QVERIFY(saveFile(doc, path("notes.txt")).ok);
    QVERIFY(readBytes(path("notes.txt")).startsWith("{\\rtf1"));
    const Result r = loadFile(loaded, path("notes.txt"));
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
    writeBytes(path("codes.tam"), bytes);
    QTextDocument doc;
    QVERIFY(loadFile(doc, path("codes.tam"), PlainTextFile).ok);
    QCOMPARE(doc.toRawText(), QString::fromLatin1(bytes).replace("\r\n", QChar(QChar::ParagraphSeparator)));
    QVERIFY(saveFile(doc, path("copy.tam"), PlainTextFile).ok);
    QCOMPARE(readBytes(path("copy.tam")), bytes);
    // Characters beyond eight bits cannot be stored as plain text.
    doc.setPlainText(QString::fromUtf16(u"a\u0B95b"));
    QVERIFY(saveFile(doc, path("wide.tam"), PlainTextFile).ok);
    QCOMPARE(readBytes(path("wide.tam")), QByteArray("a?b"));
}

void TestDocumentIo::plainText()
{
    const struct { QByteArray bytes; int type; QString paragraphs; } cases[] = {
        {"a\nb\n", PlainTextFile, "a|b|"}, {"a\r\nb\r\n\r\nc", PlainTextFile, "a|b||c"}, {"a\rb", PlainTextFile, "a|b"},
        {"", PlainTextFile, ""}, {"vanakkam {\\b not rtf}\n\xe9", RichTextFile, "vanakkam {\\b not rtf}|<e9>"}, // not RTF after all
    };
    for (const auto& c : cases) {
        writeBytes(path("lines.txt"), c.bytes);
        QTextDocument doc;
        makeFormatted(doc);
        QVERIFY(loadFile(doc, path("lines.txt"), c.type).ok);
        QCOMPARE(plainOf(doc), c.paragraphs);
        QVERIFY(!doc.firstBlock().charFormat().hasProperty(QTextFormat::FontWeight)); // nothing of the old format
    }
}

void TestDocumentIo::loadFailures()
{
    const struct { QString name; QByteArray content; int type; QString reason; } cases[] = { // content written unless empty
        {"gone.rtf", "", 0, "No such file"}, {".", "", 0, "folder"}, {"", "", 0, "no file name"},
        {"image.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0, "binary"}, {"image.png", QByteArray("ab\0cd", 5), 1, "binary"},
        {"deep.rtf", "{\\rtf1" + QByteArray(5000, '{'), 0, "nested"}, {"x.rtf", "{\\rtf1 x}", 7, "unknown file type"},
        {"secret.rtf", "{\\rtf1 x}", 0, "Permission denied"},
    };
    for (const auto& c : cases) {
        const QString file = c.name.isEmpty() ? QString() : path(c.name);
        if (!c.content.isEmpty())
            writeBytes(file, c.content);
        if (c.name == "secret.rtf") {
            if (::geteuid() == 0)
                continue; // root reads any file
            QFile::setPermissions(file, {});
        }
        QTextDocument doc;
        doc.setPlainText(unchanged);
        const Result r = loadFile(doc, file, c.type);
        QVERIFY2(!r.ok && r.error.contains(c.reason) && r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
        QCOMPARE(doc.toPlainText(), unchanged);
    }
}

// Replacing a file through a new one, its mode and the system's reasons are
// the safe writer's own tests; here the document tells which file failed.
void TestDocumentIo::saveFailuresKeepThePreviousFile()
{
    QVERIFY(QDir(dir_->path()).mkdir("locked"));
    writeBytes(path("locked/letter.rtf"), "previous");
    writeBytes(path("regular"), "previous");
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    QTextDocument doc;
    makeFormatted(doc);
    // Root writes into read-only folders.
    for (const char* name : {"regular/inside.rtf", ::geteuid() ? "locked/letter.rtf" : "regular/inside.rtf"}) {
        const Result r = saveFile(doc, path(name));
        QVERIFY2(!r.ok && r.error.contains(QDir::toNativeSeparators(path(name))), qPrintable(name + (": " + r.error)));
    }
    QCOMPARE(readBytes(path("locked/letter.rtf")) + readBytes(path("regular")), "previousprevious");
    QCOMPARE(folderEntries(dir_->path()) + folderEntries(path("locked")), QStringList({"locked", "regular", "letter.rtf"}));
}

void TestDocumentIo::selectionAndWholeTextAsRtf()
{
    // Plain text is inserted as it is, replacing the selection.
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("<fk>"));
    QTextCursor at(&doc);
    at.setPosition(1, QTextCursor::KeepAnchor);
    QVERIFY(setSelRtf(at, QStringLiteral("plain {\\b}")).ok);
    QCOMPARE(doc.toPlainText(), QStringLiteral("plain {\\b}fk>"));
    // An empty selection gives a document with nothing in it.
    QVERIFY(setTextRtf(doc, selRtf(QTextCursor(&doc))).ok);
    QVERIFY(doc.isEmpty());
    QVERIFY(setTextRtf(doc, QStringLiteral("just text")).ok);
    QVERIFY(!setTextRtf(doc, QStringLiteral("{\\rtf1") + QString(2000, u'{')).ok);
    QCOMPARE(doc.toPlainText(), QStringLiteral("just text"));
}

void TestDocumentIo::progressIsReported()
{
    QTextDocument doc, loaded;
    doc.setPlainText(QStringLiteral("f;fk tdf;fk kh\n").repeated(20000));
    QList<double> saving, loading;
    QVERIFY(saveFile(doc, path("big.rtf"), RichTextFile, [&](double f) { return saving << f, true; }).ok);
    QVERIFY(loadFile(loaded, path("big.rtf"), RichTextFile, [&](double f) { return loading << f, true; }).ok);
    QCOMPARE(loaded.toPlainText(), doc.toPlainText());
    for (const auto* seen : {&saving, &loading})
        QVERIFY(seen->size() > 3 && std::is_sorted(seen->begin(), seen->end()) && seen->first() >= 0 && seen->last() <= 1);
    // A load cancelled while reading changes nothing; one cancelled while
    // building stops there too.
    loaded.setPlainText(unchanged);
    int calls = 0;
    QVERIFY(!loadFile(loaded, path("big.rtf"), RichTextFile, [&](double) { return ++calls < 3; }).ok);
    QCOMPARE(calls, 3);
    QCOMPARE(loaded.toPlainText(), unchanged);
    const Result late = loadFile(loaded, path("big.rtf"), RichTextFile, [](double f) { return f < 0.35; });
    QVERIFY2(!late.ok && late.error.contains("cancelled"), qPrintable(late.error));
}

QTEST_GUILESS_MAIN(TestDocumentIo)
#include "test_document_io.moc"
