#pragma once

// Sound devices for tests: one that records what it is handed (and when), one that is never there.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "speech/AudioDevice.h"

namespace speechtest {

// What a recording device saw; shared with the test, which outlives the device's thread use.
struct Recording {
    std::mutex mutex;
    std::vector<std::int16_t> samples;
    int opens = 0;
    int discards = 0;
    int drains = 0;
    std::optional<std::chrono::steady_clock::time_point> firstSample;

    std::size_t sampleCount() {
        std::lock_guard<std::mutex> guard(mutex);
        return samples.size();
    }
};

// With a speed-up, a write takes as long as its samples play, divided by it (as a real device
// blocks while its buffer is full); 0 returns at once.
class RecordingDevice final : public speech::AudioDevice {
public:
    RecordingDevice(std::shared_ptr<Recording> into, int speedUp) : recording(std::move(into)), speedUp(speedUp) {}
    bool open(int sampleRate) override {
        std::lock_guard<std::mutex> guard(recording->mutex);
        ++recording->opens;
        rate = sampleRate;
        return true;
    }
    bool write(const std::int16_t* samples, std::size_t count) override {
        {
            std::lock_guard<std::mutex> guard(recording->mutex);
            if (!recording->firstSample) {
                recording->firstSample = std::chrono::steady_clock::now();
            }
            recording->samples.insert(recording->samples.end(), samples, samples + count);
        }
        if (speedUp > 0 && rate > 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(count * 1000000 / rate / speedUp));
        }
        return true;
    }
    void discard() override {
        std::lock_guard<std::mutex> guard(recording->mutex);
        ++recording->discards;
    }
    void drain() override {
        std::lock_guard<std::mutex> guard(recording->mutex);
        ++recording->drains;
    }
    void close() override {}

private:
    std::shared_ptr<Recording> recording;
    int speedUp = 0;
    int rate = 0;
};

inline speech::AudioDeviceFactory recordingInto(std::shared_ptr<Recording> recording, int speedUp = 0) {
    return [recording, speedUp] { return std::make_unique<RecordingDevice>(recording, speedUp); };
}

// A machine without sound (as CI is): opening always fails.
class MissingDevice final : public speech::AudioDevice {
public:
    bool open(int) override { return false; }
    bool write(const std::int16_t*, std::size_t) override { return false; }
    void discard() override {}
    void drain() override {}
    void close() override {}
};

inline speech::AudioDeviceFactory noSoundDevice() {
    return [] { return std::make_unique<MissingDevice>(); };
}

}  // namespace speechtest
