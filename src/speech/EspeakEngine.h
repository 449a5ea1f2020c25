#pragma once

// The speech synthesiser eSpeak NG: its voices, speech as 16-bit mono samples, and a text's
// pronunciation in IPA.
//
// eSpeak NG keeps its whole state in globals and is not thread-safe: a process has one engine for
// its whole life (engine()), and only one thread at a time calls it (SpeechWorker's). Text is never
// read as markup: angle brackets and [[ ]] are spoken or skipped as the voice's rules say.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "speech/SpeechOutcome.h"
#include "speech/Voice.h"

namespace speech {

class EspeakEngine {
public:
    // The process's engine, made on first use (by the worker's thread) and never ended.
    static EspeakEngine& engine();

    // Starts the synthesiser and lists its voices; without its data it stays unavailable.
    EspeakEngine();
    ~EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    bool available() const { return sampleRate_ > 0; }
    // Samples per second of everything synthesize hands out; 0 while unavailable.
    int sampleRate() const { return sampleRate_; }
    // Every voice, ordered by name; empty while unavailable.
    const std::vector<Voice>& voices() const { return voices_; }

    // Receives the samples as they are made, in pieces of a few hundredths of a second; returns
    // false to stop the synthesis.
    using SampleReceiver = std::function<bool(const std::int16_t* samples, std::size_t count)>;

    // Speaks UTF-8 text in a voice of voices(). Done after the last piece; Stopped when the
    // receiver stopped it; NoVoice, UnknownVoice, EmptyText or Unavailable without any piece.
    Outcome synthesize(const std::string& voice, const std::string& text, const SampleReceiver& receiver);

    // The text's pronunciation in IPA in that voice, clauses separated by a blank. The refusals
    // are those of synthesize.
    Outcome pronunciation(const std::string& voice, const std::string& text, std::string& ipa);

private:
    Outcome select(const std::string& voice, const std::string& text);

    int sampleRate_ = 0;
    std::vector<Voice> voices_;
    std::string selected_;
};

}  // namespace speech
