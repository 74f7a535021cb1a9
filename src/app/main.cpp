// Tamil Kalvem: the word processor's start-up.
#include "frame/mdi_form1.h"
#include "recovery_start.h"

#include "display_fonts.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

// For the start-up benchmark: once the frame is on screen, say so with the
// resident memory, and end.
void reportShownAndQuit()
{
    QFile status(QStringLiteral("/proc/self/status"));
    QByteArray rss = "unknown";
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                rss = line.mid(6).trimmed();
        }
    }
    std::printf("frame shown; resident %s\n", rss.constData());
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamil Kalvem"));
    tk::fonts::registerDisplayFonts();
    tk::app::MDIForm1 frame;
    frame.show();
    // Unsaved documents survive a crash or the end of the session.
    tk::app::startRecovery(frame);
    tk::app::typeAtStartForTests(frame);
    if (qEnvironmentVariableIsSet("TK_REPORT_STARTUP"))
        QTimer::singleShot(0, &frame, reportShownAndQuit);
    return app.exec();
}
