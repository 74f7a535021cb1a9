#include "unicode_html.h"

#include "unicode_runs.h"

#include <QColor>

namespace tk::unicode {

namespace {

using rtf::Alignment;
using rtf::CharStyle;
using rtf::Paragraph;
using rtf::ParagraphStyle;

void appendEscaped(QString& out, QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        case QChar::LineSeparator: out += QLatin1String("<br>"); break;
        case u'\t': out += c; break;
        default:
            // Control characters have no place in a page; the frame marks
            // of a text document are no text.
            if (c.unicode() >= 0x20 && c.unicode() != 0xFDD0 && c.unicode() != 0xFDD1)
                out += c;
        }
    }
}

// Sizes in hundredths of a point, indents in twips; the indents go out in
// CSS pixels (15 twips each), the unit every reader of pages takes.
QString points(int hundredths) { return QString::number(hundredths / 100.0, 'g', 6) + QLatin1String("pt"); }

QString pixels(int twips) { return QString::number(twips / 15.0, 'g', 6) + QLatin1String("px"); }

QString quotedFamily(const QString& family)
{
    QString name = family;
    name.remove(QLatin1Char('\'')).remove(QLatin1Char('"')).remove(QLatin1Char(';'));
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}

QString fontList(const QString& family)
{
    if (family != QLatin1String(unicodeTamilFamily))
        return quotedFamily(family);
    QStringList list;
    for (const QString& f : unicodeTamilFamilies())
        list << quotedFamily(f);
    return list.join(QLatin1Char(',')) + QLatin1String(",sans-serif");
}

QString spanStyle(const CharStyle& s)
{
    QString css;
    if (!s.family.isEmpty())
        css += QLatin1String("font-family:") + fontList(s.family) + QLatin1Char(';');
    css += QLatin1String("font-size:") + points(s.size) + QLatin1Char(';');
    if (s.bold)
        css += QLatin1String("font-weight:bold;");
    if (s.italic)
        css += QLatin1String("font-style:italic;");
    if (s.underline)
        css += QLatin1String("text-decoration:underline;");
    if (s.colour)
        css += QLatin1String("color:") + QColor::fromRgb(*s.colour).name() + QLatin1Char(';');
    css.chop(1);
    return css;
}

QString paragraphStyle(const ParagraphStyle& p)
{
    QString css = QStringLiteral("margin:0");
    switch (p.alignment) {
    case Alignment::Left: break;
    case Alignment::Right: css += QLatin1String(";text-align:right"); break;
    case Alignment::Centre: css += QLatin1String(";text-align:center"); break;
    case Alignment::Justify: css += QLatin1String(";text-align:justify"); break;
    }
    if (p.leftIndent != 0)
        css += QLatin1String(";margin-left:") + pixels(p.leftIndent);
    if (p.firstIndent != 0)
        css += QLatin1String(";text-indent:") + pixels(p.firstIndent);
    return css;
}

} // namespace

QString htmlOf(const rtf::RichText& text, const QString& title)
{
    std::vector<QString> spans;
    spans.reserve(text.styles.size());
    for (const CharStyle& s : text.styles)
        spans.push_back(QLatin1String("<span style=\"") + spanStyle(s) + QLatin1String("\">"));

    QString out;
    qsizetype size = 512;
    for (const Paragraph& p : text.paragraphs)
        for (const rtf::Run& r : p.runs)
            size += r.text.size() + 160;
    out.reserve(size);
    out += QLatin1String("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
    appendEscaped(out, title);
    out += QLatin1String("</title>\n<style>p { white-space: pre-wrap; }</style>\n</head>\n<body>");
    for (const Paragraph& p : text.paragraphs) {
        // No blank after the last paragraph: a reader would add it to that
        // paragraph's text.
        out += QLatin1String("\n<p style=\"") + paragraphStyle(p.format) + QLatin1String("\">");
        bool empty = true;
        for (const rtf::Run& r : p.runs) {
            if (r.text.isEmpty())
                continue;
            empty = false;
            const bool styled = r.style >= 0 && size_t(r.style) < spans.size();
            if (styled)
                out += spans[size_t(r.style)];
            appendEscaped(out, r.text);
            if (styled)
                out += QLatin1String("</span>");
        }
        // An empty paragraph still takes a line.
        if (empty)
            out += QLatin1String("<br>");
        out += QLatin1String("</p>");
    }
    out += QLatin1String("</body></html>");
    return out;
}

QString plainTextOf(const rtf::RichText& text, QStringView lineEnd)
{
    QString out;
    qsizetype size = 0;
    for (const Paragraph& p : text.paragraphs)
        for (const rtf::Run& r : p.runs)
            size += r.text.size() + lineEnd.size();
    out.reserve(size);
    bool first = true;
    for (const Paragraph& p : text.paragraphs) {
        if (!first)
            out += lineEnd;
        first = false;
        for (const rtf::Run& r : p.runs) {
            for (const QChar c : r.text) {
                if (c == QChar::LineSeparator)
                    out += lineEnd;
                else if (c.unicode() != 0xFDD0 && c.unicode() != 0xFDD1)
                    out += c;
            }
        }
    }
    return out;
}

} // namespace tk::unicode
