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

struct FontPair {
    const char *tag, *displayFamily, *baseFamily, *baseFile;
    bool bold;
};

const FontPair fontPairs[] = {
    {"Kolvani", "Kolvani", "Noto Sans Tamil", "NotoSansTamil-Regular.ttf", false},
    {"Kolvani Bold", "Kolvani", "Noto Sans Tamil", "NotoSansTamil-Bold.ttf", true},
    {"Nelpari", "Nelpari", "Noto Serif Tamil", "NotoSerifTamil-Regular.ttf", false},
    {"Nelpari Bold", "Nelpari", "Noto Serif Tamil", "NotoSerifTamil-Bold.ttf", true},
};

struct Consonant {
    const char *code, *letter, *uForm, *uuForm; // the codes drawing it with ு and ூ, if any
};

// ஜ ஷ ஸ ஹ take ு and ூ as separate signs; ங and ஞ have no code for them.
const Consonant consonants[] = {
    {"f", "க", "F", "$"},  {"q", "ங", "", ""},    {"r", "ச", "R", "#"},  {"Q", "ஞ", "", ""},
    {"l", "ட", "L", "^"},  {"z", "ண", "Z", "Z}"}, {"j", "த", "J", "J}"}, {"e", "ந", "E", "E}"},
    {"g", "ப", "G", "G+"}, {"k", "ம", "K", "%"},  {"a", "ய", "A", "A+"}, {"u", "ர", "U", "&"},
    {"y", "ல", "Y", "Y}"}, {"t", "வ", "T", "T+"}, {"o", "ழ", "O", "*"},  {"s", "ள", "S", "@"},
    {"w", "ற", "W", "W}"}, {"d", "ன", "D", "D}"}, {"[", "ஜ", "", ""},    {"~", "ஷ", "", ""},
    {"\\", "ஷ", "", ""},   {"]", "ஸ", "", ""},    {"`", "ஹ", "", ""},
};

// A vowel sign written around the consonant code.
struct Sign {
    const char *name, *before, *after, *unicode;
};

const Sign signs[] = {
    {"pulli", "", ";", "்"}, {"aa", "", "h", "ா"},    {"i", "", "p", "ி"},     {"ii", "", "P", "ீ"},
    {"e", "n", "", "ெ"},     {"ee", "N", "", "ே"},    {"ai", "i", "", "ை"},    {"o", "n", "h", "ொ"},
    {"oo", "N", "h", "ோ"},   {"au", "n", "s", "ௌ"},
};

const char* const otherCases[][2] = { // codes, Unicode
    // vowels and the signs that stand alone; "xs" is ஔ drawn as ஒ and ள
    // (the base font's own ஔ glyph sets them a hair closer)
    {"m", "அ"}, {"M", "ஆ"}, {",", "இ"}, {"<", "ஈ"}, {"c", "உ"}, {"C", "ஊ"}, {"v", "எ"},
    {"V", "ஏ"}, {"I", "ஐ"}, {"x", "ஒ"}, {"X", "ஓ"}, {"xs", "ஒள"}, {"/", "ஃ"}, {"\"", "ஃ"},
    {"=", "ஸ்ரீ"}, {"f;~", "க்ஷ"}, {"b", "டி"}, {"B", "டீ"},
    // words
    {"jkpo;", "தமிழ்"}, {"tzf;fk;", "வணக்கம்"}, {"E}y;", "நூல்"}, {"nfhL", "கொடு"},
    {"gs;spf;$lk;", "பள்ளிக்கூடம்"}, {"ehl;L", "நாட்டு"}, {"nrhy;", "சொல்"},
    {"Nfhtpy;", "கோவில்"}, {"nfsuk;", "கௌரம்"}, {"ik", "மை"}, {"mk;kh", "அம்மா"},
    {"f;~kp", "க்ஷமி"}, {"=yq;fh", "ஸ்ரீலங்கா"}, {"[{ypah", "ஜுலியா"}, {"]_g;", "ஸூப்"},
    // digits and punctuation that keep their own glyphs
    {"2024 (jkpo;)!", "2024 (தமிழ்)!"}, {"1. ghL - 3:45?", "1. பாடு - 3:45?"},
    {"'ik' > 10", "'மை' > 10"}, {"| - | }+", "| - | }+"},
};

void layOut(QTextLayout& layout, const QString& text, const QFont& font)
{
    layout.setText(text);
    layout.setFont(font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

QImage render(const QTextLayout& layout, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    layout.draw(&painter, QPointF(8, 8));
    return image;
}

} // namespace

class TestDisplayFontRendering : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(tk::fonts::registerDisplayFonts());
        for (const FontPair& pair : fontPairs) {
            const QString path = QStringLiteral(NOTO_DIR "/") + QLatin1String(pair.baseFile);
            QVERIFY2(QFontDatabase::addApplicationFont(path) != -1, qPrintable(path));
        }
    }

    void codesLookLikeUnicode_data()
    {
        QTest::addColumn<int>("pair");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("unicode");

        for (int pair = 0; pair < int(std::size(fontPairs)); ++pair) {
            auto add = [&](const QString& codes, const QString& unicode) {
                QTest::addRow("%s: %s", fontPairs[pair].tag, qPrintable(codes)) << pair << codes << unicode;
            };
            for (const Consonant& c : consonants) {
                const QString code = QString::fromUtf8(c.code);
                const QString letter = QString::fromUtf8(c.letter);
                add(code, letter);
                for (const Sign& s : signs) {
                    QString codes = QLatin1String(s.before) + code + QLatin1String(s.after);
                    if (letter == QStringLiteral("ட") && QByteArrayView("pP").contains(*s.after))
                        codes = QString(QChar(*s.after == 'p' ? 'b' : 'B')); // ligatures of their own
                    add(codes, letter + QString::fromUtf8(s.unicode));
                }
                if (*c.uForm) {
                    add(QString::fromUtf8(c.uForm), letter + QStringLiteral("ு"));
                    add(QString::fromUtf8(c.uuForm), letter + QStringLiteral("ூ"));
                    add(QString::fromUtf8(c.uForm) + u'}', letter + QStringLiteral("ூ"));
                    add(QString::fromUtf8(c.uForm) + u'+', letter + QStringLiteral("ூ"));
                } else if (QStringLiteral("[~\\]`").contains(code)) {
                    add(code + u'{', letter + QStringLiteral("ு"));
                    add(code + u'_', letter + QStringLiteral("ூ"));
                }
            }
            for (const auto& c : otherCases)
                add(QString::fromUtf8(c[0]), QString::fromUtf8(c[1]));
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
            QFont displayFont(fonts.displayFamily), baseFont(fonts.baseFamily);
            for (QFont* font : {&displayFont, &baseFont}) {
                font->setPixelSize(40);
                font->setBold(fonts.bold);
                font->setHintingPreference(hinting);
            }
            QTextLayout codeLayout, unicodeLayout;
            layOut(codeLayout, codes, displayFont);
            layOut(unicodeLayout, unicode, baseFont);
            QCOMPARE(codeLayout.lineAt(0).cursorToX(codes.size()), unicodeLayout.lineAt(0).cursorToX(unicode.size()));

            const QRectF bounds = codeLayout.boundingRect().united(unicodeLayout.boundingRect());
            const QSize size = bounds.size().toSize() + QSize(16, 16);
            QCOMPARE(render(codeLayout, size), render(unicodeLayout, size));
        }
    }
};

QTEST_MAIN(TestDisplayFontRendering)
#include "test_display_font_rendering.moc"
