#pragma once

#include <string>
#include <string_view>

namespace tk::engine {

// What the engine needs from a document: it only ever looks at, and edits,
// the few characters just before the caret. Keeping the interface this
// narrow is what lets a keystroke cost the same in a short and a long
// document, and lets the same engine run on a plain string (converter,
// tests) and on the rich text control (which must keep formatting elsewhere).
//
// Characters are 8-bit font codes; a std::string holds them as bytes.
class TextSurface {
public:
    virtual ~TextSurface() = default;

    // Number of characters before the caret.
    virtual int caret() const = 0;

    // Up to n characters just before the caret (fewer at the start of the text).
    virtual std::string before(int n) const = 0;

    // Replace the last k characters before the caret by text; the caret ends
    // after the replacement. k is clamped to the characters that are there.
    virtual void replaceBefore(int k, std::string_view text) = 0;

    // Insert at the caret, as setting SelText does; the caret ends after it.
    virtual void insert(std::string_view text) = 0;
};

} // namespace tk::engine
