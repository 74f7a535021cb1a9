#pragma once

// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).

#include <cstddef>
#include <string>
#include <string_view>

namespace tk::engine::utf8 {

inline constexpr std::size_t none = static_cast<std::size_t>(-1);

// Byte offset where the first malformed sequence starts, or none.
std::size_t findMalformed(std::string_view s);

// The character at pos of text that findMalformed accepted; len gets its
// length in bytes. Past the end gives 0 with len 0. Inline: the conversions
// call it once a character.
inline char32_t decode(std::string_view s, std::size_t pos, std::size_t& len)
{
    if (pos >= s.size()) {
        len = 0;
        return 0;
    }
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char b0 = b(0);
    if (b0 < 0x80) {
        len = 1;
        return b0;
    }
    if (b0 < 0xE0) {
        len = 2;
        return (char32_t(b0 & 0x1F) << 6) | (b(1) & 0x3F);
    }
    if (b0 < 0xF0) {
        len = 3;
        return (char32_t(b0 & 0x0F) << 12) | (char32_t(b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    }
    len = 4;
    return (char32_t(b0 & 0x07) << 18) | (char32_t(b(1) & 0x3F) << 12) | (char32_t(b(2) & 0x3F) << 6)
        | (b(3) & 0x3F);
}

void append(std::string& out, char32_t c);

} // namespace tk::engine::utf8
