#pragma once

#include "text_surface.h"

#include <string>

namespace tk::engine {

// A text with a caret, kept as a gap buffer: the text before the caret in
// order, the text after it reversed. Every engine edit happens at the caret,
// so each one is amortised O(1) wherever the caret stands.
class StringSurface final : public TextSurface {
public:
    StringSurface() = default;
    explicit StringSurface(std::string_view text); // caret at the end

    int caret() const override;
    std::string before(int n) const override;
    void replaceBefore(int k, std::string_view text) override;
    void insert(std::string_view text) override { left_.append(text); }

    // Move the caret to pos (clamped to the text).
    void setCaret(int pos);
    // The character n places before the caret (1: just before), '\0' before
    // the start of what the surface still holds.
    char at(std::size_t n) const { return n <= left_.size() && n > 0 ? left_[left_.size() - n] : '\0'; }
    // For text typed as a stream: moves all but the last `keep` characters
    // before the caret to the end of out. They no longer count in text() or
    // size(), but still in caret(), so the engine sees the same positions.
    void takeFront(std::string& out, std::size_t keep);
    std::string text() const;
    std::size_t size() const { return left_.size() + rightReversed_.size(); }
    void reserve(std::size_t n) { left_.reserve(n); }

private:
    std::string left_;
    std::string rightReversed_;
    std::size_t taken_ = 0; // characters moved out by takeFront
};

} // namespace tk::engine
