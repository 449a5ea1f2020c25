// Hearing the word in practice: the speaker button on the judged pages for a language with a voice,
// F5, and the setting that speaks every judged word by itself.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "PracticeFixture.h"
#include "model/LanguageVoice.h"
#include "resources/ProgramSettings.h"
#include "resources/SecondStrings.h"
#include "speech/FakeAudioDevice.h"
#include "speech/Speaker.h"

namespace practicetest {
namespace {

using speech::Speaker;

class PracticeSpeechTest : public PracticeTest {
protected:
    void SetUp() override {
        PracticeTest::SetUp();
        resetProgramSettings();
        LanguageVoice::assign(v.french, "roa/fr");
        saveDatabase(D_ENDTAG);
        Speaker::instance().useAudioDevice(speechtest::recordingInto(recording));
    }
    void TearDown() override {
        Speaker::instance().shutdown();
        resetProgramSettings();
        PracticeTest::TearDown();
    }
    void settleSpeech() {
        Speaker::instance().waitUntilQuiet();
        wake();
        paint();
    }
    static bool speakerShown() {
        const std::vector<std::wstring> captions = buttonCaptions();
        return std::find(captions.begin(), captions.end(), L"Speak") != captions.end();
    }
    static std::size_t samplesOf(const std::wstring& text) {
        std::vector<std::int16_t> samples;
        int rate = 0;
        Speaker::instance().synthesize("roa/fr", text, samples, rate);
        return samples.size();
    }
    std::size_t heard() { return recording->sampleCount(); }

    std::shared_ptr<speechtest::Recording> recording = std::make_shared<speechtest::Recording>();
};

TEST_F(PracticeSpeechTest, OnceAnAnswerIsJudgedTheSpeakerAndF5SpeakTheWordWithItsArticle) {
    card(v.chien, {v.dog});
    startAt(Flashcard::begin()->getId(), 1, false);
    EXPECT_FALSE(speakerShown()) << "not while the question is asked";
    key(platform::key::F1 + 4);
    settleSpeech();
    EXPECT_EQ(heard(), 0u);

    answerHeadCorrectly();
    ASSERT_TRUE(speakerShown());
    screenshot("practice-speech");
    pressButton(L"Speak");
    settleSpeech();
    const std::size_t leChien = samplesOf(L"le chien");
    EXPECT_NEAR(static_cast<double>(heard()), static_cast<double>(leChien), 0.1 * static_cast<double>(leChien));
    key(platform::key::F1 + 4);
    settleSpeech();
    EXPECT_NEAR(static_cast<double>(heard()), 2.0 * static_cast<double>(leChien), 0.2 * static_cast<double>(leChien));
}

TEST_F(PracticeSpeechTest, AWordOfALanguageWithoutAVoiceHasNoSpeaker) {
    card(v.dog, {v.chien});  // English is the foreign language here
    startAt(Flashcard::begin()->getId(), 1, false);
    answerHeadCorrectly();
    EXPECT_FALSE(speakerShown());
    key(platform::key::F1 + 4);
    settleSpeech();
    EXPECT_EQ(heard(), 0u);
}

TEST_F(PracticeSpeechTest, TheSettingSpeaksEveryJudgedWordAndIsRemembered) {
    card(v.chien, {v.dog});
    card(v.chat, {v.cat});
    openPractice();
    GuiCheckBox* box = nullptr;
    for (GuiElement* e = curState->firstElement; e != nullptr; e = e->nextElement) {
        if (auto* candidate = dynamic_cast<GuiCheckBox*>(e); candidate != nullptr && curState->takesPart(*candidate)) {
            box = candidate;  // the last box of the start page
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->getCheck()) << "off by default";
    screenshot("practice-speech-setting");
    setBox(box, true);
    EXPECT_NE(readFile("Data/Framework/settings.txt").find("speak-after-judging=yes"), std::string::npos);
    EXPECT_TRUE(window->dialogs().messageBoxes().empty());

    pressButton(L"Start");
    answerHeadCorrectly();
    settleSpeech();
    const std::size_t first = heard();
    EXPECT_GT(first, 0u) << "spoken without a press";
    pressButton(L"Continue");
    answerHeadCorrectly();
    settleSpeech();
    EXPECT_GT(heard(), first);

    // Read again at the next start.
    resetProgramSettings();
    pressButton(L"Exit");
    openPractice();
    GuiCheckBox* again = nullptr;
    for (GuiElement* e = curState->firstElement; e != nullptr; e = e->nextElement) {
        if (auto* candidate = dynamic_cast<GuiCheckBox*>(e); candidate != nullptr && curState->takesPart(*candidate)) {
            again = candidate;
        }
    }
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->getCheck());
}

}  // namespace
}  // namespace practicetest
