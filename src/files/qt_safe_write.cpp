#include "qt_safe_write.h"

#include "safe_write.h"

#include <QFile>

#include <sys/stat.h>

namespace tk::files {

bool writeFileSafely(const QString& path, QByteArrayView data, QString* reason)
{
    std::string why;
    const std::string local = QFile::encodeName(path).toStdString();
    if (writeFileSafely(local, std::string_view(data.data(), std::size_t(data.size())), why))
        return true;
    if (reason)
        *reason = QString::fromLocal8Bit(why);
    return false;
}

QString reasonText(int err) { return QString::fromLocal8Bit(reasonFor(err)); }

FileStamp FileStamp::of(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {true, quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

} // namespace tk::files
