#include "string_surface.h"

#include <algorithm>
#include <climits>

namespace tk::engine {

StringSurface::StringSurface(std::string_view text) : left_(text) {}

int StringSurface::caret() const
{
    // A stream may pass any int; the engine only asks whether it is near 0.
    return static_cast<int>(std::min<std::size_t>(taken_ + left_.size(), INT_MAX));
}

std::string StringSurface::before(int n) const
{
    const auto count = std::min(static_cast<std::size_t>(std::max(n, 0)), left_.size());
    return left_.substr(left_.size() - count);
}

void StringSurface::replaceBefore(int k, std::string_view text)
{
    const auto count = std::min(static_cast<std::size_t>(std::max(k, 0)), left_.size());
    left_.resize(left_.size() - count);
    left_.append(text);
}


void StringSurface::setCaret(int pos)
{
    const auto target = static_cast<std::size_t>(
        std::clamp<long long>(static_cast<long long>(pos) - static_cast<long long>(taken_), 0,
                              static_cast<long long>(size())));
    while (left_.size() > target) {
        rightReversed_.push_back(left_.back());
        left_.pop_back();
    }
    while (left_.size() < target) {
        left_.push_back(rightReversed_.back());
        rightReversed_.pop_back();
    }
}

void StringSurface::takeFront(std::string& out, std::size_t keep)
{
    if (left_.size() <= keep)
        return;
    const std::size_t n = left_.size() - keep;
    out.append(left_, 0, n);
    left_.erase(0, n);
    taken_ += n;
}

std::string StringSurface::text() const
{
    std::string all = left_;
    all.append(rightReversed_.rbegin(), rightReversed_.rend());
    return all;
}

} // namespace tk::engine
