// The flashcard editor: building the screen, its update table, loading a stored card, the
// buttons that open other editors, and Close. The element table is in screens/stateFlashcard.h.

#include "screens/stateFlashcard.h"

#include <cwctype>
#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiLanguageSwitch.h"
#include "gui/GuiRect.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "gui/guiShiftfield.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/Word.h"
#include "model/ui/SwitchLanguages.h"
#include "screens/EditorFocus.h"
#include "screens/stateFlashcardScreen.h"
#include "screens/stateLesson.h"
#include "screens/stateMeaning.h"
#include "states/UpdateTable.h"

Flashcard* editFlashcard = nullptr;

namespace flashcard_editor {

Screen screen;

Flashcard* editedCard() { return screen.editedCardId == 0 ? nullptr : Flashcard::getById(screen.editedCardId); }

bool isBlank(const std::wstring& text) {
    for (wchar_t c : text) {
        if (!std::iswspace(static_cast<wint_t>(c))) {
            return false;
        }
    }
    return true;
}

void tellUser(framew_strings what, platform::MessageIcon icon) {
    platform::current().messageBox(interfaceText(what), interfaceText(String_INFORMATION), icon,
                                   platform::MessageButtons::Ok);
}

}  // namespace flashcard_editor

namespace {

using namespace flashcard_editor;

constexpr const char* UPDATE_OPENED = "FLASHCARD_OPENED";
constexpr const char* UPDATE_MEANINGS = "MEANINGS_BUTTON";
constexpr const char* UPDATE_NEW_CONNECTION = "NEW_CONNECTION";
constexpr const char* UPDATE_LESSON_BUTTON = "LESSON_BUTTON";
constexpr const char* UPDATE_LANGUAGE_BUTTON = "LANGUAGE_BUTTON";
constexpr const char* UPDATE_CLOSE = "CLOSE_BUTTON";
constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";

constexpr const char* FOREIGN = GuiLanguageSwitch::FOREIGN;
constexpr const char* KNOWN = GuiLanguageSwitch::KNOWN;

// The language switch shows both flags and the keyboard picture.
constexpr char SWITCH_MODE =
    GuiLanguageSwitch::SHOW_KEYBOARD | GuiLanguageSwitch::SHOW_KNOWN_FLAG | GuiLanguageSwitch::SHOW_FOREIGN_FLAG;

const wchar_t* text(framew_strings which) { return interfaceText(which); }

// --- opening ----------------------------------------------------------------------------------

void prepareCard() {
    if (!languagesStored()) {
        nextCondition = FLASHCARD_NO_LANGUAGE_PAGE;
        return;
    }
    changeKnownLanguage();
    changeForeignLanguage();
    setupLevels();
    refreshLessons();
    updateKnown();
}

// Back from the language editor: with a language stored now, the card can be entered.
void languagesReturned() {
    fillLanguageSelections();
    if (languagesStored()) {
        prepareCard();
        nextCondition = FLASHCARD_FIRST_PAGE;
    }
}

// --- other editors ----------------------------------------------------------------------------

// The tags queued here wait until this screen is current again.
void openMeaningEditor(long page) {
    Word* word = activeKnownWord();
    if (word == nullptr) {
        return;
    }
    addUpdate(UPDATE_KNOWN, screen.state);
    addUpdate(UPDATE_CATEGORY, screen.state);
    openMeaningEditorForWord(word, page);
}

void openMeanings() { openMeaningEditor(MEANING_LIST_PAGE); }
void openConnections() { openMeaningEditor(MEANING_CONNECTION_PAGE); }

void openLessonEditor() {
    addUpdate(UPDATE_LESSONS_RETURNED, screen.state);
    switchToState(createLessonState());
}

// --- leaving ----------------------------------------------------------------------------------

void close() {
    removeAllKnown(false, true);
    editFlashcard = nullptr;
    rollbackFlag = true;
}

// The window is going: no box any more, and what cannot be saved now the next start removes.
void forcedExit() {
    removeAllKnown(false, false);
    editFlashcard = nullptr;
    rollbackFlag = true;
}

void forgetScreen() {
    screen = Screen{};
    editFlashcard = nullptr;
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_OPENED, prepareCard},
    {UPDATE_LESSONS_RETURNED, refreshLessons},
    {UPDATE_LANGUAGES_RETURNED, languagesReturned},
    {UPDATE_KNOWN, updateKnown},
    {UPDATE_CATEGORY, updateCategory},
    {UPDATE_EDIT_FLASHCARD, loadEditedCard},
    {UPDATE_MEANINGS, openMeanings},
    {UPDATE_NEW_CONNECTION, openConnections},
    {UPDATE_LESSON_BUTTON, openLessonEditor},
    {UPDATE_LANGUAGE_BUTTON, openLanguageEditor},
    {UPDATE_SAVE_PRESSED, savePressed},
    {UPDATE_SAVE_N_FLUSH, saveAndFlush},
    {UPDATE_CLOSE, close},
    {FORCED_EXIT_TAG, forcedExit},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

// --- building ---------------------------------------------------------------------------------

GuiText* label(framew_strings caption, int centreX, int centreY) {
    return addConditionElementToState(new GuiText(text(caption), centreX, centreY, 90, 30, FONT1, TEXT_CENTRE));
}

// The focusable elements added from here on switch the keyboard to that side's language.
void typedIn(const char* side) {
    setFocusFunc(GuiLanguageSwitch::switchLanguage, screen.languageSwitch, side);
}

GuiSelectionfield* selection(int centreX, int centreY, int width, const char* tag) {
    auto* field = addConditionElementToState(new GuiSelectionfield(centreX, centreY, width, 30));
    if (tag != nullptr) {
        field->setTag(tag);
    }
    return field;
}

GuiTextfield* textfield(int centreX, int centreY, int width, const wchar_t* initial, const char* tag) {
    return addConTagedElTState(new GuiTextfield(centreX, centreY, initial, false, width, 30), tag);
}

void addLanguageSwitch() {
    screen.languageSwitch = addConditionElementToState(new GuiLanguageSwitch(SWITCH_MODE, modelui::switchLanguageOf));
    screen.languageSwitch->setForeignFlagPosition(320, 70, 54, 30);
    screen.languageSwitch->setKnownFlagPosition(670, 70, 54, 30);
}

void addLevelRow() {
    typedIn(KNOWN);
    screen.textLevel = label(String_LEVEL_FLASHCARD, 45, 30);
    screen.selectionLevel = selection(150, 30, 125, nullptr);
    screen.selectionLevelInverted = selection(285, 30, 125, nullptr);
    screen.checkInverted = addConTagedElTState(
        new GuiCheckBox(text(String_USE_INVERTED_FLASHCARD), 525, 30, 345, 30, true, changeCheckInverted),
        TAG_FLASHCARD_INVERTED);
}

void addLanguageRow() {
    typedIn(FOREIGN);
    label(String_FOREIGN, 45, 70);
    screen.selectionForeignLanguage = selection(185, 70, 190, TAG_FLASHCARD_FOREIGN_LANGUAGE);
    screen.textForeignLanguage = addConditionElementToState(new GuiText(L"", 185, 70, 190, 30, FONT1, TEXT_CENTRE));
    screen.textForeignLanguage->setConditions(HIDDEN);
    typedIn(KNOWN);
    label(String_KNOWN, 395, 70);
    screen.selectionKnownLanguage = selection(535, 70, 190, TAG_FLASHCARD_KNOWN_LANGUAGE);
    screen.selectionKnownLanguage->setConditions(FLASHCARD_FIRST_PAGE);
    screen.textKnownLanguage = addConditionElementToState(new GuiText(L"", 535, 70, 190, 30, FONT1, TEXT_CENTRE));
    screen.textKnownLanguage->setConditions(FLASHCARD_KNOWN_PAGE);
    // Filled before their functions are set: the first update chooses the languages.
    fillLanguageSelections();
    screen.selectionForeignLanguage->setSpecFunc(changeForeignLanguage);
    screen.selectionKnownLanguage->setSpecFunc(changeKnownLanguage);
}

// The foreign word as typed, with its article.
SpokenWord typedForeignWord() {
    const GuiSelectionfield& article = *screen.selectionArticle;
    const std::wstring articleText = article.getActiveId() != 0 ? article.getActiveEntry() : L"";
    return {screen.foreignLanguageId, withArticle(articleText, screen.textfieldWord->visibleText())};
}

constexpr SpeakerSource foreignWordSpeaker{typedForeignWord};

void addWordRows() {
    typedIn(FOREIGN);
    screen.textfieldWord = textfield(178, 110, 340, L"", TAG_FLASHCARD_WORD);
    addConditionElementToState(new GuiRect(colours[ALT_BG_RGB], 710, 0, 300, 400, PEN_NULL));
    addConditionElementToState(new GuiRect(colours[ALT_BG_RGB], 355, 150, 360, 250, PEN_NULL));
    addConditionElementToState(new GuiRect(colours[ALT_BG_RGB], 635, 90, 90, 40, PEN_NULL));
    typedIn(KNOWN);
    screen.textfieldKnown = textfield(500, 110, 260, L"", TAG_FLASHCARD_KNOWN);
    addConditionElementToState(new GuiButton(BUTTON4, 670, 110, L"»", addWordToListButton));
    screen.textfieldPronunciation = textfield(178, 150, 340, text(String_PRONUNCIATION), TAG_FLASHCARD_PRONUNCIATION);
    label(String_LESSON, 45, 190);
    screen.selectionLesson = selection(150, 190, 120, TAG_FLASHCARD_LESSON);
    addConditionElementToState(new GuiButton(BUTTON3, 285, 190, text(String_LESSONS), UPDATE_LESSON_BUTTON));
    screen.toggleVerb = addConditionElementToState(
        new GuiToggle(text(String_IRREGULAR_VERB), L"", true, 175, 230, 340, 30, nullptr));
    screen.selectionVerbPattern = selection(283, 230, 130, TAG_FLASHCARD_PATTERN);
    label(String_ARTICLE, 45, 270);
    screen.selectionArticle = selection(219, 270, 258, TAG_FLASHCARD_ARTICLE);
    label(String_CATEGORIES, 45, 310);
    addConditionElementToState(new GuiRect(colours[WHITE_RGB], 90, 295, 258, 30, PEN_SOLID));
    screen.textCategory = addConTagedElTState(
        new GuiText(text(String_AUTOMATED), 219, 310, 258, 30, FONT1, TEXT_CENTRE), TAG_FLASHCARD_CATEGORY);
    label(String_MNEMONIC, 50, 340);
    screen.textfieldHint = textfield(178, 370, 340, text(String_HINT), TAG_FLASHCARD_HINT);
    addConditionElementToState(new GuiButton(BUTTON3, 70, 430, text(String_ADD_PICTURE), addHintPictureButton));
    screen.textHintPicturePath =
        addConTagedElTState(new GuiText("", 70, 460, 125, 30, FONT1, TEXT_CENTRE), TAG_HINT_PICT_PATH);
    screen.speaker = addSpeakerButton(getConditionalState(), {430, 440, 430, 467}, CARD_PAGES, &foreignWordSpeaker);
}

void addKnownPanel(State* state) {
    screen.itemfieldKnown =
        addConTagedElTState(new GuiItemfield(720, 10, 270, 195), TAG_FLASHCARD_KNOWN_WORDS);
    screen.itemfieldKnown->setSpecFunc(knownItemlistChange);
    setConditional(state, FLASHCARD_KNOWN_PAGE);
    addConditionElementToState(new GuiButton(BUTTON4, 670, 190, text(String_REMOVE), removeKnown));
    addConditionElementToState(new GuiButton(BUTTON3, 432, 190, text(String_MEANINGS), UPDATE_MEANINGS));
    addConditionElementToState(new GuiButton(BUTTON3, 567, 190, text(String_NEW_CONNECTION), UPDATE_NEW_CONNECTION));
    createGuiShiftfield(TAG_FLASHCARD_USE, TAG_FLASHCARD_DONT_USE, text(String_USE), text(String_DONT_USE), 675, 300,
                        620, 170, &screen.itemfieldUse, &screen.itemfieldDontUse);
    screen.itemfieldUse->setShiftFunc(swapMeaningUse);
    const wchar_t* saveCaption = screen.openedForCard ? text(String_SAVE) : text(String_SAVE_N_NEXT);
    screen.saveButton = addConditionElementToState(new GuiButton(BUTTON3, 925, 460, saveCaption, UPDATE_SAVE_PRESSED));
    setConditional(state, CARD_PAGES | FLASHCARD_NO_LANGUAGE_PAGE);
    addConditionElementToState(new GuiButton(BUTTON3, 775, 460, text(String_CLOSE), UPDATE_CLOSE));
}

void addVerbPage(State* state) {
    setConditional(state, FLASHCARD_VERB_PAGE);
    screen.titleVerb = addConditionElementToState(new GuiText(L"", 333, 40, 666, 70, FONT1, TEXT_CENTRE));
    addConditionElementToState(new GuiButton(BUTTON2, 700, 40, text(String_BACK), FLASHCARD_KNOWN_PAGE));
    addConditionElementToState(new GuiButton(BUTTON2, 800, 40, text(String_SAVE), UPDATE_SAVE_N_FLUSH));
    addConditionElementToState(new GuiButton(BUTTON2, 900, 40, text(String_CLOSE), UPDATE_CLOSE));
}

// Shown instead of the card pages while no language is stored: what is missing, and the way to
// the language editor.
void addNoLanguagePage(State* state) {
    setConditional(state, FLASHCARD_NO_LANGUAGE_PAGE);
    addConditionElementToState(new GuiText(text(String_ADD_LANG), 500, 150, 666, 70, FONT1, TEXT_CENTRE));
    addConditionElementToState(new GuiButton(BUTTON1, 500, 250, text(String_LANGUAGES), UPDATE_LANGUAGE_BUTTON));
}

}  // namespace

State* createFlashcardState() {
    screen = Screen{};
    screen.editedCardId = editFlashcard != nullptr ? editFlashcard->getId() : 0;
    screen.openedForCard = editFlashcard != nullptr;
    State* state = createEmptyState(text(String_FEED));
    screen.state = state;
    // First, so that its button holds the focus while no language is stored.
    addNoLanguagePage(state);
    setConditional(state, CARD_PAGES);
    addLanguageSwitch();
    addLevelRow();
    addLanguageRow();
    addWordRows();
    addKnownPanel(state);
    unsetFocusFuncs();
    addVerbPage(state);
    state->traceback = TRACEBACK_NO_LINE;
    state->condition = languagesStored() ? FLASHCARD_FIRST_PAGE : FLASHCARD_NO_LANGUAGE_PAGE;
    state->updateFunc = update;
    state->terminateFunc = forgetScreen;
    addUpdate(UPDATE_OPENED, state);
    return state;
}
