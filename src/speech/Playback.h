#pragma once

// Plays synthesised speech on a thread of its own, so that neither the window nor the synthesis
// waits for the sound. The synthesis hands the samples of an utterance over piece by piece as they
// are made; a newer utterance (or a stop) cuts the one playing short at once.
//
// The device is opened when an utterance starts and closed after a few seconds of quiet. When it
// cannot be opened, the utterance is dropped, the listener hears it once (and again only after a
// device worked in between), and the next utterance tries again: a device plugged in later works.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "speech/AudioDevice.h"

namespace speech {

class Playback {
public:
    // Hears, on the playback thread, whether a device could be opened: false the first time one
    // could not, true the first time one could again.
    using DeviceListener = std::function<void(bool deviceWorks)>;

    Playback(AudioDeviceFactory makeDevice, DeviceListener listener);
    // Cuts the sound short and ends the thread.
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Utterances are numbered upwards; pieces of an utterance older than the newest begun (or
    // cut) are dropped.
    void begin(std::uint64_t utterance, int sampleRate);
    void add(std::uint64_t utterance, const std::int16_t* samples, std::size_t count);
    void end(std::uint64_t utterance);
    // Silence from now on: everything older than `utterance` is dropped and stops sounding.
    void cut(std::uint64_t utterance);

    // Waits until every piece handed over has been played or dropped (tests, benchmarks).
    void waitUntilQuiet();

private:
    struct Piece {
        std::uint64_t utterance = 0;
        int sampleRate = 0;  // non-zero: the utterance begins here
        bool last = false;
        std::vector<std::int16_t> samples;
    };

    void run();
    bool superseded(std::uint64_t utterance);
    void play(Piece& piece);
    bool openFor(const Piece& piece);
    void report(bool deviceWorks);
    void dropOlderThan(std::uint64_t utterance);

    std::unique_ptr<AudioDevice> device;
    DeviceListener listener;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Piece> pieces;
    std::uint64_t newest = 0;       // the newest utterance begun or cut
    std::uint64_t refused = 0;      // an utterance whose device could not be opened
    int openRate = 0;               // the device's sample rate; 0 while closed
    bool busy = false;              // a piece is being played outside the lock
    bool deviceReported = false;
    bool reportedWorking = false;
    bool quit = false;
    std::thread thread;             // last: starts once everything above exists
};

}  // namespace speech
