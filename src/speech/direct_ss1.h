#pragma once

#include "speech_text.h"
#include "synthesizer.h"

#include <QObject>
#include <QPointer>
#include <QTextCursor>

#include <atomic>
#include <memory>

class QTextEdit;
class QThread;

namespace tk::speech {

class SpeechPlayer;

// A document window's speech control: reads the selection of its text
// surface aloud, Tamil with the Tamil voice and the rest with the English
// one, on a thread of its own so that typing never waits, and marks the word
// being heard. Speed, Pitch and CurrentMode are the control's own numbers,
// kept per document for as long as the window is open.
class DirectSS1 : public QObject {
    Q_OBJECT
public:
    static constexpr int minSpeed = 30, maxSpeed = 510;
    static constexpr int minPitch = 84, maxPitch = 338;
    static constexpr int minMode = 1, maxMode = 7;

    // The control of the window that holds box, made on first use.
    static DirectSS1& of(QTextEdit& box);

    explicit DirectSS1(QTextEdit& box);
    ~DirectSS1() override;

    int Speed() const { return speed_; }
    int Pitch() const { return pitch_; }
    int CurrentMode() const { return mode_; }
    void SetSpeed(int speed);
    void SetPitch(int pitch);
    void SetCurrentMode(int mode);
    // The settings in the engine's units: Speed onto its rate range, Pitch
    // onto 0..99, CurrentMode as the variant.
    VoiceSettings voiceSettings() const;

    // Reads text aloud, replacing whatever is being read. Nothing at all
    // happens for a text without words; without a sound device the person
    // is told so.
    void Speak(const SpeechText& text);
    // Reads the selection of the control's text surface aloud. The
    // selection steps aside for the mark on the spoken word, which it would
    // cover, and comes back at the end unless the caret was moved meanwhile.
    void SpeakSelection();
    void Stop();
    bool isSpeaking() const { return speaking_; }
    // The document positions of the word being heard; start == end when none.
    SpokenWord spokenWord() const;

signals:
    void speakingChanged(bool speaking);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startThread();
    void onWord(quint64 id, int word);
    void onFinished(quint64 id);
    void onFailed(quint64 id, const QString& message);
    void onContentsChange(int position, int removed, int added);
    void setSpeaking(bool speaking);
    void highlight(int word);

    QPointer<QTextEdit> box_;
    int speed_;
    int pitch_;
    int mode_;

    std::shared_ptr<std::atomic<quint64>> current_;
    QThread* thread_ = nullptr;
    SpeechPlayer* player_ = nullptr;
    bool speaking_ = false;
    std::vector<SpokenWord> words_; // of what is being read, kept in step with edits
    int spoken_ = -1;
    QTextCursor selection_;         // the selection being read, to give back
    QTextCursor caret_;             // where the caret was put instead
};

} // namespace tk::speech
