// Conversion between font codes and Unicode Tamil, both ways: MB/s on 1 MB
// and 10 MB of ordinary text, and the ratio of the times (linear means 10).
#include "engine/tamil_unicode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

// Ordinary Tamil text of about the given size, cut at a line end so that
// no character is split.
std::string cutAtLine(std::string text, std::size_t bytes)
{
    text.resize(text.rfind('\n', bytes) + 1);
    return text;
}

std::string sampleUnicode(std::size_t bytes)
{
    static const char* const lines[] = {
        "அகர முதல எழுத்தெல்லாம் ஆதி பகவன் முதற்றே உலகு.\n",
        "யாதும் ஊரே யாவரும் கேளிர் - தீதும் நன்றும் பிறர்தர வாரா.\n",
        "ஔவையார் ஸ்ரீரங்கம் கோயிலுக்குப் போனார்; க்ஷேத்திரம் 2024 (சூரியன்)\n",
        "கௌரவம் பூக்கள் ஜன்னல் ஹோட்டல் புஷ்பம் டீ கொடு!\n",
    };
    std::string text;
    text.reserve(bytes + 256);
    for (std::size_t i = 0; text.size() < bytes; ++i)
        text += lines[i % 4];
    return cutAtLine(std::move(text), bytes);
}

// Font codes are about a third the size of the same text in UTF-8.
std::string sampleCodes(std::size_t bytes)
{
    return cutAtLine(tk::engine::unicodeToCodes(sampleUnicode(bytes * 3)).codes, bytes);
}

// Best of three, so that one unlucky run does not decide the figure.
double seconds(const std::function<std::size_t()>& work)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (work() == 0)
            std::puts("(empty)");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void report(const char* what, const std::string& one, const std::string& ten,
            const std::function<std::size_t(const std::string&)>& convert)
{
    const double t1 = seconds([&] { return convert(one); });
    const double t10 = seconds([&] { return convert(ten); });
    const double mb1 = one.size() / 1048576.0, mb10 = ten.size() / 1048576.0;
    std::printf("%s  1 MB: %7.1f MB/s   10 MB: %7.1f MB/s   time ratio %.2f (linear: %.2f)\n", what,
                mb1 / t1, mb10 / t10, t10 / t1, mb10 / mb1);
}

} // namespace

int main()
{
    const std::string one = sampleUnicode(1 << 20);
    const std::string ten = sampleUnicode(10 << 20);
    const std::string codesOne = sampleCodes(1 << 20);
    const std::string codesTen = sampleCodes(10 << 20);

    std::puts("Sizes are of the input: UTF-8 for --from-unicode, font codes for --to-unicode.");
    report("Unicode -> codes", one, ten,
           [](const std::string& s) { return tk::engine::unicodeToCodes(s).codes.size(); });
    report("codes -> Unicode", codesOne, codesTen,
           [](const std::string& s) { return tk::engine::codesToUnicode(s).size(); });
    return 0;
}
