// The word editor's speech: the speaker button beside the word (the word with its article, in the
// voice of the chosen language) and "Suggest", which fills the pronunciation with the word's IPA.
//
// The IPA is worked out on the speech thread; it comes back through the window's thread and is
// taken only while the same suggestion is still wanted on the same word page. An empty field (or
// one showing its placeholder) takes it at once; a field with text asks first.

#include <string>

#include "base/Utf8.h"
#include "base/WindowThreadTasks.h"
#include "gui/GuiButton.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/InterfaceText.h"
#include "model/LanguageVoice.h"
#include "platform/Platform.h"
#include "resources/SecondStrings.h"
#include "screens/WordScreen.h"
#include "speech/Speaker.h"
#include "states/SpeechControl.h"

namespace {

// The suggestion the word page waits for (0: none); numbers are never reused in a run, so an
// answer meant for an earlier page, word or language is recognised as such.
unsigned long long latestSuggestion = 0;
unsigned long long wantedSuggestion = 0;

SpokenWord typedWord() {
    const GuiSelectionfield& article = *wordScreen.selectionArticle;
    const std::wstring articleText = article.getActiveId() != 0 ? article.getActiveEntry() : L"";
    return {chosenLanguageId(), withArticle(articleText, wordScreen.textfieldWord->visibleText())};
}

constexpr SpeakerSource wordSpeaker{typedWord};

void tell(const wchar_t* text, platform::MessageIcon icon) {
    platform::current().messageBox(text, interfaceText(String_INFORMATION), icon, platform::MessageButtons::Ok);
}

bool showsNothing(const GuiTextfield& field) {
    const std::wstring text = field.visibleText();
    return text.empty() || text == interfaceText(String_PRONUNCIATION);
}

void suggestionArrived(unsigned long long suggestion, speech::Outcome outcome, const std::wstring& ipa) {
    if (suggestion != wantedSuggestion || wordScreen.state == nullptr || wordScreen.state != curState ||
        curState->condition != WORD_PAGE) {
        return;  // the user has moved on
    }
    wantedSuggestion = 0;
    if (outcome == speech::Outcome::UnknownVoice) {
        tell(interfaceText2(String2_VOICE_NOT_INSTALLED), platform::MessageIcon::Warning);
        return;
    }
    if (outcome != speech::Outcome::Done || ipa.empty()) {
        return;
    }
    GuiTextfield& field = *wordScreen.textfieldPronunciation;
    if (!showsNothing(field)) {
        const std::wstring question = std::wstring(interfaceText2(String2_REPLACE_PRONUNCIATION)) + L"\n\n" +
                                      field.visibleText() + L"  \u2192  " + ipa;
        const platform::MessageResult answer = platform::current().messageBox(
            question, interfaceText(String_PRONUNCIATION), platform::MessageIcon::Question,
            platform::MessageButtons::YesNo);
        // The box's loop only paints, so the page is the same after it.
        if (answer != platform::MessageResult::Yes) {
            return;
        }
    }
    field.setText(ipa.c_str());
}

}  // namespace

void addWordSpeaker(State* state, int centerX, int centerY) {
    wordScreen.speaker = addSpeakerButton(state, {centerX, centerY, centerX, centerY + 25}, WORD_PAGE, &wordSpeaker);
}

void showWordSpeaker() {
    // A page opened anew or another language: a suggestion still on its way is for something else.
    wantedSuggestion = 0;
    showSpeakerFor(wordScreen.speaker, chosenLanguageId(), WORD_PAGE);
}

void suggestPronunciation() {
    const std::string voice = LanguageVoice::voiceOf(chosenLanguageId());
    if (voice.empty()) {
        tell(interfaceText2(String2_NO_PRONUNCIATION), platform::MessageIcon::Information);
        return;
    }
    const std::wstring word = wordScreen.textfieldWord->visibleText();
    if (word.empty()) {
        tell(interfaceText(String_ENTER_VALUE), platform::MessageIcon::Information);
        return;
    }
    const unsigned long long suggestion = ++latestSuggestion;
    wantedSuggestion = suggestion;
    speech::Speaker::instance().pronounce(voice, word, [suggestion](speech::Outcome outcome, const std::string& ipa) {
        window_thread::post([suggestion, outcome, wide = utf8::decode(ipa)] { suggestionArrived(suggestion, outcome, wide); });
    });
}
