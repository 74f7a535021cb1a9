#include "file_io.h"

#include "files/safe_write.h"

#include <cerrno>
#include <unistd.h>

namespace tk::cli {

bool readBlock(int fd, char* buffer, std::size_t size, std::size_t& got, std::string& error)
{
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return true;
        }
        if (errno != EINTR) {
            error = files::reasonFor(errno);
            return false;
        }
    }
}

bool writeAll(int fd, std::string_view data, std::string& error)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = files::reasonFor(errno);
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace tk::cli
