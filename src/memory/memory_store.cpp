#include "memory_store.h"

#include "settings_file.h"

#include "files/qt_safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tk::memory {

namespace {

// Files of earlier versions spelled "/", "\" and "%" in a name out, as the
// settings class they were written with would have read the first two as
// group separators; names keep that spelling.
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

// The file's content, or the reason it cannot be read.
bool readStore(QByteArray& content, QString& reason)
{
    QFile file(storePath());
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    return true;
}

bool failure(QString* reason, const QString& why)
{
    if (reason)
        *reason = QStringLiteral("Cannot write the settings file \"%1\": %2.")
                      .arg(QDir::toNativeSeparators(storePath()), why);
    return false;
}

} // namespace

QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tamilkalvem/tamilkalvem.ini");
}

bool CreateKey(const QString&, QString* reason)
{
    const QString path = storePath();
    if (QFileInfo(path).isFile())
        return true;
    if (QFileInfo(path).isDir())
        return failure(reason, QStringLiteral("a folder of that name stands in its place"));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(reason, QStringLiteral("its folder cannot be made"));
    QString why;
    if (!files::writeFileSafely(path, {}, &why))
        return failure(reason, why);
    return true;
}

bool WriteValue(const QString& keyName, const QString& valueName, const QString& data, QString* reason)
{
    if (valueName.isEmpty())
        return failure(reason, QStringLiteral("no name was given"));
    if (QFileInfo(storePath()).isDir())
        return failure(reason, QStringLiteral("a folder of that name stands in its place"));
    if (!keyExists())
        return failure(reason, QStringLiteral("the file does not exist"));
    // Never rewrite what could not be read: entries would be lost.
    QByteArray content;
    if (QString why; !readStore(content, why))
        return failure(reason, why);
    SettingsFile settings(content);
    settings.setValue(keyName, settingsKey(valueName), data);
    if (QString why; !files::writeFileSafely(storePath(), settings.content(), &why))
        return failure(reason, why);
    return true;
}

QString ReadValue(const QString& keyName, const QString& valueName)
{
    QByteArray content;
    QString why;
    if (!keyExists() || valueName.isEmpty() || !readStore(content, why))
        return {};
    const std::optional<QString> value = SettingsFile(content).value(keyName, settingsKey(valueName));
    if (!value || value->size() > maxStoredLength)
        return {};
    const QString& text = *value;
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace tk::memory
