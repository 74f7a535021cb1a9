// Paste special of 1 MB of Latin text (phonetic Tamil words in lines) into a
// shown document: the markup step in the scratch surface, the engine fed one
// character at a time at the caret, the result written in one undo step.
// Wanted: within a second.
#include "app/frame/mdi_form1.h"
#include "display_fonts.h"
#include "../support/processor_time.h"
#include "../support/word_lines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

#include <cstdio>

namespace {

QString phoneticText(qsizetype bytes)
{
    static const char* const words[] = {"thamiz ", "vanakkam ", "ammaa ", "kadal ", "naan ", "paadal ",
                                        "ingkee ", "ezuthu ", "kaaRRu ", "poo "};
    return wordLines(words, bytes, 7);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tk::fonts::registerDisplayFonts();
    tk::app::MDIForm1 frame;
    frame.show();
    const QString text = phoneticText(qsizetype(1) << 20);
    std::printf("Paste special of %lld characters of phonetic text (within 1000 ms wanted)\n",
                static_cast<long long>(text.size()));
    for (const bool rtf : {false, true}) {
        frame.item(QStringLiteral("new"))->trigger();
        QCoreApplication::processEvents();
        QGuiApplication::clipboard()->setText(rtf ? QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ") + text + u'}'
                                                  : text);
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = processorMs();
        frame.special_Click();
        QCoreApplication::processEvents();
        const double shown = double(timer.nsecsElapsed()) / 1e6;
        std::printf("  from %-11s %8.1f ms until shown (%8.1f ms of processor time); %lld codes\n",
                    rtf ? "RTF:" : "plain text:", shown, processorMs() - cpuStart,
                    static_cast<long long>(frame.ActiveForm()->RichTextBox1->Text().size()));
        frame.ActiveForm()->closeWithoutQuestion();
    }
    return 0;
}
