#include "speech/Speaker.h"

#include <future>
#include <utility>

#include "base/Utf8.h"
#include "speech/EspeakEngine.h"
#include "speech/Playback.h"
#include "speech/SpeechWorker.h"

namespace speech {

Speaker& Speaker::instance() {
    static Speaker speaker;
    return speaker;
}

Speaker::Speaker() = default;

Speaker::~Speaker() { shutdown(); }

void Speaker::start() {
    if (worker != nullptr) {
        return;
    }
    playback = std::make_unique<Playback>(deviceFactory, [this](bool works) {
        tell(works ? Report::SoundWorks : Report::NoSoundDevice);
    });
    worker = std::make_unique<SpeechWorker>();
    worker->post([this](EspeakEngine& engine) {
        std::lock_guard<std::mutex> guard(mutex);
        voiceList = engine.voices();
        sampleRate = engine.sampleRate();
        voicesReady = true;
        voicesListed.notify_all();
    });
}

void Speaker::warmUp() {
    std::lock_guard<std::mutex> guard(mutex);
    start();
}

std::vector<Voice> Speaker::voices() {
    std::unique_lock<std::mutex> lock(mutex);
    start();
    voicesListed.wait(lock, [this] { return voicesReady; });
    return voiceList;
}

void Speaker::speak(const std::string& voice, const std::wstring& text) {
    std::string utf8Text = utf8::encode(text);
    std::lock_guard<std::mutex> guard(mutex);
    start();
    const std::uint64_t utterance = ++latest;
    playback->cut(utterance);  // silent at once, even while the synthesiser is still busy
    worker->post([this, utterance, voice, utf8Text = std::move(utf8Text)](EspeakEngine& engine) {
        if (latest.load() != utterance) {
            return;  // a newer one was asked for before this one started
        }
        speakNow(engine, utterance, voice, utf8Text);
    });
}

void Speaker::speakNow(EspeakEngine& engine, std::uint64_t utterance, const std::string& voice,
                       const std::string& text) {
    bool begun = false;
    const Outcome outcome = engine.synthesize(voice, text, [&](const std::int16_t* samples, std::size_t count) {
        if (latest.load() != utterance) {
            return false;
        }
        if (!begun) {
            playback->begin(utterance, engine.sampleRate());
            begun = true;
        }
        playback->add(utterance, samples, count);
        return true;
    });
    if (outcome == Outcome::Done && begun) {
        playback->end(utterance);
    } else if (outcome == Outcome::UnknownVoice) {
        tell(Report::VoiceNotInstalled);
    } else if (outcome == Outcome::Unavailable) {
        tell(Report::Unavailable);
    }
}

void Speaker::stop() {
    std::lock_guard<std::mutex> guard(mutex);
    if (playback != nullptr) {
        playback->cut(++latest);
    }
}

void Speaker::pronounce(const std::string& voice, const std::wstring& text, PronunciationDone done) {
    std::string utf8Text = utf8::encode(text);
    std::lock_guard<std::mutex> guard(mutex);
    start();
    worker->post([voice, utf8Text = std::move(utf8Text), done = std::move(done)](EspeakEngine& engine) {
        std::string ipa;
        const Outcome outcome = engine.pronunciation(voice, utf8Text, ipa);
        done(outcome, ipa);
    });
}

Outcome Speaker::synthesize(const std::string& voice, const std::wstring& text, std::vector<std::int16_t>& samples,
                            int& rate) {
    const std::string utf8Text = utf8::encode(text);
    // Owned by the job: a job dropped by a shutdown breaks the promise instead of leaving the
    // caller waiting.
    auto finished = std::make_shared<std::promise<Outcome>>();
    std::future<Outcome> outcome = finished->get_future();
    {
        std::lock_guard<std::mutex> guard(mutex);
        start();
        worker->post([&, finished](EspeakEngine& engine) {
            rate = engine.sampleRate();
            finished->set_value(engine.synthesize(voice, utf8Text, [&](const std::int16_t* piece, std::size_t count) {
                samples.insert(samples.end(), piece, piece + count);
                return true;
            }));
        });
    }
    try {
        return outcome.get();
    } catch (const std::future_error&) {
        return Outcome::Stopped;
    }
}

void Speaker::setListener(std::function<void(Report)> reportListener) {
    std::lock_guard<std::mutex> guard(mutex);
    listener = std::move(reportListener);
}

void Speaker::tell(Report report) {
    std::function<void(Report)> hearer;
    {
        std::lock_guard<std::mutex> guard(mutex);
        hearer = listener;
    }
    if (hearer) {
        hearer(report);
    }
}

void Speaker::useAudioDevice(AudioDeviceFactory factory) {
    shutdown();
    std::lock_guard<std::mutex> guard(mutex);
    deviceFactory = std::move(factory);
}

void Speaker::waitUntilQuiet() {
    SpeechWorker* runningWorker = nullptr;
    Playback* runningPlayback = nullptr;
    {
        std::lock_guard<std::mutex> guard(mutex);
        runningWorker = worker.get();
        runningPlayback = playback.get();
    }
    if (runningWorker != nullptr) {
        runningWorker->waitUntilIdle();
        runningPlayback->waitUntilQuiet();
    }
}

void Speaker::shutdown() {
    std::unique_ptr<SpeechWorker> endingWorker;
    {
        std::lock_guard<std::mutex> guard(mutex);
        endingWorker = std::move(worker);
        voicesReady = false;
        if (playback != nullptr) {
            playback->cut(++latest);
        }
    }
    // Outside the lock, as the threads may be telling the listener right now. The worker goes
    // first: its jobs feed the playback.
    endingWorker.reset();
    std::unique_ptr<Playback> endingPlayback;
    {
        std::lock_guard<std::mutex> guard(mutex);
        if (worker == nullptr) {
            endingPlayback = std::move(playback);
        }
    }
}

}  // namespace speech
