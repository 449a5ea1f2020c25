#pragma once

// Speech for the whole program: the voices the synthesiser offers, speaking a text without
// keeping the caller waiting, and a text's pronunciation in IPA. Every call returns at once or
// after a short wait for the synthesiser's thread; the synthesis runs on its thread (SpeechWorker)
// and hands its samples to the playback thread (Playback) piece by piece as they are made.
//
// A second speak while one is still speaking stops the first at once and starts the new one.
// What the user should be told (no sound device, a voice that is no longer installed) reaches the
// listener on a speech thread; the window's side hands it to the window's thread itself.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "speech/AudioDevice.h"
#include "speech/SpeechOutcome.h"
#include "speech/Voice.h"

namespace speech {

class EspeakEngine;
class Playback;
class SpeechWorker;

// What the user is told about speech.
enum class Report {
    SoundWorks,         // a sound device took the speech (the first time, and after one was missing)
    NoSoundDevice,      // nothing to play on (the first time, and after a device worked)
    VoiceNotInstalled,  // the language's voice is not installed (any more)
    Unavailable,        // the synthesiser's data is not installed
};

class Speaker {
public:
    // The program's speaker; its threads start on first use.
    static Speaker& instance();

    Speaker();
    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // Starts the synthesiser in the background, so that its voices are ready when asked for.
    void warmUp();
    // The voices ordered by name; the first call waits until the synthesiser has listed them.
    // Empty when the synthesiser is not installed.
    std::vector<Voice> voices();

    // Speaks the text in the voice (an identifier of voices()). Returns at once; a refusal (no
    // voice, an empty text) is silent, a voice that is not installed is reported.
    void speak(const std::string& voice, const std::wstring& text);
    // Silence: what is speaking stops.
    void stop();

    // The text's pronunciation in IPA; `done` runs on the synthesiser's thread with the outcome
    // and, for Done, the IPA.
    using PronunciationDone = std::function<void(Outcome outcome, const std::string& ipa)>;
    void pronounce(const std::string& voice, const std::wstring& text, PronunciationDone done);

    // The speech of the text as samples, without playing it; waits for it. sampleRate receives
    // the samples per second.
    Outcome synthesize(const std::string& voice, const std::wstring& text, std::vector<std::int16_t>& samples,
                       int& sampleRate);

    // Hears the reports, on a speech thread. Null: nobody hears them.
    void setListener(std::function<void(Report)> listener);
    // The device speech plays on from now on (tests and benchmarks put their own in place of the
    // system's sound); ends the threads, which start again on next use.
    void useAudioDevice(AudioDeviceFactory factory);
    // Waits until everything asked for so far has been synthesised and played (or dropped).
    void waitUntilQuiet();
    // Ends both threads (the end of the program, tests); they start again on next use.
    void shutdown();

private:
    void start();
    void tell(Report report);
    // On the synthesiser's thread.
    void speakNow(EspeakEngine& engine, std::uint64_t utterance, const std::string& voice, const std::string& text);

    std::mutex mutex;
    std::condition_variable voicesListed;
    bool voicesReady = false;
    std::vector<Voice> voiceList;
    int sampleRate = 0;
    AudioDeviceFactory deviceFactory = makeSystemAudioDevice;
    std::function<void(Report)> listener;
    std::atomic<std::uint64_t> latest{0};
    std::unique_ptr<Playback> playback;
    std::unique_ptr<SpeechWorker> worker;  // after playback: ends first, as it feeds playback
};

}  // namespace speech
