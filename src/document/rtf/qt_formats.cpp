#include "qt_formats.h"

#include "units.h"

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

} // namespace

QString familyOf(const QTextCharFormat& f, const QFont& defaultFont)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
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
