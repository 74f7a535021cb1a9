#pragma once

// The safe write (safe_write.h) for Qt callers: paths and bytes as Qt holds
// them, the reason as a QString.
#include <QByteArrayView>
#include <QString>

namespace tk::files {

// Replaces the file at path by data, or leaves it as it was and gives the
// reason ("the disk is full (No space left on device)") in *reason.
bool writeFileSafely(const QString& path, QByteArrayView data, QString* reason = nullptr);

// The same reasons as the plain C++ side gives, for a system error number.
QString reasonText(int err);

// What tells, without reading it, that a file on the disk is no longer the
// one a document was loaded from or saved to: another program that saves
// it changes its time, size or (saving through a new file) its inode.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    // The file at path as it is now (links followed); anything but an
    // ordinary file counts as none.
    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

} // namespace tk::files
