#include "db/FileReadAhead.h"

#include <atomic>

namespace {

// Enough files in flight to keep the readers busy while the loading thread parses, and to give
// a cold device several requests; few enough that their buffers stay small.
constexpr std::size_t FILES_AHEAD = 32;

// The loading thread reads this many files itself before it judges whether they come slowly:
// slowly means more than SLOW_READ each on average, several times what a file from the page
// cache takes, and far less than a read that waits for a device.
constexpr std::size_t PROBED_FILES = 4;
constexpr std::chrono::microseconds SLOW_READ{60};

std::atomic<unsigned> loadingThreads{4};
std::atomic<bool> loadingAlways{false};

}  // namespace

FileReadAhead::Policy FileReadAhead::policyForLoading() {
    return {loadingThreads.load(), loadingAlways.load()};
}

void FileReadAhead::setPolicyForLoading(Policy policy) {
    loadingThreads.store(policy.threads);
    loadingAlways.store(policy.always);
}

FileReadAhead::FileReadAhead(std::vector<std::string> files, unsigned threads, bool always)
    : names(std::move(files)) {
    if (always) {
        startReaders(threads);
    } else {
        threadsWhenSlow = threads;
    }
}

// Readers start at the next file the caller will ask for.
void FileReadAhead::startReaders(unsigned threads) {
    if (threads == 0 || names.size() - handedOut < 2) {
        return;
    }
    claimed = handedOut;
    slots.resize(std::min(FILES_AHEAD, names.size() - handedOut));
    try {
        for (unsigned t = 0; t < threads; ++t) {
            readers.emplace_back([this] { readFiles(); });
        }
    } catch (...) {
        stopReaders();
        readers.clear();
        stopping = false;
        slots.clear();  // the loading thread reads the rest itself
    }
}

FileReadAhead::~FileReadAhead() {
    stopReaders();
}

void FileReadAhead::stopReaders() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    slotsFree.notify_all();
    for (std::thread& reader : readers) {
        reader.join();
    }
}

// Each reader takes the next file whose slot is free, reads it outside the lock and marks it
// ready. A failed allocation is a file not read: the loading thread reads it again itself.
void FileReadAhead::readFiles() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        while (!stopping && claimed < names.size() && claimed >= handedOut + slots.size()) {
            ++readersWaiting;
            slotsFree.wait(guard);
            --readersWaiting;
        }
        if (stopping || claimed == names.size()) {
            return;
        }
        const std::size_t file = claimed++;
        Slot& slot = slots[file % slots.size()];
        std::vector<char> bytes;
        bytes.swap(slot.bytes);
        guard.unlock();
        std::size_t length = 0;
        bool read = false;
        try {
            read = FileContent::readInto(names[file], bytes, length);
        } catch (...) {
            read = false;
            length = 0;
        }
        guard.lock();
        slot.bytes.swap(bytes);
        slot.length = length;
        slot.read = read;
        slot.ready = true;
        if (consumerWaiting && file == handedOut) {
            fileReady.notify_one();
        }
    }
}

bool FileReadAhead::next(FileContent& into) {
    if (handedOut == names.size()) {
        return false;
    }
    const std::size_t file = handedOut;
    if (readers.empty()) {
        return readHere(into);
    }
    std::unique_lock<std::mutex> guard(lock);
    Slot& slot = slots[file % slots.size()];
    while (!slot.ready) {
        if (readersWaiting > 0) {
            slotsFree.notify_all();  // never wait while every reader waits for room
        }
        consumerWaiting = true;
        fileReady.wait(guard);
        consumerWaiting = false;
    }
    const bool read = slot.read;
    if (read) {
        into.adopt(slot.bytes, slot.length);
    }
    slot.ready = false;
    ++handedOut;
    if (readersWaiting > 0 && handedOut + slots.size() - claimed >= slots.size() / 2) {
        slotsFree.notify_all();
    }
    guard.unlock();
    // A file the reader could not read is read here once more, so that the error (or a success
    // after a passing shortage of memory) is the loading thread's own.
    return read || into.read(names[file]);
}

bool FileReadAhead::readHere(FileContent& into) {
    const auto start = std::chrono::steady_clock::now();
    const bool read = into.read(names[handedOut++]);
    if (threadsWhenSlow > 0) {
        probed += std::chrono::steady_clock::now() - start;
        if (handedOut == PROBED_FILES) {
            if (probed > SLOW_READ * PROBED_FILES) {
                startReaders(threadsWhenSlow);
            }
            threadsWhenSlow = 0;
        }
    }
    return read;
}
