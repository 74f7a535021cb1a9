#include "audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <atomic>

namespace tk::speech {

namespace {

class SinkOutput final : public AudioOutput {
public:
    SinkOutput(const QAudioDevice& device, const QAudioFormat& format) : sink_(device, format)
    {
        // A short buffer keeps the spoken-word highlight close to the sound
        // and lets Stop be heard at once.
        sink_.setBufferSize(format.bytesForDuration(250'000));
        io_ = sink_.start();
    }
    bool ok() const { return io_ && sink_.error() == QAudio::NoError; }
    qint64 bytesFree() override { return sink_.bytesFree(); }
    qint64 write(const char* data, qint64 size) override { return io_->write(data, size); }
    qint64 playedUSecs() override { return sink_.processedUSecs(); }
    void stop() override { sink_.reset(); }

private:
    QAudioSink sink_;
    QIODevice* io_ = nullptr;
};

class MachineDevices final : public AudioDevices {
public:
    bool available() override { return !QMediaDevices::audioOutputs().isEmpty(); }
    std::unique_ptr<AudioOutput> open(int sampleRate) override
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return nullptr;
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        auto output = std::make_unique<SinkOutput>(device, format);
        if (!output->ok())
            return nullptr;
        return output;
    }
};

std::atomic<AudioDevices*> installed{nullptr};

} // namespace

AudioDevices& audioDevices()
{
    static MachineDevices machine;
    AudioDevices* devices = installed.load();
    return devices ? *devices : machine;
}

void setAudioDevices(AudioDevices* devices) { installed.store(devices); }

} // namespace tk::speech
