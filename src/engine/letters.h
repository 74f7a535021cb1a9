#pragma once

// Letters of display-font text, the units the caret moves over. The font
// draws a consonant and its signs as one letter, whatever their order in the
// codes: a sign drawn before it ("n" "N" "i"), the pulli and the vowel signs
// after it, a u-form with its uu mark, the two halves of ொ ோ ௌ, and the
// conjunct க்ஷ. A caret between those codes would stand inside the drawn
// letter, and text typed there would split it.
//
// The rules read font codes as one paragraph holds them; a character that is
// not in a display font (or has no 8-bit code) is given as '\0' and is a
// letter of its own. Whether a caret may stand at a place depends only on
// the few codes around it, so callers may pass a stretch of a long paragraph.

#include <cstddef>
#include <string>
#include <string_view>

namespace tk::engine {

// True when a caret may stand before codes[pos]; the two ends always are.
bool isLetterBoundary(std::string_view codes, std::size_t pos);

struct LetterSpan {
    std::size_t start = 0;
    std::size_t end = 0; // one past the letter's last code
};

// The letter holding codes[pos]; {pos, pos} at or past the end.
LetterSpan letterAt(std::string_view codes, std::size_t pos);

// The nearest place a caret may stand at or before pos, and at or after it.
std::size_t letterStartAtOrBefore(std::string_view codes, std::size_t pos);
std::size_t letterEndAtOrAfter(std::string_view codes, std::size_t pos);

// What Backspace leaves of a letter: the letter without its last sign (the
// one typed last, as a Unicode Tamil editor takes ா off கா), or "" when it
// has no sign to take and goes whole (a bare consonant, a vowel, க்ஷ, ஸ்ரீ).
std::string withoutLastSign(std::string_view letter);

} // namespace tk::engine
