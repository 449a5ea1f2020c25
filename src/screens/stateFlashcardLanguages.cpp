// The flashcard editor's two languages: the selections, the flags and keyboard picture of the
// language switch, the writing direction of the fields, the keyboard layout typed in, and the way
// to the language editor while no language is stored.

#include <cstring>

#include "gui/GuiLanguageSwitch.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Grammar.h"
#include "model/Language.h"
#include "model/VerbPattern.h"
#include "screens/stateFlashcardScreen.h"
#include "screens/stateLanguage.h"
#include "shell/framework.h"

namespace flashcard_editor {

namespace {

const Language* languageOf(const GuiSelectionfield* field) {
    return field == nullptr ? nullptr : Language::getById(field->getActiveId());
}

bool rightToLeft(const Language* language) { return language != nullptr && language->get_rightToLeft(); }

// The user's own language: the last one typed in the layout that was active when the program
// started; the first when there is none.
int ownLanguagePosition(const GuiSelectionfield& field) {
    const GuiItemfield& items = field.getItemfield();
    int own = 0;
    for (int position = 0; position < items.getNumberOfCurrentElements(); ++position) {
        const Language* language = Language::getById(items.getEntryId(position));
        if (language != nullptr && std::strcmp(language->get_keyboardLocalID(), preApplicationKeyboard) == 0) {
            own = position;
        }
    }
    return own;
}

void refill(GuiSelectionfield& field) {
    field.clearField();
    Language::prepareSelection(&field);
}

// The side's layout and keyboard picture again, also when that side was the active one: the
// layout may have been changed meanwhile (a field of the other side, another screen).
void reactivate(const char* side) {
    screen.languageSwitch->switchLanguage("");
    screen.languageSwitch->switchLanguage(side);
}

}  // namespace

bool languagesStored() { return Language::begin() != Language::end(); }

const wchar_t* languageName(unsigned languageId) {
    const Language* language = Language::getById(languageId);
    return language == nullptr ? L"" : language->get_name();
}

void fillLanguageSelections() {
    refill(*screen.selectionForeignLanguage);
    refill(*screen.selectionKnownLanguage);
    screen.selectionKnownLanguage->setActivePosition(ownLanguagePosition(*screen.selectionKnownLanguage));
}

// Articles and patterns belong to the foreign language: their selections start again at "n/a".
void changeForeignLanguage() {
    if (screen.textfieldWord == nullptr || screen.selectionArticle == nullptr) {
        return;  // still being built
    }
    const Language* language = languageOf(screen.selectionForeignLanguage);
    screen.foreignLanguageId = language == nullptr ? 0 : language->getId();
    screen.languageSwitch->setForeign(screen.foreignLanguageId);
    Grammar::prepareSelection<Article>(screen.foreignLanguageId, screen.selectionArticle);
    VerbPattern::prepareSelection(screen.foreignLanguageId, screen.selectionVerbPattern);
    screen.textfieldWord->changeDirection(rightToLeft(language));
    showSpeakerFor(screen.speaker, screen.foreignLanguageId, CARD_PAGES);
    reactivate(GuiLanguageSwitch::FOREIGN);
}

void changeKnownLanguage() {
    if (screen.textfieldHint == nullptr) {
        return;  // still being built
    }
    const Language* language = languageOf(screen.selectionKnownLanguage);
    screen.knownLanguageId = language == nullptr ? 0 : language->getId();
    screen.languageSwitch->setKnown(screen.knownLanguageId);
    for (GuiTextfield* field : {screen.textfieldKnown, screen.textfieldPronunciation, screen.textfieldHint}) {
        field->changeDirection(rightToLeft(language));
    }
    reactivate(GuiLanguageSwitch::KNOWN);
}

void activateLanguage(const char* side) {
    if (screen.languageSwitch != nullptr) {
        screen.languageSwitch->switchLanguage(side);
    }
}

// The tag queued here waits until this screen is current again.
void openLanguageEditor() {
    addUpdate(UPDATE_LANGUAGES_RETURNED, screen.state);
    switchToState(createLanguageState());
}

}  // namespace flashcard_editor
