#include "safe_write.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tk::files {

namespace {

// ---- the fault seam -------------------------------------------------------

std::atomic<long long>& faultBudget()
{
    static std::atomic<long long> budget = [] {
        const char* env = std::getenv("TK_FAIL_WRITES_AFTER");
        return env && *env ? std::atoll(env) : -1LL;
    }();
    return budget;
}

std::atomic<int> faultError{ENOSPC};

// How many of n bytes the seam lets through; sets err when it stops some.
std::size_t allowedBytes(std::size_t n, int& err)
{
    auto& budget = faultBudget();
    long long left = budget.load();
    if (left < 0)
        return n;
    const auto allowed = static_cast<std::size_t>(std::min<long long>(left, static_cast<long long>(n)));
    budget.store(left - static_cast<long long>(allowed));
    if (allowed < n)
        err = faultError.load();
    return allowed;
}

// ---- temporary files removed by the signal handlers -----------------------

constexpr int slotCount = 16;
constexpr std::size_t slotSize = PATH_MAX + 1;
char slotPaths[slotCount][slotSize];
std::atomic<bool> slotUsed[slotCount];     // read by the signal handler
std::atomic<bool> slotReserved[slotCount]; // taken by a writer

int takeSlot(const std::string& path)
{
    if (path.size() >= slotSize)
        return -1;
    for (int i = 0; i < slotCount; ++i) {
        bool expected = false;
        if (slotReserved[i].compare_exchange_strong(expected, true)) {
            std::memcpy(slotPaths[i], path.c_str(), path.size() + 1);
            slotUsed[i].store(true, std::memory_order_release);
            return i;
        }
    }
    return -1; // more files at once than slots: only the signal cleanup misses it
}

void releaseSlot(int slot)
{
    if (slot < 0)
        return;
    slotUsed[slot].store(false, std::memory_order_release);
    slotReserved[slot].store(false, std::memory_order_release);
}

extern "C" void removeTemporariesAndDie(int sig)
{
    for (int i = 0; i < slotCount; ++i)
        if (slotUsed[i].load(std::memory_order_acquire))
            ::unlink(slotPaths[i]);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// ---- paths ------------------------------------------------------------------

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path stands for once symbolic links are followed, also when the
// last link points at a file that does not exist yet.
bool followLinks(std::string path, std::string& out, int& err)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            out = path;
            return true;
        }
        std::string link(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) {
            err = errno;
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        path = link.starts_with('/') ? link : folderOf(path) + "/" + link;
    }
    err = ELOOP;
    return false;
}

std::string randomTag()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 rng(std::random_device{}() ^ (static_cast<unsigned long long>(::getpid()) << 32));
    std::string tag(6, 'x');
    for (char& c : tag)
        c = letters[rng() % (sizeof letters - 1)];
    return tag;
}

constexpr std::string_view tempMark = ".tk-";
constexpr std::string_view tempEnd = ".tmp";

} // namespace

std::string reasonFor(int err)
{
    const std::string system = std::strerror(err);
    switch (err) {
    case ENOSPC: return "the disk is full (" + system + ")";
    case EDQUOT: return "the disk quota is used up (" + system + ")";
    case EROFS: return "the disk can only be read (" + system + ")";
    case EACCES:
    case EPERM: return "permission denied (" + system + ")";
    case ENOENT: return "the folder does not exist (" + system + ")";
    case EISDIR: return "it is a folder, not a file";
    case EIO: return "the disk reported an error (" + system + ")";
    case EFBIG: return "the file is too large for the disk (" + system + ")";
    default: return system;
    }
}

bool isTemporaryName(std::string_view name)
{
    // "." + original name + ".tk-" + six letters or digits + ".tmp"
    if (name.size() < 1 + 1 + tempMark.size() + 6 + tempEnd.size() || name.front() != '.'
        || !name.ends_with(tempEnd))
        return false;
    const std::string_view tail = name.substr(name.size() - tempEnd.size() - 6 - tempMark.size());
    if (!tail.starts_with(tempMark))
        return false;
    const std::string_view tag = tail.substr(tempMark.size(), 6);
    return std::all_of(tag.begin(), tag.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

void injectWriteFailure(long long bytes, int err)
{
    faultError.store(err);
    faultBudget().store(bytes < 0 ? -1 : bytes);
}

void removeTemporariesOnSignals()
{
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndDie;
    sigemptyset(&action.sa_mask);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
        ::sigaction(sig, &action, nullptr);
}

SafeWriter::SafeWriter(std::string path) : path_(std::move(path)) {}

SafeWriter::~SafeWriter() { cancel(); }

bool SafeWriter::fail(int err) { return fail(err, reasonFor(err)); }

bool SafeWriter::fail(int err, std::string reason)
{
    error_ = err;
    reason_ = std::move(reason);
    cancel();
    return false;
}

bool SafeWriter::open()
{
    cancel();
    error_ = 0;
    reason_.clear();
    if (path_.empty())
        return fail(ENOENT, "no file name was given");
    int err = 0;
    if (!followLinks(path_, target_, err))
        return fail(err);
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return fail(EISDIR);
    if (exists && !S_ISREG(old.st_mode))
        return fail(EINVAL, "it is not an ordinary file");
    // Replacing the file through the folder would get round its own
    // protection: a read-only file stays as it is.
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return fail(errno, errno == EACCES || errno == EPERM || errno == EROFS
                               ? "the file is read-only (" + std::string(std::strerror(errno)) + ")"
                               : reasonFor(errno));

    // Hidden, and named so that a left-over one is known for what it is.
    std::string name = nameOf(target_);
    if (name.size() > 200)
        name.resize(200);
    const std::string folder = folderOf(target_);
    const mode_t mode = exists ? (old.st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = folder + "/." + name + std::string(tempMark) + randomTag() + std::string(tempEnd);
        // Known to the signal handlers before it exists, so that a signal
        // right after it is made still takes it away.
        const int slot = takeSlot(temp);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            const int err = errno;
            releaseSlot(slot);
            if (err == EEXIST || err == EINTR)
                continue;
            return fail(err);
        }
        fd_ = fd;
        temp_ = std::move(temp);
        slot_ = slot;
        break;
    }
    if (fd_ < 0)
        return fail(EEXIST);
    if (exists) {
        // The umask must not narrow an existing file's permissions.
        if (::fchmod(fd_, old.st_mode & 07777) != 0)
            return fail(errno);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            [[maybe_unused]] const int ignored = ::fchown(fd_, old.st_uid, old.st_gid);
    }
    return true;
}

bool SafeWriter::write(std::string_view bytes)
{
    if (fd_ < 0)
        return error_ ? false : fail(EBADF, "the file is not open for writing");
    while (!bytes.empty()) {
        int injected = 0;
        const std::size_t allowed = allowedBytes(bytes.size(), injected);
        if (allowed == 0)
            return fail(injected);
        const ssize_t n = ::write(fd_, bytes.data(), allowed);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return fail(ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SafeWriter::commit()
{
    if (fd_ < 0)
        return error_ ? false : fail(EBADF, "the file is not open for writing");
    if (::fsync(fd_) != 0 && errno != EINVAL)
        return fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        return fail(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail(errno);
    releaseSlot(slot_);
    slot_ = -1;
    temp_.clear();
    // The rename itself reaches the disk only with the folder.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void SafeWriter::cancel()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    releaseSlot(slot_);
    slot_ = -1;
}

bool writeFileSafely(const std::string& path, std::string_view data, std::string& reason)
{
    SafeWriter writer(path);
    if (writer.open() && writer.write(data) && writer.commit())
        return true;
    reason = writer.reason();
    return false;
}

} // namespace tk::files
