#pragma once

#include <string>
#include <string_view>

namespace tk::cli {

// The block size the converter reads in.
inline constexpr std::size_t blockSize = std::size_t(1) << 18;

// Writes all of data to fd (standard output, say), or gives the reason.
bool writeAll(int fd, std::string_view data, std::string& error);

// One read of up to size bytes; got is 0 at the end.
bool readBlock(int fd, char* buffer, std::size_t size, std::size_t& got, std::string& error);

// Reads fd to its end in blocks, handing each to take; stops early when
// take returns false. On a read error returns false with the reason.
template <class Take>
bool readBlocks(int fd, Take take, std::string& error)
{
    std::string buffer(blockSize, '\0');
    for (;;) {
        std::size_t got = 0;
        if (!readBlock(fd, buffer.data(), buffer.size(), got, error))
            return false;
        if (got == 0)
            return true;
        if (!take(std::string_view(buffer.data(), got)))
            return true;
    }
}

} // namespace tk::cli
