#include "machine_registry.h"

#include <QFile>
#include <QRegularExpression>

namespace tk::about {

namespace {

QString rootName(quint32 root)
{
    return root == HKEY_LOCAL_MACHINE ? QStringLiteral("HKEY_LOCAL_MACHINE") : QString();
}

// Reads a quoted text at the start of s ("..." with \\ and \" escapes);
// returns it and the rest of s after the closing quote.
std::optional<std::pair<QString, QStringView>> quoted(QStringView s)
{
    if (!s.startsWith(u'"'))
        return std::nullopt;
    QString text;
    for (qsizetype i = 1; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            text += s[++i];
        } else if (s[i] == u'"') {
            return std::pair{text, s.mid(i + 1)};
        } else {
            text += s[i];
        }
    }
    return std::nullopt;
}

std::optional<RegistryValue> parseData(QStringView s)
{
    RegistryValue value;
    if (const auto text = quoted(s)) {
        value.type = REG_SZ;
        value.data = text->first.toUtf8() + '\0';
        return value;
    }
    if (s.startsWith(u"dword:", Qt::CaseInsensitive)) {
        bool ok = false;
        const quint32 number = s.mid(6).trimmed().toUInt(&ok, 16);
        if (!ok || s.mid(6).trimmed().size() > 8)
            return std::nullopt;
        value.type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            value.data += char((number >> (8 * i)) & 0xff);
        return value;
    }
    // hex:01,02 is raw data; hex(N):... data of type N.
    static const QRegularExpression hex(QStringLiteral("^hex(?:\\((\\d+)\\))?:(.*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = hex.match(s.toString());
    if (!m.hasMatch())
        return std::nullopt;
    value.type = m.captured(1).isEmpty() ? int(REG_BINARY) : m.captured(1).toInt();
    for (const QString& byte : m.captured(2).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint b = byte.trimmed().toUInt(&ok, 16);
        if (!ok || b > 0xff)
            return std::nullopt;
        value.data += char(b);
    }
    return value;
}

// The value named valueName in section of one file, if it is there.
std::optional<RegistryValue> lookUp(const QString& path, const QString& section, const QString* valueName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    bool inSection = false;
    bool sectionFound = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inSection = line.mid(1, line.size() - 2).compare(section, Qt::CaseInsensitive) == 0;
            sectionFound = sectionFound || inSection;
            continue;
        }
        if (!inSection || !valueName)
            continue;
        const auto name = quoted(line);
        if (!name || name->first.compare(*valueName, Qt::CaseInsensitive) != 0)
            continue;
        const QStringView rest = name->second.trimmed();
        if (rest.startsWith(u'='))
            return parseData(rest.mid(1).trimmed());
    }
    // Asked only for the key: say whether it is there.
    if (!valueName && sectionFound)
        return RegistryValue{};
    return std::nullopt;
}

} // namespace

QStringList machineRegistryFiles()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    QStringList files;
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts))
        files << dir + QStringLiteral("/tamilkalvem/machine.reg");
    return files;
}

std::optional<RegistryKey> RegistryKey::open(quint32 root, const QString& keyName)
{
    const QString rootText = rootName(root);
    if (rootText.isEmpty())
        return std::nullopt;
    RegistryKey key;
    key.section_ = rootText + u'\\' + keyName;
    for (const QString& file : machineRegistryFiles()) {
        if (lookUp(file, key.section_, nullptr))
            return key;
    }
    return std::nullopt;
}

std::optional<RegistryValue> RegistryKey::query(const QString& valueName) const
{
    for (const QString& file : machineRegistryFiles()) {
        if (auto value = lookUp(file, section_, &valueName))
            return value;
    }
    return std::nullopt;
}

} // namespace tk::about
