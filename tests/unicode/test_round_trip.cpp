// Unicode -> codes -> Unicode on every syllable and on ordinary text, the
// codes agreeing with what the key map writes, and words typed through the
// engine reading as a reader expects.
#include "unicode_helpers.h"

#include "engine/engine.h"
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

// The sign that each vowel number of the glyph-order correction adds.
const char* const vowelSigns[] = {"", "", "ா", "ி", "ீ", "ெ", "ே", "ொ", "ோ", "ு", "ூ"};

bool hasUForms(char code) { return QByteArray("qQ[~]`").indexOf(code) < 0; }

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void syllables_data();
    void syllables();
    void keyMapCodes_data();
    void keyMapCodes();
    void sentences_data();
    void sentences();
    void typedWords_data();
    void typedWords();
};

void TestRoundTrip::syllables_data()
{
    QTest::addColumn<QString>("text");
    const QStringList signs = {"", "்", "ா", "ி", "ீ", "ு", "ூ", "ெ", "ே", "ை", "ொ", "ோ", "ௌ"};
    QStringList bases;
    for (const ConsonantRow& c : consonants)
        bases << QString::fromUtf8(c.letter);
    bases << "க்ஷ";
    for (const QString& base : bases)
        for (const QString& sign : signs)
            QTest::newRow(qPrintable(base + sign)) << base + sign;
    for (const char* single : {"அ", "ஆ", "இ", "ஈ", "உ", "ஊ", "எ", "ஏ", "ஐ", "ஒ", "ஓ", "ஔ", "ஃ", "ஸ்ரீ"})
        QTest::newRow(single) << QString::fromUtf8(single);
}

void TestRoundTrip::syllables()
{
    QFETCH(QString, text);
    const QByteArray codes = fromUnicode(text);
    QVERIFY(!codes.contains('?'));
    QCOMPARE(toUnicode(codes), text);
    // Within a word too: the neighbours must not change how it is read.
    const QString word = "அ" + text + "ம்";
    QCOMPARE(toUnicode(fromUnicode(word)), word);
}

// For every consonant and vowel the key map can write, Unicode -> codes
// gives exactly the codes the glyph-order correction writes, and those read
// as the consonant with the vowel's sign.
void TestRoundTrip::keyMapCodes_data()
{
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("text");
    for (const ConsonantRow& c : consonants) {
        const QString letter = QString::fromUtf8(c.letter);
        const QByteArray bare = QByteArray(1, c.code) + ';';
        QTest::newRow(bare.constData()) << bare << letter + "்";
        for (unsigned g = 1; g <= 10; ++g) {
            if (g >= 9 && !hasUForms(c.code))
                continue; // the key map has no u or uu form for these
            tk::engine::EngineState state;
            tk::engine::DocumentState doc;
            tk::engine::StringSurface surface(std::string{c.code, ';'});
            tk::engine::Engine(state, doc, surface).correct(g);
            const QByteArray codes = QByteArray::fromStdString(surface.text());
            QTest::newRow(codes.constData()) << codes << letter + QString::fromUtf8(vowelSigns[g]);
        }
    }
    // Where the key map has no form, the grantha u and uu marks.
    QTest::newRow("[{") << QByteArray("[{") << QString("ஜு");
    QTest::newRow("`_") << QByteArray("`_") << QString("ஹூ");
    QTest::newRow("q{") << QByteArray("q{") << QString("ஙு");
    QTest::newRow("Q_") << QByteArray("Q_") << QString("ஞூ");
    // Forms the key map writes only through other rows.
    QTest::newRow("ai") << QByteArray("if") << QString("கை");
    QTest::newRow("au") << QByteArray("nfs") << QString("கௌ");
    QTest::newRow("xs") << QByteArray("xs") << QString("ஔ");
    QTest::newRow("ksha") << QByteArray("f;~") << QString("க்ஷ");
    QTest::newRow("kshe") << QByteArray("f;n~") << QString("க்ஷெ");
    QTest::newRow("shri") << QByteArray("=") << QString("ஸ்ரீ");
    QTest::newRow("aytham") << QByteArray("/") << QString("ஃ");
}

void TestRoundTrip::keyMapCodes()
{
    QFETCH(QByteArray, codes);
    QFETCH(QString, text);
    QCOMPARE(toUnicode(codes), text);
    QCOMPARE(fromUnicode(text), codes);
}

void TestRoundTrip::sentences_data()
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

void TestRoundTrip::sentences()
{
    QFETCH(QString, text);
    const tk::engine::UnicodeToCodes r = fromUnicodeBytes(text.toUtf8());
    QCOMPARE(r.unconverted, std::size_t(0));
    QCOMPARE(toUnicode(QByteArray::fromStdString(r.codes)), text);
}

void TestRoundTrip::typedWords_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("text");
    const char* rows[][2] = {
        {"thamiz", "தமிழ்"},       {"vanakkam", "வனக்கம்"}, {"kai", "கை"},
        {"kO", "கோ"},              {"ko", "கொ"},            {"kou", "கௌ"},
        {"ou", "ஔ"},               {"aa", "ஆ"},             {"ai", "ஐ"},
        {"nanRi", "நன்றி"},        {"pU", "பூ"},            {"thU", "தூ"},
        {"kU", "கூ"},              {"koo", "கூ"},           {"di", "டி"},
        {"dI", "டீ"},              {"kee", "கீ"},           {"kE", "கே"},
        {"q", "ஸ்ரீ"},             {"sha", "ஷ"},            {"ksha", "க்ஷ"},
        {"kaN", "கண்"},            {"ammaa", "அம்மா"},      {"anga", "அங"},
        {"ezuththu", "எழுத்து"},   {"paaddu", "பாட்டு"},    {"nanbarkaL", "நன்பர்கள்"},
        {"jannal", "ஜன்னல்"},      {"kaatru", "காற்று"},    {"ilai\n", "இலை\n"},
        {"pazam 10 ", "பழம் 10 "}, {"jutam", "ஜுரம்"},      {"pikshU", "பிக்ஷூ"},
        {"Zu", "ஸு"},              {"hu", "ஹு"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QByteArray(r[0]) << QString::fromUtf8(r[1]);
}

void TestRoundTrip::typedWords()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, text);
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface;
    tk::engine::Engine(state, doc, surface).feed(keys.toStdString());
    const QByteArray codes = QByteArray::fromStdString(surface.text());
    QCOMPARE(toUnicode(codes), text);
    QCOMPARE(fromUnicode(text), codes);
}

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "test_round_trip.moc"
