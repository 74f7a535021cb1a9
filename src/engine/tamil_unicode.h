#pragma once

// Conversion between the 8-bit Tamil font codes of a document and Unicode
// Tamil (UTF-8).
//
// Codes to Unicode puts every syllable into logical order: a sign drawn
// before its consonant ("n", "N", "i") moves behind it, and the two-part
// vowels ("n"+C+"h", "N"+C+"h", "n"+C+"s") become one sign. The output is
// in composed form (NFC). Nothing is ever dropped: a sign with no consonant
// to attach to comes out as the bare sign, and a byte that is no code comes
// out as the Latin-1 character of the same value.
//
// The codes themselves are ambiguous in two places, decided thus:
//  - "s" after "x", or after "n" and a consonant, is the au length mark
//    ("xs" ஔ, "nfs" கௌ), unless a sign that attaches to a consonant
//    (";" "h" "p" "P" "{" "_") follows it; then it is the consonant ள
//    ("xsp" ஒளி, "nfs;" கெள்). Unicode ஒ or கெ followed by a bare ள
//    therefore comes back as ஔ or கௌ, which the font draws identically.
//  - "}" and "+" are the uu mark only right after a u-form ("J}" தூ);
//    anywhere else they are the Latin characters ("1+2").
// A sign drawn before "f;~" (க்ஷ) belongs to the whole letter ("nf;~" க்ஷெ).
// "{" and "_" take any consonant ("q{" ஙு): the font has no u or uu form
// for the grantha letters, ங or ஞ; typing writes them after the grantha
// letters.
//
// Unicode to codes writes what the key map writes when the word is typed,
// and "{" / "_" where the key map has no u or uu form.
//  - Characters up to U+00FF pass as the byte of the same value. Latin
//    letters and the punctuation that are codes ("," ";" "/" ...) so turn
//    into Tamil letters in the display font; 8-bit text has no other way.
//  - The joiners U+200C, U+200D and the byte order mark U+FEFF are dropped:
//    they carry nothing the font can show.
//  - Every other character without a code (ஶ on its own, Tamil digits,
//    symbols, other scripts, a bare ௌ or ௗ) is written as "?" and counted,
//    so the caller can say so.
//  - ஶ்ரீ is written as "=", the code of ஸ்ரீ, which looks the same.

#include <cstddef>
#include <string>
#include <string_view>

namespace tk::engine {

// Font codes to UTF-8. Never fails.
std::string codesToUnicode(std::string_view codes);

struct UnicodeToCodes {
    std::string codes;
    // Malformed UTF-8: codes stays empty and malformedAt is the byte offset
    // (from 0) where the first bad sequence starts.
    bool malformed = false;
    std::size_t malformedAt = 0;
    // Characters written as "?", and where the first of them starts.
    std::size_t unconverted = 0;
    std::size_t firstUnconvertedAt = 0;
    char32_t firstUnconvertedChar = 0;
};

UnicodeToCodes unicodeToCodes(std::string_view utf8);

// Block by block, for a stream too long to hold: each converts the start of
// its text as far as no byte of a following block could change the result
// (a few bytes short of the end) and says in `used` how many bytes that
// took; the rest goes in front of the next block, and the last block is
// converted whole with the functions above. Offsets in the result count
// from the start of the text given.
std::string codesToUnicodePart(std::string_view codes, std::size_t& used);
UnicodeToCodes unicodeToCodesPart(std::string_view utf8, std::size_t& used);

} // namespace tk::engine
