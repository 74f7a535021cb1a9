#include "conversions.h"

#include "engine/tamil_unicode.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tk::cli {

namespace {

// The engine looks at most three codes back from the caret; what lies
// further back is final.
constexpr std::size_t typedKeep = 16;

// Words are typed once and remembered: a text of any length repeats a few
// thousand words, and typing each key through the engine costs far more
// than looking its word up. Longer words are typed key by key.
constexpr std::size_t longestRemembered = 48;
constexpr std::size_t wordsRemembered = 1 << 16;

// A text surface that notes how far back before a word the engine looked
// and edited, to tell whether the word's codes depend only on the two codes
// before it.
class ReachSurface final : public engine::TextSurface {
public:
    explicit ReachSurface(std::string context) : text_(std::move(context)), start_(text_.size()) {}

    int caret() const override { return static_cast<int>(text_.size()); }
    std::string before(int n) const override
    {
        const std::size_t count = std::min(static_cast<std::size_t>(std::max(n, 0)), text_.size());
        lowestRead_ = std::min(lowestRead_, text_.size() - count);
        return text_.substr(text_.size() - count);
    }
    void replaceBefore(int k, std::string_view text) override
    {
        const std::size_t count = std::min(static_cast<std::size_t>(std::max(k, 0)), text_.size());
        text_.resize(text_.size() - count);
        lowestEdit_ = std::min(lowestEdit_, text_.size());
        text_.append(text);
    }
    void insert(std::string_view text) override { text_.append(text); }

    // The engine edited nothing before the word and read at most the two
    // codes before it.
    bool keptToTheWord() const { return lowestEdit_ >= start_ && lowestRead_ + 2 >= start_; }
    std::string word() const { return text_.substr(start_); }

private:
    std::string text_;
    std::size_t start_;
    mutable std::size_t lowestRead_ = std::string::npos;
    std::size_t lowestEdit_ = std::string::npos;
};

const std::array<bool, 256> separators = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[std::size_t(c)] = engine::isSeparator(static_cast<unsigned char>(c));
    return t;
}();

bool isSeparator(char c) { return separators[static_cast<unsigned char>(c)]; }

// How many characters from p on are no separator: sixteen at a time where
// the processor allows.
std::size_t wordLength(const char* p, const char* end)
{
    const char* q = p;
#ifdef __SSE2__
    const __m128i space = _mm_set1_epi8(32);
    const __m128i high = _mm_set1_epi8(char(0x80));
    const __m128i zero = _mm_set1_epi8('0');
    while (end - q >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i upToSpace = _mm_cmpeq_epi8(_mm_max_epu8(x, space), space);
        const __m128i other = _mm_or_si128(_mm_cmpeq_epi8(x, high), _mm_cmpeq_epi8(x, zero));
        if (const int mask = _mm_movemask_epi8(_mm_or_si128(upToSpace, other)))
            return std::size_t(q - p) + std::size_t(__builtin_ctz(unsigned(mask)));
        q += 16;
    }
#endif
    while (q < end && !isSeparator(*q))
        ++q;
    return std::size_t(q - p);
}

// The key memory after a run of characters, as advance() leaves it, without
// stepping through every one: only the last two count. A run is all
// separators (each remembered as ' ') or has none.
void advanceOver(engine::EngineState& state, std::string_view run, bool separatorRun)
{
    const auto remembered = [separatorRun](char c) { return separatorRun ? ' ' : c; };
    state.keyBefore = run.size() >= 2 ? remembered(run[run.size() - 2]) : state.lastKey;
    state.lastKey = remembered(run.back());
}

} // namespace

Converter::TypedWords::TypedWords() : slots_(wordsRemembered * 2) {}

std::uint64_t Converter::TypedWords::hash(std::string_view word, char c2, char c1)
{
    // Eight bytes at a time: words are short, and this runs once for each.
    auto mix = [](std::uint64_t h, std::uint64_t v) {
        h = (h ^ v) * 0xff51afd7ed558ccdull;
        return h ^ (h >> 32);
    };
    std::uint64_t h = mix(word.size(), std::uint64_t(static_cast<unsigned char>(c2)) << 8 | static_cast<unsigned char>(c1));
    std::size_t i = 0;
    for (; i + 8 <= word.size(); i += 8) {
        std::uint64_t v;
        std::memcpy(&v, word.data() + i, 8);
        h = mix(h, v);
    }
    std::uint64_t tail = 0;
    for (std::size_t k = 0; i + k < word.size(); ++k)
        tail |= std::uint64_t(static_cast<unsigned char>(word[i + k])) << (8 * k);
    return mix(h, tail);
}

const Converter::TypedWords::Entry* Converter::TypedWords::find(char c2, char c1, std::string_view word,
                                                                 std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Entry& e = slots_[i];
        if (!e.used)
            return nullptr;
        if (e.hash != hash || e.keyLength != word.size() + 2)
            continue;
        const char* key = bytes_.data() + e.keyAt;
        if (key[0] == c2 && key[1] == c1 && std::equal(word.begin(), word.end(), key + 2))
            return &e;
    }
}

const Converter::TypedWords::Entry& Converter::TypedWords::add(std::string_view key, std::uint64_t hash,
                                                                 std::string_view codes, bool reachesBack)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].used)
        i = (i + 1) & mask;
    Entry& e = slots_[i];
    e = {hash, std::uint32_t(bytes_.size()), std::uint32_t(key.size()), std::uint32_t(bytes_.size() + key.size()),
         std::uint32_t(codes.size()), true, reachesBack};
    bytes_.append(key);
    bytes_.append(codes);
    ++count_;
    return e;
}

void Converter::TypedWords::clear()
{
    std::fill(slots_.begin(), slots_.end(), Entry{});
    bytes_.clear();
    count_ = 0;
}

void Converter::type(std::string_view block)
{
    const char* p = block.data();
    const char* const end = p + block.size();
    while (p < end) {
        const char* q = p;
        if (isSeparator(*p)) {
            // A separator is typed as itself and starts a word afresh.
            typeWord();
            longWord_ = false;
            while (q < end && isSeparator(*q))
                ++q;
            const std::string_view run(p, std::size_t(q - p));
            surface_.insert(run);
            advanceOver(state_, run, true);
        } else {
            q += wordLength(p, end);
            const std::string_view part(p, std::size_t(q - p));
            if (longWord_) {
                engine::Engine(state_, doc_, surface_).feed(part);
            } else if (word_.empty() && q < end && part.size() <= longestRemembered) {
                typeWord(part); // whole within the block: no copy
            } else {
                word_.append(part);
                if (word_.size() > longestRemembered) {
                    engine::Engine(state_, doc_, surface_).feed(word_);
                    word_.clear();
                    longWord_ = true;
                }
            }
        }
        p = q;
    }
}

void Converter::typeWord()
{
    if (word_.empty())
        return;
    typeWord(word_);
    word_.clear();
}

void Converter::typeWord(std::string_view word)
{
    // The first word of a text sees its start, not two codes before it.
    if (surface_.caret() < 2) {
        engine::Engine(state_, doc_, surface_).feed(word);
        return;
    }
    const char c2 = surface_.at(2);
    const char c1 = surface_.at(1);
    const std::uint64_t hash = TypedWords::hash(word, c2, c1);
    const TypedWords::Entry* entry = typed_.find(c2, c1, word, hash);
    if (!entry) {
        if (typed_.full())
            typed_.clear();
        // Typed on its own after the same two codes, from a word start.
        engine::EngineState fresh;
        engine::DocumentState doc;
        const std::string context{' ', c2, c1};
        ReachSurface trial(context);
        engine::Engine(fresh, doc, trial).feed(word);
        entry = &typed_.add(context.substr(1) + std::string(word), hash, trial.word(), !trial.keptToTheWord());
    }
    if (entry->reachesBack) {
        engine::Engine(state_, doc_, surface_).feed(word);
    } else {
        surface_.insert(typed_.codes(*entry));
        advanceOver(state_, word, false);
    }
}

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
        type(block);
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
        typeWord();
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
