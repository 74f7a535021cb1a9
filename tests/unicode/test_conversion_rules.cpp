// The readings that are not one code to one letter: reordering, the
// ambiguous "s", signs with nothing to attach to, bytes that are no code,
// characters that have no code, and malformed UTF-8.
#include "unicode_helpers.h"

#include "engine/font_codes.h"

#include <QTest>

class TestConversionRules : public QObject {
    Q_OBJECT
private slots:
    void codesToUnicode_data();
    void codesToUnicode();
    void unicodeToCodes_data();
    void unicodeToCodes();
    void malformed_data();
    void malformed();
    void letterCodesAreTheTamilCodes();
};

void TestConversionRules::codesToUnicode_data()
{
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("text");
    const char* rows[][2] = {
        // Signs drawn before the consonant move behind it (every syllable
        // is in the round trip's table).
        {"mnfk;", "அகெம்"},
        // "s" is the au mark unless a consonant sign follows it.
        {"xsp", "ஒளி"}, {"xs;", "ஒள்"}, {"xsh", "ஒளா"}, {"xss", "ஔள"},
        {"xsS", "ஔளு"}, {"nfsp", "கெளி"}, {"nfs;", "கெள்"}, {"Nfs", "கேள"}, {"ifs", "கைள"},
        // க்ஷ takes a sign drawn before it as one letter.
        {"nf;~", "க்ஷெ"}, {"Nf;~h", "க்ஷோ"}, {"f;n~", "க்ஷெ"}, {"f;\\", "க்ஷ"},
        // The uu marks: only after a u-form.
        {"J}", "தூ"}, {"R+", "சூ"}, {"F}", "கூ"}, {"1+2", "1+2"}, {"f}", "க}"}, {"$", "கூ"},
        {"}", "}"},
        // Signs with nothing to attach to stay, in place.
        {"h", "ா"}, {";", "்"}, {"n", "ெ"}, {"nm", "ெஅ"}, {"i1", "ை1"}, {"Nn", "ேெ"}, {"nF", "ெகு"},
        {"fhh", "காா"}, {"nfp", "கெி"}, {"nf;", "கெ்"}, {"{", "ு"}, {"n=", "ெஸ்ரீ"},
        // Second codes of a letter, and codes that are not Tamil.
        {"\"", "ஃ"}, {"\\", "ஷ"}, {"H", "H"}, {"b", "டி"}, {"B", "டீ"}, {"lp", "டி"},
        {"0 .!?:()-'|>\t\r\n", "0 .!?:()-'|>\t\r\n"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QByteArray(r[0]) << QString::fromUtf8(r[1]);
    QTest::newRow("latin-1") << QByteArray("\xE9\xA0\x80\xFF") << QString::fromUtf8("é\u00A0\u0080ÿ");
    QTest::newRow("nul") << QByteArray("f\0f", 3) << QString::fromUtf8("க\0க", 7);
}

void TestConversionRules::codesToUnicode()
{
    QFETCH(QByteArray, codes);
    QFETCH(QString, text);
    QCOMPARE(toUnicode(codes), text);
}

void TestConversionRules::unicodeToCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<int>("unconverted");
    QTest::addColumn<int>("firstAt");
    const struct {
        const char* text;
        const char* codes;
        int unconverted, firstAt;
    } rows[] = {
        // Decomposed two-part signs read as the composed ones.
        {"க\u0BC6\u0BBE", "nfh", 0, 0}, {"க\u0BC7\u0BBE", "Nfh", 0, 0},
        {"க\u0BC6\u0BD7", "nfs", 0, 0}, {"\u0B92\u0BD7", "xs", 0, 0},
        {"ஶ்ரீ", "=", 0, 0},
        // Signs with no consonant before them.
        {"ு", "{", 0, 0}, {"ொ", "nh", 0, 0}, {"அா", "mh", 0, 0}, {"கா்", "fh;", 0, 0},
        // Latin-1 passes as its byte; invisible joiners and the BOM go.
        {"abc, é", "abc, \xE9", 0, 0}, {"\uFEFFக\u200C்\u200D", "f;", 0, 0},
        // No code: "?", counted, the first one's byte offset kept.
        {"அ—ஶ", "m??", 2, 3}, {"x௧", "x?", 1, 1}, {"ௗ", "?", 1, 0}, {"ௌ", "?", 1, 0},
        {"க😀", "f?", 1, 3},
    };
    for (const auto& r : rows)
        QTest::newRow(r.text) << QString::fromUtf8(r.text) << QByteArray(r.codes) << r.unconverted << r.firstAt;
}

void TestConversionRules::unicodeToCodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, codes);
    QFETCH(int, unconverted);
    QFETCH(int, firstAt);
    const tk::engine::UnicodeToCodes r = fromUnicodeBytes(text.toUtf8());
    QVERIFY(!r.malformed);
    QCOMPARE(QByteArray::fromStdString(r.codes), codes);
    QCOMPARE(r.unconverted, std::size_t(unconverted));
    if (unconverted)
        QCOMPARE(r.firstUnconvertedAt, std::size_t(firstAt));
}

void TestConversionRules::malformed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::newRow("stray continuation") << QByteArray("ab\x80") << 2;
    QTest::newRow("truncated at end") << QByteArray("க\xE0\xAE") << 3;
    QTest::newRow("truncated mid-text") << QByteArray("a\xE0\xAEக") << 1;
    QTest::newRow("overlong /") << QByteArray("\xC0\xAF") << 0;
    QTest::newRow("overlong 3-byte") << QByteArray("x\xE0\x80\xAF") << 1;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << 0;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
    QTest::newRow("FF byte") << QByteArray("கக\xFF") << 6;
    QTest::newRow("latin-1 file") << QByteArray("caf\xE9 au lait") << 3;
}

void TestConversionRules::malformed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    const tk::engine::UnicodeToCodes r = fromUnicodeBytes(bytes);
    QVERIFY(r.malformed);
    QCOMPARE(r.malformedAt, std::size_t(offset));
    QVERIFY(r.codes.empty());
}

// The word-character set of display-font text is exactly the codes that
// read as Tamil, plus the two uu marks, which read as Tamil only after a u-form.
void TestConversionRules::letterCodesAreTheTamilCodes()
{
    for (int c = 1; c < 256; ++c) {
        const char code = char(c);
        const QString read = toUnicode(QByteArray(1, code));
        const bool tamil = std::any_of(read.begin(), read.end(), [](QChar ch) { return ch.unicode() >= 0x0B80 && ch.unicode() <= 0x0BFF; });
        const bool expected = tamil || code == '}' || code == '+';
        QVERIFY2(tk::engine::fontcodes::isTamilLetterCode(code) == expected, qPrintable(QString::number(c)));
    }
}

QTEST_GUILESS_MAIN(TestConversionRules)
#include "test_conversion_rules.moc"
