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
// length in bytes. Past the end gives 0 with len 0.
char32_t decode(std::string_view s, std::size_t pos, std::size_t& len);

void append(std::string& out, char32_t c);

} // namespace tk::engine::utf8
