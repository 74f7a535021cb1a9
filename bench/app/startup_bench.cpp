// Start-up: the time from starting the program to its frame on screen, and
// the resident memory then; best of five runs each, as the program is built
// (the browser module loaded only when the browser opens), with the module
// missing, and with the module and its web engine loaded from the start (as
// linking them into the program would), for comparison.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

bool measure(const char* label, const char* variable, const QString& value)
{
    double best = 1e9;
    QByteArray report;
    for (int run = 0; run < 5; ++run) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TK_REPORT_STARTUP"), QStringLiteral("1"));
        if (variable)
            env.insert(QString::fromLatin1(variable), value);
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(TAMILKALVEM_PATH), {});
        if (!process.waitForStarted(10000)) {
            std::printf("cannot start %s\n", TAMILKALVEM_PATH);
            return false;
        }
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        report = process.readLine().trimmed();
        process.waitForFinished(10000);
        best = std::min(best, ms);
    }
    std::printf("%-44s %7.1f ms (best of 5); %s\n", label, best, report.constData());
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("start-up to the frame shown:\n");
    const bool ok = measure("as built (browser module on demand)", nullptr, {})
        && measure("browser module missing", "TK_BROWSER_MODULE", QStringLiteral("/nonexistent/module.so"))
        && measure("web engine loaded at start (comparison)", "LD_PRELOAD", QStringLiteral(TK_BROWSER_MODULE_PATH));
    return ok ? 0 : 1;
}
