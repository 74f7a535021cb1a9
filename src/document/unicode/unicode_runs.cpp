#include "unicode_runs.h"

#include "engine/font_codes.h"
#include "engine/tamil_unicode.h"
#include "display_fonts.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <unordered_map>

namespace tk::unicode {

namespace {

using rtf::CharStyle;
using rtf::Paragraph;
using rtf::RichText;
using rtf::Run;

constexpr char16_t zwnj = 0x200C, zwj = 0x200D;

bool isDisplayFamily(const QString& family) { return family.isEmpty() || fonts::isTamilDisplayFont(family); }

bool isUnicodeTamilFont(const QString& family)
{
    return family.contains(QLatin1String("Tamil"), Qt::CaseInsensitive)
        || unicodeTamilFamilies().contains(family, Qt::CaseInsensitive);
}

// Blanks between two Tamil words belong to the Tamil text, so a sentence
// stays one run in the display font.
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0; }

// The styles of a rich text with the variants this conversion adds, each
// made once.
class Styles {
public:
    explicit Styles(std::vector<CharStyle>& styles) : styles_(styles)
    {
        for (size_t i = 0; i < styles_.size(); ++i)
            index_.try_emplace(styles_[i], int(i));
    }

    int withFamily(int style, const QString& family)
    {
        CharStyle s = at(style);
        if (s.family == family)
            return style;
        s.family = family;
        const auto [it, added] = index_.try_emplace(s, int(styles_.size()));
        if (added)
            styles_.push_back(s);
        return it->second;
    }

    const CharStyle& at(int style) const
    {
        static const CharStyle none;
        return style >= 0 && size_t(style) < styles_.size() ? styles_[size_t(style)] : none;
    }

private:
    std::vector<CharStyle>& styles_;
    std::unordered_map<CharStyle, int, rtf::CharStyleHash> index_;
};

void append(std::vector<Run>& runs, QString text, int style)
{
    if (text.isEmpty())
        return;
    if (!runs.empty() && runs.back().style == style)
        runs.back().text += text;
    else
        runs.push_back(Run{std::move(text), style});
}

// Unicode Tamil to codes; what has no code stays Unicode. pieces gets the
// text in order, each part flagged as codes or not.
struct Piece {
    QString text;
    bool codes;
};

bool toCodes(QStringView unicode, QString& codes)
{
    const QByteArray utf8 = unicode.toUtf8();
    const engine::UnicodeToCodes r = engine::unicodeToCodes(std::string_view(utf8.constData(), size_t(utf8.size())));
    if (r.malformed || r.unconverted > 0)
        return false;
    codes = QString::fromLatin1(r.codes.data(), qsizetype(r.codes.size()));
    return true;
}

void convertStretch(QStringView stretch, std::vector<Piece>& pieces, UnicodeIn& count)
{
    QString codes;
    if (toCodes(stretch, codes)) {
        pieces.push_back({codes, true});
        return;
    }
    // Something has no code: find it letter by letter (a letter being a
    // consonant with its signs), keep it, convert the rest.
    const QString text = stretch.toString();
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, text);
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype to = letters.toNextBoundary();
        const QStringView letter = QStringView(text).sliced(from, (to < 0 ? text.size() : to) - from);
        if (toCodes(letter, codes)) {
            pieces.push_back({codes, true});
        } else {
            pieces.push_back({letter.toString(), false});
            count.unconverted += letter.size();
        }
        from = to < 0 ? text.size() : to;
    }
}

// Where the Tamil stretch that starts at i ends: Tamil letters, joiners, and
// blanks with Tamil after them.
qsizetype tamilStretchEnd(QStringView text, qsizetype i)
{
    qsizetype end = i;
    for (qsizetype j = i; j < text.size(); ++j) {
        const char16_t c = text[j].unicode();
        if (isTamil(c) || c == zwj || c == zwnj)
            end = j + 1;
        else if (!isBlank(c))
            break;
    }
    return end;
}

bool paragraphNeedsWork(const Paragraph& p, const std::vector<CharStyle>& styles)
{
    for (const Run& r : p.runs) {
        if (r.style >= 0 && size_t(r.style) < styles.size() && isUnicodeTamilFont(styles[size_t(r.style)].family))
            return true;
        for (const QChar c : r.text)
            if (isTamil(c.unicode()))
                return true;
    }
    return false;
}

// Codes drawn before their consonant, and codes that attach to the letter
// before them.
bool isPreBaseSign(QChar c)
{
    for (const engine::fontcodes::Sign& s : engine::fontcodes::signs)
        if (s.preBase && QChar(uchar(s.code)) == c)
            return true;
    return false;
}

bool isPostBaseSign(QChar c)
{
    for (const engine::fontcodes::Sign& s : engine::fontcodes::signs)
        if (!s.preBase && QChar(uchar(s.code)) == c)
            return true;
    return c.unicode() < 0x100 && engine::fontcodes::isUuMark(char(c.unicode()));
}

// Moves the parts of a letter that straddle a boundary between two runs of
// codes into the run of its consonant.
void keepLettersWhole(std::vector<Run>& runs, const Styles& styles)
{
    for (size_t i = 0; i + 1 < runs.size(); ++i) {
        Run& a = runs[i];
        Run& b = runs[i + 1];
        if (!isDisplayFamily(styles.at(a.style).family) || !isDisplayFamily(styles.at(b.style).family))
            continue;
        qsizetype pre = 0;
        while (pre < a.text.size() && isPreBaseSign(a.text[a.text.size() - 1 - pre]))
            ++pre;
        if (pre > 0) {
            b.text.prepend(a.text.right(pre));
            a.text.chop(pre);
        }
        qsizetype post = 0;
        while (post < b.text.size() && isPostBaseSign(b.text[post]))
            ++post;
        if (post > 0 && !a.text.isEmpty()) {
            a.text += b.text.left(post);
            b.text.remove(0, post);
        }
    }
    std::erase_if(runs, [](const Run& r) { return r.text.isEmpty(); });
}

QString unicodeOfCodes(const QString& text)
{
    // Characters above 255 are no codes: they pass as they are.
    QString out;
    out.reserve(text.size() * 2);
    qsizetype i = 0;
    std::string codes;
    while (i < text.size()) {
        codes.clear();
        while (i < text.size() && text[i].unicode() < 0x100)
            codes.push_back(char(text[i++].unicode()));
        if (!codes.empty())
            out += QString::fromStdString(engine::codesToUnicode(codes));
        while (i < text.size() && text[i].unicode() >= 0x100)
            out += text[i++];
    }
    return out;
}

} // namespace

const QStringList& unicodeTamilFamilies()
{
    static const QStringList families{QString::fromLatin1(unicodeTamilFamily), QStringLiteral("Noto Serif Tamil"),
                                      QStringLiteral("Lohit Tamil"), QStringLiteral("Latha"),
                                      QStringLiteral("Nirmala UI"), QStringLiteral("Tamil Sangam MN"),
                                      QStringLiteral("Tamil MN")};
    return families;
}

UnicodeIn codesFromUnicode(RichText& text, const QString& latinFamily)
{
    UnicodeIn count;
    Styles styles(text.styles);
    const QString kolvani = QString::fromLatin1(fonts::kolvaniFamily);
    const auto tamilStyle = [&](int style) {
        const QString& family = styles.at(style).family;
        return styles.withFamily(style, !family.isEmpty() && fonts::isTamilDisplayFont(family) ? family : kolvani);
    };
    // What is not Tamil keeps its font, unless that is a Unicode Tamil font:
    // its blanks then go with the Tamil, the rest into a Latin font.
    const auto otherStyle = [&](int style, QStringView part) {
        if (!isUnicodeTamilFont(styles.at(style).family))
            return style;
        const bool blanks = std::all_of(part.begin(), part.end(), [](QChar c) { return isBlank(c.unicode()); });
        return blanks ? tamilStyle(style) : styles.withFamily(style, latinFamily);
    };

    std::vector<Piece> pieces;
    for (Paragraph& p : text.paragraphs) {
        if (!paragraphNeedsWork(p, text.styles))
            continue;
        std::vector<Run> out;
        for (Run& r : p.runs) {
            const QStringView s(r.text);
            qsizetype i = 0;
            while (i < s.size()) {
                qsizetype j = i;
                while (j < s.size() && !isTamil(s[j].unicode()))
                    ++j;
                append(out, s.sliced(i, j - i).toString(), otherStyle(r.style, s.sliced(i, j - i)));
                if (j == s.size())
                    break;
                const qsizetype end = tamilStretchEnd(s, j);
                pieces.clear();
                convertStretch(s.sliced(j, end - j), pieces, count);
                for (qsizetype k = j; k < end; ++k)
                    count.converted += isTamil(s[k].unicode()) ? 1 : 0;
                // A letter without a code stays in the run's own font.
                for (Piece& piece : pieces)
                    append(out, std::move(piece.text), piece.codes ? tamilStyle(r.style) : r.style);
                i = end;
            }
        }
        p.runs = std::move(out);
        p.markStyle = isUnicodeTamilFont(styles.at(p.markStyle).family) ? tamilStyle(p.markStyle) : p.markStyle;
    }
    count.converted -= count.unconverted;
    return count;
}

QString unconvertedNotice(qsizetype unconverted, const QString& source)
{
    if (unconverted <= 0)
        return {};
    if (unconverted == 1)
        return QStringLiteral("1 character in %1 has no Tamil font code and was kept as it is.").arg(source);
    return QStringLiteral("%1 characters in %2 have no Tamil font code and were kept as they are.")
        .arg(unconverted)
        .arg(source);
}

bool holdsUnicodeTamil(const RichText& text)
{
    return std::any_of(text.paragraphs.begin(), text.paragraphs.end(),
                       [&](const Paragraph& p) { return paragraphNeedsWork(p, text.styles); });
}

RichText unicodeFromCodes(const RichText& text)
{
    RichText out;
    out.styles = text.styles;
    Styles styles(out.styles);
    const QString tamil = QString::fromLatin1(unicodeTamilFamily);
    out.paragraphs.reserve(text.paragraphs.size());
    for (const Paragraph& p : text.paragraphs) {
        Paragraph q;
        q.format = p.format;
        q.runs = p.runs;
        keepLettersWhole(q.runs, styles);
        for (Run& r : q.runs) {
            if (!isDisplayFamily(styles.at(r.style).family))
                continue;
            r.text = unicodeOfCodes(r.text);
            r.style = styles.withFamily(r.style, tamil);
        }
        q.markStyle = isDisplayFamily(styles.at(p.markStyle).family) ? styles.withFamily(p.markStyle, tamil)
                                                                     : p.markStyle;
        out.paragraphs.push_back(std::move(q));
    }
    return out;
}

RichText richTextOfPlainText(QStringView text, const CharStyle& style)
{
    RichText out;
    out.styles.push_back(style);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const char16_t c = i < text.size() ? text[i].unicode() : u'\n';
        if (c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator)
            continue;
        Paragraph p;
        if (i > start)
            p.runs.push_back(Run{text.sliced(start, i - start).toString(), 0});
        out.paragraphs.push_back(std::move(p));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return out;
}

} // namespace tk::unicode
