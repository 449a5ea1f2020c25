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
    FileReadAhead(std::vector<std::string> files, unsigned threads, bool always);
    // Stops the readers (files not asked for yet are never handed out) and waits for them.
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    // The content of the next file of the list into `into`; false when it could not be opened or
    // read (or the list is used up).
    bool next(FileContent& into);

    // How a table load reads its files: with up to `threads` reader threads (0: the loading
    // thread reads every file itself), all from the start or as described above.
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
    void addReaders(unsigned threads);
    void readFiles();
    void noteProbe(std::size_t file, std::chrono::steady_clock::duration took);
    void addReadersIfWanted();
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
    unsigned threadsWhenSlow = 0;  // reader threads in all once the files come slowly
    bool probing = false;          // the first files are being timed
    std::size_t probedFiles = 0;
    std::chrono::steady_clock::duration probed{};  // time spent reading the probed files
    bool moreReadersWanted = false;  // set by a reader, acted on by the loading thread
};
