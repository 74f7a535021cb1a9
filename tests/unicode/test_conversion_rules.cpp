// Unicode -> codes -> Unicode on every syllable and on ordinary text, the
// codes agreeing with what the key map writes, and words typed through the
// engine reading as a reader expects; then the readings that are not one
// code to one letter: reordering, the ambiguous "s", signs with nothing to
// attach to, bytes that are no code, characters that have no code, and
// malformed UTF-8.
#include "unicode_helpers.h"
#include "../engine/typed_words.h"

#include "engine/engine.h"
#include "engine/font_codes.h"
#include "engine/string_surface.h"

#include <QTest>

namespace {

struct ConsonantRow {
    char code;
    const char* letter;
};

// Every consonant code the key map writes, with its letter.
const ConsonantRow consonants[] = {
    {'f', "க"}, {'q', "ங"}, {'r', "ச"}, {'Q', "ஞ"}, {'l', "ட"}, {'z', "ண"}, {'j', "த"}, {'e', "ந"},
    {'g', "ப"}, {'k', "ம"}, {'a', "ய"}, {'u', "ர"}, {'y', "ல"}, {'t', "வ"}, {'o', "ழ"}, {'s', "ள"},
    {'w', "ற"}, {'d', "ன"}, {'[', "ஜ"}, {'~', "ஷ"}, {']', "ஸ"}, {'`', "ஹ"},
};

// The sign each vowel number of the glyph-order correction adds.
const char* const vowelSigns[] = {"", "", "ா", "ி", "ீ", "ெ", "ே", "ொ", "ோ", "ு", "ூ"};

} // namespace

class TestConversionRules : public QObject {
    Q_OBJECT
private slots:
    void syllables_data();
    void syllables();
    void sentences_data();
    void sentences();
    void typedWordsReadBack();
    void codesToUnicode_data();
    void codesToUnicode();
    void unicodeToCodes_data();
    void unicodeToCodes();
    void malformed_data();
    void malformed();
    void letterCodesAreTheTamilCodes();
};

// Every consonant with every sign, and every vowel: Unicode -> codes ->
// Unicode, alone and within a word. Where the key map writes the syllable,
// the codes are exactly those the glyph-order correction writes.
void TestConversionRules::syllables_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("codes"); // empty: not written by the key map
    for (const ConsonantRow& c : consonants) {
        const QString letter = QString::fromUtf8(c.letter);
        QTest::addRow("%s்", c.letter) << letter + "்" << QByteArray(1, c.code) + ';';
        for (const char* sign : {"ை", "ௌ"})
            QTest::addRow("%s%s", c.letter, sign) << letter + QString::fromUtf8(sign) << QByteArray();
        const bool uForms = QByteArray("qQ[~]`").indexOf(c.code) < 0;
        for (unsigned g = 1; g <= 10; ++g) {
            QByteArray codes;
            if (g < 9 || uForms) {
                tk::engine::EngineState state;
                tk::engine::DocumentState doc;
                tk::engine::StringSurface surface(std::string{c.code, ';'});
                tk::engine::Engine(state, doc, surface).correct(g);
                codes = QByteArray::fromStdString(surface.text());
            }
            QTest::addRow("%s%s", c.letter, vowelSigns[g]) << letter + QString::fromUtf8(vowelSigns[g]) << codes;
        }
    }
    for (const char* sign : {"", "்", "ா", "ி", "ீ", "ு", "ூ", "ெ", "ே", "ை", "ொ", "ோ", "ௌ"})
        QTest::addRow("க்ஷ%s", sign) << "க்ஷ" + QString::fromUtf8(sign) << QByteArray();
    for (const char* single : {"அ", "ஆ", "இ", "ஈ", "உ", "ஊ", "எ", "ஏ", "ஐ", "ஒ", "ஓ", "ஔ"})
        QTest::newRow(single) << QString::fromUtf8(single) << QByteArray();
    // Where the key map has no u form, the grantha u and uu marks; forms the
    // key map writes only through other rows.
    const char* rows[][2] = {{"[{", "ஜு"}, {"`_", "ஹூ"}, {"q{", "ஙு"},  {"Q_", "ஞூ"}, {"]{", "ஸு"}, {"`{", "ஹு"},
                             {"[_", "ஜூ"}, {"f;~_", "க்ஷூ"}, {"if", "கை"},
                             {"nfs", "கௌ"}, {"xs", "ஔ"}, {"f;~", "க்ஷ"}, {"f;n~", "க்ஷெ"}, {"=", "ஸ்ரீ"}, {"/", "ஃ"}};
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QByteArray(r[0]);
}

void TestConversionRules::syllables()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, codes);
    const QByteArray got = fromUnicode(text);
    QVERIFY(!got.contains('?'));
    if (!codes.isEmpty()) {
        QCOMPARE(got, codes);
        QCOMPARE(toUnicode(codes), text);
    }
    QCOMPARE(toUnicode(got), text);
    // Within a word too: the neighbours must not change how it is read.
    const QString word = "அ" + text + "ம்";
    QCOMPARE(toUnicode(fromUnicode(word)), word);
}

void TestConversionRules::sentences_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("kural 1") << QString("அகர முதல எழுத்தெல்லாம் ஆதி\nபகவன் முதற்றே உலகு.");
    QTest::newRow("kural 391") << QString("கற்க கசடறக் கற்பவை கற்றபின்\r\nநிற்க அதற்குத் தக.");
    QTest::newRow("puranaanuuru") << QString("யாதும் ஊரே யாவரும் கேளிர் - தீதும் நன்றும் பிறர்தர வாரா.");
    QTest::newRow("prose") << QString("ஔவையார் ஸ்ரீரங்கம் கோயிலுக்குப் போனார். கௌரவம் பெரிதா? "
                                      "ஜன்னல் ஹோட்டல் புஷ்பம் க்ஷேத்திரம் ஃபேன் 2024 (சூரியன்) "
                                      "கெளுத்தி மீன் ஒளி வீசும் பூக்கள் டீ கொடு!");
    QTest::newRow("grantha and rare") << QString("ஜூன் ஷூ ஸுகம் ஹுக்கும் ஙு ஞூ ணூ னூ நூல் தூண் றூ லூ யூ வூ");
}

void TestConversionRules::sentences()
{
    QFETCH(QString, text);
    const tk::engine::UnicodeToCodes r = fromUnicodeBytes(text.toUtf8());
    QCOMPARE(r.unconverted, std::size_t(0));
    QCOMPARE(toUnicode(QByteArray::fromStdString(r.codes)), text);
}

// Every word of the typing table reads as Unicode that gives its codes back.
void TestConversionRules::typedWordsReadBack()
{
    for (const TypedWord& w : typedWords) {
        const QString text = toUnicode(w.codes);
        QVERIFY2(fromUnicode(text) == w.codes, w.keys);
    }
}

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
