#pragma once

#include <string>

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

// Each call starts afresh, as a new document does.
Converted convert(Mode mode, const std::string& input);

} // namespace tk::cli
