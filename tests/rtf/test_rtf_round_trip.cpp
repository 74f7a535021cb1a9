// Documents written as RTF and read back must come back the same: the text,
// and the format of every run and paragraph.
#include "document_dump.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"
#include "rtf/units.h"

#include <QTest>
#include <QTextCursor>

using namespace tk::rtf;

namespace {

struct RunPlan {
    QString text, family;
    qreal size;
    bool bold = false, italic = false, underline = false;
    QColor colour = {};
};

struct ParagraphPlan {
    Qt::Alignment alignment;
    int leftTwips, firstTwips;
    QList<RunPlan> runs;
};

void build(QTextDocument& doc, const QList<ParagraphPlan>& paragraphs)
{
    doc.setDefaultFont(QFont(QStringLiteral("Kolvani"), 14));
    QTextCursor c(&doc);
    for (const ParagraphPlan& p : paragraphs) {
        QTextBlockFormat bf;
        bf.setAlignment(p.alignment);
        bf.setLeftMargin(twipsToPixels(p.leftTwips));
        bf.setTextIndent(twipsToPixels(p.firstTwips));
        &p == &paragraphs.first() ? c.setBlockFormat(bf) : c.insertBlock(bf);
        for (const RunPlan& r : p.runs) {
            QTextCharFormat f;
            if (!r.family.isEmpty())
                f.setFontFamilies({r.family});
            if (r.size > 0)
                f.setFontPointSize(r.size);
            f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(r.italic);
            f.setFontUnderline(r.underline);
            if (r.colour.isValid())
                f.setForeground(r.colour);
            c.insertText(r.text, f);
        }
    }
}

QList<ParagraphPlan> richSample()
{
    QString codes;
    for (char16_t c = 0x20; c <= 0xFF; ++c)
        codes += QChar(c);
    const QString tamil = QStringLiteral("Kolvani"), dejaVu = QStringLiteral("DejaVu Sans");
    return {
        {Qt::AlignLeft, 0, 0, {{codes, tamil, 14.25}}},
        {Qt::AlignRight, 0, 0,
         {{"f;fk", tamil, 14.25, true}, {"tdf", tamil, 14.25, false, true}, {QStringLiteral("kh\xe9\xf0"), "Udavan", 20, true, true, true, Qt::red}}},
        {Qt::AlignHCenter, 720, 0,
         {{"centre ", dejaVu, 10.5, false, false, true, QColor(0, 128, 255)},
          {"{braces} \\back\\ slash\ttab", dejaVu, 8, false, false, false, QColor(1, 2, 3)}}},
        // A hanging indent: the first line starts left of the others.
        {Qt::AlignLeft, 1440, -720,
         {{QString::fromUtf16(u"\u0B95\u0BBE Tamil in Unicode, \u20AC, \U0001F600 and a\u2028line break"), dejaVu, 12},
          {QString::fromUtf16(u"latin-1 \u00e9\u00ff\u00a0 and C1 \u0080\u0095"), dejaVu, 12, true}}},
        {Qt::AlignLeft, 0, 0, {}},
        {Qt::AlignRight, 15, 30, {{"12345", tamil, 72, false, false, false, Qt::black}}},
        {Qt::AlignLeft, 0, 0, {{"default", "", 0}}}, // the document's default font applies
        {Qt::AlignJustify, 0, 0, {{"odd size", "Pelundu", 9.75}}},
    };
}

} // namespace

class TestRtfRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void documentComesBackTheSame();
    void writtenHeaderAndEscapes();
    void selectionComesBackTheSame();
};

void TestRtfRoundTrip::documentComesBackTheSame()
{
    for (const QList<ParagraphPlan>& plan : {richSample(), QList<ParagraphPlan>{}}) {
        QTextDocument original, loaded, other;
        build(original, plan);
        const QByteArray rtf = documentToRtf(original);
        build(loaded, richSample()); // replaced whole
        QVERIFY(rtfToDocument(rtf, loaded).ok);
        QCOMPARE(dumpDocument(loaded), dumpDocument(original));
        QCOMPARE(documentToRtf(loaded), rtf);
        // The document's default font is not part of the file: a reader with
        // another default still sees every run's own font and size.
        other.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 9));
        QVERIFY(rtfToDocument(rtf, other).ok);
        QCOMPARE(dumpDocument(other), dumpDocument(original));
    }
}

void TestRtfRoundTrip::writtenHeaderAndEscapes()
{
    QTextDocument doc;
    build(doc, {{Qt::AlignLeft, 0, 0, {{QString::fromUtf16(u"a\u00e9{}\\\u0B95\U0001F600"), "Kolvani", 14.25, true}}}});
    const QByteArray rtf = documentToRtf(doc);
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Kolvani;}}"), rtf);
    for (const char* expected : {"\\fs29\\tkfs1425", "\\b", "a\\'e9\\{\\}\\\\", "\\u2965", "\\u-10179", "\\u-8704"})
        QVERIFY2(rtf.contains(expected), expected);
    QVERIFY(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }));
}

void TestRtfRoundTrip::selectionComesBackTheSame()
{
    QTextDocument source, target;
    build(source, richSample());
    // From inside the second paragraph to inside the fourth.
    QTextCursor sel(&source), at(&target);
    sel.setPosition(source.findBlockByNumber(1).position() + 2);
    sel.setPosition(source.findBlockByNumber(3).position() + 5, QTextCursor::KeepAnchor);
    target.setDefaultFont(source.defaultFont());
    QVERIFY(rtfToSelection(selectionToRtf(sel), at).ok);
    QCOMPARE(dumpDocument(target), QStringList({"right li0 fi0: [Kolvani 14.25 b]fk [Kolvani 14.25 i]tdf [Udavan 20 b i u #ff0000]kh<e9><f0>",
                                                dumpDocument(source)[2], "left li1440 fi-720: [DejaVu Sans 12]<b95><bbe> Ta"}));
}

QTEST_GUILESS_MAIN(TestRtfRoundTrip)
#include "test_rtf_round_trip.moc"
