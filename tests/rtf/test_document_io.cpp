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
    void plainLineEnds_data();
    void plainLineEnds();
    void textFileUnderRichTextLoadsAsPlain();
    void loadFailures_data();
    void loadFailures();
    void saveFailuresKeepThePreviousFile_data();
    void saveFailuresKeepThePreviousFile();
    void saveIntoReadOnlyFolder();
    void saveReplacesAndKeepsPermissions();
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

void TestDocumentIo::plainLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("paragraphs");
    QTest::newRow("LF") << QByteArray("a\nb\n") << "a|b|";
    QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n\r\nc") << "a|b||c";
    QTest::newRow("CR") << QByteArray("a\rb") << "a|b";
    QTest::newRow("empty") << QByteArray() << "";
}

void TestDocumentIo::plainLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, paragraphs);
    writeBytes(path("lines.txt"), bytes);
    QTextDocument doc;
    QVERIFY(loadFile(doc, path("lines.txt"), PlainTextFile).ok);
    QCOMPARE(plainOf(doc), paragraphs);
}

void TestDocumentIo::textFileUnderRichTextLoadsAsPlain()
{
    writeBytes(path("plain.txt"), "vanakkam {\\b not rtf}\n\xe9");
    QTextDocument doc;
    makeFormatted(doc);
    QVERIFY(loadFile(doc, path("plain.txt")).ok);
    QCOMPARE(plainOf(doc), QStringLiteral("vanakkam {\\b not rtf}|<e9>"));
    QVERIFY(!doc.firstBlock().charFormat().hasProperty(QTextFormat::FontWeight));
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
    QTextDocument doc;
    doc.setPlainText(unchanged);
    const Result r = loadFile(doc, file, type);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(reason) && r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
    QCOMPARE(doc.toPlainText(), unchanged);
}

void TestDocumentIo::saveFailuresKeepThePreviousFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder of the target is a file") << "regular/inside.rtf";
    QTest::newRow("folder of the target is missing") << "missing/inside.rtf";
}

void TestDocumentIo::saveFailuresKeepThePreviousFile()
{
    // These fail for root too.
    QFETCH(QString, name);
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("folder")));
    writeBytes(path("folder/kept.txt"), "kept");
    writeBytes(path("regular"), "previous");
    QTextDocument doc;
    makeFormatted(doc);
    const QString file = dir_->filePath(name);
    const Result r = saveFile(doc, file);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
    QCOMPARE(readBytes(path("folder/kept.txt")), QByteArray("kept"));
    QCOMPARE(readBytes(path("regular")), QByteArray("previous"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 2);
}

void TestDocumentIo::saveIntoReadOnlyFolder()
{
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("locked")));
    const QString file = path("locked/letter.rtf");
    writeBytes(file, "previous");
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });

    // Unreadable files fail to load, whoever may read them.
    QFile::setPermissions(file, {});
    QTextDocument doc;
    doc.setPlainText(unchanged);
    const bool root = ::geteuid() == 0;
    if (!root) {
        const Result r = loadFile(doc, file);
        QVERIFY(!r.ok && r.error.contains(QDir::toNativeSeparators(file)));
        QCOMPARE(doc.toPlainText(), unchanged);
    }
    QFile::setPermissions(file, QFile::ReadOwner);
    if (root)
        QSKIP("root writes into read-only folders; the failures above cover a save that cannot happen");
    const Result r = saveFile(doc, file);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QDir::toNativeSeparators(file)), qPrintable(r.error));
    QCOMPARE(readBytes(file), QByteArray("previous"));
    QCOMPARE(QDir(path("locked")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"letter.rtf"});
}

void TestDocumentIo::saveReplacesAndKeepsPermissions()
{
    const QString file = path("letter.rtf");
    writeBytes(file, QByteArray(100000, 'x'));
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(file, mode);
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("short"));
    QVERIFY(saveFile(doc, file).ok);
    const QByteArray saved = readBytes(file);
    QVERIFY(saved.startsWith("{\\rtf1") && saved.endsWith("}\n") && saved.contains("short"));
    QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser), mode & ~(QFile::ReadUser | QFile::WriteUser));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"letter.rtf"});
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
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("f;fk tdf;fk kh\n");
    doc.setPlainText(text);
    QList<double> saving, loading;
    QVERIFY(saveFile(doc, path("big.rtf"), RichTextFile, [&](double f) { return saving << f, true; }).ok);
    QTextDocument loaded;
    QVERIFY(loadFile(loaded, path("big.rtf"), RichTextFile, [&](double f) { return loading << f, true; }).ok);
    QCOMPARE(loaded.toPlainText(), doc.toPlainText());
    for (const auto* seen : {&saving, &loading}) {
        QVERIFY(seen->size() > 3);
        QVERIFY(std::is_sorted(seen->begin(), seen->end()));
        QVERIFY(seen->first() >= 0 && seen->last() <= 1);
    }
}

QTEST_GUILESS_MAIN(TestDocumentIo)
#include "test_document_io.moc"
