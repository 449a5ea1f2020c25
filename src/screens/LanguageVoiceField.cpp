#include "screens/LanguageVoiceField.h"

#include <optional>
#include <vector>

#include "base/Utf8.h"
#include "gui/GuiButton.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/SearchList.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Language.h"
#include "model/LanguageVoice.h"
#include "resources/SecondStrings.h"
#include "speech/Speaker.h"
#include "speech/VoiceChoice.h"

namespace {

// The newest language editor's voice: entry i of the list stands for the identifier ids[i] and
// reads names[i]; entry 0 is "none" (the empty identifier).
struct VoiceField {
    GuiButton* button = nullptr;
    GuiSearchItemfield* list = nullptr;
    GuiTextfield* nameField = nullptr;
    std::vector<speech::Voice> voices;
    std::vector<std::string> ids;
    std::vector<std::wstring> names;
    std::size_t chosen = 0;
    bool touched = false;  // the user chose an entry
    bool newLanguage = false;
};

VoiceField voiceField;

void fillList() {
    SearchList entries;
    for (std::size_t i = 0; i < voiceField.names.size(); ++i) {
        entries.append(voiceField.names[i], static_cast<unsigned>(i));
    }
    voiceField.list->setEntries(std::move(entries));
}

void resetEntries() {
    voiceField.ids = {std::string()};
    voiceField.names = {interfaceText2(String2_NO_VOICE)};
    for (const speech::Voice& voice : voiceField.voices) {
        voiceField.ids.push_back(voice.identifier);
        voiceField.names.push_back(utf8::decode(voice.name));
    }
}

void show(const std::string& identifier) {
    std::size_t entry = 0;
    for (std::size_t i = 1; i < voiceField.ids.size(); ++i) {
        if (voiceField.ids[i] == identifier) {
            entry = i;
        }
    }
    if (entry == 0 && !identifier.empty()) {
        // Stored, but not installed (any more): listed by its identifier so that a save keeps it.
        entry = voiceField.ids.size();
        voiceField.ids.push_back(identifier);
        voiceField.names.push_back(utf8::decode(identifier));
    }
    voiceField.chosen = entry;
    voiceField.button->setText(voiceField.names[entry].c_str());
}

std::string voiceNamedBy(const std::wstring& languageName) {
    const std::optional<std::size_t> position = speech::voiceForLanguageName(voiceField.voices, languageName);
    return position ? voiceField.voices[*position].identifier : std::string();
}

void showAnew(const std::string& identifier, bool newLanguage) {
    resetEntries();
    voiceField.touched = false;
    voiceField.newLanguage = newLanguage;
    show(identifier);
    fillList();
}

// The voice page: by now the name is typed.
void openVoicePage() {
    if (voiceField.newLanguage && !voiceField.touched) {
        show(voiceNamedBy(voiceField.nameField->visibleText()));
    }
    nextCondition = VOICE_PAGE;
}

void voicePicked() {
    const std::optional<std::size_t> entry = voiceField.list->activeIndex();
    const unsigned id = entry ? voiceField.list->fullList().id(*entry) : 0;
    if (!entry || id >= voiceField.ids.size()) {
        return;
    }
    voiceField.touched = true;
    show(voiceField.ids[id]);
}

}  // namespace

void addVoiceField(GuiTextfield* nameField) {
    voiceField = VoiceField{};
    voiceField.nameField = nameField;
    voiceField.voices = speech::Speaker::instance().voices();
    addConditionElementToState(new GuiText(interfaceText2(String2_VOICE), 425, 52, 70, 30, FONT1, TEXT_CENTRE));
    voiceField.button =
        addConTagedElTState(new GuiButton(BUTTON3, 527, 52, L"", openVoicePage), TAG_BUTTON_VOICE);
}

void addVoicePage(State* state) {
    const long editPages = getConditional();
    setConditional(state, VOICE_PAGE);
    voiceField.list = addConTagedElTState(new GuiSearchItemfield(634, 20, 333, 460), TAG_ITEMLIST_VOICES);
    voiceField.list->setSpecFunc(voicePicked);
    setConditional(state, editPages);
    showAnew(std::string(), true);
}

void showVoiceOfNewLanguage() { showAnew(std::string(), true); }

void showVoiceOf(const Language& language) {
    const std::string stored = LanguageVoice::voiceOf(language.getId());
    showAnew(stored.empty() ? voiceNamedBy(language.get_name()) : stored, false);
}

void storeVoice(unsigned languageId, const std::wstring& name) {
    if (voiceField.newLanguage && !voiceField.touched) {
        show(voiceNamedBy(name));
    }
    LanguageVoice::assign(languageId, voiceField.ids[voiceField.chosen]);
}
