#pragma once

// The one thread that talks to the speech synthesiser. eSpeak NG is not thread-safe, so only this
// thread calls the engine (a program has one worker at a time; a worker started after another
// ended takes the engine over); everybody else hands it jobs, which run one after another in the
// order posted.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "speech/EspeakEngine.h"

namespace speech {

class SpeechWorker {
public:
    using Job = std::function<void(EspeakEngine&)>;

    // Starts the thread, which starts the engine (the first time) before its first job.
    SpeechWorker();
    // Drops the jobs not yet started, lets the running one finish and ends the thread.
    ~SpeechWorker();
    SpeechWorker(const SpeechWorker&) = delete;
    SpeechWorker& operator=(const SpeechWorker&) = delete;

    // Any thread; returns at once.
    void post(Job job);
    // Waits until every job posted so far has run.
    void waitUntilIdle();

private:
    void run();

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    bool busy = false;
    bool quit = false;
    std::thread thread;  // last: starts once everything above exists
};

}  // namespace speech
