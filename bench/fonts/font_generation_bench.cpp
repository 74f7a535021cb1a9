// Generating the display fonts, which every clean build does: seconds per
// font (the generator started as the build starts it), and the time the
// program spends at start-up registering the four fonts from its resources.
#include "display_fonts.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Font {
    const char* family;
    const char* base;
    const char* latin;
    const char* style;
};

const Font fonts[] = {
    {"Kolvani", "NotoSansTamil", "NotoSans", "Regular"},
    {"Kolvani", "NotoSansTamil", "NotoSans", "Bold"},
    {"Nelpari", "NotoSerifTamil", "NotoSerif", "Regular"},
    {"Nelpari", "NotoSerifTamil", "NotoSerif", "Bold"},
};

// Seconds for one run of the generator, or a negative value if it failed.
double generate(const Font& font, const QString& output)
{
    const QString noto = QStringLiteral(NOTO_DIR "/");
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(FONTS_PYTHON),
                  {QStringLiteral(FONTS_SCRIPT), QStringLiteral("--base"),
                   noto + QLatin1String(font.base) + u'-' + QLatin1String(font.style) + QLatin1String(".ttf"),
                   QStringLiteral("--latin"),
                   noto + QLatin1String(font.latin) + u'-' + QLatin1String(font.style) + QLatin1String(".ttf"),
                   QStringLiteral("--family"), QLatin1String(font.family), QStringLiteral("--hb-shape"),
                   QStringLiteral(HB_SHAPE), QStringLiteral("--output"), output});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s", process.readAllStandardError().constData());
        return -1;
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    std::printf("font generation, best and worst of 3 runs:\n");
    double total = 0;
    for (const Font& font : fonts) {
        double best = 1e9;
        double worst = 0;
        for (int run = 0; run < 3; ++run) {
            const double seconds = generate(font, dir.filePath(QStringLiteral("font.ttf")));
            if (seconds < 0) {
                std::printf("  %s-%s: generation failed\n", font.family, font.style);
                return 1;
            }
            best = std::min(best, seconds);
            worst = std::max(worst, seconds);
        }
        total += best;
        std::printf("  %s-%s: %.3f s (worst %.3f s)\n", font.family, font.style, best, worst);
    }
    std::printf("  all four, one after another: %.3f s\n", total);

    QElapsedTimer timer;
    timer.start();
    const bool registered = tk::fonts::registerDisplayFonts();
    std::printf("registering the four fonts at start-up: %.1f ms%s\n", timer.nsecsElapsed() / 1e6,
                registered ? "" : " (FAILED)");
    return registered ? 0 : 1;
}
