#include "conversions.h"

#include "engine/engine.h"
#include "engine/string_surface.h"
#include "engine/tamil_unicode.h"

#include <cstdio>

namespace tk::cli {

namespace {

std::string typeThrough(const std::string& input)
{
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface;
    surface.reserve(input.size() + input.size() / 4);
    tk::engine::Engine(state, doc, surface).feed(input);
    return surface.text();
}

Converted fromUnicode(const std::string& input)
{
    tk::engine::UnicodeToCodes r = tk::engine::unicodeToCodes(input);
    Converted c;
    if (r.malformed) {
        c.problem = "malformed UTF-8 at byte offset " + std::to_string(r.malformedAt);
        return c;
    }
    c.output = std::move(r.codes);
    if (r.unconverted > 0) {
        char first[16];
        std::snprintf(first, sizeof first, "U+%04X", static_cast<unsigned>(r.firstUnconvertedChar));
        c.loss = std::to_string(r.unconverted)
            + (r.unconverted == 1 ? " character has" : " characters have")
            + " no font code and became '?' (the first, " + first + ", at byte offset "
            + std::to_string(r.firstUnconvertedAt) + ")";
    }
    return c;
}

} // namespace

Converted convert(Mode mode, const std::string& input)
{
    switch (mode) {
    case Mode::ToUnicode:
        return {tk::engine::codesToUnicode(input), {}, {}};
    case Mode::FromUnicode:
        return fromUnicode(input);
    case Mode::Type:
        break;
    }
    return {typeThrough(input), {}, {}};
}

} // namespace tk::cli
