// Feeding phonetic text through the engine on the string surface: MB/s for
// 1 MB and 10 MB, and the ratio of the two times (linear means about 10).
#include "engine/engine.h"
#include "engine/string_surface.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::string sample(std::size_t bytes)
{
    static const char* const words[] = {"thamiz ", "vanakkam ", "nanRi ", "ammaa ", "kaN ", "koo ",
                                        "pU ", "kai ", "nanbarkaL ", "ezuththu ", "paaddu\r\n"};
    std::string text;
    text.reserve(bytes + 16);
    for (std::size_t i = 0; text.size() < bytes; ++i)
        text += words[(i * 7) % (sizeof words / sizeof *words)];
    text.resize(bytes);
    return text;
}

double feedOnce(const std::string& text, int caretFromEnd)
{
    tk::engine::EngineState state;
    tk::engine::DocumentState doc;
    tk::engine::StringSurface surface(std::string(caretFromEnd, ' '));
    surface.setCaret(0);
    surface.reserve(text.size() * 2); // as the converter does: growth is not the engine's cost
    const auto start = std::chrono::steady_clock::now();
    tk::engine::Engine(state, doc, surface).feed(text);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (surface.size() == 0)
        std::puts("(empty)");
    return took.count();
}

// Best of three, so that one unlucky run does not decide the figure.
double feedSeconds(const std::string& text, int caretFromEnd)
{
    double best = feedOnce(text, caretFromEnd);
    for (int i = 0; i < 2; ++i)
        best = std::min(best, feedOnce(text, caretFromEnd));
    return best;
}

} // namespace

int main()
{
    const std::string one = sample(1 << 20);
    const std::string ten = sample(10 << 20);
    feedSeconds(one, 0); // warm up
    const double t1 = feedSeconds(one, 0);
    const double t10 = feedSeconds(ten, 0);
    std::printf("feed 1 MB:   %7.1f MB/s\n", 1 / t1);
    std::printf("feed 10 MB:  %7.1f MB/s\n", 10 / t10);
    std::printf("10 MB / 1 MB time ratio: %.2f (linear: 10, limit 11)\n", t10 / t1);
    // The same 1 MB typed with 10 MB of text after the caret: the cost of a
    // key must not depend on what surrounds the caret.
    const double tMid = feedSeconds(one, 10 << 20);
    std::printf("feed 1 MB, 10 MB after the caret:%7.1f MB/s\n", 1 / tMid);
    return 0;
}
