#pragma once

// Stands in for the sound card: "plays" what the speech thread writes on a
// clock `pace` times real time, keeping a quarter of a second queued.
#include "speech/audio_output.h"

#include <QElapsedTimer>

#include <atomic>

struct FakeAudio final : tk::speech::AudioDevices {
    bool present = true;
    double pace = 1.0;
    std::atomic<int> opened{0};
    std::atomic<int> live{0};       // outputs not yet stopped
    std::atomic<qint64> written{0}; // bytes, over every output

    FakeAudio() { tk::speech::setAudioDevices(this); }
    ~FakeAudio() override { tk::speech::setAudioDevices(nullptr); }
    bool available() override { return present; }
    std::unique_ptr<tk::speech::AudioOutput> open(int sampleRate) override
    {
        ++opened, ++live;
        return std::make_unique<Output>(*this, sampleRate);
    }

    struct Output final : tk::speech::AudioOutput {
        Output(FakeAudio& owner, int rate) : owner(owner), bytesPerSecond(rate * 2) { clock.start(); }
        ~Output() override { stop(); }
        qint64 playedBytes() const { return std::min(written, qint64(clock.nsecsElapsed() * owner.pace * bytesPerSecond / 1e9)); }
        qint64 bytesFree() override { return stopped ? 0 : std::max<qint64>(0, bytesPerSecond / 4 - (written - playedBytes())); }
        qint64 write(const char*, qint64 size) override { owner.written += size; written += size; return size; }
        qint64 playedUSecs() override { return playedBytes() * 1'000'000 / bytesPerSecond; }
        void stop() override { owner.live -= !std::exchange(stopped, true); }

        FakeAudio& owner;
        qint64 bytesPerSecond;
        QElapsedTimer clock;
        qint64 written = 0;
        bool stopped = false;
    };
};
