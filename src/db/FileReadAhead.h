#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "db/FileContent.h"

// Hands out the contents of a list of files in list order, reading them ahead on threads of its
// own when that pays. Loading a table is mostly opening and reading many small files. From the
// page cache a file takes microseconds, less than handing it between threads costs, so the
// loading thread reads the first files itself; when they come slowly (a cold cache, where each
// read waits for the device), reader threads take over the rest, so that the device sees several
// requests at once and the loading thread parses while they wait. What the caller gets, and in
// which order, is exactly what reading the files one by one gives; only the time differs.
class FileReadAhead {
public:
    // Reads ahead on up to `threads` threads: from the first file with `always`, otherwise only
    // once the first files came slowly.
    FileReadAhead(std::vector<std::string> files, unsigned threads, bool always);
    // Stops the readers (files not asked for yet are never handed out) and waits for them.
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    // The content of the next file of the list into `into`; false when it could not be opened or
    // read (or the list is used up).
    bool next(FileContent& into);

    // How a table load reads its files: with up to `threads` reader threads (0: the loading
    // thread reads every file itself), from the start or only once files come slowly.
    struct Policy {
        unsigned threads;
        bool always;
    };
    static Policy policyForLoading();
    static void setPolicyForLoading(Policy policy);

private:
    struct Slot {
        std::vector<char> bytes;
        std::size_t length = 0;
        bool read = false;
        bool ready = false;
    };

    void startReaders(unsigned threads);
    void readFiles();
    void stopReaders();
    bool readHere(FileContent& into);

    std::vector<std::string> names;
    std::vector<Slot> slots;       // ring: file i goes into slot i % slots.size()
    std::size_t claimed = 0;       // files a reader has taken on
    std::size_t handedOut = 0;     // files the caller has taken
    bool stopping = false;
    std::mutex lock;
    // Waking a thread costs more than reading a small file, so each side wakes the other only
    // when it must: readers are woken when half the ring is free (or the loading thread is about
    // to wait), the loading thread only when it waits for the file just read.
    std::condition_variable fileReady;
    std::condition_variable slotsFree;
    unsigned readersWaiting = 0;
    bool consumerWaiting = false;
    std::vector<std::thread> readers;
    unsigned threadsWhenSlow = 0;
    std::chrono::steady_clock::duration probed{};  // time the loading thread spent reading so far
};
