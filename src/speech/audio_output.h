#pragma once

#include <QtGlobal>

#include <memory>

namespace tk::speech {

// Where the speech goes: 16-bit mono samples, written as the device has
// room for them.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual qint64 bytesFree() = 0;
    virtual qint64 write(const char* data, qint64 size) = 0;
    // How much of what was written has been heard.
    virtual qint64 playedUSecs() = 0;
    // Silences it at once, dropping what is queued.
    virtual void stop() = 0;
};

// The sound devices of the machine. Tests install their own, so that no test
// needs a sound card; the program uses Qt Multimedia's.
class AudioDevices {
public:
    virtual ~AudioDevices() = default;
    // Whether there is a device to speak on at all.
    virtual bool available() = 0;
    // An output on the default device, in the calling thread; nullptr when
    // it cannot be opened.
    virtual std::unique_ptr<AudioOutput> open(int sampleRate) = 0;
};

AudioDevices& audioDevices();
// Installs devices (not owned) for the rest of the run; nullptr restores
// the machine's.
void setAudioDevices(AudioDevices* devices);

} // namespace tk::speech
