#pragma once

#include "engine/engine.h"
#include "engine/string_surface.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tk::cli {

enum class Mode {
    Type,        // phonetic Latin text typed through the engine
    ToUnicode,   // font codes to UTF-8
    FromUnicode, // UTF-8 to font codes
};

struct Converted {
    std::string output;
    // Why nothing may be written for this input; empty when it converted.
    std::string problem;
    // Characters the output could not keep; empty when none.
    std::string loss;
};

// Converts one input given block by block, so that no input is ever held
// whole: each block's output is final as soon as feed() returns, apart from
// the few bytes that the next block could still change, which finish()
// gives. Each converter starts afresh, as a new document does.
class Converter {
public:
    explicit Converter(Mode mode);

    // Appends the output that is final to out. False when the input cannot
    // be converted (problem() says why); nothing more may be fed then.
    bool feed(std::string_view block, std::string& out);
    bool finish(std::string& out);

    const std::string& problem() const { return problem_; }
    // Characters the output could not keep, once finished; "" when none.
    std::string loss() const;

private:
    bool refuseBinary(std::string_view block);
    bool fromUnicode(std::string_view text, bool last, std::string& out);

    Mode mode_;
    std::string pending_;       // input bytes held back for the next block
    std::size_t offset_ = 0;    // input bytes before pending_
    std::size_t fed_ = 0;       // input bytes fed so far
    std::string problem_;
    std::size_t unconverted_ = 0;
    std::size_t firstUnconvertedAt_ = 0;
    char32_t firstUnconvertedChar_ = 0;
    engine::EngineState state_;
    engine::DocumentState doc_;
    engine::StringSurface surface_;
};

// A whole input at once (tests, short texts).
Converted convert(Mode mode, const std::string& input);

} // namespace tk::cli
