#include "qt_formats.h"

#include "units.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>

#include <cmath>

namespace tk::rtf {

namespace {

constexpr int boldWeight = 600; // DemiBold and heavier write as bold

// Qt files a document's character formats under a hash that leaves a list of
// families out, so formats that differ only in their family all collide and
// each new one is compared with every other: a file with thousands of fonts
// took minutes to load. The family once more as a plain string keeps their
// hashes apart; nothing reads it.
constexpr int familyHashProperty = QTextFormat::UserProperty + 0x746B;
// A run shown in a stand-in family (see charFormatsOf): the family it keeps
// for saving, and the stand-in, so that a font given to it later wins.
constexpr int keptFamilyProperty = QTextFormat::UserProperty + 0x746C;
constexpr int standInFamilyProperty = QTextFormat::UserProperty + 0x746D;
// Families not installed that a document shows as named.
constexpr qsizetype shownMissingFamilies = 256;

} // namespace

QString familyOf(const QTextCharFormat& f, const QFont& defaultFont)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        if (f.hasProperty(keptFamilyProperty) && families.first() == f.stringProperty(standInFamilyProperty))
            return f.stringProperty(keptFamilyProperty);
        return families.first();
    }
    if (f.hasProperty(QTextFormat::FontFamily) && !f.stringProperty(QTextFormat::FontFamily).isEmpty())
        return f.stringProperty(QTextFormat::FontFamily);
    return defaultFont.family();
}

CharStyle charStyleOf(const QTextCharFormat& f, const QFont& defaultFont)
{
    CharStyle s;
    s.family = familyOf(f, defaultFont);

    qreal points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : defaultFont.pointSizeF();
    if (points <= 0)
        points = 12;
    s.size = int(std::lround(points * 100));

    s.bold = (f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() : defaultFont.weight()) >= boldWeight;
    s.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : defaultFont.italic();
    const bool underlineSet = f.hasProperty(QTextFormat::TextUnderlineStyle) || f.hasProperty(QTextFormat::FontUnderline);
    s.underline = underlineSet ? f.fontUnderline() : defaultFont.underline();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        s.colour = f.foreground().color().rgb();
    return s;
}

QTextCharFormat charFormatOf(const CharStyle& s)
{
    QTextCharFormat f;
    if (!s.family.isEmpty()) {
        f.setFontFamilies({s.family});
        f.setProperty(familyHashProperty, s.family);
    }
    f.setFontPointSize(s.size / 100.0);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    if (s.colour)
        f.setForeground(QColor::fromRgb(*s.colour));
    return f;
}

std::vector<QTextCharFormat> charFormatsOf(const std::vector<CharStyle>& styles)
{
    std::vector<QTextCharFormat> formats;
    formats.reserve(styles.size());
    QSet<QString> families;
    for (const CharStyle& s : styles) {
        formats.push_back(charFormatOf(s));
        if (!s.family.isEmpty())
            families.insert(s.family);
    }
    // Without a GUI nothing is laid out, and the font database cannot be asked.
    if (families.size() <= shownMissingFamilies || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return formats;
    QSet<QString> installed;
    for (const QString& family : QFontDatabase::families())
        installed.insert(family.toCaseFolded());
    const QString standIn = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QSet<QString> shown;
    for (size_t i = 0; i < styles.size(); ++i) {
        const QString& family = styles[i].family;
        if (family.isEmpty() || shown.contains(family) || installed.contains(family.toCaseFolded()))
            continue;
        if (shown.size() < shownMissingFamilies) {
            shown.insert(family);
            continue;
        }
        formats[i].setFontFamilies({standIn});
        formats[i].setProperty(keptFamilyProperty, family);
        formats[i].setProperty(standInFamilyProperty, standIn);
    }
    return formats;
}

ParagraphStyle paragraphStyleOf(const QTextBlockFormat& f)
{
    ParagraphStyle s;
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        s.alignment = Alignment::Right;
    else if (a & Qt::AlignHCenter)
        s.alignment = Alignment::Centre;
    else if (a & Qt::AlignJustify)
        s.alignment = Alignment::Justify;
    s.leftIndent = pixelsToTwips(f.leftMargin());
    s.firstIndent = pixelsToTwips(f.textIndent());
    return s;
}

QTextBlockFormat blockFormatOf(const ParagraphStyle& s)
{
    QTextBlockFormat f;
    switch (s.alignment) {
    case Alignment::Left: f.setAlignment(Qt::AlignLeft); break;
    case Alignment::Right: f.setAlignment(Qt::AlignRight); break;
    case Alignment::Centre: f.setAlignment(Qt::AlignHCenter); break;
    case Alignment::Justify: f.setAlignment(Qt::AlignJustify); break;
    }
    f.setLeftMargin(twipsToPixels(s.leftIndent));
    f.setTextIndent(twipsToPixels(s.firstIndent));
    return f;
}

} // namespace tk::rtf
