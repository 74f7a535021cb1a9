// Unicode -> codes -> Unicode on every syllable and on ordinary text, the codes
// agreeing with what the key map writes; then the readings that are not one
// code to one letter, characters that have no code, and malformed UTF-8.
#include "unicode_helpers.h"
#include "../engine/engine_fixture.h"
#include "../engine/typed_words.h"

#include "engine/font_codes.h"

#include <QTest>

namespace {

// Every consonant code the key map writes, with its letter.
const std::pair<char, const char*> consonants[] = {
    {'f', "க"}, {'q', "ங"}, {'r', "ச"}, {'Q', "ஞ"}, {'l', "ட"}, {'z', "ண"}, {'j', "த"}, {'e', "ந"},
    {'g', "ப"}, {'k', "ம"}, {'a', "ய"}, {'u', "ர"}, {'y', "ல"}, {'t', "வ"}, {'o', "ழ"}, {'s', "ள"},
    {'w', "ற"}, {'d', "ன"}, {'[', "ஜ"}, {'~', "ஷ"}, {']', "ஸ"}, {'`', "ஹ"},
};

// The sign each vowel number of the glyph-order correction adds.
const char* const vowelSigns[] = {"", "", "ா", "ி", "ீ", "ெ", "ே", "ொ", "ோ", "ு", "ூ"};

// Unicode -> codes -> Unicode, alone and within a word; codes (where given)
// are what the text must read as, and read back from.
void roundTrip(const QString& text, const QByteArray& codes = {})
{
    const QByteArray got = fromUnicode(text);
    QVERIFY2(!got.contains('?') && (codes.isEmpty() || got == codes), qPrintable(text + " as " + got));
    QCOMPARE(toUnicode(got), text);
    // The neighbours must not change how it is read.
    const QString word = "அ" + text + "ம்";
    QCOMPARE(toUnicode(fromUnicode(word)), word);
}

} // namespace

class TestConversionRules : public QObject {
    Q_OBJECT
private slots:
    // Every consonant with every sign, and every vowel. Where the key map
    // writes the syllable, the codes are exactly those the glyph-order
    // correction writes.
    void syllables()
    {
        for (const auto& [code, letter] : consonants) {
            roundTrip(QString(letter) + "்", QByteArray(1, code) + ';');
            for (const char* sign : {"ை", "ௌ"})
                roundTrip(QString(letter) + sign);
            const bool uForms = QByteArray("qQ[~]`").indexOf(code) < 0;
            for (unsigned g = 1; g <= 10; ++g) {
                EngineFixture f(QByteArray(1, code) + ';');
                f.engine.correct(g);
                roundTrip(QString(letter) + vowelSigns[g], g < 9 || uForms ? f.text() : "");
            }
        }
        for (const char* sign : {"", "்", "ா", "ி", "ீ", "ு", "ூ", "ெ", "ே", "ை", "ொ", "ோ", "ௌ"})
            roundTrip(QString("க்ஷ") + sign);
        for (const char* single : {"அ", "ஆ", "இ", "ஈ", "உ", "ஊ", "எ", "ஏ", "ஐ", "ஒ", "ஓ", "ஔ"})
            roundTrip(single);
        // Where the key map has no u form, the grantha u and uu marks; forms the
        // key map writes only through other rows.
        const char* rows[][2] = {{"[{", "ஜு"}, {"`_", "ஹூ"}, {"q{", "ஙு"}, {"Q_", "ஞூ"}, {"]{", "ஸு"}, {"`{", "ஹு"},
                                 {"[_", "ஜூ"}, {"f;~_", "க்ஷூ"}, {"if", "கை"}, {"nfs", "கௌ"}, {"xs", "ஔ"},
                                 {"f;~", "க்ஷ"}, {"f;n~", "க்ஷெ"}, {"=", "ஸ்ரீ"}, {"/", "ஃ"}};
        for (const auto& [codes, text] : rows)
            roundTrip(text, codes);
    }

    void sentences()
    {
        const char* texts[] = {"அகர முதல எழுத்தெல்லாம் ஆதி\nபகவன் முதற்றே உலகு.", "கற்க கசடறக் கற்பவை கற்றபின்\r\nநிற்க அதற்குத் தக.",
                               "யாதும் ஊரே யாவரும் கேளிர் - தீதும் நன்றும் பிறர்தர வாரா.",
                               "ஔவையார் ஸ்ரீரங்கம் கோயிலுக்குப் போனார். கௌரவம் பெரிதா? ஜன்னல் ஹோட்டல் புஷ்பம் க்ஷேத்திரம் "
                               "ஃபேன் 2024 (சூரியன்) கெளுத்தி மீன் ஒளி வீசும் பூக்கள் டீ கொடு!",
                               "ஜூன் ஷூ ஸுகம் ஹுக்கும் ஙு ஞூ ணூ னூ நூல் தூண் றூ லூ யூ வூ"};
        for (const char* text : texts) {
            const tk::engine::UnicodeToCodes r = fromUnicodeBytes(text);
            QCOMPARE(r.unconverted, std::size_t(0));
            QCOMPARE(toUnicode(QByteArray::fromStdString(r.codes)), QString(text));
        }
    }

    // Every word of the typing table reads as Unicode that gives its codes back.
    void typedWordsReadBack()
    {
        for (const TypedWord& w : typedWords)
            QVERIFY2(fromUnicode(toUnicode(w.codes)) == w.codes, w.keys);
    }

    void codesToUnicode()
    {
        const char* rows[][2] = {
            // Signs drawn before the consonant move behind it (every syllable is in the round trip's table).
            {"mnfk;", "அகெம்"},
            // "s" is the au mark unless a consonant sign follows it.
            {"xsp", "ஒளி"}, {"xs;", "ஒள்"}, {"xsh", "ஒளா"}, {"xss", "ஔள"}, {"xsS", "ஔளு"}, {"nfsp", "கெளி"},
            {"nfs;", "கெள்"}, {"Nfs", "கேள"}, {"ifs", "கைள"},
            // க்ஷ takes a sign drawn before it as one letter.
            {"nf;~", "க்ஷெ"}, {"Nf;~h", "க்ஷோ"}, {"f;n~", "க்ஷெ"}, {"f;\\", "க்ஷ"},
            // The uu marks: only after a u-form.
            {"J}", "தூ"}, {"R+", "சூ"}, {"F}", "கூ"}, {"1+2", "1+2"}, {"f}", "க}"}, {"$", "கூ"}, {"}", "}"},
            // Signs with nothing to attach to stay, in place.
            {"h", "ா"}, {";", "்"}, {"n", "ெ"}, {"nm", "ெஅ"}, {"i1", "ை1"}, {"Nn", "ேெ"}, {"nF", "ெகு"},
            {"fhh", "காா"}, {"nfp", "கெி"}, {"nf;", "கெ்"}, {"{", "ு"}, {"n=", "ெஸ்ரீ"},
            // Second codes of a letter, and codes that are not Tamil.
            {"\"", "ஃ"}, {"\\", "ஷ"}, {"H", "H"}, {"b", "டி"}, {"B", "டீ"}, {"lp", "டி"},
            {"0 .!?:()-'|>\t\r\n", "0 .!?:()-'|>\t\r\n"}, {"\xE9\xA0\x80\xFF", "é\u00A0\u0080ÿ"},
        };
        for (const auto& [codes, text] : rows)
            QCOMPARE(QString(codes) + " -> " + toUnicode(codes), QString(codes) + " -> " + text);
        QCOMPARE(toUnicode(QByteArray("f\0f", 3)), QString::fromUtf8("க\0க", 7));
    }

    void unicodeToCodes()
    {
        // The text, its codes, the characters without a code and the first one's byte offset.
        const std::tuple<const char*, const char*, int, int> rows[] = {
            // Decomposed two-part signs read as the composed ones.
            {"க\u0BC6\u0BBE", "nfh", 0, 0}, {"க\u0BC7\u0BBE", "Nfh", 0, 0}, {"க\u0BC6\u0BD7", "nfs", 0, 0},
            {"\u0B92\u0BD7", "xs", 0, 0}, {"ஶ்ரீ", "=", 0, 0},
            // Signs with no consonant before them.
            {"ு", "{", 0, 0}, {"ொ", "nh", 0, 0}, {"அா", "mh", 0, 0}, {"கா்", "fh;", 0, 0},
            // Latin-1 passes as its byte; invisible joiners and the BOM go.
            {"abc, é", "abc, \xE9", 0, 0}, {"\uFEFFக\u200C்\u200D", "f;", 0, 0},
            // No code: "?", counted, the first one's byte offset kept.
            {"அ—ஶ", "m??", 2, 3}, {"x௧", "x?", 1, 1}, {"ௗ", "?", 1, 0}, {"ௌ", "?", 1, 0}, {"க😀", "f?", 1, 3},
        };
        for (const auto& [text, codes, unconverted, firstAt] : rows) {
            const tk::engine::UnicodeToCodes r = fromUnicodeBytes(text);
            const std::size_t at = r.unconverted ? r.firstUnconvertedAt : 0;
            QCOMPARE(QString("%1: %2 %3 %4 %5").arg(text, QString::fromLatin1(r.codes)).arg(r.malformed).arg(r.unconverted).arg(at),
                     QString("%1: %2 0 %3 %4").arg(text, QString::fromLatin1(codes)).arg(unconverted).arg(firstAt));
        }
    }

    void malformed()
    {
        const std::pair<QByteArray, std::size_t> rows[] = {
            {"ab\x80", 2},  // stray continuation
            {"க\xE0\xAE", 3}, {"a\xE0\xAEக", 1}, // truncated at the end and mid-text
            {"\xC0\xAF", 0}, {"x\xE0\x80\xAF", 1}, // overlong
            {"\xED\xA0\x80", 0}, {"\xF4\x90\x80\x80", 0}, // surrogate, past U+10FFFF
            {"கக\xFF", 6}, {"caf\xE9 au lait", 3}, // an FF byte, a Latin-1 file
        };
        for (const auto& [bytes, offset] : rows) {
            const tk::engine::UnicodeToCodes r = fromUnicodeBytes(bytes);
            QVERIFY2(r.malformed && r.malformedAt == offset && r.codes.empty(), bytes.toHex().constData());
        }
    }

    // The word-character set of display-font text is exactly the codes that
    // read as Tamil, plus the two uu marks, which read as Tamil only after a u-form.
    void letterCodesAreTheTamilCodes()
    {
        for (int c = 1; c < 256; ++c) {
            const char code = char(c);
            const QString read = toUnicode(QByteArray(1, code));
            const bool tamil = std::any_of(read.begin(), read.end(), [](QChar ch) { return ch >= u'\u0B80' && ch <= u'\u0BFF'; });
            QVERIFY2(tk::engine::fontcodes::isTamilLetterCode(code) == (tamil || code == '}' || code == '+'), QByteArray(1, code));
        }
    }
};

QTEST_GUILESS_MAIN(TestConversionRules)
#include "test_conversion_rules.moc"
