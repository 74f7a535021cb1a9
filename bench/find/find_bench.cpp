// Find and Replace all in a shown 10 MB document of Tamil codes: a whole
// word near the end, and 100,000 whole-word replacements from the start and
// from the caret. Replace all finds every match first and replaces them in
// one undo step, so it should stay well under two seconds.
#include "display_fonts.h"
#include "document/rich_text_box.h"
#include "document/text_search.h"
#include "find/replace_all.h"
#include "../support/processor_time.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

// About 10 MB of lines of Tamil words with "jkpo;" every 100 characters and
// "fly;fs;" once, near the end.
QString document10MB()
{
    static const char* const words[] = {"tzf;fk; ", "ed;wp ", "mk;kh ", "fz; ", "if ", "Nfh ", "ez;gu;fs; "};
    QString line;
    for (std::size_t i = 0; line.size() < 94; ++i)
        line += QString::fromLatin1(words[i % std::size(words)]);
    line.truncate(93);
    line += u' ';
    line += QStringLiteral("jkpo;\n");
    QString text = line.repeated(100000);
    text.insert(text.size() - 300, QStringLiteral(" fly;fs; "));
    return text;
}

// Elapsed and processor milliseconds of work and the events it leaves.
std::pair<double, double> timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const double processor = processorMs();
    work();
    QCoreApplication::processEvents();
    return {double(timer.nsecsElapsed()) / 1e6, processorMs() - processor};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tk::fonts::registerDisplayFonts();
    const QString text = document10MB();
    std::printf("find and replace in %lld characters (%d lines)\n", static_cast<long long>(text.size()), 100000);

    tk::document::RichTextBox box;
    box.resize(900, 700);
    box.show();
    // A shown document is laid out a piece at a time in the background; a
    // person who has waited a moment meets a finished layout.
    const auto setText = [&] {
        return timed([&] {
            box.SetText(text);
            box.document()->documentLayout()->documentSize();
        });
    };
    const auto [setMs, setProcessor] = setText();
    std::printf("  setting the text and laying it out:      %8.1f ms (%8.1f ms of processor time)\n", setMs, setProcessor);

    int found = -1;
    const auto [findMs, findProcessor] =
        timed([&] { found = box.Find(QStringLiteral("fly;fs;"), 0, -1, tk::document::WholeWord); });
    std::printf("  Find, whole word near the end:           %8.1f ms (%8.1f ms of processor time), found at %d\n",
                findMs, findProcessor, found);

    for (const bool fromStart : {true, false}) {
        setText();
        box.SetSelStart(0);
        qint64 count = 0;
        const auto [ms, processor] = timed([&] {
            count = tk::find::replaceAll(box, QStringLiteral("jkpo;"), QStringLiteral("jkpo;fs;"),
                                         tk::document::WholeWord, fromStart);
        });
        std::printf("  Replace all, %-10s:                 %8.1f ms (%8.1f ms of processor time) for %lld "
                    "replacements (under 2000 wanted)\n",
                    fromStart ? "From start" : "caret", ms, processor, static_cast<long long>(count));
        const double undoMs = timed([&] { box.undo(); }).first;
        std::printf("  its undo:                                %8.1f ms, text back: %s\n", undoMs,
                    box.Text() == text ? "yes" : "NO");
    }
    return 0;
}
