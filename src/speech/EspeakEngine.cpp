#include "speech/EspeakEngine.h"

#include <espeak-ng/espeak_ng.h>

#include <algorithm>
#include <cstring>

#include "speech/EspeakLibrary.h"

namespace speech {
namespace {

// Pieces of this many milliseconds: the first sound is ready early, and a stop takes effect
// within one piece.
constexpr int PIECE_MS = 20;

// The synthesis running now and whether its receiver stopped it. eSpeak NG hands the samples to
// a plain function; everything runs on the engine's one thread.
const EspeakEngine::SampleReceiver* runningReceiver = nullptr;
bool receiverStopped = false;

int receiveSamples(short* samples, int count, espeak_EVENT*) {
    if (runningReceiver == nullptr || receiverStopped) {
        return 1;
    }
    if (samples != nullptr && count > 0 && !(*runningReceiver)(samples, static_cast<std::size_t>(count))) {
        receiverStopped = true;
        return 1;
    }
    return 0;
}

// The language list of a voice: (priority byte, zero-terminated code) pairs, ended by a zero byte.
std::vector<std::pair<int, std::string>> languagesOf(const char* list) {
    std::vector<std::pair<int, std::string>> languages;
    if (list == nullptr) {
        return languages;
    }
    while (*list != '\0') {
        const int priority = static_cast<unsigned char>(*list);
        const char* code = list + 1;
        languages.emplace_back(priority, code);
        list = code + std::strlen(code) + 1;
    }
    return languages;
}

std::vector<Voice> listVoices() {
    std::vector<Voice> voices;
    const espeak_VOICE** listed = espeakLibrary().listVoices(nullptr);
    for (int i = 0; listed != nullptr && listed[i] != nullptr; ++i) {
        const espeak_VOICE& voice = *listed[i];
        if (voice.identifier == nullptr || voice.name == nullptr) {
            continue;
        }
        voices.push_back(Voice{voice.identifier, voice.name, languagesOf(voice.languages)});
    }
    std::stable_sort(voices.begin(), voices.end(), [](const Voice& a, const Voice& b) { return a.name < b.name; });
    return voices;
}

bool blank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

EspeakEngine& EspeakEngine::engine() {
    static EspeakEngine* const theEngine = new EspeakEngine();
    return *theEngine;
}

// Without the library (or with one that cannot start) the engine has no voices: unavailable.
EspeakEngine::EspeakEngine() {
    const EspeakLibrary& espeak = espeakLibrary();
    if (!espeak.loaded) {
        return;
    }
    espeak.initializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS started = espeak.initialize(&context);
    espeak.clearErrorContext(&context);
    if (started != ENS_OK || espeak.initializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, PIECE_MS, nullptr) != ENS_OK) {
        return;
    }
    espeak.setSynthCallback(receiveSamples);
    voices_ = listVoices();
    if (!voices_.empty()) {
        sampleRate_ = espeak.getSampleRate();
    }
}

// eSpeak NG 1.51's espeak_ng_Terminate waits for a thread of its own that never answers in
// synchronous mode; the engine lives as long as the process instead.
EspeakEngine::~EspeakEngine() = default;

Outcome EspeakEngine::select(const std::string& voice, const std::string& text) {
    if (!available()) {
        return Outcome::Unavailable;
    }
    if (voice.empty() || voice == "none") {
        return Outcome::NoVoice;
    }
    const bool known = std::any_of(voices_.begin(), voices_.end(), [&](const Voice& v) { return v.identifier == voice; });
    if (!known) {
        return Outcome::UnknownVoice;
    }
    if (blank(text)) {
        return Outcome::EmptyText;
    }
    if (voice != selected_) {
        if (espeakLibrary().setVoiceByName(voice.c_str()) != ENS_OK) {
            selected_.clear();
            return Outcome::UnknownVoice;
        }
        selected_ = voice;
    }
    return Outcome::Done;
}

Outcome EspeakEngine::synthesize(const std::string& voice, const std::string& text, const SampleReceiver& receiver) {
    const Outcome selection = select(voice, text);
    if (selection != Outcome::Done) {
        return selection;
    }
    runningReceiver = &receiver;
    receiverStopped = false;
    espeakLibrary().synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    runningReceiver = nullptr;
    return receiverStopped ? Outcome::Stopped : Outcome::Done;
}

Outcome EspeakEngine::pronunciation(const std::string& voice, const std::string& text, std::string& ipa) {
    ipa.clear();
    const Outcome selection = select(voice, text);
    if (selection != Outcome::Done) {
        return selection;
    }
    const void* rest = text.c_str();
    // Each call translates one clause and moves `rest` past it, to null at the end.
    while (rest != nullptr) {
        const char* clause = espeakLibrary().textToPhonemes(&rest, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (clause == nullptr) {
            break;
        }
        std::string piece(clause);
        const auto first = piece.find_first_not_of(' ');
        const auto last = piece.find_last_not_of(' ');
        if (first == std::string::npos) {
            continue;
        }
        if (!ipa.empty()) {
            ipa += ' ';
        }
        ipa += piece.substr(first, last - first + 1);
    }
    return Outcome::Done;
}

}  // namespace speech
