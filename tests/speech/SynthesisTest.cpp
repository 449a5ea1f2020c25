// The synthesiser on its own thread, into buffers: no sound device is needed.
#include <string>

#include "SpeechTestSupport.h"

namespace speechtest {
namespace {

using speech::Outcome;

struct Sample {
    const wchar_t* language;
    const wchar_t* word;
    const wchar_t* sentence;
};

TEST_F(SpeechTest, EveryLanguageSpeaksAudiblyAndLongerTextsTakeLonger) {
    const Sample samples[] = {
        {L"German", L"Haus", L"Das Eichhörnchen sitzt auf dem alten Baum im Garten."},
        {L"French", L"chat", L"L'écureuil est assis sur le vieil arbre du jardin."},
        {L"Russian", L"дом", L"Белка сидит на старом дереве в саду."},
        {L"Hebrew", L"בית", L"הסנאי יושב על העץ הישן בגן."},
        {L"English", L"house", L"The squirrel sits on the old tree in the garden."},
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(std::wstring(sample.language));
        const std::string voice = voiceFor(sample.language);
        const Audio word = synthesize(voice, sample.word);
        const Audio sentence = synthesize(voice, sample.sentence);
        ASSERT_EQ(word.outcome, Outcome::Done);
        ASSERT_EQ(sentence.outcome, Outcome::Done);
        EXPECT_GT(word.sampleRate, 8000);
        EXPECT_GT(word.seconds(), 0.1);
        EXPECT_GT(loudness(word.samples), 300.0) << "silence instead of speech";
        EXPECT_GT(loudness(sentence.samples), 300.0);
        EXPECT_GT(sentence.seconds(), 3 * word.seconds());
    }
}

TEST_F(SpeechTest, WhatCannotBeSpokenIsRefusedWithoutAnySound) {
    const std::string german = voiceFor(L"German");
    const struct {
        std::string voice;
        std::wstring text;
        Outcome expected;
    } refusals[] = {
        {"none", L"Haus", Outcome::NoVoice},
        {"", L"Haus", Outcome::NoVoice},
        {"xx/martian", L"Haus", Outcome::UnknownVoice},
        {"German", L"Haus", Outcome::UnknownVoice},  // a name is no identifier
        {german, L"", Outcome::EmptyText},
        {german, L" \t ", Outcome::EmptyText},
    };
    for (const auto& refusal : refusals) {
        const Audio audio = synthesize(refusal.voice, refusal.text);
        EXPECT_EQ(audio.outcome, refusal.expected) << refusal.voice;
        EXPECT_TRUE(audio.samples.empty()) << refusal.voice;
    }
    // A refusal leaves the synthesiser as it was.
    EXPECT_EQ(synthesize(german, L"Haus").outcome, Outcome::Done);
}

TEST_F(SpeechTest, AWordOfAThousandCharactersIsSpokenInFull) {
    const std::string german = voiceFor(L"German");
    std::wstring longWord;
    while (longWord.size() < 1000) {
        longWord += L"Donaudampfschiff";
    }
    longWord.resize(1000);
    const Audio audio = synthesize(german, longWord);
    ASSERT_EQ(audio.outcome, Outcome::Done);
    EXPECT_GT(audio.seconds(), 10 * synthesize(german, L"Donaudampfschiff").seconds());
    EXPECT_GT(loudness(audio.samples), 300.0);
}

TEST_F(SpeechTest, MarkupInTheTextIsNeverObeyed) {
    // Neither SSML nor the synthesiser's [[phoneme]] input: a word typed with brackets is text.
    const std::string english = voiceFor(L"English");
    const Audio plain = synthesize(english, L"house");
    const Audio bracketed = synthesize(english, L"<break time=\"20s\"/>house");
    ASSERT_EQ(bracketed.outcome, Outcome::Done);
    EXPECT_LT(bracketed.seconds(), plain.seconds() + 10.0);
}

}  // namespace
}  // namespace speechtest
