#include "db/FileReadAhead.h"

#include <algorithm>
#include <atomic>

namespace {

// The first this many files are timed (by the first reader, or by the loading thread when it reads
// alone) to judge whether they come slowly: slowly means more than SLOW_READ each on average,
// several times what a file from the page cache takes, and far less than a read that waits for
// a device.
constexpr std::size_t PROBED_FILES = 4;
constexpr std::chrono::microseconds SLOW_READ{60};

// How long the loading thread looks for the file it waits for before it sleeps.
constexpr std::chrono::microseconds SPIN_BEFORE_WAITING{30};

void pauseBriefly() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Reader threads in all once files come slowly. They mostly wait for the device, and a device
// works through many requests at once faster than through a few: a cold load of the realistic
// database took 1.2-1.3 s with 4 readers, 1.0-1.1 s with 8, 0.76-0.84 s with 16 and 0.68-0.76 s
// with 32.
std::atomic<unsigned> loadingThreads{16};
std::atomic<bool> loadingAlways{false};

}  // namespace

FileReadAhead::Policy FileReadAhead::policyForLoading() {
    return {loadingThreads.load(), loadingAlways.load()};
}

void FileReadAhead::setPolicyForLoading(Policy policy) {
    loadingThreads.store(policy.threads);
    loadingAlways.store(policy.always);
}

FileReadAhead::FileReadAhead(std::vector<std::string> files, unsigned threads, bool always, std::size_t filesAhead)
    : names(std::move(files)), fileCount(names.size()), filesAhead(std::max<std::size_t>(2, filesAhead)) {
    if (always) {
        startReaders(threads);
        return;
    }
    threadsWhenSlow = threads;
    probing = threads > 0;
    if (threads > 0 && std::thread::hardware_concurrency() > 1) {
        startReaders(1);  // it probes the first files; more join if they come slowly
    }
}

// Readers start at the next file the caller will ask for.
void FileReadAhead::startReaders(unsigned threads) {
    if (threads == 0 || fileCount - handedOut < 2) {
        return;
    }
    claimed.store(handedOut.load());
    slots = std::vector<Slot>(std::min(filesAhead, fileCount - handedOut.load()));
    addReaders(threads);
    if (readers.empty()) {
        slots.clear();  // the loading thread reads the rest itself
    }
}

// A thread that cannot be started leaves the reading to those that run (or to the loading thread).
void FileReadAhead::addReaders(unsigned threads) {
    for (unsigned t = 0; t < threads; ++t) {
        try {
            readers.emplace_back([this] { readFiles(); });
        } catch (...) {
            return;
        }
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
// ready. A slot holds exactly the file's bytes (read into the reader's own buffer first), so many
// small files ahead cost little memory. A failed allocation is a file not read: the loading
// thread reads it again itself.
void FileReadAhead::readFiles() {
    std::vector<char> buffer;
    std::unique_lock<std::mutex> guard(lock);
    while (claimFile(guard)) {
        readClaimed(claimed++, buffer, guard);
        if (consumerWaiting.load()) {
            fileReady.notify_one();
        }
    }
}

// Reads a file just claimed into its slot, outside the lock, and marks it ready.
void FileReadAhead::readClaimed(std::size_t file, std::vector<char>& buffer, std::unique_lock<std::mutex>& guard) {
    Slot& slot = slots[file % slots.size()];
    guard.unlock();
    std::size_t length = 0;
    bool read = false;
    const auto start = std::chrono::steady_clock::now();
    try {
        read = FileContent::readInto(names[file], buffer, length);
        slot.bytes.assign(buffer.data(), buffer.data() + length);
    } catch (...) {
        read = false;
        length = 0;
    }
    const auto took = std::chrono::steady_clock::now() - start;
    slot.length = length;
    slot.read = read;
    bytesAhead += length;
    slot.ready.store(true);
    guard.lock();
    noteProbe(took);
}

// Waits (holding the lock) until the next file to claim has a free slot; false when the reader
// is to end.
bool FileReadAhead::claimFile(std::unique_lock<std::mutex>& guard) {
    for (;;) {
        if (stopping || claimed == fileCount) {
            return false;
        }
        if (roomToRead()) {
            return true;
        }
        ++readersWaiting;
        if (roomToRead()) {
            --readersWaiting;
            return true;
        }
        slotsFree.wait(guard);
        --readersWaiting;
    }
}

bool FileReadAhead::roomToRead() const {
    return claimed < handedOut.load() + slots.size() && bytesAhead.load() < MAX_BYTES_AHEAD;
}

bool FileReadAhead::skipTo(std::size_t first) {
    if (handedOut.load() > first || first > fileCount) {
        return false;
    }
    FileContent dropped;
    while (handedOut.load() < first) {
        next(dropped);
    }
    return true;
}

// A file's name is dropped once the file is handed out: a whole database lists tens of thousands
// of files, and a load's peak memory comes after the last of them.
bool FileReadAhead::next(FileContent& into) {
    const std::size_t file = handedOut.load();
    const bool read = take(into);
    if (file < fileCount) {
        std::string().swap(names[file]);
    }
    if (file + 1 == fileCount) {
        std::vector<std::string>().swap(names);  // no reader looks at a name once all are claimed
    }
    return read;
}

bool FileReadAhead::take(FileContent& into) {
    const std::size_t file = handedOut.load();
    if (file == fileCount) {
        return false;
    }
    if (readers.empty()) {
        return readHere(into);
    }
    if (moreReadersWanted.exchange(false) && threadsWhenSlow > readers.size()) {
        addReaders(threadsWhenSlow - static_cast<unsigned>(readers.size()));
    }
    Slot& slot = slots[file % slots.size()];
    if (!slot.ready.load()) {
        std::unique_lock<std::mutex> guard(lock);
        if (claimed.load() == file && !filesComeSlowly) {
            // No reader has got this far (they may have no core to run on): read the file here
            // rather than wait for one. The readers go on after it.
            claimed.store(file + 1);
            guard.unlock();
            handedOut.store(file + 1);
            return into.read(names[file]);
        }
        guard.unlock();
        waitFor(slot);
    }
    const bool read = slot.read;
    if (read) {
        into.adopt(slot.bytes, slot.length);
    }
    std::vector<char>().swap(slot.bytes);  // the buffer `into` gave back: only files ahead hold memory
    const std::size_t taken = slot.length;
    slot.ready.store(false);
    handedOut.store(file + 1);
    const std::size_t stillAhead = bytesAhead -= taken;
    if (readersWaiting.load() > 0 && file + 1 + slots.size() - claimed.load() >= slots.size() / 2 &&
        stillAhead <= MAX_BYTES_AHEAD / 2) {
        std::lock_guard<std::mutex> guard(lock);
        slotsFree.notify_all();
    }
    // A file the reader could not read is read here once more, so that the error (or a success
    // after a passing shortage of memory) is the loading thread's own.
    return read || into.read(names[file]);
}

void FileReadAhead::waitFor(const Slot& slot) {
    // A file from the page cache is read in microseconds, less than putting this thread to sleep
    // and waking it costs: look again for a while before sleeping.
    const auto spinUntil = std::chrono::steady_clock::now() + SPIN_BEFORE_WAITING;
    while (!slot.ready.load(std::memory_order_acquire)) {
        for (int i = 0; i < 64; ++i) {
            pauseBriefly();
        }
        if (std::chrono::steady_clock::now() > spinUntil) {
            break;
        }
    }
    std::unique_lock<std::mutex> guard(lock);
    while (!slot.ready.load()) {
        if (readersWaiting.load() > 0) {
            slotsFree.notify_all();  // never wait while every reader waits for room
        }
        consumerWaiting.store(true);
        if (!slot.ready.load()) {
            fileReady.wait(guard);
        }
        consumerWaiting.store(false);
    }
}

// Called with the lock held (or by the loading thread while no reader runs): judges the first
// PROBED_FILES files read and, when they came slowly, asks the loading thread for more readers.
void FileReadAhead::noteProbe(std::chrono::steady_clock::duration took) {
    if (!probing) {
        return;
    }
    probed += took;
    if (++probedFiles == PROBED_FILES) {
        probing = false;
        filesComeSlowly = probed > SLOW_READ * PROBED_FILES;
        moreReadersWanted.store(filesComeSlowly);
    }
}

bool FileReadAhead::readHere(FileContent& into) {
    const std::size_t file = handedOut.load();
    handedOut.store(file + 1);
    const auto start = std::chrono::steady_clock::now();
    const bool read = into.read(names[file]);
    noteProbe(std::chrono::steady_clock::now() - start);
    if (moreReadersWanted.exchange(false)) {
        startReaders(threadsWhenSlow);
    }
    return read;
}
