#include "browser_loader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <unistd.h>

namespace tk::browser {

namespace {

QLibrary* loaded = nullptr;

// The web engine's renderer sandbox cannot run as root; anyone else keeps it.
void allowRunningAsRoot()
{
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

QString modulePath()
{
    const QString chosen = qEnvironmentVariable("TK_BROWSER_MODULE");
    if (!chosen.isEmpty())
        return chosen;
    const QString installed = QCoreApplication::applicationDirPath()
        + QStringLiteral("/" TK_BROWSER_MODULE_FROM_BIN "/" TK_BROWSER_MODULE_NAME);
    if (QFileInfo::exists(installed))
        return QFileInfo(installed).canonicalFilePath();
    return QStringLiteral(TK_BROWSER_MODULE_BUILT);
}

QWidget* createBrowser(QWidget* parent, const BrowserSettings& settings, QString* error)
{
    if (!loaded) {
        allowRunningAsRoot();
        auto* library = new QLibrary(modulePath());
        if (!library->load()) {
            if (error)
                *error = library->errorString();
            delete library;
            return nullptr;
        }
        loaded = library;
    }
    const auto create = reinterpret_cast<CreateBrowser>(loaded->resolve(createBrowserSymbol));
    if (!create) {
        if (error)
            *error = loaded->errorString();
        return nullptr;
    }
    return create(parent, settings);
}

bool moduleLoaded() { return loaded != nullptr; }

} // namespace tk::browser
