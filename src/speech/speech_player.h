#pragma once

#include "audio_output.h"
#include "speech_text.h"
#include "synthesizer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <deque>
#include <memory>

namespace tk::speech {

// Lives in a document's speech thread: synthesises the runs a little ahead
// of the sound and feeds them to the audio output, saying which word is
// being heard. Each utterance has a number; the owner raises `current` to
// stop the one playing, and a number that is no longer current is dropped at
// the next step, in the middle of a synthesis too.
class SpeechPlayer : public QObject {
    Q_OBJECT
public:
    explicit SpeechPlayer(std::shared_ptr<std::atomic<quint64>> current);
    ~SpeechPlayer() override;

    void play(quint64 id, const tk::speech::SpeechText& text, const tk::speech::VoiceSettings& settings);

signals:
    void wordReached(quint64 id, int word);
    void finished(quint64 id);
    void failed(quint64 id, const QString& message);

private:
    struct Mark {
        qint64 byte;   // in the stream of this utterance
        int word;
    };

    void step();
    bool cancelled() const { return id_ != current_->load(); }
    void synthesizeAhead();
    void end(const QString& error = {});

    std::shared_ptr<std::atomic<quint64>> current_;
    QTimer timer_;
    std::unique_ptr<AudioOutput> output_;
    int sampleRate_ = 0;

    quint64 id_ = 0;
    bool playing_ = false;
    SpeechText text_;
    VoiceSettings settings_;
    std::size_t nextRun_ = 0;
    QByteArray pending_;   // synthesised, not yet written
    qint64 written_ = 0;   // bytes handed to the output
    std::deque<Mark> marks_;
    int lastWord_ = -1;
    QElapsedTimer sinceAllWritten_;
};

// What the program says when speech cannot go on.
QString noAudioDeviceMessage();
QString synthesisFailureMessage(Synthesis::Status status, Voice voice);

} // namespace tk::speech
