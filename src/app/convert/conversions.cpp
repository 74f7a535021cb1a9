#include "conversions.h"

#include "engine/tamil_unicode.h"

#include <cstdio>
#include <cstring>

namespace tk::cli {

namespace {

// The engine looks at most three codes back from the caret; what lies
// further back is final.
constexpr std::size_t typedKeep = 16;

} // namespace

Converter::Converter(Mode mode) : mode_(mode) {}

bool Converter::refuseBinary(std::string_view block)
{
    // Text never holds NUL bytes; the word processor refuses such files too.
    const void* nul = std::memchr(block.data(), '\0', block.size());
    if (!nul)
        return false;
    const auto at = fed_ + static_cast<std::size_t>(static_cast<const char*>(nul) - block.data());
    problem_ = "binary data, not text (a NUL byte at byte offset " + std::to_string(at) + ")";
    return true;
}

bool Converter::fromUnicode(std::string_view text, bool last, std::string& out)
{
    std::size_t used = text.size();
    engine::UnicodeToCodes r = last ? engine::unicodeToCodes(text) : engine::unicodeToCodesPart(text, used);
    if (r.malformed) {
        problem_ = "malformed UTF-8 at byte offset " + std::to_string(offset_ + r.malformedAt);
        return false;
    }
    if (r.unconverted > 0 && unconverted_ == 0) {
        firstUnconvertedAt_ = offset_ + r.firstUnconvertedAt;
        firstUnconvertedChar_ = r.firstUnconvertedChar;
    }
    unconverted_ += r.unconverted;
    out += r.codes;
    pending_.erase(0, used);
    offset_ += used;
    return true;
}

bool Converter::feed(std::string_view block, std::string& out)
{
    if (!problem_.empty() || refuseBinary(block))
        return false;
    fed_ += block.size();
    switch (mode_) {
    case Mode::Type:
        engine::Engine(state_, doc_, surface_).feed(block);
        surface_.takeFront(out, typedKeep);
        return true;
    case Mode::ToUnicode: {
        pending_.append(block);
        std::size_t used = 0;
        out += engine::codesToUnicodePart(pending_, used);
        pending_.erase(0, used);
        offset_ += used;
        return true;
    }
    case Mode::FromUnicode:
        pending_.append(block);
        return fromUnicode(pending_, false, out);
    }
    return false;
}

bool Converter::finish(std::string& out)
{
    if (!problem_.empty())
        return false;
    switch (mode_) {
    case Mode::Type:
        surface_.takeFront(out, 0);
        return true;
    case Mode::ToUnicode:
        out += engine::codesToUnicode(pending_);
        offset_ += pending_.size();
        pending_.clear();
        return true;
    case Mode::FromUnicode:
        return fromUnicode(pending_, true, out);
    }
    return false;
}

std::string Converter::loss() const
{
    if (unconverted_ == 0)
        return {};
    char first[16];
    std::snprintf(first, sizeof first, "U+%04X", static_cast<unsigned>(firstUnconvertedChar_));
    return std::to_string(unconverted_) + (unconverted_ == 1 ? " character has" : " characters have")
        + " no font code and became '?' (the first, " + first + ", at byte offset "
        + std::to_string(firstUnconvertedAt_) + ")";
}

Converted convert(Mode mode, const std::string& input)
{
    Converter converter(mode);
    Converted c;
    if (!converter.feed(input, c.output) || !converter.finish(c.output)) {
        c.output.clear();
        c.problem = converter.problem();
        return c;
    }
    c.loss = converter.loss();
    return c;
}

} // namespace tk::cli
