// Opening Unicode Tamil: how a text file's encoding is recognised, and text,
// pages and RTF with Unicode Tamil loading as codes in "Kolvani" with the
// Latin left Latin and nothing dropped; also as another word processor
// writes and reads them.
#include "unicode_helpers.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "rtf/document_io.h"
#include "unicode/unicode_document.h"
#include "unicode/unicode_file.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace tk;

namespace {

QByteArray utf16(const QString& text, bool bigEndian, bool mark)
{
    QStringEncoder encode(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                          mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encode(text);
}

QString codes(const QString& unicode) { return describeText(QString::fromLatin1(fromUnicode(unicode))); }

const QString mixed = QStringLiteral("வணக்கம் Kavitha, நன்றி!");

} // namespace

class TestUnicodeFiles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void recognisesTheEncoding_data();
    void recognisesTheEncoding();
    void opensAsCodes_data();
    void opensAsCodes();
    void plainTextTypeStaysEightBit();
    void throughTheOtherWriterAndBack();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestUnicodeFiles::recognisesTheEncoding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    const int bytes = int(unicode::TextKind::Bytes), text = int(unicode::TextKind::Unicode),
              html = int(unicode::TextKind::Html);
    const QByteArray utf8 = mixed.toUtf8();
    QTest::newRow("UTF-8") << "a.txt" << utf8 << text << mixed;
    QTest::newRow("UTF-8 with mark") << "a.txt" << "\xEF\xBB\xBF" + utf8 << text << mixed;
    QTest::newRow("UTF-16 LE with mark") << "a.txt" << utf16(mixed, false, true) << text << mixed;
    QTest::newRow("UTF-16 BE with mark") << "a.txt" << utf16(mixed, true, true) << text << mixed;
    QTest::newRow("UTF-16 LE without mark") << "a.txt" << utf16(mixed, false, false) << text << mixed;
    QTest::newRow("UTF-16 BE without mark") << "a.txt" << utf16(mixed, true, false) << text << mixed;
    QTest::newRow("ASCII codes") << "a.txt" << QByteArray("mk;kh vd;wha") << bytes << QString();
    QTest::newRow("Latin-1 text") << "a.txt" << QByteArray("caf\xe9 cr\xe8me") << bytes << QString();
    QTest::newRow("binary") << "a.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << bytes << QString();
    QTest::newRow("page by name") << "a.HTM" << QByteArray("<p>x</p>") << html << "<p>x</p>";
    QTest::newRow("page by content") << "a.txt" << QByteArray("\n <!DOCTYPE html><p>x") << html << "\n <!DOCTYPE html><p>x";
    QTest::newRow("page in its declared encoding")
        << "a.html" << QByteArray("<html><meta charset=\"iso-8859-1\">caf\xe9") << html
        << QString::fromLatin1("<html><meta charset=\"iso-8859-1\">caf\xe9");
    QTest::newRow("page in UTF-16") << "a.html" << utf16(QStringLiteral("<html>தமிழ்"), false, true) << html
                                    << QStringLiteral("<html>தமிழ்");
}

void TestUnicodeFiles::recognisesTheEncoding()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, kind);
    QFETCH(QString, text);
    const unicode::DecodedText decoded = unicode::decodeText(data, name);
    QCOMPARE(int(decoded.kind), kind);
    QCOMPARE(decoded.text, text);
}

void TestUnicodeFiles::opensAsCodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("back"); // the text that Export gives back
    QTest::addColumn<QString>("notice");
    const QString latin = QStringLiteral("[Noto Sans 14.25]");
    QTest::newRow("UTF-8 text, two lines")
        << "letter.txt" << (mixed + QStringLiteral("\r\nஅம்மா")).toUtf8()
        << QStringList{QStringLiteral("left li0 fi0: [Kolvani 14.25]%1 %2 Kavitha,  [Kolvani 14.25]%3 %2!")
                           .arg(codes(QStringLiteral("வணக்கம்")), latin, codes(QStringLiteral("நன்றி"))),
                       QStringLiteral("left li0 fi0: [Kolvani 14.25]%1").arg(codes(QStringLiteral("அம்மா")))}
        << mixed + QStringLiteral("\r\nஅம்மா") << "";
    QTest::newRow("page with bold Tamil")
        << "page.html"
        << QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
                          "<p style=\"text-align:center\"><b style=\"font-family:Latha;color:#0000ff\">அம்மா</b> is <i>mother</i></p>"
                          "</body></html>")
               .toUtf8()
        << QStringList{QStringLiteral("centre li0 fi0: [Kolvani 14.25 b #0000ff]%1 [Noto Sans 14.25] is  [Noto Sans 14.25 i]mother")
                           .arg(codes(QStringLiteral("அம்மா")))}
        << QStringLiteral("அம்மா is mother") << "";
    // As LibreOffice writes Tamil: \uN with a "?" fallback, in a Unicode font.
    QTest::newRow("RTF with Unicode Tamil")
        << "writer.rtf"
        << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Liberation Serif;}{\\f1\\fnil Noto Sans Tamil;}}"
                      "\\pard\\plain\\f0\\fs24 Dear {\\f1\\b\\u2949?\\u2990?\\u3021?\\u2990?\\u3006?} and "
                      "{\\f1\\i\\u2949?\\u2986?\\u3021?\\u2986?\\u3006?}}")
        << QStringList{QStringLiteral("left li0 fi0: [Liberation Serif 12]Dear  [Kolvani 12 b]%1 [Liberation Serif 12] and  [Kolvani 12 i]%2")
                           .arg(codes(QStringLiteral("அம்மா")), codes(QStringLiteral("அப்பா")))}
        << QStringLiteral("Dear அம்மா and அப்பா") << "";
    // Letters without a code stay as they are, and the user is told.
    QTest::newRow("characters without a code") << "digits.txt" << QStringLiteral("௧௨ அம்மா ஶ").toUtf8()
        << QStringList{QStringLiteral("left li0 fi0: [Noto Sans 14.25]<be7><be8> [Kolvani 14.25] %1  [Noto Sans 14.25]<bb6>")
                           .arg(codes(QStringLiteral("அம்மா")))}
        << QStringLiteral("௧௨ அம்மா ஶ")
        << "3 characters in \"%1\" have no Tamil font code and were kept as they are.";
}

void TestUnicodeFiles::opensAsCodes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QStringList, expected);
    QFETCH(QString, back);
    QFETCH(QString, notice);
    writeBytes(path(name), data);
    QTextDocument doc;
    QFont kolvani(QStringLiteral("Kolvani"));
    kolvani.setPointSizeF(14.25);
    doc.setDefaultFont(kolvani);
    const rtf::Result r = document::loadFile(doc, path(name));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.notice, notice.arg(path(name)));
    QCOMPARE(dumpDocument(doc), expected);
    QCOMPARE(unicode::unicodeText(doc, u"\r\n"), back);
}

void TestUnicodeFiles::plainTextTypeStaysEightBit()
{
    // The plain text file type reads every byte as one character, whatever
    // the bytes would mean as UTF-8.
    writeBytes(path("codes.txt"), QStringLiteral("அ").toUtf8());
    QTextDocument doc;
    QVERIFY(document::loadFile(doc, path("codes.txt"), document::PlainTextFile).ok);
    QCOMPARE(doc.toPlainText(), QString::fromLatin1(QStringLiteral("அ").toUtf8()));
}

// Unicode Tamil to and from another word processor (LibreOffice, run
// headless): its RTF opens as codes in "Kolvani" with the Latin left Latin,
// and the page we export opens there as the same Unicode text.
void TestUnicodeFiles::throughTheOtherWriterAndBack()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QTemporaryDir& dir = *dir_;
    // Converts a file in the other writer; the path of what it wrote.
    auto convert = [&](const QString& file, const QString& to, const QStringList& filter) {
        QProcess p;
        p.start(soffice, QStringList{"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless"} + filter
                             + QStringList{"--convert-to", to, "--outdir", dir.filePath("out"), file});
        if (!p.waitForFinished(120000))
            qFatal("soffice did not finish");
        return dir.filePath("out/" + QFileInfo(file).completeBaseName() + u'.' + to.section(u':', 0, 0));
    };
    const QString text = QStringLiteral("வணக்கம் Kavitha, நன்றி!\nஅம்மா and அப்பா கொடு\n");
    writeBytes(dir.filePath("letter.txt"), text.toUtf8());
    const QString rtf = convert(dir.filePath("letter.txt"), "rtf", {"--infilter=Text (encoded):UTF8"});
    QVERIFY2(readBytes(rtf).contains("\\u2949"), readBytes(rtf).left(200).constData());

    QTextDocument doc;
    QFont kolvani(QStringLiteral("Kolvani"));
    kolvani.setPointSizeF(14.25);
    doc.setDefaultFont(kolvani);
    const rtf::Result r = document::loadFile(doc, rtf);
    QVERIFY2(r.ok && r.notice.isEmpty(), qPrintable(r.error + r.notice));
    // Tamil as codes in Kolvani, Latin in the writer's own font.
    QStringList runs;
    for (const QString& line : dumpDocument(doc))
        runs << line.section(u':', 1).split(u'[', Qt::SkipEmptyParts);
    const QString vanakkam = describeText(QString::fromLatin1(fromUnicode(QStringLiteral("வணக்கம்"))));
    QVERIFY2(runs.filter("Kolvani").filter(vanakkam).size() == 1, qPrintable(runs.join(u'|')));
    QVERIFY2(runs.filter("and").size() == 1 && runs.filter("and").first().startsWith("DejaVu"), qPrintable(runs.join(u'|')));
    QVERIFY2(runs.filter("<b").isEmpty(), qPrintable(runs.join(u'|'))); // no Unicode Tamil left
    QCOMPARE(unicode::unicodeText(doc), text);

    // Our page, read there as text, is the same Unicode text.
    const QString page = dir.filePath("page.html");
    QVERIFY(unicode::exportUnicode(doc, page, unicode::ExportFormat::Html).ok);
    QString back = QString::fromUtf8(readBytes(convert(page, "txt:Text (encoded):UTF8,LF", {})));
    if (back.startsWith(QChar(0xFEFF)))
        back.remove(0, 1);
    QCOMPARE(back.trimmed(), text.trimmed());
}

QTEST_MAIN(TestUnicodeFiles)
#include "test_unicode_files.moc"
