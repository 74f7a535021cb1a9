#include "companion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace tk::about {

QString companionPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/obt"); }

bool runCompanion()
{
    const QString path = companionPath();
    if (!QFileInfo(path).isExecutable())
        return false;
    return QProcess::startDetached(path, {}, QCoreApplication::applicationDirPath());
}

} // namespace tk::about
