#include "utf8.h"

namespace tk::engine::utf8 {

namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence at pos, or 0 when it is malformed.
std::size_t sequenceLength(std::string_view s, std::size_t pos)
{
    const auto byte = [&](std::size_t i) {
        return pos + i < s.size() ? static_cast<unsigned char>(s[pos + i]) : 0;
    };
    const unsigned char b0 = byte(0);
    if (b0 < 0x80)
        return 1;
    // The second byte's range rules out overlong forms, surrogates and
    // characters past U+10FFFF (RFC 3629, section 4).
    unsigned char lo = 0x80, hi = 0xBF;
    std::size_t len = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (byte(1) < lo || byte(1) > hi)
        return 0;
    for (std::size_t i = 2; i < len; ++i)
        if (!isContinuation(byte(i)))
            return 0;
    return len;
}

} // namespace

std::size_t findMalformed(std::string_view s)
{
    std::size_t pos = 0;
    while (pos < s.size()) {
        // Runs of ASCII are the common case.
        if (static_cast<unsigned char>(s[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t len = sequenceLength(s, pos);
        if (len == 0)
            return pos;
        pos += len;
    }
    return none;
}

void append(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace tk::engine::utf8
