#pragma once

#include "engine/engine.h"
#include "engine/string_surface.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

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
    void type(std::string_view block);
    void typeWord(std::string_view word);
    void typeWord();

    // What typing a word gives after two given codes, or that it reaches
    // back into them and must be typed afresh each time: an open hash table
    // over one block of memory, since looking words up is most of the work.
    class TypedWords {
    public:
        struct Entry {
            std::uint64_t hash = 0;
            std::uint32_t keyAt = 0, keyLength = 0, codesAt = 0, codesLength = 0;
            bool used = false;
            bool reachesBack = false;
        };
        TypedWords();
        // A key is a word and the two codes before it.
        static std::uint64_t hash(std::string_view word, char c2, char c1);
        const Entry* find(char c2, char c1, std::string_view word, std::uint64_t hash) const;
        const Entry& add(std::string_view key, std::uint64_t hash, std::string_view codes, bool reachesBack);
        std::string_view codes(const Entry& e) const { return std::string_view(bytes_).substr(e.codesAt, e.codesLength); }
        bool full() const { return count_ >= slots_.size() / 2; }
        void clear();

    private:
        std::vector<Entry> slots_;
        std::string bytes_;
        std::size_t count_ = 0;
    };

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
    std::string word_;          // a word cut by the end of a block
    bool longWord_ = false;     // inside a word too long to remember
    TypedWords typed_;
};

// A whole input at once (tests, short texts).
Converted convert(Mode mode, const std::string& input);

} // namespace tk::cli
