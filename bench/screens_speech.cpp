// From the key press to the first sound: F5 on a screen with a speaker button, through the window
// procedure, the screen's key function, the voice lookup, the synthesiser's thread and the playback
// thread, until the first samples of a 10-letter word reach the sound device. Against the time the
// synthesiser alone takes for the whole word, measured on one thread without any hand-over.
//
// The device records when the first samples arrive and plays nothing, so the figures are the
// program's own part, without the sound server's latency.

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "BenchRatios.h"
#include "base/Utf8.h"
#include "platform/KeyCodes.h"
#include "ScratchDirectory.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Database.h"
#include "model/Language.h"
#include "model/LanguageVoice.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "speech/EspeakEngine.h"
#include "speech/Speaker.h"
#include "states/SpeechControl.h"
#include "states/WindowProcedure.h"

namespace {

using Clock = std::chrono::steady_clock;

// The moment the first samples of the current utterance arrive.
struct FirstSound {
    std::mutex mutex;
    std::condition_variable arrived;
    std::optional<Clock::time_point> at;

    void reset() {
        std::lock_guard<std::mutex> guard(mutex);
        at.reset();
    }
    Clock::time_point wait() {
        std::unique_lock<std::mutex> lock(mutex);
        arrived.wait(lock, [this] { return at.has_value(); });
        return *at;
    }
};

class TimingDevice final : public speech::AudioDevice {
public:
    explicit TimingDevice(std::shared_ptr<FirstSound> sound) : first(std::move(sound)) {}
    bool open(int) override { return true; }
    bool write(const std::int16_t*, std::size_t) override {
        std::lock_guard<std::mutex> guard(first->mutex);
        if (!first->at) {
            first->at = Clock::now();
            first->arrived.notify_all();
        }
        return true;
    }
    void discard() override {}
    void drain() override {}
    void close() override {}

private:
    std::shared_ptr<FirstSound> first;
};

struct Word {
    const char* voice;
    const wchar_t* language;
    const wchar_t* text;  // ten letters
};

constexpr Word words[] = {
    {"gmw/de", L"German", L"Wasserhahn"},
    {"roa/fr", L"French", L"grenouille"},
    {"zle/ru", L"Russian", L"сковородка"},
};

SpokenWord spokenNow;
SpokenWord currentWord() { return spokenNow; }
constexpr SpeakerSource benchSpeaker{currentWord};

void SynthesisAlone(benchmark::State& state) {
    const Word& word = words[state.range(0)];
    speech::Speaker::instance().shutdown();  // this thread is the only one using the engine now
    speech::EspeakEngine& engine = speech::EspeakEngine::engine();
    const std::string text = utf8::encode(word.text);
    const auto discard = [](const std::int16_t*, std::size_t) { return true; };
    engine.synthesize(word.voice, text, discard);  // voice and dictionary loaded
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(engine.synthesize(word.voice, text, discard));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.SetLabel(word.voice);
}

void FirstSoundAfterF5(benchmark::State& state) {
    const Word& word = words[state.range(0)];
    bench::ScratchDirectory scratch("speech");
    platform::HeadlessPlatform window({1000, 500});
    WindowProcedure procedure(window);
    window.setSink(&procedure);
    platform::setCurrent(&window);
    framewUpdate(&window);
    framewInit(1000, 500);
    loadDatabase(D_ENDTAG);
    auto* language = new Language();
    language->set_name(word.language, true);
    const unsigned languageId = Language::add(language);
    LanguageVoice::assign(languageId, word.voice);
    spokenNow = {languageId, word.text};

    auto first = std::make_shared<FirstSound>();
    speech::Speaker::instance().useAudioDevice([first] { return std::make_unique<TimingDevice>(first); });
    State* screen = createEmptyState(L"Speech");
    screen->condition = 1;
    addSpeakerButton(screen, {500, 250, 500, 280}, 1, &benchSpeaker);
    nextState = screen;
    updateStateStatus();

    const platform::Message f5 = platform::Message::keyDown(0, platform::key::F1 + 4);
    for (int warm = 0; warm < 3; ++warm) {
        first->reset();
        window.send(f5);
        first->wait();
        speech::Speaker::instance().waitUntilQuiet();
    }
    for (auto _ : state) {
        first->reset();
        const Clock::time_point pressed = Clock::now();
        window.send(f5);
        const Clock::time_point heard = first->wait();
        state.SetIterationTime(std::chrono::duration<double>(heard - pressed).count());
        state.PauseTiming();
        speech::Speaker::instance().waitUntilQuiet();
        state.ResumeTiming();
    }
    state.SetLabel(word.voice);
    speech::Speaker::instance().shutdown();
    stateMachineReset();
    resetDatabase();
    platform::setCurrent(nullptr);
}

// Manual time for both, so that their names pair up for the ratios.
BENCHMARK(SynthesisAlone)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FirstSoundAfterF5)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, {{"FirstSoundAfterF5", "SynthesisAlone"}}); }
