#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "speech/Speaker.h"
#include "speech/VoiceChoice.h"

namespace speechtest {

struct Audio {
    speech::Outcome outcome = speech::Outcome::Stopped;
    std::vector<std::int16_t> samples;
    int sampleRate = 0;
    double seconds() const { return sampleRate == 0 ? 0.0 : static_cast<double>(samples.size()) / sampleRate; }
};

inline Audio synthesize(const std::string& voice, const std::wstring& text) {
    Audio audio;
    audio.outcome = speech::Speaker::instance().synthesize(voice, text, audio.samples, audio.sampleRate);
    return audio;
}

// Root mean square of the samples: about 0 for silence, thousands for speech.
inline double loudness(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (std::int16_t sample : samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// The installed voice for a language name ("German"); fails the test when there is none.
inline std::string voiceFor(const wchar_t* languageName) {
    const std::vector<speech::Voice> voices = speech::Speaker::instance().voices();
    const auto position = speech::voiceForLanguageName(voices, languageName);
    EXPECT_TRUE(position.has_value()) << "no voice for a language named so";
    return position ? voices[*position].identifier : std::string();
}

class SpeechTest : public ::testing::Test {
protected:
    void TearDown() override { speech::Speaker::instance().shutdown(); }
};

}  // namespace speechtest
