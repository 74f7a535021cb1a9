// Time to first audio when a 100-word Tamil selection is read aloud: from
// the command to the first samples reaching the sound device (a stand-in
// that plays nothing), through the speech thread and the synthesis of the
// first sentence; and the engine's synthesis speed for the whole text.
#include "document/rich_text_box.h"
#include "speech/audio_output.h"
#include "speech/direct_ss1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextCursor>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

// Records when the first samples arrive; plays instantly.
struct FirstWrite final : tk::speech::AudioDevices {
    QElapsedTimer clock;
    std::atomic<qint64> firstNs{-1};
    bool available() override { return true; }
    std::unique_ptr<tk::speech::AudioOutput> open(int) override { return std::make_unique<Output>(*this); }
    struct Output final : tk::speech::AudioOutput {
        explicit Output(FirstWrite& owner) : owner(owner) {}
        qint64 bytesFree() override { return 1 << 20; }
        qint64 write(const char*, qint64 size) override
        {
            qint64 none = -1;
            owner.firstNs.compare_exchange_strong(none, owner.clock.nsecsElapsed());
            written += size;
            return size;
        }
        qint64 playedUSecs() override { return written * 1'000'000 / 44100; }
        void stop() override {}
        FirstWrite& owner;
        qint64 written = 0;
    };
};

// A hundred words of Tamil in sentences of about a dozen.
QString tamilWords()
{
    static const char* const words[] = {"jkpo;", "tzf;fk;", "ed;wp", "mk;kh", "ehd;", "cyfk;", "ghly;", "nkhop"};
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QString::fromLatin1(words[(i * 5) % std::size(words)]) + (i % 12 == 11 ? ". " : " ");
    return text;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstWrite device;
    tk::speech::setAudioDevices(&device);
    tk::document::RichTextBox box;
    QTextCharFormat tamil;
    tamil.setFontFamilies({QStringLiteral("Kolvani")});
    QTextCursor(box.document()).insertText(tamilWords(), tamil);
    QTextCursor all(box.document());
    all.select(QTextCursor::Document);
    box.setTextCursor(all);
    tk::speech::DirectSS1& speech = tk::speech::DirectSS1::of(box);

    std::vector<double> first;
    for (int round = 0; round < 11; ++round) {
        device.firstNs = -1;
        device.clock.start();
        speech.SpeakSelection();
        while (device.firstNs.load() < 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        first.push_back(device.firstNs.load() / 1e6);
        speech.Stop();
    }
    const tk::speech::SpeechText text = tk::speech::speechText(*box.document(), 0, box.document()->characterCount() - 1);
    QElapsedTimer whole;
    whole.start();
    double seconds = 0;
    for (const tk::speech::SpeechRun& run : text.runs)
        seconds += double(tk::speech::Synthesizer::instance()
                              .synthesize(run.text, tk::speech::voiceName(run.voice), speech.voiceSettings())
                              .samples.size())
            / tk::speech::Synthesizer::instance().sampleRate();
    const double wholeMs = whole.nsecsElapsed() / 1e6;
    std::printf("read aloud, 100 Tamil words in %zu runs: first audio after %.1f ms (median of %zu, first %.1f ms)\n",
                text.runs.size(), median(first), first.size(), first.front());
    std::printf("synthesis of all of it: %.0f ms for %.1f s of speech (%.0fx real time)\n", wholeMs, seconds,
                seconds * 1000 / wholeMs);
    tk::speech::setAudioDevices(nullptr);
    return 0;
}
