#include "system_info.h"

#include "machine_registry.h"

#include "seam/common_dialog.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace tk::about {

namespace {

// What the platform reports into a value buffer, and no more.
constexpr int bufferSize = 1024;

// System-information programs of the Linux desktops, best first.
const char* const knownTools[] = {"hardinfo2", "hardinfo", "kinfocenter"};

} // namespace

bool GetKeyValue(quint32 KeyRoot, const QString& Keyname, const QString& SubKeyRef, QString& KeyVal)
{
    const std::optional<RegistryKey> key = RegistryKey::open(KeyRoot, Keyname);
    if (!key) {
        KeyVal.clear();
        return false;
    }
    const std::optional<RegistryValue> value = key->query(SubKeyRef);
    if (!value || value->data.size() > bufferSize) {
        KeyVal.clear();
        return false;
    }
    QByteArray data = value->data;
    if (data.endsWith('\0'))
        data.chop(1);
    if (value->type == REG_SZ) {
        KeyVal = QString::fromUtf8(data);
    } else if (value->type == REG_DWORD) {
        // Each byte as two hexadecimal digits, the last byte first: a byte
        // written with one digit would shift every byte after it.
        QString hex;
        for (qsizetype i = data.size() - 1; i >= 0; --i)
            hex += QStringLiteral("%1").arg(uchar(data[i]), 2, 16, QLatin1Char('0'));
        KeyVal = QString::number(hex.toULongLong(nullptr, 16));
    }
    return true;
}

QString systemInfoTool()
{
    const auto root = HKEY_LOCAL_MACHINE;
    QString path;
    if (GetKeyValue(root, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"), path)
        && !path.isEmpty())
        return path;
    QString folder;
    if (GetKeyValue(root, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"),
                    folder)
        && !folder.isEmpty() && QFileInfo::exists(folder + QStringLiteral("/MSINFO32.EXE")))
        return folder + QStringLiteral("/MSINFO32.EXE");
    for (const char* tool : knownTools) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void StartSysInfo(QWidget* parent)
{
    const QString tool = systemInfoTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {}))
        seam::dialogs().message(parent, seam::messageTitle,
                                QStringLiteral("System Information Is Unavailable At This Time"));
}

} // namespace tk::about
