// Unicode Tamil in and out of documents: runs converted both ways with their
// formatting, the page and the plain text, the selection, the export.
#include "unicode_helpers.h"
#include "../rtf/document_dump.h"
#include "../support/test_files.h"

#include "rtf/document_io.h"
#include "unicode/unicode_document.h"
#include "unicode/unicode_html.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <csignal>
#include <sys/resource.h>

using namespace tk;

namespace {

// A run written as "family|flags|text", flags from b, i, u, #rrggbb and a
// size in points ("18").
rtf::RichText paragraphOf(const QStringList& runs)
{
    rtf::RichText text;
    rtf::Paragraph p;
    for (const QString& written : runs) {
        const QStringList parts = written.split(u'|');
        rtf::CharStyle s;
        s.family = parts[0];
        const QStringList flags = parts[1].split(u' ', Qt::SkipEmptyParts);
        s.bold = flags.contains("b");
        s.italic = flags.contains("i");
        s.underline = flags.contains("u");
        for (const QString& flag : flags) {
            if (flag.startsWith(u'#'))
                s.colour = QColor(flag).rgb();
            else if (flag[0].isDigit())
                s.size = flag.toInt() * 100;
        }
        text.styles.push_back(s);
        p.runs.push_back(rtf::Run{parts[2], int(text.styles.size() - 1)});
    }
    p.markStyle = 0;
    text.paragraphs.push_back(p);
    return text;
}

// Each run as "[style]text", the text as it stands (codes read as codes).
QString runsOf(const rtf::RichText& text)
{
    QString out;
    for (const rtf::Paragraph& p : text.paragraphs) {
        if (!out.isEmpty())
            out += u'/';
        for (const rtf::Run& r : p.runs)
            out += QStringLiteral("[%1]%2").arg(describeStyle(text.styles[size_t(r.style)]), r.text);
    }
    return out;
}

QString codes(const QString& unicode) { return QString::fromLatin1(fromUnicode(unicode)); }

// Codes in Kolvani with formatting, Latin between them, over two paragraphs:
// வணக்கம் in bold red, then நன்றி underlined in a centred paragraph.
void makeTyped(QTextDocument& doc)
{
    doc.setDefaultFont(QFont(QStringLiteral("Kolvani"), 14));
    QVERIFY(tk::document::setTextRtf(
        doc, QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Kolvani;}{\\f1 DejaVu Sans;}}{\\colortbl;\\red192\\green0\\blue0;}"
                            "\\f0\\fs28{\\b\\cf1 tzf;fk; }{\\f1\\i\\fs36 Tamil & <friends>}\\par\\pard\\qc\\li450\\fi-150"
                            "{\\ul ed;wp}}")));
}

} // namespace

class TestUnicodeDocument : public QObject {
    Q_OBJECT
private slots:
    void runsConverted_data();
    void runsConverted();
    void pageAndTextReadBackAsTheSameDocument();
    void selectionForms();
    void exportWritesThePageOrNothing();
};

void TestUnicodeDocument::runsConverted_data()
{
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("unconverted"); // -1: codes to Unicode
    const QString amma = codes(QStringLiteral("அம்மா")), appa = codes(QStringLiteral("அப்பா"));
    QTest::newRow("mixed, blanks between Tamil words stay Tamil")
        << QStringList{QStringLiteral("Liberation Serif|b 14|அம்மா அப்பா and Amma")}
        << QStringLiteral("[Kolvani 14 b]%1 %2[Liberation Serif 14 b] and Amma").arg(amma, appa) << 0;
    QTest::newRow("formatting kept") << QStringList{QStringLiteral("Arial|i u #ff0000 20|x அம்மா.")}
        << QStringLiteral("[Arial 20 i u #ff0000]x [Kolvani 20 i u #ff0000]%1[Arial 20 i u #ff0000].").arg(amma) << 0;
    QTest::newRow("Latin in a Tamil Unicode font gets a Latin font")
        << QStringList{QStringLiteral("Latha||OK அம்மா")} << QStringLiteral("[Noto Sans 12]OK [Kolvani 12]%1").arg(amma) << 0;
    QTest::newRow("display font keeps its codes and its family")
        << QStringList{QStringLiteral("Nelpari||f;அம்மா")} << QStringLiteral("[Nelpari 12]f;%1").arg(amma) << 0;
    QTest::newRow("no family counts as the display default")
        << QStringList{QStringLiteral("||abc")} << QStringLiteral("[ 12]abc") << 0;
    QTest::newRow("letters without a code are kept and counted") << QStringList{QStringLiteral("Arial||அ௧ம ஶ")}
        << QStringLiteral("[Kolvani 12]%1[Arial 12]௧[Kolvani 12]%2 [Arial 12]ஶ").arg(codes("அ"), codes("ம")) << 2;
    QTest::newRow("neighbouring runs merge after conversion")
        << QStringList{QStringLiteral("Arial||அம்"), QStringLiteral("Latha||மா")} << QStringLiteral("[Kolvani 12]%1").arg(amma) << 0;
    QTest::newRow("codes become Tamil, Latin stays")
        << QStringList{QStringLiteral("Kolvani|b|mk;kh "), QStringLiteral("Arial|i|amma")}
        << QStringLiteral("[Noto Sans Tamil 12 b]அம்மா [Arial 12 i]amma") << -1;
    // nfh is கொ: the sign drawn before the consonant goes with it.
    QTest::newRow("a letter split between two runs stays whole")
        << QStringList{QStringLiteral("Kolvani|b|mn"), QStringLiteral("Kolvani||fh")}
        << QStringLiteral("[Noto Sans Tamil 12 b]அ[Noto Sans Tamil 12]கொ") << -1;
    QTest::newRow("a sign after the boundary joins its consonant")
        << QStringList{QStringLiteral("Kolvani|b|f"), QStringLiteral("Kolvani||;k")}
        << QStringLiteral("[Noto Sans Tamil 12 b]க்[Noto Sans Tamil 12]ம") << -1;
    QTest::newRow("characters above the codes pass")
        << QStringList{QStringLiteral("Kolvani||m\u2014m")} << QStringLiteral("[Noto Sans Tamil 12]அ\u2014அ") << -1;
}

void TestUnicodeDocument::runsConverted()
{
    QFETCH(QStringList, runs);
    QFETCH(QString, expected);
    QFETCH(int, unconverted);
    rtf::RichText text = paragraphOf(runs);
    if (unconverted < 0) {
        text = unicode::unicodeFromCodes(text);
    } else {
        QCOMPARE(unicode::codesFromUnicode(text).unconverted, unconverted);
        QCOMPARE(unicode::holdsUnicodeTamil(text), unconverted > 0);
    }
    QCOMPARE(runsOf(text), expected);
}

// The text written out, and the page opened with a Latin default and its
// Tamil turned back into codes, are the document again.
void TestUnicodeDocument::pageAndTextReadBackAsTheSameDocument()
{
    QTextDocument doc;
    makeTyped(doc);
    QCOMPARE(unicode::unicodeText(doc), QStringLiteral("வணக்கம் Tamil & <friends>\nநன்றி"));
    QCOMPARE(unicode::unicodeText(doc, u"\r\n"), QStringLiteral("வணக்கம் Tamil & <friends>\r\nநன்றி"));
    const QString html = unicode::unicodeHtml(doc);
    QVERIFY(html.contains(QStringLiteral("font-family:'Noto Sans Tamil',")));
    QTextDocument page;
    page.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    page.setHtml(html);
    const unicode::UnicodeIn count = unicode::convertToCodes(page);
    QCOMPARE(count.unconverted, 0);
    QCOMPARE(count.converted, 12);
    QCOMPARE(dumpDocument(page), dumpDocument(doc));
    QCOMPARE(unicode::convertToCodes(page).converted, 0); // nothing left to do
}

void TestUnicodeDocument::selectionForms()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    doc.setPlainText(QStringLiteral("அம்மா and அப்பா"));
    QTextCursor c(&doc);
    c.setPosition(5);
    c.setPosition(doc.characterCount() - 1, QTextCursor::KeepAnchor);
    QCOMPARE(unicode::unicodeText(c), QStringLiteral(" and அப்பா"));
    QVERIFY(unicode::unicodeHtml(c).contains(QStringLiteral(" and அப்பா</span>")));
    QVERIFY(!unicode::unicodeHtml(c).contains(QStringLiteral("அம்மா")));

    const unicode::UnicodeIn count = unicode::convertToCodes(c);
    QCOMPARE(count.converted, 5);
    QCOMPARE(dumpDocument(doc), QStringList{QStringLiteral("left li0 fi0: [DejaVu Sans 12]%1 and  [Kolvani 12]%2")
                                                .arg(describeText(QStringLiteral("அம்மா")),
                                                     describeText(codes(QStringLiteral("அப்பா"))))});
    QCOMPARE(c.selectedText(), QStringLiteral(" and ") + codes(QStringLiteral("அப்பா")));
    doc.undo();
    QCOMPARE(doc.toPlainText(), QStringLiteral("அம்மா and அப்பா"));
    QTextCursor none(&doc);
    QCOMPARE(unicode::convertToCodes(none).converted, 0);
    QCOMPARE(unicode::unicodeText(none), QString());
}

// The kind of file goes by its extension, in any case (the text itself is
// checked against the converter's where the command is); a failed export
// keeps the previous file.
void TestUnicodeDocument::exportWritesThePageOrNothing()
{
    QTemporaryDir dir;
    QTextDocument doc;
    makeTyped(doc);
    const QString page = dir.filePath(QStringLiteral("out.HTML"));
    QCOMPARE(unicode::exportFormatFor(dir.filePath(QStringLiteral("out.txt"))), unicode::ExportFormat::Text);
    QCOMPARE(unicode::exportFormatFor(page), unicode::ExportFormat::Html);
    QVERIFY(unicode::exportUnicode(doc, page, unicode::ExportFormat::Html).ok);
    const QByteArray previous = readBytes(page);
    QVERIFY(previous.startsWith("<!DOCTYPE html>"));

    // A file size limit makes the write fail for root too, as a full disk would.
    QTextCursor(&doc).insertText(QStringLiteral("more"));
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{100, old.rlim_max};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const rtf::Result r = unicode::exportUnicode(doc, page, unicode::ExportFormat::Html);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY2(!r.ok && r.error.contains(page), qPrintable(r.error));
    QCOMPARE(readBytes(page), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

QTEST_MAIN(TestUnicodeDocument)
#include "test_unicode_document.moc"
