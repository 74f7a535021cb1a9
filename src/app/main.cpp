// Tamil Kalvem: the word processor's start-up.
#include "frame/mdi_form1.h"
#include "recovery_start.h"

#include "about/frm_splash.h"
#include "about/identity.h"

#include "display_fonts.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

// For the start-up benchmark and the tests: once the frame is on screen, say
// so with the resident memory and the documents open, and end.
void reportShownAndQuit(const tk::app::MDIForm1& frame)
{
    QFile status(QStringLiteral("/proc/self/status"));
    QByteArray rss = "unknown";
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                rss = line.mid(6).trimmed();
        }
    }
    std::printf("frame shown; resident %s; documents %lld\n", rss.constData(),
                static_cast<long long>(frame.documents().size()));
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    // The browser's web engine, loaded only when it first opens, needs this
    // set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamil Kalvem"));
    QApplication::setWindowIcon(tk::about::applicationIcon());
    tk::fonts::registerDisplayFonts();
    tk::app::MDIForm1 frame;
    const QPointer<tk::about::frmSplash> splash = tk::about::frmSplash::showAtStartUp(frame);
    frame.openFiles(QApplication::arguments().mid(1));
    // Unsaved documents survive a crash or the end of the session. The
    // question about them must not wait behind the splash.
    tk::app::startRecovery(frame, [splash] {
        if (splash)
            splash->unload();
    });
    tk::app::typeAtStartForTests(frame);
    if (qEnvironmentVariableIsSet("TK_REPORT_STARTUP"))
        QTimer::singleShot(0, &frame, [&frame] { reportShownAndQuit(frame); });
    return app.exec();
}
