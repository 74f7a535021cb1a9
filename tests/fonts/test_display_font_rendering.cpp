// Font codes drawn in a display font must look exactly like the Unicode
// Tamil they stand for drawn in the font the display font was made from:
// the same advance and the same pixels.
#include "display_fonts.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <QtTest>

namespace {

const struct FontPair {
    const char *displayFamily, *baseFamily, *style;
} fontPairs[] = {
    {"Kolvani", "Noto Sans Tamil", "Regular"}, {"Kolvani", "Noto Sans Tamil", "Bold"},
    {"Nelpari", "Noto Serif Tamil", "Regular"}, {"Nelpari", "Noto Serif Tamil", "Bold"},
};

// Each with the codes drawing it with ு and ூ, if any: ஜ ஷ ஸ ஹ take ு and ூ as
// separate signs; ங and ஞ have no code for them.
const struct {
    const char *code, *letter, *uForm, *uuForm;
} consonants[] = {
    {"f", "க", "F", "$"},  {"q", "ங", "", ""},    {"r", "ச", "R", "#"},  {"Q", "ஞ", "", ""},    {"l", "ட", "L", "^"},
    {"z", "ண", "Z", "Z}"}, {"j", "த", "J", "J}"}, {"e", "ந", "E", "E}"}, {"g", "ப", "G", "G+"}, {"k", "ம", "K", "%"},
    {"a", "ய", "A", "A+"}, {"u", "ர", "U", "&"},  {"y", "ல", "Y", "Y}"}, {"t", "வ", "T", "T+"}, {"o", "ழ", "O", "*"},
    {"s", "ள", "S", "@"},  {"w", "ற", "W", "W}"}, {"d", "ன", "D", "D}"}, {"[", "ஜ", "", ""},    {"~", "ஷ", "", ""},
    {"\\", "ஷ", "", ""},   {"]", "ஸ", "", ""},    {"`", "ஹ", "", ""},
};

// Vowel signs written around the consonant code: before, after, Unicode.
const char* const signs[][3] = {
    {"", ";", "்"}, {"", "h", "ா"}, {"", "p", "ி"}, {"", "P", "ீ"}, {"n", "", "ெ"},
    {"N", "", "ே"}, {"i", "", "ை"}, {"n", "h", "ொ"}, {"N", "h", "ோ"}, {"n", "s", "ௌ"},
};

const char* const otherCases[][2] = { // codes, Unicode
    // vowels and the signs that stand alone; "xs" is ஔ drawn as ஒ and ள
    // (the base font's own ஔ glyph sets them a hair closer)
    {"m", "அ"}, {"M", "ஆ"}, {",", "இ"}, {"<", "ஈ"}, {"c", "உ"}, {"C", "ஊ"}, {"v", "எ"}, {"V", "ஏ"}, {"I", "ஐ"},
    {"x", "ஒ"}, {"X", "ஓ"}, {"xs", "ஒள"}, {"/", "ஃ"}, {"\"", "ஃ"}, {"=", "ஸ்ரீ"}, {"f;~", "க்ஷ"}, {"b", "டி"}, {"B", "டீ"},
    // words
    {"jkpo;", "தமிழ்"}, {"tzf;fk;", "வணக்கம்"}, {"E}y;", "நூல்"}, {"nfhL", "கொடு"}, {"gs;spf;$lk;", "பள்ளிக்கூடம்"},
    {"ehl;L", "நாட்டு"}, {"nrhy;", "சொல்"}, {"Nfhtpy;", "கோவில்"}, {"nfsuk;", "கௌரம்"}, {"ik", "மை"}, {"mk;kh", "அம்மா"},
    {"f;~kp", "க்ஷமி"}, {"=yq;fh", "ஸ்ரீலங்கா"}, {"[{ypah", "ஜுலியா"}, {"]_g;", "ஸூப்"},
    // digits and punctuation that keep their own glyphs
    {"2024 (jkpo;)!", "2024 (தமிழ்)!"}, {"1. ghL - 3:45?", "1. பாடு - 3:45?"}, {"'ik' > 10", "'மை' > 10"}, {"| - | }+", "| - | }+"},
};

// The text's advance and pixels, with room for ink past the advance.
std::pair<qreal, QImage> draw(const QString& text, const char* family, bool bold, QFont::HintingPreference hinting)
{
    QFont font(family);
    font.setPixelSize(40);
    font.setBold(bold);
    font.setHintingPreference(hinting);
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const qreal advance = layout.lineAt(0).cursorToX(text.size());
    QImage image(int(advance) + 48, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    layout.draw(&painter, QPointF(8, 8));
    return {advance, image};
}

} // namespace

class TestDisplayFontRendering : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(tk::fonts::registerDisplayFonts());
        for (const FontPair& pair : fontPairs) {
            const QString path = NOTO_DIR "/" + QString(pair.baseFamily).remove(u' ') + u'-' + pair.style + ".ttf";
            QVERIFY2(QFontDatabase::addApplicationFont(path) != -1, qPrintable(path));
        }
    }

    void codesLookLikeUnicode_data()
    {
        QTest::addColumn<int>("pair");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("unicode");
        for (int pair = 0; pair < int(std::size(fontPairs)); ++pair) {
            const auto add = [&](const QString& codes, const QString& unicode) {
                QTest::addRow("%s %s: %s", fontPairs[pair].displayFamily, fontPairs[pair].style, qPrintable(codes)) << pair << codes << unicode;
            };
            for (const auto& c : consonants) {
                const QString code = c.code, letter = c.letter;
                add(code, letter);
                for (const auto& [before, after, sign] : signs)
                    if (letter != "ட" || !QByteArrayView("pP").contains(*after)) // டி, டீ: among the other cases
                        add(before + code + after, letter + sign);
                if (*c.uForm) {
                    for (const QString& uu : {QString(c.uuForm), c.uForm + QString("}"), c.uForm + QString("+")})
                        add(uu, letter + "ூ");
                    add(c.uForm, letter + "ு");
                } else if (QStringLiteral("[~\\]`").contains(code)) {
                    add(code + u'{', letter + "ு");
                    add(code + u'_', letter + "ூ");
                }
            }
            for (const auto& c : otherCases)
                add(c[0], c[1]);
        }
    }

    void codesLookLikeUnicode()
    {
        QFETCH(int, pair);
        QFETCH(QString, codes);
        QFETCH(QString, unicode);
        const FontPair& fonts = fontPairs[pair];

        // Unhinted and with the fonts' own (shared) hinting; FreeType's
        // auto-hinter would take the code glyphs for Latin letters.
        for (const QFont::HintingPreference hinting : {QFont::PreferNoHinting, QFont::PreferFullHinting}) {
            const bool bold = fonts.style == QByteArrayView("Bold");
            const auto [codeAdvance, codeImage] = draw(codes, fonts.displayFamily, bold, hinting);
            const auto [advance, image] = draw(unicode, fonts.baseFamily, bold, hinting);
            QCOMPARE(codeAdvance, advance);
            QCOMPARE(codeImage, image);
        }
    }
};

QTEST_MAIN(TestDisplayFontRendering)
#include "test_display_font_rendering.moc"
