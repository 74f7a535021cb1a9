#include "letters.h"

#include "font_codes.h"
#include "tamil_unicode.h"
#include "utf8.h"

#include <algorithm>
#include <array>

namespace tk::engine {

namespace {

using namespace fontcodes;

// What a code can be in a letter (a bit set).
constexpr unsigned char Other = 0;
constexpr unsigned char Base = 1;         // a letter's first code: vowels, ஃ, combined forms
constexpr unsigned char ConsonantCode = 2; // a base that takes a sign drawn before it
constexpr unsigned char PreSign = 4;
constexpr unsigned char PostSign = 8;     // the pulli and the signs drawn after the consonant
constexpr unsigned char UForm = 16;       // a consonant with ு that a uu mark may follow

std::array<unsigned char, 256> buildKinds()
{
    std::array<unsigned char, 256> kinds{};
    auto add = [&](char c, unsigned char kind) { kinds[static_cast<unsigned char>(c)] |= kind; };
    for (const Consonant& k : consonants) {
        add(k.code, Base | ConsonantCode);
        if (k.uForm)
            add(k.uForm, Base | UForm);
        if (k.uuForm[0])
            add(k.uuForm[0], Base);
    }
    for (const Letter& a : alternates)
        add(a.code, a.letter == ta::aytham ? Base : Base | ConsonantCode);
    for (const Letter& v : vowels)
        add(v.code, Base);
    for (const Sign& s : signs)
        add(s.code, s.preBase ? PreSign : PostSign);
    add(taI, Base);
    add(taIi, Base);
    add(shri, Base);
    return kinds;
}

unsigned char kindOf(char c)
{
    static const std::array<unsigned char, 256> kinds = buildKinds();
    return kinds[static_cast<unsigned char>(c)];
}

bool is(char c, unsigned char kind) { return (kindOf(c) & kind) != 0; }

char at(std::string_view codes, std::size_t i) { return i < codes.size() ? codes[i] : '\0'; }

// "s" at i is the au length mark (ஔ, கௌ) rather than the consonant ள: it
// follows "x", or "n" and a consonant, and no sign of its own follows it.
bool isAuMark(std::string_view codes, std::size_t i)
{
    if (at(codes, i) != 's' || i == 0 || is(at(codes, i + 1), PostSign))
        return false;
    const char p = codes[i - 1];
    if (p == 'x')
        return true;
    if (i >= 2 && codes[i - 2] == 'n' && is(p, ConsonantCode))
        return true;
    // கௌ around க்ஷ: "n" "f;~" "s".
    return i >= 4 && codes[i - 4] == 'n' && codes.substr(i - 3, 2) == "f;" && (p == '~' || p == '\\');
}

} // namespace

bool isLetterBoundary(std::string_view codes, std::size_t pos)
{
    if (pos == 0 || pos >= codes.size())
        return true;
    const char c = codes[pos];
    const char p = codes[pos - 1];
    if (c == '\0' || p == '\0')
        return true;
    // A sign belongs to the Tamil letter before it; after anything else
    // (a blank, a digit) it stands alone.
    if (is(c, PostSign))
        return kindOf(p) == Other;
    if (isUuMark(c) && is(p, UForm))
        return false;
    if (is(p, PreSign) && is(c, ConsonantCode))
        return false;
    if ((c == '~' || c == '\\') && p == ';' && pos >= 2 && codes[pos - 2] == 'f')
        return false;
    return !isAuMark(codes, pos);
}

std::size_t letterStartAtOrBefore(std::string_view codes, std::size_t pos)
{
    pos = std::min(pos, codes.size());
    while (!isLetterBoundary(codes, pos))
        --pos;
    return pos;
}

std::size_t letterEndAtOrAfter(std::string_view codes, std::size_t pos)
{
    while (!isLetterBoundary(codes, pos))
        ++pos;
    return std::min(pos, codes.size());
}

LetterSpan letterAt(std::string_view codes, std::size_t pos)
{
    if (pos >= codes.size())
        return {pos, pos};
    return {letterStartAtOrBefore(codes, pos), letterEndAtOrAfter(codes, pos + 1)};
}

std::string withoutLastSign(std::string_view letter)
{
    // ஸ்ரீ is one code and one key; it goes whole.
    if (letter.empty() || letter == std::string_view(&shri, 1))
        return {};
    const std::string unicode = codesToUnicode(letter);
    // The last character, found by stepping over the whole (valid) text.
    std::size_t last = 0, len = 0;
    char32_t c = 0;
    for (std::size_t i = 0; i < unicode.size(); i += len) {
        last = i;
        c = utf8::decode(unicode, i, len);
        if (len == 0)
            return {};
    }
    const bool sign = (c >= ta::signAa && c <= ta::pulli) || c == ta::auLength;
    if (!sign)
        return {};
    const UnicodeToCodes back = unicodeToCodes(std::string_view(unicode).substr(0, last));
    if (back.malformed || back.unconverted > 0)
        return {};
    return back.codes;
}

} // namespace tk::engine
