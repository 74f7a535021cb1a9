#include "reader.h"

#include "codepage.h"
#include "control_words.h"
#include "display_fonts.h"
#include "tokenizer.h"

#include <QHash>

#include <algorithm>
#include <unordered_map>

namespace tk::rtf {

namespace {

enum class Destination { Body, FontTable, ColourTable, Skip };

// Sizes outside this range (in hundredths of a point) are clamped.
constexpr int minSize = 1;
constexpr int maxSize = 163800;
// Indents beyond about 50 metres are clamped.
constexpr int maxIndent = 1 << 24;

// What a group inherits and restores: destination, character and paragraph
// format, and the \uc count.
struct State {
    Destination destination = Destination::Body;
    int font = -1; // -1: the \deff font
    int size = 1200; // hundredths of a point, \fs24
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
    int unicodeSkip = 1;
    bool inTable = false; // \intbl: the paragraph is a table cell's
    ParagraphStyle paragraph;
};

struct FontEntry {
    QString name;
    int codePage = 0; // as codePageForCharset
};

class Reader {
public:
    Reader(QByteArrayView data, RichText& out, const Progress& progress)
        : data_(data), tokens_(data), out_(out), progress_(progress) {}

    Result run();

private:
    Result finish();
    void controlWord(const Token& t);
    void bodyWord(const WordInfo& info, const Token& t);
    void fontTableWord(Word word, const Token& t);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void textByte(unsigned char b);
    void unicode(int value);
    void put(QChar c);
    void putLatin1(QByteArrayView ascii);
    void endParagraph();
    void pushGroup();
    void popGroup();
    void commitFont();
    void takeBackImage(int byte);
    void addToFontName(QChar c);
    void resolveFont();
    int currentStyle();
    bool consumeSkip();

    QByteArrayView data_;
    Tokenizer tokens_;
    RichText& out_;
    const Progress& progress_;

    std::vector<State> stack_;
    State st_;
    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    int skip_ = 0;        // fallback characters after \uN still to drop
    int leadByte_ = -1;   // first byte of a double-byte character
    bool starred_ = false;// \* seen: the group is skipped unless understood
    int imageByte_ = -1;  // the code page 1252 byte of the \uN just read
    bool tableOpen_ = false; // rows seen since the last paragraph outside a table

    std::unordered_map<int, FontEntry> fonts_;
    int entryNumber_ = 0;
    FontEntry entry_;
    bool entryOpen_ = false;

    std::vector<std::optional<QRgb>> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSet_ = false;

    // Caches, refreshed when the format changes.
    bool fontDirty_ = true;
    bool styleDirty_ = true;
    bool fontIsBytes_ = false; // Tamil display and symbol fonts keep byte values
    bool fontIsTamil_ = false;
    const CodePage* page_ = nullptr;
    QString family_;
    int style_ = 0;
    std::unordered_map<CharStyle, int, CharStyleHash> styleIndex_;

    Paragraph paragraph_;
};

Result Reader::run()
{
    if (!looksLikeRtf(data_))
        return Result::failure(QStringLiteral("not an RTF document"));
    constexpr qsizetype progressStep = 1 << 16;
    qsizetype nextReport = progressStep;
    int depth = 0;
    for (;;) {
        const Token t = tokens_.next();
        if (progress_ && tokens_.position() >= nextReport) {
            nextReport = tokens_.position() + progressStep;
            if (!progress_(double(tokens_.position()) / double(std::max<qsizetype>(1, data_.size()))))
                return Result::failure(QStringLiteral("cancelled"));
        }
        if (t.type == Token::End)
            return finish(); // missing final braces are forgiven
        if (t.type != Token::Text && t.type != Token::HexByte)
            leadByte_ = -1;
        const int imageByte = imageByte_;
        imageByte_ = -1; // only the token right after \uN may confirm it
        if (depth == 0 && t.type != Token::GroupOpen)
            continue; // white space before the document's first brace
        switch (t.type) {
        case Token::End:
            break;
        case Token::GroupOpen:
            if (++depth > maxGroupDepth)
                return Result::failure(QStringLiteral("groups nested more than %1 deep").arg(maxGroupDepth));
            skip_ = 0;
            pushGroup();
            break;
        case Token::GroupClose:
            skip_ = 0;
            if (--depth == 0)
                return finish(); // whatever follows the document's last brace is not part of it
            popGroup();
            break;
        case Token::ControlWord:
            if (!consumeSkip())
                controlWord(t);
            break;
        case Token::ControlSymbol:
            if (!consumeSkip())
                controlSymbol(t.symbol);
            break;
        case Token::HexByte:
            if (skip_ > 0 && t.param == imageByte)
                takeBackImage(imageByte);
            if (!consumeSkip())
                textByte((unsigned char)t.param);
            break;
        case Token::Binary:
            consumeSkip();
            break;
        case Token::Text:
            text(t.word);
            break;
        }
    }
}

Result Reader::finish()
{
    if (entryOpen_)
        commitFont();
    endParagraph();
    return Result::success();
}

bool Reader::consumeSkip()
{
    if (skip_ <= 0)
        return false;
    --skip_;
    return true;
}

void Reader::pushGroup()
{
    stack_.push_back(st_);
    starred_ = false;
}

void Reader::popGroup()
{
    if (st_.destination == Destination::FontTable && entryOpen_ && !entry_.name.isEmpty())
        commitFont();
    if (stack_.empty())
        return;
    const State& outer = stack_.back();
    if (outer.font != st_.font)
        fontDirty_ = true;
    st_ = outer;
    stack_.pop_back();
    styleDirty_ = true;
    starred_ = false;
}

void Reader::controlWord(const Token& t)
{
    if (st_.destination == Destination::Skip)
        return;
    const WordInfo info = lookupWord(t.word);
    // Counted even where skipped as an optional destination (\*\shppict).
    if (info.word == Word::Picture || info.word == Word::Object) {
        ++(info.word == Word::Picture ? out_.dropped.pictures : out_.dropped.objects);
        starred_ = false;
        st_.destination = Destination::Skip;
        return;
    }
    if (starred_) {
        // An optional destination this reader does not know: skip its group.
        starred_ = false;
        st_.destination = Destination::Skip;
        return;
    }
    switch (info.word) {
    case Word::FontTable:
        st_.destination = Destination::FontTable;
        entryOpen_ = false;
        return;
    case Word::ColourTable:
        st_.destination = Destination::ColourTable;
        colours_.clear();
        colourSet_ = false;
        return;
    case Word::SkipDestination:
        st_.destination = Destination::Skip;
        return;
    case Word::UnicodeSkip:
        st_.unicodeSkip = std::clamp(t.param, 0, 64);
        return;
    case Word::Unicode:
        unicode(t.param);
        return;
    default:
        break;
    }
    switch (st_.destination) {
    case Destination::Body:
        bodyWord(info, t);
        break;
    case Destination::FontTable:
        fontTableWord(info.word, t);
        break;
    case Destination::ColourTable:
        if (info.word == Word::Red || info.word == Word::Green || info.word == Word::Blue) {
            const int v = std::clamp(t.param, 0, 255);
            (info.word == Word::Red ? red_ : info.word == Word::Green ? green_ : blue_) = v;
            colourSet_ = true;
        }
        break;
    case Destination::Skip:
        break;
    }
}

void Reader::bodyWord(const WordInfo& info, const Token& t)
{
    const bool on = !t.hasParam || t.param != 0;
    switch (info.word) {
    case Word::Ansi: ansiCodePage_ = 1252; fontDirty_ = true; break;
    case Word::Mac: ansiCodePage_ = 10000; fontDirty_ = true; break;
    case Word::Pc: ansiCodePage_ = 437; fontDirty_ = true; break;
    case Word::Pca: ansiCodePage_ = 850; fontDirty_ = true; break;
    case Word::AnsiCpg:
        if (t.param > 0)
            ansiCodePage_ = t.param;
        fontDirty_ = true;
        break;
    case Word::Deff: defaultFont_ = t.param; fontDirty_ = true; break;
    case Word::Plain:
        st_.font = -1;
        st_.size = 1200;
        st_.bold = st_.italic = st_.underline = false;
        st_.colour = 0;
        fontDirty_ = styleDirty_ = true;
        break;
    case Word::Bold: st_.bold = on; styleDirty_ = true; break;
    case Word::Italic: st_.italic = on; styleDirty_ = true; break;
    case Word::Underline: st_.underline = on; styleDirty_ = true; break;
    case Word::UnderlineNone: st_.underline = false; styleDirty_ = true; break;
    case Word::Font: st_.font = t.param; fontDirty_ = styleDirty_ = true; break;
    case Word::FontSize:
        if (t.param > 0)
            st_.size = std::clamp(t.param, 0, maxSize / 50) * 50;
        styleDirty_ = true;
        break;
    case Word::ExactFontSize:
        if (t.param > 0)
            st_.size = std::clamp(t.param, minSize, maxSize);
        styleDirty_ = true;
        break;
    case Word::Colour: st_.colour = t.param; styleDirty_ = true; break;
    case Word::Pard: st_.paragraph = {}; st_.inTable = false; break;
    case Word::InTable: st_.inTable = true; break;
    case Word::TableRow:
        if (!tableOpen_)
            ++out_.dropped.tables;
        tableOpen_ = true;
        break;
    case Word::Row: endParagraph(); break;
    case Word::AlignLeft: st_.paragraph.alignment = Alignment::Left; break;
    case Word::AlignRight: st_.paragraph.alignment = Alignment::Right; break;
    case Word::AlignCentre: st_.paragraph.alignment = Alignment::Centre; break;
    case Word::Justify: st_.paragraph.alignment = Alignment::Justify; break;
    case Word::LeftIndent: st_.paragraph.leftIndent = std::clamp(t.param, -maxIndent, maxIndent); break;
    case Word::FirstIndent: st_.paragraph.firstIndent = std::clamp(t.param, -maxIndent, maxIndent); break;
    case Word::Par:
        if (!st_.inTable)
            tableOpen_ = false;
        endParagraph();
        break;
    case Word::Character: put(QChar(info.character)); break;
    default: break;
    }
}

void Reader::fontTableWord(Word word, const Token& t)
{
    switch (word) {
    case Word::Font:
        if (entryOpen_ && !entry_.name.isEmpty())
            commitFont();
        entryOpen_ = true;
        entryNumber_ = t.param;
        entry_ = {};
        break;
    case Word::FontCharset: entry_.codePage = codePageForCharset(t.param); break;
    case Word::FontCodePage:
        if (t.param > 0)
            entry_.codePage = t.param;
        break;
    default: break;
    }
}

void Reader::addToFontName(QChar c)
{
    // Control characters cannot be written back into a font table; no font
    // has a name near this long, and an endless one would cost every format.
    constexpr qsizetype longestName = 255;
    if (c.unicode() >= 0x20 && entry_.name.size() < longestName)
        entry_.name.append(c);
}

void Reader::commitFont()
{
    entry_.name = entry_.name.trimmed();
    fonts_[entryNumber_] = entry_;
    entry_ = {};
    entryOpen_ = false;
    fontDirty_ = styleDirty_ = true;
}

void Reader::controlSymbol(char symbol)
{
    if (st_.destination == Destination::Skip)
        return;
    switch (symbol) {
    case '*': starred_ = true; return;
    case '\\': case '{': case '}': textByte((unsigned char)symbol); return;
    case '~': put(QChar(0x00A0)); return;
    case '_': put(QChar(0x2011)); return;
    case '\n':
        if (st_.destination == Destination::Body)
            endParagraph();
        return;
    default: return; // \- \| \: and broken escapes
    }
}

void Reader::text(QByteArrayView bytes)
{
    if (st_.destination == Destination::Skip || bytes.isEmpty())
        return;
    if (skip_ > 0) {
        const qsizetype n = std::min<qsizetype>(skip_, bytes.size());
        skip_ -= int(n);
        bytes = bytes.sliced(n);
    }
    if (st_.destination == Destination::Body) {
        // Plain ASCII needs no decoding, whatever the font: take it in runs.
        qsizetype i = 0;
        while (i < bytes.size()) {
            qsizetype j = i;
            if (leadByte_ < 0)
                while (j < bytes.size() && (unsigned char)bytes[j] >= 0x20 && (unsigned char)bytes[j] < 0x80)
                    ++j;
            if (j > i) {
                putLatin1(bytes.sliced(i, j - i));
                i = j;
            } else {
                textByte((unsigned char)bytes[i]);
                ++i;
            }
        }
        return;
    }
    for (const char c : bytes)
        textByte((unsigned char)c);
}

void Reader::textByte(unsigned char b)
{
    switch (st_.destination) {
    case Destination::Skip:
        return;
    case Destination::ColourTable:
        if (b == ';') {
            colours_.push_back(colourSet_ ? std::optional<QRgb>(qRgb(red_, green_, blue_)) : std::nullopt);
            red_ = green_ = blue_ = 0;
            colourSet_ = false;
        }
        return;
    case Destination::FontTable: {
        if (b == ';') {
            commitFont();
            return;
        }
        entryOpen_ = true;
        const int cp = entry_.codePage;
        addToFontName(cp < 0 ? QChar(b) : CodePage::get(cp ? cp : ansiCodePage_).byte(b));
        return;
    }
    case Destination::Body:
        break;
    }
    if (b < 0x20 && b != '\t') {
        leadByte_ = -1;
        return; // raw control bytes in RTF source carry no text
    }
    resolveFont();
    if (fontIsBytes_) {
        put(QChar(b));
        return;
    }
    if (leadByte_ >= 0) {
        const QString pair = page_->pair((unsigned char)leadByte_, b);
        leadByte_ = -1;
        for (const QChar c : pair)
            put(c);
        return;
    }
    if (page_->isLead(b)) {
        leadByte_ = b;
        return;
    }
    put(page_->byte(b));
}

void Reader::unicode(int value)
{
    skip_ = st_.unicodeSkip;
    char16_t c = char16_t(value < 0 ? value + 65536 : value);
    if (st_.destination == Destination::FontTable) {
        if (c != ';')
            addToFontName(QChar(c));
        return;
    }
    if (st_.destination != Destination::Body)
        return;
    resolveFont();
    if (fontIsTamil_) {
        // Word writes symbol-font characters in the private use area.
        if (c >= 0xF020 && c <= 0xF0FF)
            c -= 0xF000;
        else if (c < 0x100)
            ; // a font code already
        else if (const int b = cp1252Byte(c); b >= 0)
            imageByte_ = b; // decoded as code page 1252: see takeBackImage
    }
    put(QChar(c));
}

void Reader::takeBackImage(int byte)
{
    // Other programs decode display font codes as code page 1252 and write
    // the character with the code as its fallback: the font code is that
    // byte. A character with any other fallback stays what it is.
    if (!paragraph_.runs.empty() && !paragraph_.runs.back().text.isEmpty())
        paragraph_.runs.back().text.back() = QChar(char16_t(byte));
}

void Reader::resolveFont()
{
    if (!fontDirty_)
        return;
    fontDirty_ = false;
    const int number = st_.font < 0 ? defaultFont_ : st_.font;
    const auto it = fonts_.find(number);
    family_ = it == fonts_.end() ? QString() : it->second.name;
    fontIsTamil_ = fonts::isTamilDisplayFont(family_);
    const int cp = it == fonts_.end() ? 0 : it->second.codePage;
    fontIsBytes_ = fontIsTamil_ || cp < 0;
    page_ = &CodePage::get(cp > 0 ? cp : ansiCodePage_);
}

int Reader::currentStyle()
{
    if (!styleDirty_ && !fontDirty_)
        return style_;
    resolveFont();
    styleDirty_ = false;
    CharStyle s;
    s.family = family_;
    s.size = st_.size;
    s.bold = st_.bold;
    s.italic = st_.italic;
    s.underline = st_.underline;
    if (st_.colour > 0 && size_t(st_.colour) < colours_.size())
        s.colour = colours_[size_t(st_.colour)];
    const auto [it, added] = styleIndex_.try_emplace(s, int(out_.styles.size()));
    if (added)
        out_.styles.push_back(s);
    style_ = it->second;
    return style_;
}

void Reader::put(QChar c)
{
    if (st_.destination != Destination::Body)
        return;
    const char16_t u = c.unicode();
    // Control characters are not text (the writer leaves them out too), and
    // some would split or corrupt the document's block structure.
    if ((u < 0x20 && u != '\t') || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
        return;
    const int style = currentStyle();
    if (paragraph_.runs.empty() || paragraph_.runs.back().style != style)
        paragraph_.runs.push_back(Run{QString(), style});
    paragraph_.runs.back().text.append(c);
}

void Reader::putLatin1(QByteArrayView ascii)
{
    const int style = currentStyle();
    if (paragraph_.runs.empty() || paragraph_.runs.back().style != style)
        paragraph_.runs.push_back(Run{QString(), style});
    paragraph_.runs.back().text.append(QLatin1StringView(ascii.data(), ascii.size()));
}

void Reader::endParagraph()
{
    paragraph_.format = st_.paragraph;
    paragraph_.markStyle = currentStyle();
    out_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = {};
}

} // namespace

bool looksLikeRtf(QByteArrayView data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0; // a UTF-8 byte order mark
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

Result parseRtf(QByteArrayView data, RichText& out, const Progress& progress)
{
    RichText parsed;
    Reader reader(data, parsed, progress);
    Result r = reader.run();
    out = r ? std::move(parsed) : RichText{};
    return r;
}

} // namespace tk::rtf
