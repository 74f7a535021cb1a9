// tamilkalvem-convert over 100 MB of phonetic text, font codes and Unicode
// Tamil, each beside tr over the same file: the best of three runs of each,
// with the output thrown away. Both the processor time the program used
// (what a loaded machine disturbs least) and the wall-clock time.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "../support/processor_time.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Timing {
    double cpu = 1e9;  // user and system time of the program
    double wall = 1e9;
};

double childrenCpu() { return processorMs(RUSAGE_CHILDREN) / 1e3; }

Timing best(const QString& program, const QStringList& args, const QString& input)
{
    Timing best;
    for (int run = 0; run < 3; ++run) {
        QProcess p;
        p.setStandardInputFile(input);
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        const double cpuBefore = childrenCpu();
        clock.start();
        p.start(program, args);
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            std::fprintf(stderr, "%s failed\n", qPrintable(program));
            return {-1, -1};
        }
        best.wall = std::min(best.wall, clock.nsecsElapsed() / 1e9);
        best.cpu = std::min(best.cpu, childrenCpu() - cpuBefore);
    }
    return best;
}

QByteArray phoneticText(qsizetype size)
{
    // Words of a Tamil text as typed, drawn at random so the file does not
    // repeat one line.
    const QList<QByteArray> words = {"vanakkam", "thamiz", "ulakam", "kaNNan", "paattu", "kooTTam", "shrii",
                                     "naaN", "avan", "peyar", "enna", "ithu", "oru", "pudhiya", "kaalai",
                                     "maalai", "sennai", "maduraiyil", "irunthu", "vanthaan", "aRivu",
                                     "thiruvaLLuvar", "kuRaL", "aayiram", "nooRu", "ezhuthu", "pEcu"};
    QRandomGenerator rng(1);
    QByteArray text;
    text.reserve(size + 64);
    while (text.size() < size) {
        text += words[rng.bounded(int(words.size()))];
        text += rng.bounded(12) == 0 ? '\n' : ' ';
    }
    return text;
}

bool write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

int main()
{
    QTemporaryDir dir;
    constexpr qsizetype size = 100 << 20;
    const QByteArray typed = phoneticText(size);
    const QString typedFile = dir.filePath("typed.txt");
    const QString codesFile = dir.filePath("codes.txt");
    const QString unicodeFile = dir.filePath("unicode.txt");
    if (!write(typedFile, typed))
        return 1;
    // The other two inputs come from the converter itself.
    for (const auto& [from, to, mode] : {std::tuple{typedFile, codesFile, QString()},
                                        std::tuple{codesFile, unicodeFile, QString("--to-unicode")}}) {
        QProcess p;
        p.setStandardInputFile(from);
        p.setStandardOutputFile(to);
        p.start(QStringLiteral(CONVERTER_PATH), mode.isEmpty() ? QStringList() : QStringList{mode});
        if (!p.waitForFinished(600000))
            return 1;
    }
    std::printf("%-16s %6s | %-27s | %-27s\n", "", "", "processor time", "wall-clock time");
    std::printf("%-16s %6s | %8s %8s %8s | %8s %8s %8s\n", "mode", "MB", "MB/s", "tr MB/s", "x tr", "MB/s",
                "tr MB/s", "x tr");
    for (const auto& [mode, file] : {std::pair{QString(), typedFile}, std::pair{QString("--to-unicode"), codesFile},
                                     std::pair{QString("--from-unicode"), unicodeFile}}) {
        const double mb = QFile(file).size() / 1e6;
        const Timing convert = best(QStringLiteral(CONVERTER_PATH), mode.isEmpty() ? QStringList() : QStringList{mode}, file);
        const Timing tr = best(QStringLiteral("tr"), {"a-z", "b-za"}, file);
        if (convert.cpu < 0 || tr.cpu < 0)
            return 1;
        std::printf("%-16s %6.0f | %8.0f %8.0f %8.1f | %8.0f %8.0f %8.1f\n", mode.isEmpty() ? "typing" : qPrintable(mode),
                    mb, mb / convert.cpu, mb / tr.cpu, convert.cpu / tr.cpu, mb / convert.wall, mb / tr.wall,
                    convert.wall / tr.wall);
    }
    return 0;
}
