#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "db/FileContent.h"

// Hands out the contents of a list of files in list order, reading them ahead on threads of its
// own when that pays. Loading a table is mostly opening and reading many small files. On a
// machine with a second core one reader thread opens and reads while the loading thread parses,
// from the first file on; on a single core the loading thread reads the first files itself, as a
// file from the page cache takes less than handing it between threads costs there. When the
// first files come slowly (a cold cache, where each read waits for the device), more reader
// threads join, so that the device sees several requests at once. What the caller gets, and in
// which order, is exactly what reading the files one by one gives; only the time differs.
class FileReadAhead {
public:
    // Reads ahead on up to `threads` threads: all of them from the first file with `always`;
    // otherwise one from the first file on a machine of several cores, and the rest only once
    // the first files came slowly.
    // At most `filesAhead` files (and about MAX_BYTES_AHEAD bytes) are read ahead of the caller.
    FileReadAhead(std::vector<std::string> files, unsigned threads, bool always,
                  std::size_t filesAhead = FILES_AHEAD);
    // Stops the readers (files not asked for yet are never handed out) and waits for them.
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    // The content of the next file of the list into `into`; false when it could not be opened or
    // read (or the list is used up).
    bool next(FileContent& into);
    // Passes over the files before the `first`-th of the list (their contents are dropped);
    // false when the caller has already taken that one or a later one.
    bool skipTo(std::size_t first);
    std::size_t position() const { return handedOut.load(); }
    // The name of a file not handed out yet (an empty text for one that was; none at all once
    // the last was).
    const std::string& name(std::size_t file) const { return names[file]; }
    std::size_t size() const { return fileCount; }

    // Enough files in flight to keep the readers busy while the loading thread parses a table,
    // and to give a cold device several requests; few enough that their buffers stay small.
    static constexpr std::size_t FILES_AHEAD = 32;
    // However many files may be ahead, their contents stay below about this many bytes.
    static constexpr std::size_t MAX_BYTES_AHEAD = 4 << 20;

    // How a table load reads its files: with up to `threads` reader threads (0: the loading
    // thread reads every file itself), all from the start or as described above.
    struct Policy {
        unsigned threads;
        bool always;
    };
    static Policy policyForLoading();
    static void setPolicyForLoading(Policy policy);

private:
    bool take(FileContent& into);
    // A reader fills a slot and then sets `ready`; the loading thread takes the content and
    // clears it. Whoever does not hold `ready` keeps off the other fields.
    struct Slot {
        std::vector<char> bytes;
        std::size_t length = 0;
        bool read = false;
        std::atomic<bool> ready{false};
    };

    void startReaders(unsigned threads);
    void addReaders(unsigned threads);
    void readFiles();
    void readClaimed(std::size_t file, std::vector<char>& buffer, std::unique_lock<std::mutex>& guard);
    bool claimFile(std::unique_lock<std::mutex>& guard);
    bool roomToRead() const;
    void noteProbe(std::chrono::steady_clock::duration took);
    void waitFor(const Slot& slot);
    void stopReaders();
    bool readHere(FileContent& into);

    std::vector<std::string> names;
    std::size_t fileCount;
    std::vector<Slot> slots;                // ring: file i goes into slot i % slots.size()
    std::atomic<std::size_t> claimed{0};    // files a reader has taken on (changed under `lock`)
    std::atomic<std::size_t> handedOut{0};  // files the caller has taken (changed by it alone)
    std::atomic<std::size_t> bytesAhead{0};  // in the slots, read and not taken yet
    std::size_t filesAhead;
    bool stopping = false;
    std::mutex lock;
    // The two sides meet without the lock while neither waits: a file changes hands through its
    // slot's `ready`. Waking a thread costs more than reading a small file, so each side wakes
    // the other only when it must: readers are woken when half the ring is free (or the loading
    // thread is about to wait), the loading thread only when it waits for the file just read.
    // A side announces that it waits before it looks a last time, and the other looks at the
    // announcement after its change, so a wake-up is never lost.
    std::condition_variable fileReady;
    std::condition_variable slotsFree;
    std::atomic<unsigned> readersWaiting{0};
    std::atomic<bool> consumerWaiting{false};
    std::vector<std::thread> readers;  // started and joined by the loading thread alone
    unsigned threadsWhenSlow = 0;      // reader threads in all once the files come slowly
    bool probing = false;              // the first files are being timed
    bool filesComeSlowly = false;      // judged so: then the loading thread waits for the readers
    std::size_t probedFiles = 0;
    std::chrono::steady_clock::duration probed{};  // time spent reading the probed files
    std::atomic<bool> moreReadersWanted{false};    // set by a reader, acted on by the loading thread
};
