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

// The sign each vowel number of the glyph-order correction adds.
const char* const vowelSigns[] = {"", "", "ா", "ி", "ீ", "ெ", "ே", "ொ", "ோ", "ு", "ூ"};

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void syllables_data();
    void syllables();
    void sentences_data();
    void sentences();
    void typedWords_data();
    void typedWords();
};

// Every consonant with every sign, and every vowel: Unicode -> codes ->
// Unicode, alone and within a word. Where the key map writes the syllable,
// the codes are exactly those the glyph-order correction writes.
void TestRoundTrip::syllables_data()
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
    const char* rows[][2] = {{"[{", "ஜு"}, {"`_", "ஹூ"}, {"q{", "ஙு"},  {"Q_", "ஞூ"},     {"if", "கை"},
                             {"nfs", "கௌ"}, {"xs", "ஔ"}, {"f;~", "க்ஷ"}, {"f;n~", "க்ஷெ"}, {"=", "ஸ்ரீ"}, {"/", "ஃ"}};
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QByteArray(r[0]);
}

void TestRoundTrip::syllables()
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
    // Whole words; single syllables are all in the table above.
    const char* rows[][2] = {
        {"thamiz", "தமிழ்"},     {"vanakkam", "வனக்கம்"}, {"nanRi", "நன்றி"},  {"kaN", "கண்"},
        {"ammaa", "அம்மா"},      {"anga", "அங"},          {"ezuththu", "எழுத்து"}, {"paaddu", "பாட்டு"},
        {"nanbarkaL", "நன்பர்கள்"}, {"jannal", "ஜன்னல்"},  {"kaatru", "காற்று"}, {"ilai\n", "இலை\n"},
        {"pazam 10 ", "பழம் 10 "}, {"jutam", "ஜுரம்"},     {"pikshU", "பிக்ஷூ"}, {"Zu", "ஸு"}, {"hu", "ஹு"},
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
