#pragma once

// What each code of the Tamil display font stands for in Unicode. Both
// directions of the Unicode conversion read these tables, so they cannot
// drift apart.

namespace tk::engine::fontcodes {

namespace ta {
inline constexpr char32_t aytham = 0x0B83;
inline constexpr char32_t o = 0x0B92, au = 0x0B94;
inline constexpr char32_t ta = 0x0B9F, ra = 0x0BB0;
inline constexpr char32_t sha = 0x0BB6, ssa = 0x0BB7, sa = 0x0BB8;
inline constexpr char32_t signAa = 0x0BBE, signI = 0x0BBF, signIi = 0x0BC0;
inline constexpr char32_t signU = 0x0BC1, signUu = 0x0BC2;
inline constexpr char32_t signE = 0x0BC6, signEe = 0x0BC7, signAi = 0x0BC8;
inline constexpr char32_t signO = 0x0BCA, signOo = 0x0BCB, signAu = 0x0BCC;
inline constexpr char32_t pulli = 0x0BCD, auLength = 0x0BD7;
} // namespace ta

// uForm is the code of the consonant with ு, uuForm the codes of the
// consonant with ூ, as the glyph-order correction writes them; 0 and ""
// where the font has none.
struct Consonant {
    char code;
    char32_t letter;
    char uForm;
    const char* uuForm;
};

inline constexpr Consonant consonants[] = {
    {'f', 0x0B95, 'F', "$"},  {'q', 0x0B99, 0, ""},     {'r', 0x0B9A, 'R', "#"},
    {'Q', 0x0B9E, 0, ""},     {'l', 0x0B9F, 'L', "^"},  {'z', 0x0BA3, 'Z', "Z}"},
    {'j', 0x0BA4, 'J', "J}"}, {'e', 0x0BA8, 'E', "E}"}, {'g', 0x0BAA, 'G', "G+"},
    {'k', 0x0BAE, 'K', "%"},  {'a', 0x0BAF, 'A', "A+"}, {'u', 0x0BB0, 'U', "&"},
    {'y', 0x0BB2, 'Y', "Y}"}, {'t', 0x0BB5, 'T', "T+"}, {'o', 0x0BB4, 'O', "*"},
    {'s', 0x0BB3, 'S', "@"},  {'w', 0x0BB1, 'W', "W}"}, {'d', 0x0BA9, 'D', "D}"},
    {'[', 0x0B9C, 0, ""},     {'~', 0x0BB7, 0, ""},     {']', 0x0BB8, 0, ""},
    {'`', 0x0BB9, 0, ""},
};

// Codes that stand for one character on their own: the vowels and ஃ.
struct Letter {
    char code;
    char32_t letter;
};

inline constexpr Letter vowels[] = {
    {'m', 0x0B85}, {'M', 0x0B86}, {',', 0x0B87}, {'<', 0x0B88}, {'c', 0x0B89}, {'C', 0x0B8A},
    {'v', 0x0B8E}, {'V', 0x0B8F}, {'I', 0x0B90}, {'x', 0x0B92}, {'X', 0x0B93}, {'/', ta::aytham},
};

// Second codes the font draws the same way; the first code of the letter is
// the one written back.
inline constexpr Letter alternates[] = {{'\\', ta::ssa}, {'"', ta::aytham}};

// Vowel signs. preBase signs are drawn before their consonant.
struct Sign {
    char code;
    char32_t sign;
    bool preBase;
};

inline constexpr Sign signs[] = {
    {';', ta::pulli, false}, {'h', ta::signAa, false}, {'p', ta::signI, false},
    {'P', ta::signIi, false}, {'{', ta::signU, false}, {'_', ta::signUu, false},
    {'n', ta::signE, true},   {'N', ta::signEe, true}, {'i', ta::signAi, true},
};

// ட with ி and ீ is one code each.
inline constexpr char taI = 'b', taIi = 'B';

// The two marks that turn a u-form into its uu-form.
inline constexpr bool isUuMark(char c) { return c == '}' || c == '+'; }

inline constexpr char shri = '=';

// The grantha consonants ஜ ஷ ஸ ஹ: the font has no combined u or uu code for
// them, it draws the signs "{" (ு) and "_" (ூ) behind the consonant instead.
inline constexpr bool isGrantha(char32_t letter)
{
    return letter == 0x0B9C || letter == ta::ssa || letter == ta::sa || letter == 0x0BB9;
}

inline constexpr bool isGranthaCode(char c)
{
    for (const Consonant& k : consonants)
        if (k.code == c)
            return isGrantha(k.letter);
    for (const Letter& a : alternates)
        if (a.code == c)
            return isGrantha(a.letter);
    return false;
}

inline constexpr char granthaU = '{', granthaUu = '_';

// True for every code the font draws as a Tamil letter or as a part of one
// (consonants, their combined forms, vowels, signs and marks), whatever Latin
// character shares the code. Word boundaries in display-font text use it.
inline constexpr bool isTamilLetterCode(char c)
{
    if (c == '\0')
        return false;
    for (const Consonant& k : consonants) {
        if (k.code == c || k.uForm == c)
            return true;
        for (const char* u = k.uuForm; *u; ++u)
            if (*u == c)
                return true;
    }
    for (const Letter& v : vowels)
        if (v.code == c)
            return true;
    for (const Letter& a : alternates)
        if (a.code == c)
            return true;
    for (const Sign& s : signs)
        if (s.code == c)
            return true;
    return c == taI || c == taIi || isUuMark(c) || c == shri;
}

} // namespace tk::engine::fontcodes
