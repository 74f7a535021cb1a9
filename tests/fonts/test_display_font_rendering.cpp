// Font codes drawn in a display font must look exactly like the Unicode
// Tamil they stand for drawn in the font the display font was made from:
// the same glyphs at the same places, and the same pixels.
#include "display_fonts.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

#include <algorithm>

namespace {

struct FontPair {
    const char* tag;
    const char* displayFamily;
    const char* baseFamily;
    const char* baseFile;
    bool bold;
};

const FontPair fontPairs[] = {
    {"Kolvani", "Kolvani", "Noto Sans Tamil", "NotoSansTamil-Regular.ttf", false},
    {"Kolvani Bold", "Kolvani", "Noto Sans Tamil", "NotoSansTamil-Bold.ttf", true},
    {"Nelpari", "Nelpari", "Noto Serif Tamil", "NotoSerifTamil-Regular.ttf", false},
    {"Nelpari Bold", "Nelpari", "Noto Serif Tamil", "NotoSerifTamil-Bold.ttf", true},
};

struct Consonant {
    const char* code;
    const char* letter;
    const char* uForm;  // code drawing the consonant with ு, if any
    const char* uuForm; // code drawing it with ூ, if any
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
    const char* name;
    const char* before;
    const char* after;
    const char* unicode;
};

const Sign signs[] = {
    {"pulli", "", ";", "்"}, {"aa", "", "h", "ா"},    {"i", "", "p", "ி"},     {"ii", "", "P", "ீ"},
    {"e", "n", "", "ெ"},     {"ee", "N", "", "ே"},    {"ai", "i", "", "ை"},    {"o", "n", "h", "ொ"},
    {"oo", "N", "h", "ோ"},   {"au", "n", "s", "ௌ"},
};

struct Case {
    const char* codes;
    const char* unicode;
};

const Case otherCases[] = {
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

struct Glyph {
    quint32 index;
    qreal x;
    qreal y;
    QString family;
};

QList<Glyph> shapedGlyphs(const QString& text, const QFont& font, QTextLayout& layout)
{
    layout.setText(text);
    layout.setFont(font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<Glyph> glyphs;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i)
            glyphs.append({indexes[i], positions[i].x(), positions[i].y(), run.rawFont().familyName()});
    }
    // Compare drawings, not the order in which runs happen to list them.
    std::sort(glyphs.begin(), glyphs.end(), [](const Glyph& a, const Glyph& b) {
        return std::tie(a.x, a.y, a.index) < std::tie(b.x, b.y, b.index);
    });
    return glyphs;
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

bool sameOutline(const QPainterPath& a, const QPainterPath& b)
{
    if (a.elementCount() != b.elementCount())
        return false;
    for (int i = 0; i < a.elementCount(); ++i) {
        const QPainterPath::Element p = a.elementAt(i), q = b.elementAt(i);
        if (p.type != q.type || qAbs(p.x - q.x) > 0.05 || qAbs(p.y - q.y) > 0.05)
            return false;
    }
    return true;
}

// Empty when both lists draw the same glyphs at the same places. Glyph ids
// mean the same glyph in both fonts; a different id is still right when it
// draws the same outline: the length mark of ௌ is drawn by the code of ள.
QString glyphDifference(const QList<Glyph>& drawn, const QTextLayout& drawnLayout,
                        const QList<Glyph>& expected, const QTextLayout& expectedLayout)
{
    if (drawn.size() != expected.size())
        return QStringLiteral("%1 glyphs instead of %2").arg(drawn.size()).arg(expected.size());
    const QRawFont drawnFont = drawnLayout.glyphRuns().value(0).rawFont();
    const QRawFont expectedFont = expectedLayout.glyphRuns().value(0).rawFont();
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const Glyph &d = drawn[i], &e = expected[i];
        if (d.index != e.index && !sameOutline(drawnFont.pathForGlyph(d.index), expectedFont.pathForGlyph(e.index)))
            return QStringLiteral("glyph %1 of %2 is %3 instead of %4").arg(i).arg(drawn.size()).arg(d.index).arg(e.index);
        if (qAbs(d.x - e.x) > 0.01 || qAbs(d.y - e.y) > 0.01)
            return QStringLiteral("glyph %1 of %2 is at %3,%4 instead of %5,%6")
                .arg(i).arg(drawn.size()).arg(d.x).arg(d.y).arg(e.x).arg(e.y);
    }
    return {};
}

int differingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
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
        QTest::addColumn<QString>("displayFamily");
        QTest::addColumn<QString>("baseFamily");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("unicode");

        for (const FontPair& pair : fontPairs) {
            const QString display = QLatin1String(pair.displayFamily);
            const QString base = QLatin1String(pair.baseFamily);
            auto add = [&](const QString& codes, const QString& unicode) {
                QTest::addRow("%s: %s", pair.tag, qPrintable(codes))
                    << display << base << pair.bold << codes << unicode;
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
            for (const Case& c : otherCases)
                add(QString::fromUtf8(c.codes), QString::fromUtf8(c.unicode));
        }
    }

    void codesLookLikeUnicode()
    {
        QFETCH(QString, displayFamily);
        QFETCH(QString, baseFamily);
        QFETCH(bool, bold);
        QFETCH(QString, codes);
        QFETCH(QString, unicode);

        // Unhinted and with the fonts' own (shared) hinting; FreeType's
        // auto-hinter would take the code glyphs for Latin letters.
        for (const QFont::HintingPreference hinting : {QFont::PreferNoHinting, QFont::PreferFullHinting}) {
            QFont displayFont(displayFamily);
            QFont baseFont(baseFamily);
            for (QFont* font : {&displayFont, &baseFont}) {
                font->setPixelSize(40);
                font->setBold(bold);
                font->setHintingPreference(hinting);
            }
            QTextLayout codeLayout, unicodeLayout;
            const QList<Glyph> drawn = shapedGlyphs(codes, displayFont, codeLayout);
            const QList<Glyph> expected = shapedGlyphs(unicode, baseFont, unicodeLayout);
            for (const Glyph& g : drawn)
                QCOMPARE(g.family, displayFamily);
            for (const Glyph& g : expected)
                QCOMPARE(g.family, baseFamily);

            const QString glyphFault = glyphDifference(drawn, codeLayout, expected, unicodeLayout);
            QVERIFY2(glyphFault.isEmpty(), qPrintable(glyphFault));
            QCOMPARE(codeLayout.lineAt(0).cursorToX(codes.size()),
                     unicodeLayout.lineAt(0).cursorToX(unicode.size()));

            const QRectF bounds = codeLayout.boundingRect().united(unicodeLayout.boundingRect());
            const QSize size = bounds.size().toSize() + QSize(16, 16);
            const int differing = differingPixels(render(codeLayout, size), render(unicodeLayout, size));
            QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
        }
    }
};

QTEST_MAIN(TestDisplayFontRendering)
#include "test_display_font_rendering.moc"
