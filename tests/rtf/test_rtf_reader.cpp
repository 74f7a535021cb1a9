// The reader against RTF in the styles other word processors write, written
// by hand from the format's description, and against broken input.
#include "document_dump.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>

using namespace tk::rtf;

namespace {

// A document with some content of its own, to see that failures leave it.
void fillWith(QTextDocument& doc, const QString& text)
{
    QFont f(QStringLiteral("Kolvani"));
    f.setPointSizeF(14.25); // not the size RTF assumes
    doc.setDefaultFont(f);
    doc.setPlainText(text);
}

const char wordPad[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Kolvani;}"
    "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\f0\\fs28 f;fk\\f1\\fs20 abc\\par\r\n"
    "\\pard\\qc\\b\\f0\\fs28 tdf\\b0\\par\r\n}\r\n";

const char word[] =
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff0\\deff0\\stshfdbch0"
    "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
    "{\\f39\\fbidi \\fnil\\fcharset2\\fprq2 Kolvani;}{\\f40\\froman\\fcharset204\\fprq2 Times New Roman Cyr;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n"
    "{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\wrapdefault\\itap0 \\rtlch\\fcs1 \\af0\\afs24 \\ltrch\\fcs0 "
    "\\fs24\\lang1033 \\snext0 \\sqformat \\spriority0 Normal;}{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}}\n"
    "{\\*\\rsidtbl \\rsid1234}{\\info{\\title Sample}{\\author Someone}{\\creatim\\yr2024\\mo1\\dy2}}\n"
    "\\pard\\plain \\ltrpar\\ql \\li720\\ri0\\fi-360\\widctlpar\\wrapdefault\\rin0\\lin720\\itap0 \\rtlch\\fcs1 \\af0\\afs24 "
    "\\ltrch\\fcs0 \\fs24\\lang1033 {\\rtlch\\fcs1 \\af39 \\ltrch\\fcs0 \\f39\\cf2 \\u61542\\'66\\u61499\\'3b}"
    "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f40 \\'c0\\'e1 }{\\ltrch \\u2965\\'3f\\u-10179\\'3f\\u-8704\\'3f}\\par }";

const char libreOffice[] =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f3\\fnil\\fprq0\\fcharset0 Kolvani;}"
    "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "{\\stylesheet{\\s0\\snext0\\ql\\widctlpar\\hyphpar0\\ltrpar\\cf0\\kerning1\\dbch\\af5\\langfe2052\\loch\\f3"
    "\\hich\\af3\\fs24\\lang2057 Default Paragraph Style;}\n}"
    "{\\*\\generator LibreOffice/7.4$Linux_X86_64 LibreOffice_project/}"
    "{\\info{\\creatim\\yr2024\\mo1\\dy2\\hr3\\min4}{\\*\\company x}}\\deftab709\n"
    "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\pgdscnxt0 Default Page Style;}}\n"
    "\\formshade{\\*\\pgdscno0}\\paperh16838\\paperw11906\\sectd\\sbknone\\pgndec\\sftnnar\\aftnnrlc\n"
    "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\ql\\widctlpar\\hyphpar0\\ltrpar\\cf0\\kerning1\\dbch\\af5"
    "\\loch\\f3\\hich\\af3\\fs24\\lang2057\\qr{\\cf2\\loch\\f3\\fs28\\hich\\af3\\u8364\\'80\\u8218\\'82\\loch\n"
    "xyz}{\\b\\i\\ul\\f4 bold}\n"
    "\\par \\pard\\plain \\s0\\ql\\widctlpar\\loch\\f3\\fs24 {\\loch\nsecond \\{brace\\}}{\\f0 \\'80\\'e9}\n"
    "\\par }";

// Paragraphs as dumpDocument writes them, joined by " | ".
const struct { const char* name; QByteArray rtf; QString expected; } sampleFiles[] = {
    {"WordPad", wordPad, "left li0 fi0: [Kolvani 14]f;fk [Arial 10]abc | centre li0 fi0: [Kolvani 14 b]tdf | centre li0 fi0:"},
    {"Word: symbol charset, U+F0xx, Cyrillic, \\u with fallbacks, skipped tables", word,
     "left li720 fi-360: [Kolvani 12 #ff0000]f; [Times New Roman Cyr 12]<410><431>  [Times New Roman 12]<b95><d83d><de00>"
     " | left li720 fi-360:"},
    {"LibreOffice: cp1252 images of display codes, \\falt, page styles", libreOffice,
     "right li0 fi0: [Kolvani 14 #0000ff]<80><82>xyz [Liberation Sans 12 b i u]bold"
     " | left li0 fi0: [Kolvani 12]second {brace} [Times New Roman 12]<20ac><e9> | left li0 fi0:"},
    {"display font codes keep their bytes whatever the code page",
     "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fnil\\fcharset0 Sondral;}{\\f1\\fnil Arial;}}\\f0 \\'c0\\'80{\\f1 \\'c0}}",
     "left li0 fi0: [Sondral 12]<c0><80> [Arial 12]<410>"},
    {"in display fonts only a code page 1252 fallback turns \\uN back into its byte",
     "{\\rtf1{\\fonttbl{\\f0 Kolvani;}}\\f0\\u8364\\'80\\u8364?\\u8212\\'97\\u8212\\'80\\uc0\\u8364\\'80}",
     "left li0 fi0: [Kolvani 12]<80><20ac><97><2014><20ac><80>"},
    {"display font names compare exactly", "{\\rtf1{\\fonttbl{\\f0\\fcharset0 kolvani;}}\\f0 \\'80\\u61542?}",
     "left li0 fi0: [kolvani 12]<20ac><f066>"},
    {"\\uc counts, a brace ends the skip, a control word is one character",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\uc2\\u1000??x\\uc0\\u1001y{\\uc3\\u1002\\'41}z\\uc1\\u1003\\b w\\u-4064?}",
     "left li0 fi0: [Arial 12]<3e8>x<3e9>y<3ea>z<3eb>w<f020>"},
    {"nested groups restore the format; \\plain resets it",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Kolvani;}}\\f0\\fs20 a{\\b b{\\i c{\\ul d\\plain e}f}g}h}",
     "left li0 fi0: [Arial 10]a [Arial 10 b]b [Arial 10 b i]c [Arial 10 b i u]d [Arial 12]e [Arial 10 b i]f [Arial 10 b]g [Arial 10]h"},
    {"pictures, objects and binary data are skipped",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a{\\pict\\pngblip\\picw10 89504e47}b{\\*\\shppict{\\pict\\wmetafile8 0102}}"
     "{\\nonshppict{\\pict 0304}}c{\\object{\\*\\objdata 0102}{\\result d}}e\\bin3 {}}y}",
     "left li0 fi0: [Arial 12]abcey"},
    {"font table without groups, symbol charset", "{\\rtf1\\ansi\\deff0{\\fonttbl\\f0\\fswiss Helv;\\f1\\fnil\\fcharset2 Symbol;}\\f1 \\'e1\\f0 B}",
     "left li0 fi0: [Symbol 12]<e1> [Helv 12]B"},
    {"field result kept, instruction skipped",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 see {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} here}",
     "left li0 fi0: [Arial 12]see link here"},
    {"special characters; backslash before a line end is a paragraph", "{\\rtf1 a\\~b\\_c\\-d\\tab e\\line f\\emdash\\'3b\\\ng}",
     "left li0 fi0: [Kolvani 12]a<a0>b<2011>cd<09>e<2028>f<2014>; | left li0 fi0: [Kolvani 12]g"},
    {"Shift-JIS double-byte characters", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0 \\'93\\'fa\\'96\\'7b}",
     "left li0 fi0: [MS Mincho 12]<65e5><672c>"},
    {"byte order mark and white space first, text after the last brace", "\xEF\xBB\xBF  \r\n{\\rtf1 kept}{\\b dropped}",
     "left li0 fi0: [Kolvani 12]kept"},
    {"characters that would break the block structure are dropped", "{\\rtf1 a\\u8233?b\\'0d\\'0a\\u-560?c\\'00}",
     "left li0 fi0: [Kolvani 12]abc"},
    // The document group itself counts as one level.
    {"nested up to the limit", "{\\rtf1 " + QByteArray(maxGroupDepth - 1, '{') + "x" + QByteArray(maxGroupDepth, '}'),
     "left li0 fi0: [Kolvani 12]x"},
};

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT
private slots:
    void samples_data();
    void samples();
    void failuresLeaveTheDocument();
    void everyTruncationReads();
    void randomDamageNeverCrashes();
};

void TestRtfReader::samples_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    for (const auto& s : sampleFiles)
        QTest::newRow(s.name) << s.rtf << s.expected;
}

void TestRtfReader::samples()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument doc;
    fillWith(doc, QStringLiteral("old"));
    const Result r = rtfToDocument(rtf, doc);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(dumpDocument(doc).join(" | "), expected);
}

void TestRtfReader::failuresLeaveTheDocument()
{
    const std::pair<QByteArray, QString> cases[] = {
        {"hello {\\rtf1 x}", "not an RTF document"}, {"", "not an RTF document"},
        {"{\\rtf1 " + QByteArray(maxGroupDepth, '{') + "x", "nested more than"},
        {"{\\rtf1 " + QByteArray(1000000, '{'), "nested more than"},
    };
    for (const auto& [input, error] : cases) {
        QTextDocument doc;
        fillWith(doc, QStringLiteral("keep\nme"));
        const Result r = rtfToDocument(input, doc);
        QVERIFY2(!r.ok && r.error.contains(error), qPrintable(r.error));
        QTextCursor c(&doc);
        c.setPosition(1);
        c.setPosition(3, QTextCursor::KeepAnchor);
        QVERIFY(!rtfToSelection(input, c).ok);
        QCOMPARE(doc.toPlainText(), QStringLiteral("keep\nme"));
    }
}

// A file cut anywhere reads as far as it goes (missing braces are forgiven),
// and what it shows is a prefix of the whole text.
void TestRtfReader::everyTruncationReads()
{
    for (const QByteArray whole : {wordPad, word, libreOffice}) {
        QTextDocument full;
        QVERIFY(rtfToDocument(whole, full).ok);
        const QString fullText = full.toPlainText().remove(u'\n');
        for (qsizetype n = 5; n < whole.size(); ++n) {
            QTextDocument doc;
            const Result r = rtfToDocument(whole.left(n), doc);
            QVERIFY2(r.ok, qPrintable(QString::number(n) + r.error));
            // A control word cut short is another word (\pard a \par): compare
            // only cuts before a backslash or brace, without paragraph breaks
            // or the last two characters (a \uN cut from its fallback).
            if (!QByteArrayView("\\{}").contains(whole[n]))
                continue;
            const QString text = doc.toPlainText().remove(u'\n');
            QVERIFY2(fullText.startsWith(text.left(std::max<qsizetype>(0, text.size() - 2))), qPrintable(QString::number(n) + " " + text));
        }
    }
}

void TestRtfReader::randomDamageNeverCrashes()
{
    QRandomGenerator rng(20241206);
    const QByteArray samples[] = {wordPad, word, libreOffice};
    for (int round = 0; round < 3000; ++round) {
        QByteArray data = samples[round % 3];
        for (int e = 0, edits = 1 + int(rng.bounded(8)); e < edits; ++e) {
            const qsizetype at = rng.bounded(int(data.size()));
            switch (rng.bounded(3)) {
            case 0: data[at] = char(rng.bounded(256)); break;
            case 1: data.remove(at, rng.bounded(16)); break;
            default: data.insert(at, "{\\}\\'\\u-1\\bin99 \\*"[rng.bounded(17)]); break;
            }
        }
        if (round % 10 == 0) { // pure noise behind a valid start
            data = "{\\rtf1 ";
            for (int i = 0; i < 500; ++i)
                data.append(char(rng.bounded(256)));
        }
        QTextDocument doc;
        fillWith(doc, QStringLiteral("before"));
        if (!rtfToDocument(data, doc).ok)
            QCOMPARE(doc.toPlainText(), QStringLiteral("before"));
        documentToRtf(doc); // whatever was read can be written again
    }
}

QTEST_GUILESS_MAIN(TestRtfReader)
#include "test_rtf_reader.moc"
