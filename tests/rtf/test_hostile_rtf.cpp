// Files built to stall or exhaust the reader: they load whole, with every
// run read, in bounded memory (a return of the quadratic loads runs into the
// test's time limit); what the reader leaves out is told.
#include "rtf/reader.h"
#include "rtf/rtf.h"

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <unistd.h>

using namespace tk::rtf;

namespace {

qint64 residentBytes()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

} // namespace

class TestHostileRtf : public QObject {
    Q_OBJECT
private slots:
    void stallingInput_data();
    void stallingInput();
    void droppedContentIsTold();
};

void TestHostileRtf::stallingInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("unit");   // a piece of the text
    QTest::addColumn<int>("count");      // how often the whole document holds it
    QTest::addColumn<QString>("family"); // of the first run, if it matters
    constexpr int size = 2 << 20;
    QByteArray fonts = "{\\fonttbl", body, pages = "{\\fonttbl", pageText, sizes, colours;
    for (int i = 0; i < 40000; ++i) {
        fonts += "{\\f" + QByteArray::number(i) + " Font number " + QByteArray::number(i) + ";}";
        body += "{\\f" + QByteArray::number(i) + " x}";
    }
    QTest::newRow("many fonts") << fonts + "}" + body << "x" << 40000 << "Font number 0";
    // Each code page number once cost about a kilobyte, kept for the rest of the run.
    for (int i = 0; i < 100000; ++i) {
        pages += "{\\f" + QByteArray::number(i) + "\\cpg" + QByteArray::number(100000 + i) + " F\\'e9;}";
        pageText += "\\ansicpg" + QByteArray::number(300000 + i) + " \\'e9";
    }
    QTest::newRow("many code pages") << pages + "}" + pageText << "\u00e9" << 100000 << "";
    QTest::newRow("paragraphs") << QByteArray("a\\par ").repeated(size / 6) << "a" << size / 6 << "";
    int runs;
    for (runs = 0; sizes.size() < size; ++runs)
        sizes += "\\fs" + QByteArray::number(runs % 3000 + 1) + " a";
    QTest::newRow("sizes") << sizes << "a" << runs << "";
    colours = "{\\colortbl" + QByteArray("\\red1\\green2\\blue3;").repeated(size / 40) + "}";
    for (runs = 0; colours.size() < size * 2; ++runs)
        colours += "\\cf" + QByteArray::number(runs % 50000) + " a";
    QTest::newRow("colours") << colours << "a" << runs << "";
    QTest::newRow("groups") << QByteArray("{\\b a}").repeated(size / 6) << "a" << size / 6 << "";
    QTest::newRow("unicode") << QByteArray("\\uc5\\u2965?????").repeated(size / 15) << "\u0b95" << size / 15 << "";
    QTest::newRow("one long font name") << "{\\fonttbl{\\f0 " + QByteArray(size, 'n') + ";}}\\f0 a" << "a" << 1 << "";
}

void TestHostileRtf::stallingInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, unit);
    QFETCH(int, count);
    QFETCH(QString, family);
    const qint64 before = residentBytes();
    {
        QTextDocument doc;
        QVERIFY(rtfToDocument("{\\rtf1\\ansi " + rtf + "}", doc).ok);
        QCOMPARE(doc.toPlainText().count(unit), count);
        if (!family.isEmpty())
            QCOMPARE(doc.firstBlock().begin().fragment().charFormat().fontFamilies().toStringList(), QStringList{family});
    }
    const qint64 grown = residentBytes() - before;
    QVERIFY2(grown < (96 << 20), qPrintable(QStringLiteral("kept %1 MB").arg(grown >> 20)));
}

void TestHostileRtf::droppedContentIsTold()
{
    const struct { QByteArray body; QString notice, text; } cases[] = {
        {"abc", "", "abc"},
        {"a{\\pict\\pngblip 89504e47}b", "holds 1 picture that Tamil Kalvem cannot show. It is left out", "ab"},
        // A picture with its fallback counts once.
        {"a{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}b", "holds 1 picture ", "ab"},
        {"{\\object\\objemb{\\*\\objclass Excel}{\\*\\objdata 01}{\\result{\\pict 00}}}x", "holds 1 embedded object ", "x"},
        {"{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}}}x", "holds 1 embedded object ", "x"},
        {"\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell d\\cell\\row"
         "\\pard after\\par", "holds 1 table that Tamil Kalvem cannot show (the text of a table is kept", "a\tb\t\u2029c\td\t\u2029after\u2029"},
        {"\\trowd\\pard\\intbl a\\cell\\row\\pard x\\par\\trowd\\pard\\intbl b\\cell\\row{\\pict 00}{\\pict 00}",
         "holds 2 pictures and 2 tables that Tamil Kalvem cannot show", "a\t\u2029x\u2029b\t\u2029"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        const Result r = rtfToDocument("{\\rtf1\\ansi " + c.body + "}", doc);
        QVERIFY(r.ok);
        QVERIFY2(c.notice.isEmpty() ? r.notice.isEmpty() : r.notice.contains(c.notice) && r.notice.contains("saving the document will drop"),
                 qPrintable(r.notice));
        QCOMPARE(doc.toRawText(), c.text);
    }
}

QTEST_MAIN(TestHostileRtf)
#include "test_hostile_rtf.moc"
