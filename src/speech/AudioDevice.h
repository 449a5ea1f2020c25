#pragma once

// Where speech is heard: the desktop's sound server, or whatever a test puts in its place. Used
// from the playback thread only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace speech {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens the device for 16-bit mono samples at `sampleRate`; false when there is no device.
    virtual bool open(int sampleRate) = 0;
    // Hands samples over; blocks while the device's buffer is full, so about as long as the
    // samples before them still play. False when the device failed (it is closed then).
    virtual bool write(const std::int16_t* samples, std::size_t count) = 0;
    // Throws away what was handed over and has not been heard yet.
    virtual void discard() = 0;
    // Waits until everything handed over has been heard.
    virtual void drain() = 0;
    virtual void close() = 0;
};

using AudioDeviceFactory = std::function<std::unique_ptr<AudioDevice>()>;

// The system's sound: the PulseAudio protocol (PulseAudio, and PipeWire through its PulseAudio
// service), else ALSA's default device.
std::unique_ptr<AudioDevice> makeSystemAudioDevice();

}  // namespace speech
