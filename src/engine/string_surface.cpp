#include "string_surface.h"

#include <algorithm>

namespace tk::engine {

StringSurface::StringSurface(std::string_view text) : left_(text) {}

int StringSurface::caret() const { return static_cast<int>(left_.size()); }

std::string StringSurface::before(int n) const
{
    const auto count = static_cast<std::size_t>(std::clamp(n, 0, caret()));
    return left_.substr(left_.size() - count);
}

void StringSurface::replaceBefore(int k, std::string_view text)
{
    const auto count = static_cast<std::size_t>(std::clamp(k, 0, caret()));
    left_.resize(left_.size() - count);
    left_.append(text);
}

void StringSurface::insert(std::string_view text) { left_.append(text); }

void StringSurface::setCaret(int pos)
{
    const auto target = static_cast<std::size_t>(std::clamp(pos, 0, static_cast<int>(size())));
    while (left_.size() > target) {
        rightReversed_.push_back(left_.back());
        left_.pop_back();
    }
    while (left_.size() < target) {
        left_.push_back(rightReversed_.back());
        rightReversed_.pop_back();
    }
}

std::string StringSurface::text() const
{
    std::string all = left_;
    all.append(rightReversed_.rbegin(), rightReversed_.rend());
    return all;
}

} // namespace tk::engine
