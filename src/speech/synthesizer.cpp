#include "synthesizer.h"

#include <espeak-ng/speak_lib.h>

#include <mutex>

namespace tk::speech {

namespace {

std::mutex engineLock;

struct Job {
    Synthesis* out;
    const std::function<bool()>* cancelled;
};

int receive(short* samples, int count, espeak_EVENT* events)
{
    auto* job = static_cast<Job*>(events->user_data);
    if (!job)
        return 0;
    for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_WORD)
            job->out->words.push_back({e->sample, e->text_position - 1});
    }
    if (samples && count > 0)
        job->out->samples.insert(job->out->samples.end(), samples, samples + count);
    return *job->cancelled && (*job->cancelled)() ? 1 : 0;
}

} // namespace

Synthesizer& Synthesizer::instance()
{
    static Synthesizer synthesizer;
    return synthesizer;
}

bool Synthesizer::start()
{
    if (sampleRate_ < 0) {
        // Without DONT_EXIT the library ends the process when its data is
        // missing.
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, espeakINITIALIZE_DONT_EXIT);
        sampleRate_ = rate > 0 ? rate : 0;
        if (sampleRate_)
            espeak_SetSynthCallback(receive);
    }
    return sampleRate_ > 0;
}

int Synthesizer::sampleRate()
{
    const std::lock_guard lock(engineLock);
    start();
    return sampleRate_;
}

Synthesis Synthesizer::synthesize(const QString& text, const QString& voice, const VoiceSettings& settings,
                                  const std::function<bool()>& cancelled)
{
    Synthesis out;
    const std::lock_guard lock(engineLock);
    if (!start()) {
        out.status = Synthesis::Status::EngineMissing;
        return out;
    }
    const QByteArray name = QStringLiteral("%1+m%2").arg(voice).arg(settings.variant).toUtf8();
    if (espeak_SetVoiceByName(name.constData()) != EE_OK) {
        out.status = Synthesis::Status::VoiceMissing;
        return out;
    }
    if (const espeak_VOICE* current = espeak_GetCurrentVoice(); current && current->languages)
        out.voiceLanguage = QString::fromUtf8(current->languages + 1); // after the priority byte
    espeak_SetParameter(espeakRATE, settings.rate, 0);
    espeak_SetParameter(espeakPITCH, settings.pitch, 0);

    const QByteArray utf8 = text.toUtf8();
    Job job{&out, &cancelled};
    const espeak_ERROR result = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, &job);
    if (cancelled && cancelled())
        out.status = Synthesis::Status::Cancelled;
    else if (result != EE_OK)
        out.status = Synthesis::Status::EngineMissing;
    return out;
}

} // namespace tk::speech
