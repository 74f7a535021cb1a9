// Unicode Tamil to font codes: each syllable becomes the codes the key map
// writes when the syllable is typed, signs drawn before the consonant first.
#include "font_codes.h"
#include "tamil_unicode.h"
#include "utf8.h"

#include <algorithm>
#include <array>

namespace tk::engine {

namespace {

using namespace fontcodes;

constexpr char32_t tamilFirst = 0x0B80;

// What each character of the Tamil block is, by its offset in the block.
struct Block {
    std::array<const Consonant*, 128> consonant{};
    std::array<char, 128> code{}; // vowels, ஃ and the signs
};

Block buildBlock()
{
    Block b;
    for (const Consonant& k : consonants)
        b.consonant[k.letter - tamilFirst] = &k;
    for (const Letter& v : vowels)
        b.code[v.letter - tamilFirst] = v.code;
    for (const Sign& s : signs)
        b.code[s.sign - tamilFirst] = s.code;
    return b;
}

const Block& block()
{
    static const Block b = buildBlock();
    return b;
}

bool isInvisible(char32_t c) { return c == 0x200C || c == 0x200D || c == 0xFEFF; }

class Writer {
public:
    explicit Writer(std::string_view in) : in_(in), b_(block()) { r_.codes.reserve(in.size()); }

    // A syllable looks at most three characters past its first, sixteen
    // bytes in all: characters that start before the last 32 bytes are final.
    static constexpr std::size_t lookahead = 32;
    std::size_t used() const { return pos_; }

    UnicodeToCodes run(std::size_t limit = std::string_view::npos)
    {
        std::string& out = r_.codes;
        limit = std::min(limit, in_.size());
        while (pos_ < limit) {
            const char32_t c = peek(0);
            if (c < 0x100) {
                out += static_cast<char>(c);
                advance(1);
            } else if (isInvisible(c)) {
                advance(1);
            } else if (isShri()) {
                out += shri;
                advance(4);
            } else if (const Consonant* k = tamil(c) ? b_.consonant[c - tamilFirst] : nullptr) {
                syllable(*k);
            } else if (c == ta::o && peek(1) == ta::auLength) {
                out += "xs";
                advance(2);
            } else if (c == ta::au) {
                out += "xs";
                advance(1);
            } else if (c == ta::signO || c == ta::signOo) {
                // A bare two-part sign: both parts, as the font draws them.
                out += c == ta::signO ? "nh" : "Nh";
                advance(1);
            } else if (const char code = tamil(c) ? b_.code[c - tamilFirst] : '\0') {
                out += code;
                advance(1);
            } else {
                unconverted(c);
            }
        }
        return std::move(r_);
    }

private:
    static bool tamil(char32_t c) { return c >= tamilFirst && c < tamilFirst + 128; }

    // The character n places ahead of the current one (0 past the end).
    char32_t peek(int n) const
    {
        std::size_t pos = pos_, len = 0;
        char32_t c = utf8::decode(in_, pos, len);
        for (; n > 0 && len; --n) {
            pos += len;
            c = utf8::decode(in_, pos, len);
        }
        return c;
    }

    void advance(int n)
    {
        std::size_t len = 0;
        for (; n > 0; --n) {
            utf8::decode(in_, pos_, len);
            pos_ += len;
        }
    }

    bool isShri() const
    {
        const char32_t c = peek(0);
        return (c == ta::sa || c == ta::sha) && peek(1) == ta::pulli && peek(2) == ta::ra
            && peek(3) == ta::signIi;
    }

    void syllable(const Consonant& k)
    {
        std::string& out = r_.codes;
        const char c = k.code;
        const char32_t sign = peek(1);
        const char32_t after = peek(2);
        int used = 2;
        switch (sign) {
        case ta::signI: out += c == 'l' ? std::string(1, taI) : std::string{c, 'p'}; break;
        case ta::signIi: out += c == 'l' ? std::string(1, taIi) : std::string{c, 'P'}; break;
        case ta::signU: out += k.uForm ? std::string(1, k.uForm) : std::string{c, '{'}; break;
        case ta::signUu: out += k.uuForm[0] ? std::string(k.uuForm) : std::string{c, '_'}; break;
        case ta::signO: out += {'n', c, 'h'}; break;
        case ta::signOo: out += {'N', c, 'h'}; break;
        case ta::signAu: out += {'n', c, 's'}; break;
        case ta::signE:
        case ta::signEe: {
            // The decomposed spellings of ொ, ோ and ௌ.
            const char pre = sign == ta::signE ? 'n' : 'N';
            if (after == ta::signAa || (sign == ta::signE && after == ta::auLength)) {
                out += {pre, c, after == ta::signAa ? 'h' : 's'};
                used = 3;
            } else {
                out += {pre, c};
            }
            break;
        }
        case ta::signAi: out += {'i', c}; break;
        case ta::pulli:
        case ta::signAa: out += {c, b_.code[sign - tamilFirst]}; break;
        default:
            out += c;
            used = 1;
        }
        advance(used);
    }

    void unconverted(char32_t c)
    {
        if (r_.unconverted++ == 0) {
            r_.firstUnconvertedAt = pos_;
            r_.firstUnconvertedChar = c;
        }
        r_.codes += '?';
        advance(1);
    }

    std::string_view in_;
    const Block& b_;
    UnicodeToCodes r_;
    std::size_t pos_ = 0;
};

} // namespace

UnicodeToCodes unicodeToCodes(std::string_view utf8)
{
    const std::size_t bad = utf8::findMalformed(utf8);
    if (bad != utf8::none) {
        UnicodeToCodes r;
        r.malformed = true;
        r.malformedAt = bad;
        return r;
    }
    return Writer(utf8).run();
}

UnicodeToCodes unicodeToCodesPart(std::string_view utf8, std::size_t& used)
{
    std::size_t limit = utf8.size() > Writer::lookahead ? utf8.size() - Writer::lookahead : 0;
    const std::size_t bad = utf8::findMalformed(utf8);
    if (bad != utf8::none && bad < limit) {
        UnicodeToCodes r;
        r.malformed = true;
        r.malformedAt = bad;
        used = 0;
        return r;
    }
    // A bad sequence near the end may be a character cut by the block's
    // end: the next part, which starts there, tells.
    if (bad != utf8::none)
        utf8 = utf8.substr(0, bad);
    Writer writer(utf8);
    UnicodeToCodes r = writer.run(std::min(limit, utf8.size()));
    used = writer.used();
    return r;
}

} // namespace tk::engine
