#include "memory_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tk::memory {

namespace {

// QSettings reads "/" and "\" in a key as group separators; a memory entry
// may be stored under either (any single character is allowed), so they and
// the escape character itself are spelled out.
QString settingsKey(const QString& valueName)
{
    QString key;
    for (const QChar c : valueName) {
        if (c == u'/' || c == u'\\' || c == u'%')
            key += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            key += c;
    }
    return key;
}

bool keyExists() { return QFileInfo(storePath()).isFile(); }

// The spelling under which a value is stored already, matched without regard
// to case as the names are; the name itself when there is none.
QString storedSpelling(QSettings& settings, const QString& valueName)
{
    const QString wanted = settingsKey(valueName);
    const QStringList keys = settings.childKeys();
    for (const QString& key : keys)
        if (key.compare(wanted, Qt::CaseInsensitive) == 0)
            return key;
    return wanted;
}

} // namespace

QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tamilkalvem/tamilkalvem.ini");
}

void CreateKey(const QString&)
{
    const QString path = storePath();
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

void WriteValue(const QString& keyName, const QString& valueName, const QString& data)
{
    if (!keyExists() || valueName.isEmpty())
        return;
    QSettings settings(storePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return; // never overwrite a file that could not be read
    settings.beginGroup(keyName);
    settings.setValue(storedSpelling(settings, valueName), data);
    settings.endGroup();
    settings.sync();
}

QString ReadValue(const QString& keyName, const QString& valueName)
{
    if (!keyExists() || valueName.isEmpty())
        return {};
    QSettings settings(storePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return {};
    settings.beginGroup(keyName);
    const QVariant value = settings.value(storedSpelling(settings, valueName));
    if (value.typeId() != QMetaType::QString)
        return {};
    const QString text = value.toString();
    if (text.size() > maxStoredLength)
        return {};
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace tk::memory
