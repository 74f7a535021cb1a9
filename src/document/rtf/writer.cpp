#include "writer.h"

#include "codepage.h"
#include "control_words.h"
#include "display_fonts.h"

#include <QHash>

#include <cmath>

namespace tk::rtf {

namespace {

class Writer {
public:
    Writer(const RichText& text, QByteArray& out) : text_(text), out_(out) {}

    void header();
    void paragraph(const Paragraph& p);
    void separator() { out_.append("\\par\n"); }

private:
    void word(const char* name) { out_.append('\\').append(name); pendingSpace_ = true; }
    void word(const char* name, int value)
    {
        out_.append('\\').append(name).append(QByteArray::number(value));
        pendingSpace_ = true;
    }
    void switchTo(int style);
    void runText(const QString& s, bool tamil);
    void literal(char c)
    {
        if (pendingSpace_)
            out_.append(' ');
        pendingSpace_ = false;
        out_.append(c);
    }
    void hex(unsigned b)
    {
        static const char digits[] = "0123456789abcdef";
        out_.append("\\'").append(digits[b >> 4]).append(digits[b & 15]);
        pendingSpace_ = false;
    }

    const RichText& text_;
    QByteArray& out_;
    QHash<QString, int> fonts_;
    QHash<QRgb, int> colours_;
    std::vector<int> fontOfStyle_;
    std::vector<int> colourOfStyle_;
    const CharStyle* current_ = nullptr;
    bool pendingSpace_ = false;
};

void Writer::header()
{
    out_.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    // Fonts and colours in the order the styles first use them.
    QStringList fontNames;
    std::vector<QRgb> colours;
    for (const CharStyle& s : text_.styles) {
        const QString family = s.family;
        auto f = fonts_.constFind(family);
        if (f == fonts_.constEnd()) {
            f = fonts_.insert(family, int(fontNames.size()));
            fontNames.append(family);
        }
        fontOfStyle_.push_back(*f);
        int colour = 0;
        if (s.colour) {
            auto c = colours_.constFind(*s.colour);
            if (c == colours_.constEnd()) {
                c = colours_.insert(*s.colour, int(colours.size()) + 1);
                colours.push_back(*s.colour);
            }
            colour = *c;
        }
        colourOfStyle_.push_back(colour);
    }
    if (fontNames.isEmpty())
        fontNames.append(QString());
    out_.append("{\\fonttbl");
    for (qsizetype i = 0; i < fontNames.size(); ++i) {
        out_.append("{\\f").append(QByteArray::number(i)).append("\\fnil\\fcharset0");
        pendingSpace_ = true;
        // A semicolon would end the name early; the reader trims the rest.
        runText(QString(fontNames[i]).replace(u';', u' ').trimmed(), false);
        out_.append(";}");
        pendingSpace_ = false;
    }
    out_.append("}\n{\\colortbl ;");
    for (const QRgb c : colours)
        out_.append("\\red").append(QByteArray::number(qRed(c)))
            .append("\\green").append(QByteArray::number(qGreen(c)))
            .append("\\blue").append(QByteArray::number(qBlue(c))).append(';');
    out_.append("}\n");
    pendingSpace_ = false;
}

void Writer::paragraph(const Paragraph& p)
{
    word("pard");
    switch (p.format.alignment) {
    case Alignment::Left: word("ql"); break;
    case Alignment::Right: word("qr"); break;
    case Alignment::Centre: word("qc"); break;
    case Alignment::Justify: word("qj"); break;
    }
    if (p.format.leftIndent)
        word("li", p.format.leftIndent);
    if (p.format.firstIndent)
        word("fi", p.format.firstIndent);
    for (const Run& r : p.runs) {
        switchTo(r.style);
        runText(r.text, fonts::isTamilDisplayFont(current_->family));
    }
    if (p.runs.empty())
        switchTo(p.markStyle); // so that typing into the empty line keeps its format
}

void Writer::switchTo(int index)
{
    const CharStyle& s = text_.styles[size_t(index)];
    const CharStyle* was = current_;
    if (was == &s)
        return;
    if (!was || fontOfStyle_[size_t(was - text_.styles.data())] != fontOfStyle_[size_t(index)])
        word("f", fontOfStyle_[size_t(index)]);
    if (!was || was->size != s.size) {
        word("fs", int(std::lround(s.size / 50.0)));
        if (s.size % 50)
            word(exactSizeWord, s.size);
    }
    if (!was || was->bold != s.bold)
        word(s.bold ? "b" : "b0");
    if (!was || was->italic != s.italic)
        word(s.italic ? "i" : "i0");
    if (!was || was->underline != s.underline)
        word(s.underline ? "ul" : "ulnone");
    if (!was || colourOfStyle_[size_t(was - text_.styles.data())] != colourOfStyle_[size_t(index)])
        word("cf", colourOfStyle_[size_t(index)]);
    current_ = &s;
}

void Writer::runText(const QString& s, bool tamil)
{
    for (const QChar qc : s) {
        const char16_t c = qc.unicode();
        if (c == '\\' || c == '{' || c == '}') {
            out_.append('\\').append(char(c));
            pendingSpace_ = false;
        } else if (c == '\t') {
            word("tab");
        } else if (c == 0x2028) {
            word("line");
        } else if (c < 0x20 || c == 0xFDD0 || c == 0xFDD1) {
            // Control characters and frame marks are not text.
        } else if (c < 0x80) {
            literal(char(c));
        } else if (c < 0x100 && (tamil || c >= 0xA0)) {
            hex(c);
        } else {
            // Above 255, and C1 controls outside the display fonts, which
            // code page 1252 would read back as other characters.
            word("u", int(int16_t(c)));
            // The code page 1252 image as the fallback where there is one,
            // except in display fonts, where that fallback means the byte.
            const int fallback = tamil ? -1 : cp1252Byte(c);
            if (fallback >= 0x80)
                hex(unsigned(fallback));
            else
                literal('?');
        }
    }
}

} // namespace

QByteArray writeRtf(const RichText& text, const Progress& progress)
{
    QByteArray out;
    qsizetype estimate = 256;
    for (const Paragraph& p : text.paragraphs)
        for (const Run& r : p.runs)
            estimate += r.text.size() + 16;
    out.reserve(estimate + estimate / 4);
    Writer w(text, out);
    w.header();
    const size_t n = text.paragraphs.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0)
            w.separator();
        w.paragraph(text.paragraphs[i]);
        if (progress && (i & 4095) == 4095)
            progress(double(i) / double(n));
    }
    out.append("}\n");
    return out;
}

} // namespace tk::rtf
