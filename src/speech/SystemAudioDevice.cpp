#include <alsa/asoundlib.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <cstdint>
#include <memory>

#include "speech/AlsaLibrary.h"
#include "speech/AudioDevice.h"
#include "speech/PulseLibrary.h"

namespace speech {
namespace {

// The server starts playing once this much is buffered, and a discard drops at most this much:
// short, so that the first sound and a stop are prompt.
constexpr std::uint32_t BUFFER_MS = 80;

class PulseDevice final : public AudioDevice {
public:
    ~PulseDevice() override { close(); }

    bool open(int sampleRate) override {
        close();
        const PulseLibrary& pulse = pulseLibrary();
        if (!pulse.loaded) {
            return false;
        }
        const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sampleRate), 1};
        const std::uint32_t bytes = static_cast<std::uint32_t>(sampleRate) * 2 * BUFFER_MS / 1000;
        const pa_buffer_attr buffer{static_cast<std::uint32_t>(-1), bytes, static_cast<std::uint32_t>(-1),
                                    static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1)};
        int error = 0;
        stream = pulse.newStream(nullptr, "Mernolex", PA_STREAM_PLAYBACK, nullptr, "word", &format, nullptr, &buffer,
                                 &error);
        return stream != nullptr;
    }

    bool write(const std::int16_t* samples, std::size_t count) override {
        int error = 0;
        if (stream == nullptr || pulseLibrary().write(stream, samples, count * sizeof(std::int16_t), &error) < 0) {
            close();
            return false;
        }
        return true;
    }

    void discard() override {
        int error = 0;
        if (stream != nullptr) {
            pulseLibrary().flush(stream, &error);
        }
    }

    void drain() override {
        int error = 0;
        if (stream != nullptr && pulseLibrary().drain(stream, &error) < 0) {
            close();
        }
    }

    void close() override {
        if (stream != nullptr) {
            pulseLibrary().free(stream);
            stream = nullptr;
        }
    }

private:
    pa_simple* stream = nullptr;
};

// ALSA writes every failure to standard error; a missing device is reported on screen instead.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaDevice final : public AudioDevice {
public:
    ~AlsaDevice() override { close(); }

    bool open(int sampleRate) override {
        close();
        const AlsaLibrary& alsa = alsaLibrary();
        if (!alsa.loaded) {
            return false;
        }
        alsa.setErrorHandler(quietAlsa);
        if (alsa.open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) {
            pcm = nullptr;
            return false;
        }
        if (alsa.setParams(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                               static_cast<unsigned>(sampleRate), 1, BUFFER_MS * 1000) < 0) {
            close();
            return false;
        }
        return true;
    }

    bool write(const std::int16_t* samples, std::size_t count) override {
        while (pcm != nullptr && count > 0) {
            snd_pcm_sframes_t written = alsaLibrary().writei(pcm, samples, count);
            if (written < 0) {
                written = alsaLibrary().recover(pcm, static_cast<int>(written), 1);
                if (written < 0) {
                    close();
                    return false;
                }
                continue;
            }
            samples += written;
            count -= static_cast<std::size_t>(written);
        }
        return pcm != nullptr;
    }

    void discard() override {
        if (pcm != nullptr) {
            alsaLibrary().drop(pcm);
            alsaLibrary().prepare(pcm);
        }
    }

    void drain() override {
        if (pcm != nullptr) {
            alsaLibrary().drain(pcm);
            alsaLibrary().prepare(pcm);
        }
    }

    void close() override {
        if (pcm != nullptr) {
            alsaLibrary().close(pcm);
            pcm = nullptr;
        }
    }

private:
    snd_pcm_t* pcm = nullptr;
};

// The sound server first; ALSA for a system without one.
class SystemDevice final : public AudioDevice {
public:
    bool open(int sampleRate) override {
        if (pulse.open(sampleRate)) {
            active = &pulse;
            return true;
        }
        active = alsa.open(sampleRate) ? static_cast<AudioDevice*>(&alsa) : nullptr;
        return active != nullptr;
    }
    bool write(const std::int16_t* samples, std::size_t count) override {
        return active != nullptr && active->write(samples, count);
    }
    void discard() override {
        if (active != nullptr) {
            active->discard();
        }
    }
    void drain() override {
        if (active != nullptr) {
            active->drain();
        }
    }
    void close() override {
        if (active != nullptr) {
            active->close();
            active = nullptr;
        }
    }

private:
    PulseDevice pulse;
    AlsaDevice alsa;
    AudioDevice* active = nullptr;
};

}  // namespace

std::unique_ptr<AudioDevice> makeSystemAudioDevice() { return std::make_unique<SystemDevice>(); }

}  // namespace speech
