#pragma once

// Text for the benchmarks: words of a list, taken in a fixed stride, in lines
// of about seventy characters, cut to size characters.
#include <QString>

#include <cstddef>

template <std::size_t N>
QString wordLines(const char* const (&words)[N], qsizetype size, std::size_t stride)
{
    QString text;
    text.reserve(size + 16);
    qsizetype line = 0;
    for (std::size_t i = 0; text.size() < size; ++i) {
        const QString word = QString::fromLatin1(words[(i * stride) % N]);
        text += word;
        line += word.size();
        if (line > 70) {
            text += u'\n';
            line = 0;
        }
    }
    text.truncate(size);
    return text;
}
