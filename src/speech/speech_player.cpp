#include "speech_player.h"

#include <algorithm>

namespace tk::speech {

namespace {

constexpr int stepMs = 15;
constexpr qint64 bytesPerSample = 2;

} // namespace

QString noAudioDeviceMessage()
{
    return QStringLiteral("No sound output device was found, so the text cannot be read aloud. Reading aloud "
                          "needs a sound card and a sound server (Debian package pulseaudio or pipewire-pulse).");
}

QString synthesisFailureMessage(Synthesis::Status status, Voice voice)
{
    if (status == Synthesis::Status::VoiceMissing)
        return QStringLiteral("The %1 voice of the speech engine espeak-ng is not installed (Debian package "
                              "espeak-ng-data).")
            .arg(voice == Voice::Tamil ? QStringLiteral("Tamil") : QStringLiteral("English"));
    return QStringLiteral("The speech engine espeak-ng could not start: its voice data is missing (Debian package "
                          "espeak-ng-data).");
}

// The timer is a child so that it moves to the speech thread with the player.
SpeechPlayer::SpeechPlayer(std::shared_ptr<std::atomic<quint64>> current) : current_(std::move(current)), timer_(this)
{
    timer_.setInterval(stepMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SpeechPlayer::step);
}

SpeechPlayer::~SpeechPlayer() = default;

void SpeechPlayer::play(quint64 id, const SpeechText& text, const VoiceSettings& settings)
{
    if (playing_)
        end();
    id_ = id;
    if (cancelled())
        return;
    text_ = text;
    settings_ = settings;
    nextRun_ = 0;
    pending_.clear();
    written_ = 0;
    marks_.clear();
    lastWord_ = -1;
    sinceAllWritten_.invalidate();
    playing_ = true;

    sampleRate_ = Synthesizer::instance().sampleRate();
    if (!sampleRate_) {
        end(synthesisFailureMessage(Synthesis::Status::EngineMissing, Voice::Tamil));
        return;
    }
    output_ = audioDevices().open(sampleRate_);
    if (!output_) {
        end(noAudioDeviceMessage());
        return;
    }
    timer_.start();
    step();
}

void SpeechPlayer::synthesizeAhead()
{
    const qint64 ahead = sampleRate_ * bytesPerSample; // a second
    while (playing_ && nextRun_ < text_.runs.size() && pending_.size() < ahead) {
        const SpeechRun& run = text_.runs[nextRun_++];
        const Synthesis sound = Synthesizer::instance().synthesize(run.text, voiceName(run.voice), settings_,
                                                                   [this] { return cancelled(); });
        if (sound.status == Synthesis::Status::Cancelled)
            return;
        if (sound.status != Synthesis::Status::Ok) {
            end(synthesisFailureMessage(sound.status, run.voice));
            return;
        }
        const qint64 base = written_ + pending_.size();
        if (sound.words.empty() || sound.words.front().sample > 0)
            marks_.push_back({base, run.firstWord});
        // The engine may end with a word event that points nowhere (after a
        // paragraph break, say): the mark never goes back.
        int previous = run.firstWord;
        for (const WordMark& mark : sound.words) {
            const int word = wordAt(run, mark.textPosition);
            if (mark.textPosition >= 0 && word >= previous) {
                marks_.push_back({base + mark.sample * bytesPerSample, word});
                previous = word;
            }
        }
        pending_.append(reinterpret_cast<const char*>(sound.samples.data()),
                        qsizetype(sound.samples.size()) * bytesPerSample);
    }
}

void SpeechPlayer::step()
{
    if (!playing_)
        return;
    if (cancelled()) {
        end();
        return;
    }
    synthesizeAhead();
    if (!playing_)
        return;
    while (!pending_.isEmpty()) {
        const qint64 room = std::min<qint64>(output_->bytesFree(), pending_.size()) & ~qint64(1);
        if (room <= 0)
            break;
        const qint64 n = output_->write(pending_.constData(), room);
        if (n <= 0)
            break;
        pending_.remove(0, n);
        written_ += n;
    }

    const qint64 heard = std::min(written_, output_->playedUSecs() * sampleRate_ / 1'000'000 * bytesPerSample);
    int word = lastWord_;
    while (!marks_.empty() && marks_.front().byte <= heard) {
        word = marks_.front().word;
        marks_.pop_front();
    }
    if (word != lastWord_) {
        lastWord_ = word;
        emit wordReached(id_, word);
    }

    if (nextRun_ < text_.runs.size() || !pending_.isEmpty())
        return;
    // Everything is written: done once it has been heard, or, should the
    // device's clock stall, once it could have been heard.
    if (!sinceAllWritten_.isValid())
        sinceAllWritten_.start();
    const qint64 leftMs = (written_ - heard) * 1000 / (sampleRate_ * bytesPerSample);
    if (heard >= written_ || sinceAllWritten_.elapsed() > leftMs + 1000)
        end();
}

void SpeechPlayer::end(const QString& error)
{
    timer_.stop();
    if (output_) {
        output_->stop();
        output_.reset();
    }
    const bool wasPlaying = playing_;
    playing_ = false;
    text_ = {};
    pending_.clear();
    marks_.clear();
    if (!error.isEmpty())
        emit failed(id_, error);
    if (wasPlaying)
        emit finished(id_);
}

} // namespace tk::speech
