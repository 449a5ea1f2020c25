#include "speech/SpeechWorker.h"

#include <utility>

namespace speech {

SpeechWorker::SpeechWorker() : thread([this] { run(); }) {}

SpeechWorker::~SpeechWorker() {
    {
        std::lock_guard<std::mutex> guard(mutex);
        quit = true;
        jobs.clear();
    }
    changed.notify_all();
    thread.join();
}

void SpeechWorker::post(Job job) {
    {
        std::lock_guard<std::mutex> guard(mutex);
        jobs.push_back(std::move(job));
    }
    changed.notify_all();
}

void SpeechWorker::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return (jobs.empty() && !busy) || quit; });
}

void SpeechWorker::run() {
    EspeakEngine& engine = EspeakEngine::engine();
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        changed.wait(lock, [this] { return quit || !jobs.empty(); });
        if (quit) {
            break;
        }
        Job job = std::move(jobs.front());
        jobs.pop_front();
        busy = true;
        lock.unlock();
        job(engine);
        job = nullptr;  // what the job holds goes before the worker counts as idle
        lock.lock();
        busy = false;
        changed.notify_all();
    }
    changed.notify_all();
}

}  // namespace speech
