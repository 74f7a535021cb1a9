// The cost of one keystroke through the whole widget path (key events into
// the text surface, the engine, the in-place edits, the dot on release, and
// the repaint that follows) in a document of 1 KB, 1 MB, 10 MB and 40 MB of
// Tamil codes, caret at the end and in the middle. A keystroke edits and lays
// out only the paragraph at the caret, so the figures should not grow with
// the document.
#include "bench_documents.h"

#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

// Runs up to `rounds` words of three keys, or about two seconds' worth, each
// key followed by the repaint it asks for.
double microsecondsPerKey(tk::document::Form1& form, int rounds)
{
    QWidget* box = form.RichTextBox1;
    QElapsedTimer timer;
    timer.start();
    int done = 0;
    for (; done < rounds && (done < 5 || timer.elapsed() < 2000); ++done) {
        for (const char key : {'k', 'a', ' '}) {
            QTest::keyClick(box, key);
            QCoreApplication::processEvents();
        }
    }
    return double(timer.nsecsElapsed()) / 1000.0 / (done * 3);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    BenchFrame frame;

    std::printf("keystroke through the document window (press and release of k, a, space, each repainted)\n");
    const qsizetype sizes[] = {qsizetype(1) << 10, qsizetype(1) << 20, qsizetype(10) << 20, qsizetype(40) << 20};
    constexpr int count = int(std::size(sizes));
    // An argument picks one size (0 to 3) and a number of words, for
    // running under callgrind.
    const int only = argc > 1 ? std::atoi(argv[1]) : -1;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 300;
    double figures[count][2] = {};
    for (int s = 0; s < count; ++s) {
        if (only >= 0 && s != only)
            continue;
        const QString text = tamilText(sizes[s]);
        for (const bool middle : {false, true}) {
            tk::document::Form1 form(frame.links());
            form.show();
            form.RichTextBox1->SetText(text);
            form.RichTextBox1->SetSelStart(middle ? int(sizes[s] / 2) : int(sizes[s]));
            QCoreApplication::processEvents();
            microsecondsPerKey(form, 5); // warm up
            const double us = microsecondsPerKey(form, rounds);
            figures[s][middle] = us;
            std::printf("  %8lld bytes, caret %-6s: %9.1f us per key\n", static_cast<long long>(sizes[s]),
                        middle ? "middle" : "end", us);
        }
    }
    for (const int s : {2, 3}) {
        if (only >= 0)
            break;
        std::printf("  %2lld MB / 1 KB, caret at the end:    %.2f (at most 1.5 wanted)\n",
                    static_cast<long long>(sizes[s] >> 20), figures[s][0] / figures[0][0]);
        std::printf("  %2lld MB / 1 KB, caret in the middle: %.2f (at most 1.5 wanted)\n",
                    static_cast<long long>(sizes[s] >> 20), figures[s][1] / figures[0][1]);
    }
    return 0;
}
