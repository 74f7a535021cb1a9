#pragma once

// The speech engine: espeak-ng synthesising into memory. The library keeps
// one voice and one set of parameters for the whole process, so every
// synthesis goes through the one Synthesizer, one at a time, whichever
// thread asks.

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace tk::speech {

// In the engine's own units: rate in words per minute (80..450), pitch
// 0..99, variant 1..7 for the voice variants m1..m7.
struct VoiceSettings {
    int rate = 175;
    int pitch = 50;
    int variant = 1;
    bool operator==(const VoiceSettings&) const = default;
};

// The start of a word in the audio: its first sample, and where it starts in
// the text spoken (code points from 0).
struct WordMark {
    std::int64_t sample = 0;
    int textPosition = 0;
};

struct Synthesis {
    enum class Status { Ok, EngineMissing, VoiceMissing, Cancelled };
    Status status = Status::Ok;
    std::vector<std::int16_t> samples; // mono, 16 bit, at sampleRate()
    std::vector<WordMark> words;
    QString voiceLanguage;             // the language of the voice that spoke: "ta", "en-us"
};

class Synthesizer {
public:
    static Synthesizer& instance();

    // Samples per second of everything synthesised; 0 when the engine
    // cannot start (its data is missing).
    int sampleRate();

    // Speaks text (Unicode) with the voice named voice ("ta", "en-us"),
    // variant and parameters from settings. When cancelled turns true it
    // ends early with Cancelled and what was made so far.
    Synthesis synthesize(const QString& text, const QString& voice, const VoiceSettings& settings,
                         const std::function<bool()>& cancelled = {});

private:
    Synthesizer() = default;
    bool start();

    int sampleRate_ = -1; // -1: not started yet
};

} // namespace tk::speech
