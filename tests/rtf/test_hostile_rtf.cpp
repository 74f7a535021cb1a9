// Files built to stall or exhaust the reader load in time proportional to
// their size and in bounded memory; what the reader leaves out is told.
#include "rtf/reader.h"
#include "rtf/rich_text.h"
#include "rtf/rtf.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <unistd.h>

using namespace tk::rtf;

namespace {

QByteArray manyFonts(int count)
{
    QByteArray table = "{\\rtf1\\ansi{\\fonttbl";
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        table += "{\\f" + QByteArray::number(i) + " Font number " + QByteArray::number(i) + ";}";
        body += "{\\f" + QByteArray::number(i) + " x}";
    }
    return table + "}" + body + "}";
}

QByteArray manyCodePages(int count)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl";
    for (int i = 0; i < count / 2; ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\cpg" + QByteArray::number(100000 + i) + " F\\'e9;}";
    rtf += "}";
    for (int i = 0; i < count / 2; ++i)
        rtf += "\\ansicpg" + QByteArray::number(300000 + i) + " \\'e9";
    return rtf + "}";
}

// Other shapes a hostile file may take, each about size bytes.
QByteArray shaped(const QByteArray& kind, int size)
{
    QByteArray body;
    if (kind == "paragraphs")
        body = QByteArray("a\\par ").repeated(size / 6);
    else if (kind == "sizes")
        for (int i = 0; body.size() < size; ++i)
            body += "\\fs" + QByteArray::number(i % 3000 + 1) + " a";
    else if (kind == "colours") {
        body = "{\\colortbl" + QByteArray("\\red1\\green2\\blue3;").repeated(size / 40) + "}";
        for (int i = 0; body.size() < size * 2; ++i)
            body += "\\cf" + QByteArray::number(i % 50000) + " a";
    } else if (kind == "groups")
        body = QByteArray("{\\b a}").repeated(size / 6);
    else if (kind == "unicode")
        body = QByteArray("\\uc5\\u2965?????").repeated(size / 15);
    else if (kind == "one long font name")
        body = "{\\fonttbl{\\f0 " + QByteArray(size, 'n') + ";}}\\f0 a";
    return "{\\rtf1\\ansi " + body + "}";
}

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
    void manyFontsLoadQuickly();
    void manyCodePagesKeepNoMemory();
    void otherShapes_data();
    void otherShapes();
    void droppedContentIsCounted_data();
    void droppedContentIsCounted();
    void cancelledLoadLeavesTheDocument();
};

// The limits below are many times what the loads take; they are here to
// catch a return of the quadratic loads (minutes), not to time anything.
constexpr qint64 generousMs = 20000;

void TestHostileRtf::manyFontsLoadQuickly()
{
    const QByteArray rtf = manyFonts(40000);
    QTextDocument doc;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(rtfToDocument(rtf, doc));
    QVERIFY2(clock.elapsed() < generousMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(doc.characterCount() - 1, 40000);
    QCOMPARE(doc.firstBlock().begin().fragment().charFormat().fontFamilies().toStringList(), QStringList{"Font number 0"});
}

void TestHostileRtf::manyCodePagesKeepNoMemory()
{
    const QByteArray rtf = manyCodePages(200000);
    const qint64 before = residentBytes();
    {
        QTextDocument doc;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(rtfToDocument(rtf, doc));
        QVERIFY2(clock.elapsed() < generousMs, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(doc.toPlainText().startsWith(QString(QChar(0xE9))));
    }
    // Each number cost about a kilobyte, kept for the rest of the run.
    const qint64 grown = residentBytes() - before;
    QVERIFY2(grown < (64 << 20), qPrintable(QStringLiteral("grew by %1 MB").arg(grown >> 20)));
}

void TestHostileRtf::otherShapes_data()
{
    QTest::addColumn<QByteArray>("kind");
    for (const char* kind : {"paragraphs", "sizes", "colours", "groups", "unicode", "one long font name"})
        QTest::newRow(kind) << QByteArray(kind);
}

void TestHostileRtf::otherShapes()
{
    QFETCH(QByteArray, kind);
    const QByteArray rtf = shaped(kind, 2 << 20);
    QTextDocument doc;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(rtfToDocument(rtf, doc));
    QVERIFY2(clock.elapsed() < generousMs, qPrintable(QString::number(clock.elapsed())));
}

void TestHostileRtf::droppedContentIsCounted_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<int>("objects");
    QTest::addColumn<int>("tables");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("text");

    QTest::newRow("nothing") << QByteArray("abc") << 0 << 0 << 0 << "" << "abc";
    QTest::newRow("one picture") << QByteArray("a{\\pict\\pngblip 89504e47}b") << 1 << 0 << 0
                                 << "holds 1 picture that Tamil Kalvem cannot show. It is left out" << "ab";
    QTest::newRow("picture with its fallback, counted once")
        << QByteArray("a{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}b") << 1 << 0 << 0
        << "1 picture" << "ab";
    QTest::newRow("object with its result")
        << QByteArray("{\\object\\objemb{\\*\\objclass Excel}{\\*\\objdata 01}{\\result{\\pict 00}}}x") << 0 << 1 << 0
        << "1 embedded object" << "x";
    QTest::newRow("drawing") << QByteArray("{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}}}x") << 0 << 1 << 0
                             << "1 embedded object" << "x";
    QTest::newRow("one table of two rows, text kept")
        << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
                      "\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell d\\cell\\row\\pard after\\par")
        << 0 << 0 << 1 << "1 table that Tamil Kalvem cannot show (the text of a table is kept"
        << "a\tb\t\u2029c\td\t\u2029after\u2029";
    QTest::newRow("two tables and pictures")
        << QByteArray("\\trowd\\pard\\intbl a\\cell\\row\\pard x\\par\\trowd\\pard\\intbl b\\cell\\row"
                      "{\\pict 00}{\\pict 00}")
        << 2 << 0 << 2 << "holds 2 pictures and 2 tables that Tamil Kalvem cannot show" << "a\t\u2029x\u2029b\t\u2029";
}

void TestHostileRtf::droppedContentIsCounted()
{
    QFETCH(QByteArray, body);
    QFETCH(int, pictures);
    QFETCH(int, objects);
    QFETCH(int, tables);
    QFETCH(QString, notice);
    QFETCH(QString, text);
    const QByteArray rtf = "{\\rtf1\\ansi " + body + "}";
    RichText parsed;
    QVERIFY(parseRtf(rtf, parsed));
    QCOMPARE(parsed.dropped.pictures, pictures);
    QCOMPARE(parsed.dropped.objects, objects);
    QCOMPARE(parsed.dropped.tables, tables);
    QTextDocument doc;
    const Result r = rtfToDocument(rtf, doc);
    QVERIFY(r.ok);
    QVERIFY2(notice.isEmpty() ? r.notice.isEmpty() : r.notice.contains(notice), qPrintable(r.notice));
    if (!notice.isEmpty())
        QVERIFY(r.notice.contains("saving the document will drop"));
    QCOMPARE(doc.toRawText(), text);
}

void TestHostileRtf::cancelledLoadLeavesTheDocument()
{
    const QByteArray rtf = manyFonts(20000);
    QTextDocument doc;
    doc.setPlainText("kept");
    int calls = 0;
    const Result r = rtfToDocument(rtf, doc, [&](double) { return ++calls < 3; });
    QVERIFY(!r.ok);
    QCOMPARE(doc.toPlainText(), QString("kept"));
}

QTEST_MAIN(TestHostileRtf)
#include "test_hostile_rtf.moc"
