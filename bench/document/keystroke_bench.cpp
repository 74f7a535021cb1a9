// The cost of one keystroke through the whole widget path (key events into
// the text surface, the engine, the in-place edits, the dot on release) in a
// document of 1 KB, 1 MB and 10 MB of Tamil codes, caret at the end and in
// the middle. A keystroke edits only the characters before the caret, so the
// figures should not grow with the document.
#include "seam/common_dialog.h"
#include "document/form1.h"
#include "../support/word_lines.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>

#include <cstdio>

namespace {

// Font codes of typed Tamil words, in lines of about seventy characters.
QString tamilText(qsizetype bytes)
{
    static const char* const words[] = {"jkpo; ", "tzf;fk; ", "ed;wp ", "mk;kh ", "fz; ",
                                        "$ ", "if ", "Nfh ", "ez;gu;fs; "};
    return wordLines(words, bytes, 5);
}

// Runs up to `rounds` words of three keys, or about two seconds' worth.
double microsecondsPerKey(tk::document::Form1& form, int rounds)
{
    QWidget* box = form.RichTextBox1;
    QElapsedTimer timer;
    timer.start();
    int done = 0;
    for (; done < rounds && (done < 5 || timer.elapsed() < 2000); ++done) {
        QTest::keyClick(box, 'k');
        QTest::keyClick(box, 'a');
        QTest::keyClick(box, ' ');
    }
    return double(timer.nsecsElapsed()) / 1000.0 / (done * 3);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QAction save, close1, convert;
    convert.setCheckable(true);
    convert.setChecked(true);
    QMenu popup;
    tk::seam::CommonDialog cd1;
    tk::engine::EngineState state;
    const tk::document::FrameLinks links{&save, &close1, &convert, &popup, &cd1, &state};

    std::printf("keystroke through the document window (press and release of k, a, space)\n");
    double figures[3][2] = {};
    const qsizetype sizes[3] = {qsizetype(1) << 10, qsizetype(1) << 20, qsizetype(10) << 20};
    for (int s = 0; s < 3; ++s) {
        const QString text = tamilText(sizes[s]);
        for (const bool middle : {false, true}) {
            tk::document::Form1 form(links);
            form.show();
            form.RichTextBox1->SetText(text);
            form.RichTextBox1->SetSelStart(middle ? int(sizes[s] / 2) : int(sizes[s]));
            QCoreApplication::processEvents();
            microsecondsPerKey(form, 5); // warm up
            const double us = microsecondsPerKey(form, 300);
            figures[s][middle] = us;
            std::printf("  %8lld bytes, caret %-6s: %9.1f us per key\n", static_cast<long long>(sizes[s]),
                        middle ? "middle" : "end", us);
        }
    }
    std::printf("  10 MB / 1 KB, caret at the end:    %.2f (at most 1.5 wanted)\n", figures[2][0] / figures[0][0]);
    std::printf("  10 MB / 1 KB, caret in the middle: %.2f (Qt's text layout repositions every paragraph after an edit)\n",
                figures[2][1] / figures[0][1]);
    return 0;
}
