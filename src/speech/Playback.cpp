#include "speech/Playback.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace speech {
namespace {

// A device left open keeps the sound server's stream (and maybe the sound card) awake.
constexpr auto CLOSE_WHEN_QUIET_FOR = std::chrono::seconds(3);
// Samples are handed to the device in slices of this many milliseconds; between two slices a
// newer utterance is noticed.
constexpr int SLICE_MS = 10;

}  // namespace

Playback::Playback(AudioDeviceFactory makeDevice, DeviceListener deviceListener)
    : device(makeDevice()), listener(std::move(deviceListener)), thread([this] { run(); }) {}

Playback::~Playback() {
    {
        std::lock_guard<std::mutex> guard(mutex);
        quit = true;
        pieces.clear();
    }
    changed.notify_all();
    thread.join();
    device->close();
}

void Playback::begin(std::uint64_t utterance, int sampleRate) {
    std::lock_guard<std::mutex> guard(mutex);
    if (utterance < newest) {
        return;
    }
    newest = utterance;
    dropOlderThan(utterance);
    pieces.push_back(Piece{utterance, sampleRate, false, {}});
    changed.notify_all();
}

void Playback::add(std::uint64_t utterance, const std::int16_t* samples, std::size_t count) {
    std::lock_guard<std::mutex> guard(mutex);
    if (utterance < newest || utterance == refused) {
        return;
    }
    pieces.push_back(Piece{utterance, 0, false, std::vector<std::int16_t>(samples, samples + count)});
    changed.notify_all();
}

void Playback::end(std::uint64_t utterance) {
    std::lock_guard<std::mutex> guard(mutex);
    if (utterance < newest || utterance == refused) {
        return;
    }
    pieces.push_back(Piece{utterance, 0, true, {}});
    changed.notify_all();
}

void Playback::cut(std::uint64_t utterance) {
    std::lock_guard<std::mutex> guard(mutex);
    newest = std::max(newest, utterance);
    dropOlderThan(newest);
    changed.notify_all();
}

void Playback::waitUntilQuiet() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return pieces.empty() && !busy; });
}

void Playback::dropOlderThan(std::uint64_t utterance) {
    pieces.erase(std::remove_if(pieces.begin(), pieces.end(),
                                [utterance](const Piece& piece) { return piece.utterance < utterance; }),
                 pieces.end());
}

void Playback::run() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!quit) {
        if (pieces.empty()) {
            changed.notify_all();  // for waitUntilQuiet
            if (openRate == 0) {
                changed.wait(lock, [this] { return quit || !pieces.empty(); });
            } else if (!changed.wait_for(lock, CLOSE_WHEN_QUIET_FOR, [this] { return quit || !pieces.empty(); })) {
                device->close();
                openRate = 0;
            }
            continue;
        }
        Piece piece = std::move(pieces.front());
        pieces.pop_front();
        if (piece.utterance < newest || piece.utterance == refused) {
            continue;
        }
        busy = true;
        lock.unlock();
        play(piece);
        lock.lock();
        busy = false;
    }
    changed.notify_all();
}

bool Playback::superseded(std::uint64_t utterance) {
    std::lock_guard<std::mutex> guard(mutex);
    return utterance < newest;
}

void Playback::play(Piece& piece) {
    if (piece.sampleRate != 0 && !openFor(piece)) {
        std::lock_guard<std::mutex> guard(mutex);
        refused = piece.utterance;
        return;
    }
    if (openRate == 0) {
        return;
    }
    const std::size_t slice = static_cast<std::size_t>(openRate) * SLICE_MS / 1000;
    for (std::size_t offset = 0; offset < piece.samples.size(); offset += slice) {
        if (superseded(piece.utterance)) {
            device->discard();
            return;
        }
        const std::size_t count = std::min(slice, piece.samples.size() - offset);
        if (!device->write(piece.samples.data() + offset, count)) {
            // Gone while playing (unplugged, the server ended): as if it had never opened.
            openRate = 0;
            report(false);
            std::lock_guard<std::mutex> guard(mutex);
            refused = piece.utterance;
            return;
        }
    }
    if (piece.last && !superseded(piece.utterance)) {
        device->drain();
    }
}

bool Playback::openFor(const Piece& piece) {
    if (openRate == piece.sampleRate) {
        device->discard();  // whatever of an earlier utterance still waits in the device
        return true;
    }
    device->close();
    openRate = 0;
    if (!device->open(piece.sampleRate)) {
        report(false);
        return false;
    }
    openRate = piece.sampleRate;
    report(true);
    return true;
}

void Playback::report(bool deviceWorks) {
    if (deviceReported && reportedWorking == deviceWorks) {
        return;
    }
    deviceReported = true;
    reportedWorking = deviceWorks;
    if (listener) {
        listener(deviceWorks);
    }
}

}  // namespace speech
