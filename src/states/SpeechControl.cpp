#include "states/SpeechControl.h"

#include <atomic>

#include "base/WindowThreadTasks.h"
#include "gui/GuiButton.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/LanguageVoice.h"
#include "platform/KeyCodes.h"
#include "resources/SecondStrings.h"
#include "speech/Speaker.h"

namespace {

constexpr unsigned SPEAK_KEY = platform::key::F1 + 4;  // F5
constexpr int STATUS_WIDTH = 180;
constexpr int STATUS_HEIGHT = 20;

// Whether the last report said that there is no sound device; read on the window's thread only.
bool noSoundDevice = false;

const wchar_t* reportText(speech::Report report) {
    switch (report) {
    case speech::Report::NoSoundDevice:
        return interfaceText2(String2_NO_SOUND_DEVICE);
    case speech::Report::VoiceNotInstalled:
        return interfaceText2(String2_VOICE_NOT_INSTALLED);
    case speech::Report::Unavailable:
        return interfaceText2(String2_SPEECH_NOT_INSTALLED);
    case speech::Report::SoundWorks:
        break;
    }
    return L"";
}

void showStatus(const wchar_t* text) {
    GuiText* status = curState == nullptr ? nullptr : getElementByTag<GuiText>(TAG_SPEECH_STATUS, curState);
    if (status != nullptr) {
        status->setText(text);
    }
}

// On the window's thread.
void showReport(speech::Report report) {
    if (report == speech::Report::NoSoundDevice || report == speech::Report::SoundWorks) {
        noSoundDevice = report == speech::Report::NoSoundDevice;
    }
    showStatus(reportText(report));
}

void listenToSpeech() {
    static std::atomic<bool> listening{false};
    if (!listening.exchange(true)) {
        speech::Speaker::instance().setListener([](speech::Report report) {
            window_thread::post([report] { showReport(report); });
        });
    }
}

void pressSpeaker(const void* source) {
    speakWord(static_cast<const SpeakerSource*>(source)->word());
}

// F5 presses the speaker button where it is shown.
bool speakerKey(unsigned key) {
    if (key != SPEAK_KEY || curState == nullptr) {
        return false;
    }
    GuiButton* button = getElementByTag<GuiButton>(TAG_SPEAKER_BUTTON, curState);
    if (button == nullptr || !curState->takesPart(*button)) {
        return false;
    }
    button->unicode(L'\r');
    return true;
}

}  // namespace

SpeakerControls addSpeakerButton(State* state, const SpeakerPlace& place, long pages, const SpeakerSource* source) {
    listenToSpeech();
    SpeakerControls controls;
    controls.button = addElementToState(state, new GuiButton(BUTTON3, place.buttonX, place.buttonY,
                                                             interfaceText2(String2_SPEAK), pressSpeaker, source));
    controls.button->setConditions(pages);
    controls.button->setTag(TAG_SPEAKER_BUTTON);
    controls.status = addElementToState(
        state, new GuiText(L"", place.statusX, place.statusY, STATUS_WIDTH, STATUS_HEIGHT, FONT1, TEXT_CENTRE));
    controls.status->setConditions(pages);
    controls.status->setTag(TAG_SPEECH_STATUS);
    state->keyFunc = speakerKey;
    return controls;
}

void showSpeakerFor(const SpeakerControls& controls, unsigned languageId, long pages) {
    if (controls.button == nullptr) {
        return;  // the screen is still being built
    }
    const long shown = languageSpeaks(languageId) ? pages : 0;
    controls.button->setConditions(shown);
    controls.status->resetConditions(shown);
}

bool languageSpeaks(unsigned languageId) { return !LanguageVoice::voiceOf(languageId).empty(); }

void speakWord(const SpokenWord& word) {
    const std::string voice = LanguageVoice::voiceOf(word.languageId);
    if (voice.empty() || word.text.empty()) {
        return;
    }
    listenToSpeech();
    // A missing device was reported once; a screen shown since then says it again on a press.
    showStatus(noSoundDevice ? interfaceText2(String2_NO_SOUND_DEVICE) : L"");
    speech::Speaker::instance().speak(voice, word.text);
}

std::wstring withArticle(std::wstring_view article, std::wstring_view word) {
    if (article.empty()) {
        return std::wstring(word);
    }
    const wchar_t last = article.back();
    const bool elided = last == L'\'' || last == L'\u2019';
    return std::wstring(article) + (elided ? L"" : L" ") + std::wstring(word);
}
