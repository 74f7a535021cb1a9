#pragma once

// Writing a file so that it is either wholly replaced or left as it was:
// the bytes go to a temporary file beside the target, every write checked,
// the temporary file is synced to the disk and only then renamed over the
// target, and the folder is synced after the rename. Plain C++ on POSIX, so
// the word processor and the command-line converter share it.
//
// A target that is a symbolic link is followed: the file it points to is
// replaced, the link stays a link. A file that may not be written (read-only)
// is refused, as writing into it would be. The new file keeps the old one's
// permissions (and owner, where the process may set it); a new file gets the
// usual mode for the user's umask.

#include <cstddef>
#include <string>
#include <string_view>

namespace tk::files {

// A file being written. open() makes the temporary file, write() adds bytes,
// commit() puts it in place; anything else (cancel(), destruction, a failed
// step) removes the temporary file and leaves the target untouched.
class SafeWriter {
public:
    explicit SafeWriter(std::string path);
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    bool open();
    bool write(std::string_view bytes);
    bool commit();
    void cancel();

    // After a failure: the system's error number and a reason fit for a
    // message ("the disk is full (No space left on device)").
    int error() const { return error_; }
    const std::string& reason() const { return reason_; }
    // The file actually replaced (the target of a link); set by open().
    const std::string& target() const { return target_; }
    // The temporary file while one exists, else "".
    const std::string& temporaryPath() const { return temp_; }

private:
    bool fail(int err);
    bool fail(int err, std::string reason);

    std::string path_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    int slot_ = -1;
    int error_ = 0;
    std::string reason_;
};

// The whole of data as the new content of path. On failure returns false and
// sets reason (see SafeWriter::reason).
bool writeFileSafely(const std::string& path, std::string_view data, std::string& reason);

// A reason for a message from a system error number: the system's own words,
// with what they mean for the user first where that helps.
std::string reasonFor(int err);

// True for the name (without folders) of a temporary file this program
// makes, such as one left behind by a run that was killed.
bool isTemporaryName(std::string_view fileName);

// Test seam: after `bytes` more bytes have been written through SafeWriter
// (in this process), every write fails with err. A negative count turns the
// fault off. The environment variable TK_FAIL_WRITES_AFTER=N sets the same
// fault (with ENOSPC) at start-up, for tests that run a program.
void injectWriteFailure(long long bytes, int err = 28 /* ENOSPC */);

// Installs handlers for SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGPIPE that
// remove the temporary files still open and then end the process as the
// signal would have. For programs with no handlers of their own.
void removeTemporariesOnSignals();

} // namespace tk::files
