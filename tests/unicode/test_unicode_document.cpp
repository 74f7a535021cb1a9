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
        for (const QString& flag : parts[1].split(u' ', Qt::SkipEmptyParts)) {
            s.bold |= flag == "b";
            s.italic |= flag == "i";
            s.underline |= flag == "u";
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
    for (const rtf::Paragraph& p : text.paragraphs)
        for (const rtf::Run& r : p.runs)
            out += QStringLiteral("[%1]%2").arg(describeStyle(text.styles[size_t(r.style)]), r.text);
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
    void runsConverted()
    {
        const QString amma = codes("அம்மா"), appa = codes("அப்பா");
        // The runs, the runs they become, the letters left without a code (-1: codes to Unicode).
        const std::tuple<QStringList, QString, int> rows[] = {
            // Blanks between Tamil words stay Tamil; formatting is kept.
            {{"Liberation Serif|b 14|அம்மா அப்பா and Amma"},
             QString("[Kolvani 14 b]%1 %2[Liberation Serif 14 b] and Amma").arg(amma, appa), 0},
            {{"Arial|i u #ff0000 20|x அம்மா."},
             QString("[Arial 20 i u #ff0000]x [Kolvani 20 i u #ff0000]%1[Arial 20 i u #ff0000].").arg(amma), 0},
            // Latin in a Tamil Unicode font gets a Latin font; a display font keeps its codes and its family.
            {{"Latha||OK அம்மா"}, "[Noto Sans 12]OK [Kolvani 12]" + amma, 0}, {{"Nelpari||f;அம்மா"}, "[Nelpari 12]f;" + amma, 0},
            {{"||abc"}, "[ 12]abc", 0}, // no family counts as the display default
            {{"Arial||அ௧ம ஶ"}, QString("[Kolvani 12]%1[Arial 12]௧[Kolvani 12]%2 [Arial 12]ஶ").arg(codes("அ"), codes("ம")), 2},
            {{"Arial||அம்", "Latha||மா"}, "[Kolvani 12]" + amma, 0}, // neighbouring runs merge after conversion
            {{"Kolvani|b|mk;kh ", "Arial|i|amma"}, "[Noto Sans Tamil 12 b]அம்மா [Arial 12 i]amma", -1},
            // A letter split between two runs stays whole: nfh is கொ, the sign drawn before the consonant goes with it.
            {{"Kolvani|b|mn", "Kolvani||fh"}, "[Noto Sans Tamil 12 b]அ[Noto Sans Tamil 12]கொ", -1},
            {{"Kolvani|b|f", "Kolvani||;k"}, "[Noto Sans Tamil 12 b]க்[Noto Sans Tamil 12]ம", -1},
            {{"Kolvani||m\u2014m"}, "[Noto Sans Tamil 12]அ\u2014அ", -1}, // characters above the codes pass
        };
        for (const auto& [runs, expected, count] : rows) {
            rtf::RichText text = paragraphOf(runs);
            int unconverted = -1;
            bool holds = false;
            if (count < 0) {
                text = unicode::unicodeFromCodes(text);
            } else {
                unconverted = unicode::codesFromUnicode(text).unconverted;
                holds = unicode::holdsUnicodeTamil(text);
            }
            QCOMPARE(QString("%1 %2 %3").arg(runsOf(text)).arg(unconverted).arg(holds),
                     QString("%1 %2 %3").arg(expected).arg(count).arg(count > 0));
        }
    }

    // The text written out, and the page opened with a Latin default and its
    // Tamil turned back into codes, are the document again.
    void pageAndTextReadBackAsTheSameDocument()
    {
        QTextDocument doc, page;
        makeTyped(doc);
        QCOMPARE(unicode::unicodeText(doc), QStringLiteral("வணக்கம் Tamil & <friends>\nநன்றி"));
        page.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 14));
        page.setHtml(unicode::unicodeHtml(doc));
        const unicode::UnicodeIn count = unicode::convertToCodes(page);
        QVERIFY(count.unconverted == 0 && count.converted == 12);
        QCOMPARE(dumpDocument(page), dumpDocument(doc));
        QCOMPARE(unicode::convertToCodes(page).converted, 0); // nothing left to do
    }

    void selectionForms()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        doc.setPlainText(QStringLiteral("அம்மா and அப்பா"));
        QTextCursor c(&doc), none(&doc);
        c.setPosition(5);
        c.setPosition(doc.characterCount() - 1, QTextCursor::KeepAnchor);
        QCOMPARE(unicode::unicodeText(c), QStringLiteral(" and அப்பா"));
        QVERIFY(unicode::unicodeHtml(c).contains(QStringLiteral(" and அப்பா</span>")));
        QVERIFY(!unicode::unicodeHtml(c).contains(QStringLiteral("அம்மா")));
        QCOMPARE(unicode::convertToCodes(c).converted, 5);
        QCOMPARE(dumpDocument(doc), QStringList{QStringLiteral("left li0 fi0: [DejaVu Sans 12]%1 and  [Kolvani 12]%2")
                                                    .arg(describeText("அம்மா"), describeText(codes("அப்பா")))});
        QCOMPARE(c.selectedText(), " and " + codes("அப்பா"));
        doc.undo();
        QCOMPARE(doc.toPlainText(), QStringLiteral("அம்மா and அப்பா"));
        QVERIFY(unicode::convertToCodes(none).converted == 0 && unicode::unicodeText(none).isEmpty());
    }

    // The kind of file goes by its extension, in any case (the text itself is
    // checked against the converter's where the command is); a failed export
    // keeps the previous file.
    void exportWritesThePageOrNothing()
    {
        QTemporaryDir dir;
        QTextDocument doc;
        makeTyped(doc);
        const QString page = dir.filePath(QStringLiteral("out.HTML"));
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
};

QTEST_MAIN(TestUnicodeDocument)
#include "test_unicode_document.moc"
