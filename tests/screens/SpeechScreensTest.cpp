// Speech in the editors, worked as a user works them: the language's voice in the language editor,
// the speaker button and "Suggest" in the word editor, the speaker button in the flashcard editor.
// The sound goes to a recording device (or to none, as on a machine without sound).
#include <algorithm>
#include <cmath>
#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "FlashcardEditorTest.h"
#include "GrammarScreensFixture.h"
#include "WordEditorFixture.h"
#include "base/Utf8.h"
#include "gui/GuiSearchItemfield.h"
#include "model/LanguageVoice.h"
#include "resources/SecondStrings.h"
#include "screens/LanguageVoiceField.h"
#include "screens/stateLanguage.h"
#include "speech/FakeAudioDevice.h"
#include "speech/Speaker.h"
#include "states/SpeechControl.h"

namespace screens::test {
namespace {

using speech::Speaker;
using speechtest::Recording;

// What the synthesiser makes of the text, for comparing with what reached the device.
std::size_t samplesOf(const std::string& voice, const std::wstring& text) {
    std::vector<std::int16_t> samples;
    int rate = 0;
    EXPECT_EQ(Speaker::instance().synthesize(voice, text, samples, rate), speech::Outcome::Done);
    return samples.size();
}

std::wstring ipaOf(const std::string& voice, const std::wstring& text) {
    std::promise<std::string> ipa;
    Speaker::instance().pronounce(voice, text, [&](speech::Outcome, const std::string& result) { ipa.set_value(result); });
    return utf8::decode(ipa.get_future().get());
}

bool near(std::size_t actual, std::size_t expected) {
    const double tolerance = 0.1 * static_cast<double>(expected);
    return std::abs(static_cast<double>(actual) - static_cast<double>(expected)) <= tolerance;
}

bool captionShown(const std::vector<std::wstring>& captions, const wchar_t* caption) {
    return std::find(captions.begin(), captions.end(), caption) != captions.end();
}

// --- the language editor --------------------------------------------------------------------------

class LanguageVoiceEditorTest : public GrammarScreensTest {
protected:
    void TearDown() override {
        Speaker::instance().shutdown();
        GrammarScreensTest::TearDown();
    }

    // What the voice button shows (and Save stores).
    static std::wstring voiceShown() {
        const auto* button = element<GuiButton>(TAG_BUTTON_VOICE);
        return button == nullptr ? L"<no button>" : button->getText();
    }
    void openVoicePage() {
        const auto* button = element<GuiButton>(TAG_BUTTON_VOICE);
        ASSERT_NE(button, nullptr);
        clickMiddle(*button);
        ASSERT_EQ(curState->condition, VOICE_PAGE);
    }
    // On the voice page: types the start of the name into the search box and clicks the entry.
    void chooseVoice(std::wstring_view name) {
        openVoicePage();
        auto* list = element<GuiSearchItemfield>(TAG_ITEMLIST_VOICES);
        typeInto(&list->getSearchBox(), name.substr(0, 4));
        paint();
        for (int i = 0; i < list->getNumberOfCurrentElements(); ++i) {
            if (name == list->getEntry(i)) {
                const int lineHeight = list->getCurrentLineHeight();
                click(list->getX() + list->getWidth() / 2, list->getY() + i * lineHeight + lineHeight / 2);
                paint();
                return;
            }
        }
        FAIL() << "no such voice on the first page of the search";
    }
    void newLanguage(std::wstring_view name) {
        show(createLanguageState());
        pressButton(L"New Language");
        typeInto(first<GuiTextfield>(), name);
    }
    void editLanguage(const wchar_t* name) {
        show(createLanguageState());
        ASSERT_TRUE(clickCaption(name));
        pressButton(L"Edit Language");
    }
    static unsigned idNamed(const wchar_t* name) {
        const Language* language = Language::getByQuery((std::wstring(L"NAME == ") + name).c_str(), true);
        return language == nullptr ? 0 : language->getId();
    }
    static std::string storedVoice(const wchar_t* languageName) {
        reloadDatabase();
        return LanguageVoice::voiceOf(idNamed(languageName));
    }
};

TEST_F(LanguageVoiceEditorTest, ANewLanguageGetsTheVoiceItsNameNamesUnlessTheUserChoosesAnother) {
    newLanguage(L"Deutsch");
    EXPECT_EQ(voiceShown(), L"none");
    screenshot("language-voice-button");
    openVoicePage();  // the name is typed by now
    EXPECT_EQ(voiceShown(), L"German");
    EXPECT_EQ(element<GuiSearchItemfield>(TAG_ITEMLIST_VOICES)->getNumberOfEntries(),
              Speaker::instance().voices().size() + 1);
    repaintAll();
    screenshot("language-voice-page");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Deutsch"), "gmw/de");

    // Edited: the stored voice shows; the user's choice is stored, "none" included.
    editLanguage(L"Deutsch");
    EXPECT_EQ(voiceShown(), L"German");
    chooseVoice(L"French (France)");
    EXPECT_EQ(voiceShown(), L"French (France)");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Deutsch"), "roa/fr");
    editLanguage(L"Deutsch");
    chooseVoice(L"none");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Deutsch"), "");

    // Saved without looking at the field: the voice the name names, or none.
    newLanguage(L"Français");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Français"), "roa/fr");
    newLanguage(L"Mernolexish");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Mernolexish"), "");
    // A choice made before the name was typed is kept.
    newLanguage(L"");
    chooseVoice(L"Russian");
    typeInto(first<GuiTextfield>(), L"Deutsch 2");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Deutsch 2"), "zle/ru");
    EXPECT_TRUE(window->dialogs().messageBoxes().empty());
}

TEST_F(LanguageVoiceEditorTest, AVoiceThatIsNoLongerInstalledIsKeptWhenTheLanguageIsSaved) {
    const unsigned id = modeltest::addLanguage(L"Elvish");
    LanguageVoice::assign(id, "art/gone");
    saveAll();
    editLanguage(L"Elvish");
    EXPECT_EQ(voiceShown(), L"art/gone");
    pressButton(L"Save");
    EXPECT_EQ(storedVoice(L"Elvish"), "art/gone");
}

TEST_F(LanguageVoiceEditorTest, AFailedSaveStoresNeitherTheLanguageNorItsVoice) {
    const unsigned german = modeltest::addLanguage(L"German");
    LanguageVoice::assign(german, "gmw/de");
    saveAll();
    const std::string languages = readFile("Data/Language/languages0.dat");

    blockDirectory("Data/Voice");
    window->dialogs().answerMessageBox(platform::MessageResult::Ok);
    newLanguage(L"Russian");
    pressButton(L"Save");
    EXPECT_EQ(window->dialogs().messageBoxes().size(), 1u);
    EXPECT_EQ(window->dialogs().messageBoxes().back().text, curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(curState->condition, 16) << "the page stays as the user left it";

    window->dialogs().answerMessageBox(platform::MessageResult::Ok);
    editLanguage(L"German");
    typeInto(first<GuiTextfield>(), L"Deutsch");
    chooseVoice(L"English (Great Britain)");
    pressButton(L"Save");
    EXPECT_EQ(window->dialogs().messageBoxes().size(), 2u);
    unblockDirectory("Data/Voice");

    reloadDatabase();
    EXPECT_EQ(readFile("Data/Language/languages0.dat"), languages);
    EXPECT_EQ(idNamed(L"Russian"), 0u);
    EXPECT_EQ(idNamed(L"Deutsch"), 0u);
    EXPECT_EQ(LanguageVoice::voiceOf(german), "gmw/de");
    EXPECT_EQ(LanguageVoice::elementTree().size(), 1u);
}

TEST_F(LanguageVoiceEditorTest, DeletingALanguageInTheEditorDeletesItsVoice) {
    const unsigned german = modeltest::addLanguage(L"German");
    const unsigned french = modeltest::addLanguage(L"French");
    LanguageVoice::assign(german, "gmw/de");
    LanguageVoice::assign(french, "roa/fr");
    saveAll();
    show(createLanguageState());
    ASSERT_TRUE(clickCaption(L"German"));
    window->dialogs().answerMessageBox(platform::MessageResult::Yes);
    pressButton(L"Delete Language");
    reloadDatabase();
    EXPECT_EQ(LanguageVoice::voiceOf(german), "");
    EXPECT_EQ(LanguageVoice::voiceOf(french), "roa/fr");
    EXPECT_EQ(LanguageVoice::elementTree().size(), 1u);
}

// --- the word editor ------------------------------------------------------------------------------

class WordSpeechTest : public WordEditorTest {
protected:
    void SetUp() override {
        WordEditorTest::SetUp();
        LanguageVoice::assign(german, "gmw/de");
        saveEverything();
        Speaker::instance().useAudioDevice(speechtest::recordingInto(recording));
    }
    void TearDown() override {
        Speaker::instance().shutdown();
        WordEditorTest::TearDown();
    }
    // The speech threads have done what was asked, and the window has run what they handed it.
    void settleSpeech() {
        Speaker::instance().waitUntilQuiet();
        wake();
        paint();
    }
    void newGermanWord(const wchar_t* text) {
        openEditor();
        pressButton(L"New Word");
        typeAt(WORD_X, WORD_Y, text);
    }
    std::size_t heard() { return recording->sampleCount(); }

    std::shared_ptr<Recording> recording = std::make_shared<Recording>();
};

TEST_F(WordSpeechTest, TheSpeakerSpeaksTheWordWithItsArticleOnlyForALanguageWithAVoice) {
    newGermanWord(L"Hund");
    chooseAt(ARTICLE_X, ARTICLE_Y, L"der");
    ASSERT_TRUE(captionShown(buttonCaptions(), L"Speak"));
    screenshot("word-speech");
    pressButton(L"Speak");
    settleSpeech();
    const std::size_t derHund = samplesOf("gmw/de", L"der Hund");
    EXPECT_TRUE(near(heard(), derHund)) << heard() << " samples heard, " << derHund << " expected";
    EXPECT_GT(derHund, samplesOf("gmw/de", L"Hund"));

    // F5 does the same.
    key(platform::key::F1 + 4);
    settleSpeech();
    EXPECT_TRUE(near(heard(), 2 * derHund));

    // English has no voice: no button, and F5 does nothing.
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"English");
    EXPECT_FALSE(captionShown(buttonCaptions(), L"Speak"));
    const std::size_t before = heard();
    key(platform::key::F1 + 4);
    settleSpeech();
    EXPECT_EQ(heard(), before);
    EXPECT_TRUE(window->dialogs().messageBoxes().empty());
}

TEST_F(WordSpeechTest, SuggestFillsAnEmptyPronunciationAndAsksBeforeReplacingOne) {
    newGermanWord(L"Haus");
    pressButton(L"Suggest");
    settleSpeech();
    const std::wstring ipa = textAt(PRONUNCIATION_X, PRONUNCIATION_Y);
    EXPECT_EQ(ipa, ipaOf("gmw/de", L"Haus"));
    EXPECT_NE(ipa.find(L"aʊ"), std::wstring::npos);
    EXPECT_TRUE(window->dialogs().messageBoxes().empty());

    typeAt(PRONUNCIATION_X, PRONUNCIATION_Y, L"haus");
    answerNextBox(platform::MessageResult::No);
    pressButton(L"Suggest");
    settleSpeech();
    EXPECT_EQ(boxCount(), 1u);
    EXPECT_NE(lastBoxText().find(L"haus"), std::wstring::npos) << "the box shows what would be replaced";
    EXPECT_EQ(textAt(PRONUNCIATION_X, PRONUNCIATION_Y), L"haus");
    answerNextBox(platform::MessageResult::Yes);
    pressButton(L"Suggest");
    settleSpeech();
    EXPECT_EQ(textAt(PRONUNCIATION_X, PRONUNCIATION_Y), ipa);

    // What was suggested is stored like anything typed.
    pressButton(L"Save");
    reloadDatabase();
    EXPECT_EQ(std::wstring(storedWord(german, L"Haus")->get_ipaPronounciation()), ipa);
}

TEST_F(WordSpeechTest, ASuggestionNeedsAVoiceAndComesOnlyToThePageThatAskedForIt) {
    openEditor();
    pressButton(L"New Word");
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"English");
    typeAt(WORD_X, WORD_Y, L"house");
    answerNextBox(platform::MessageResult::Ok);
    pressButton(L"Suggest");
    EXPECT_EQ(lastBoxText(), interfaceText2(String2_NO_PRONUNCIATION));

    // Closed before the answer came: the next word's page does not get it.
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"Deutsch");
    typeAt(WORD_X, WORD_Y, L"Haus");
    pressButton(L"Suggest");
    pressButton(L"Close");
    pressButton(L"New Word");
    settleSpeech();
    EXPECT_EQ(textAt(PRONUNCIATION_X, PRONUNCIATION_Y), curStrings[String_PRONUNCIATION]);
}

TEST_F(WordSpeechTest, WithoutASoundDeviceTheStatusSaysSoAndTheButtonStaysUsable) {
    Speaker::instance().useAudioDevice(speechtest::noSoundDevice());
    newGermanWord(L"Hund");
    for (int press = 0; press < 3; ++press) {
        pressButton(L"Speak");
        settleSpeech();
        repaintAll();
        EXPECT_TRUE(painted(interfaceText2(String2_NO_SOUND_DEVICE))) << press;
    }
    snapshot("word-speech-no-device");
    EXPECT_TRUE(window->dialogs().messageBoxes().empty());
    // A device that works again clears the status.
    Speaker::instance().useAudioDevice(speechtest::recordingInto(recording));
    pressButton(L"Speak");
    settleSpeech();
    repaintAll();
    EXPECT_FALSE(painted(interfaceText2(String2_NO_SOUND_DEVICE)));
    EXPECT_GT(heard(), 0u);
}

TEST_F(WordSpeechTest, PressingTheSpeakerDuringALongSynthesisNeverHoldsUpTheWindow) {
    // A device as slow as a real one: the long text keeps playback busy for many seconds.
    Speaker::instance().useAudioDevice(speechtest::recordingInto(recording, 1));
    newGermanWord(L"Eichhörnchen");
    std::wstring longText;
    while (longText.size() < 1000) {
        longText += L"Das Eichhörnchen sitzt auf dem alten Baum. ";
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration longest{};
    for (int round = 0; round < 5; ++round) {
        Speaker::instance().speak("gmw/de", longText);  // synthesis and playback busy
        const Clock::time_point start = Clock::now();
        pressButton(L"Speak");
        repaintAll();
        longest = std::max(longest, Clock::now() - start);
    }
    EXPECT_LT(longest, std::chrono::milliseconds(50));
    Speaker::instance().stop();
    settleSpeech();
}

// --- the flashcard editor -------------------------------------------------------------------------

class FlashcardSpeechTest : public FlashcardEditorTest {
protected:
    void TearDown() override {
        Speaker::instance().shutdown();
        FlashcardEditorTest::TearDown();
    }
};

TEST_F(FlashcardSpeechTest, TheSpeakerIsThereOnlyForAForeignLanguageWithAVoice) {
    LanguageVoice::assign(german, "gmw/de");
    saveEverything();
    auto recording = std::make_shared<Recording>();
    Speaker::instance().useAudioDevice(speechtest::recordingInto(recording));
    openNewCard();
    choose("FOREIGN_LANGUAGE", L"German");
    ASSERT_TRUE(captionShown(buttonCaptions(), L"Speak"));
    typeInto("WORD_FIELD", L"Katze");
    choose("ARTICLE_FIELD", L"die");
    snapshot("flashcard-speech");
    pressButton(L"Speak");
    Speaker::instance().waitUntilQuiet();
    EXPECT_TRUE(near(recording->sampleCount(), samplesOf("gmw/de", L"die Katze")));

    choose("FOREIGN_LANGUAGE", L"English");
    EXPECT_EQ(shown("FOREIGN_LANGUAGE"), L"English");
    EXPECT_FALSE(captionShown(buttonCaptions(), L"Speak"));
}

}  // namespace
}  // namespace screens::test
