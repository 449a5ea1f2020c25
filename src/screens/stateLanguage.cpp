// The language editor. Page 1 is the list screen (states/ListState.h): "Languages", New / Edit /
// Delete Language and the list of languages by name. The edit pages 16 (articles), 32 (persons)
// and 64 (tenses) share the elements below, added in this order (also the Tab order); each
// grammar panel is laid out in screens/GrammarPanel.h:
//
//   element           caption / tag                      where                        action
//   title             "TITLE"                            centre (333, 40), 666 x 70
//   name field        the language's name                centre (200, 120), 333 x 62
//   flag button       "Flag image"                       centre (200, 190)            choose a picture
//   flag path         "TEXT_FLAG_PATH"                   centre (200, 240), 333 x 50
//   keyboard button   "Keyboard image"                   centre (200, 300)            choose a picture
//   keyboard path     "TEXT_KEYBRD_PATH"                 centre (200, 350), 333 x 50
//   direction toggle  "Left to right" / "Right to left"  centre (200, 390), 333 x 50  grammar fields
//   assign button     "Assign current keyboard"          centre (200, 450)            bind the layout
//   panel background  GuiRect BT_RGB, no outline         top-left (600, 0), 410 x 510
//   article panel     "Article"                          tab at offset 0              page 16
//   person panel      "Persons"                          tab at offset 100            page 32
//   tense panel       "Tenses"                           tab at offset 200            page 64
//   cancel button     "Cancel"                           centre (450, 450)            back to the list
//   save button       "Save"                             centre (550, 450)            store, then list
//   flag picture      "FLAG_FLAG"                        centre (400, 190), 60 x 40   (once chosen)
//   keyboard picture  "KEYBRD_KEYBRD"                    centre (400, 300), 60 x 40   (once chosen)
//
// Nothing reaches the database before Save. A save that fails keeps the page as the user left
// it, so it can be retried: a new language that could not be stored is taken out of memory again,
// an edited one keeps its changes in memory and its lists carry the ids of the records written.

#include "screens/stateLanguage.h"

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "gui/GuiButton.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiRect.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/DataPaths.h"
#include "model/Grammar.h"
#include "model/InterfaceText.h"
#include "model/Language.h"
#include "model/ui/LanguageRecords.h"
#include "platform/Platform.h"
#include "screens/GrammarPanel.h"
#include "screens/GrammarRefill.h"
#include "screens/LanguagePictures.h"
#include "shell/framework.h"
#include "states/ListState.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

namespace {

constexpr long ARTICLE_PAGE = 16;
constexpr long PERSON_PAGE = 32;
constexpr long TENSE_PAGE = 64;
constexpr long EDIT_PAGES = ALL_GRAMMAR_PAGES;

constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";
constexpr const char* UPDATE_CANCEL_PRESSED = "CANCEL_PRESSED";
constexpr const char* UPDATE_FLAG_PRESSED = "FLAG_PRESSED";
constexpr const char* UPDATE_KEYBRD_PRESSED = "KEYBRD_PRESSED";
constexpr const char* UPDATE_KEYBRD_ASSIGN_PRESSED = "KEYBRD_ASSIGN_PRESSED";

enum GrammarKind { ARTICLES, PERSONS, TENSES, GRAMMAR_KINDS };

constexpr GrammarPanel panels[GRAMMAR_KINDS] = {
    {"TEXTFIELD_ARTICLE", "ITEMLIST_ARTICLES", ARTICLE_PAGE, String_ARTICLE, 0},
    {"TEXTFIELD_PERSON", "ITEMLIST_PERSONS", PERSON_PAGE, String_PERSONS, 100},
    {"TEXTFIELD_TENSE", "ITEMLIST_TENSES", TENSE_PAGE, String_TENSES, 200},
};

constexpr LanguagePictureSlot flagSlot{"TEXT_FLAG_PATH", "FLAG_FLAG", FLAG_IMAGE_DIR, 190, EDIT_PAGES};
constexpr LanguagePictureSlot keyboardSlot{"TEXT_KEYBRD_PATH", "KEYBRD_KEYBRD", KEYBOARD_IMAGE_DIR, 300, EDIT_PAGES};

constexpr int WIDE = 333;
constexpr int FIELD_HEIGHT = 62;
constexpr int PATH_HEIGHT = 50;

// The screen's elements (owned by its State) and what is being edited, for the newest screen of
// this editor.
struct LanguageScreen {
    State* state = nullptr;
    unsigned editLanguageId = 0;  // 0 while a new language is being entered
    char keyboardLocalID[Language::KEYBOARD_ID_SIZE] = {};
    GuiItemfield* itemfield = nullptr;
    GuiText* title = nullptr;
    GuiTextfield* fieldLang = nullptr;
    GuiToggle* toggle = nullptr;
    GuiTextfield* fields[GRAMMAR_KINDS] = {};
    GuiItemfield* lists[GRAMMAR_KINDS] = {};
};

LanguageScreen screen;

const wchar_t* text(framew_strings which) { return interfaceText(which); }

void directionToggle(bool rightToLeft) {
    for (GuiTextfield* field : screen.fields) {
        field->changeDirection(rightToLeft);
    }
}

void setGrammarLayouts(const char* layout) {
    for (GuiTextfield* field : screen.fields) {
        field->setKeybrdLayout(layout);
    }
}

void showDirection(bool rightToLeft) {
    screen.toggle->setRightOn(rightToLeft);
    directionToggle(rightToLeft);
}

void warnSaveFailed() {
    platform::current().messageBox(text(String_ERROR_SAVE_DB), text(String_INFORMATION), platform::MessageIcon::Error,
                                   platform::MessageButtons::Ok);
}

// --- list page ---

void fillList() {
    std::vector<Language*> languages = modelui::allRecords<Language>();
    std::stable_sort(languages.begin(), languages.end(), [](const Language* a, const Language* b) {
        return std::wcscmp(a->get_name(), b->get_name()) < 0;
    });
    screen.itemfield->clearField();
    for (const Language* language : languages) {
        screen.itemfield->addItem(language->get_name());
        screen.itemfield->setLastId(language->getId());
    }
}

void startNewLanguage() {
    screen.title->setText(text(String_ADD_LANG));
    screen.fieldLang->setText(text(String_LANG_EXAMP));
    imageClear(flagSlot);
    imageClear(keyboardSlot);
    showDirection(false);
    for (int kind = 0; kind < GRAMMAR_KINDS; ++kind) {
        screen.fields[kind]->setText(L"");
        screen.lists[kind]->clearField();
    }
    // A new language types in the layout active at this moment.
    addUpdate(UPDATE_KEYBRD_ASSIGN_PRESSED, screen.state);
    screen.editLanguageId = 0;
    nextCondition = ARTICLE_PAGE;
}

void startEdit() {
    const Language* language = Language::getById(screen.itemfield->getActiveId());
    if (language == nullptr) {
        return;
    }
    const unsigned id = language->getId();
    screen.editLanguageId = id;
    screen.title->setText(language->get_name());
    screen.fieldLang->setText(language->get_name());
    imageClear(flagSlot);
    imageClear(keyboardSlot);
    showDirection(language->get_rightToLeft());
    for (GuiTextfield* field : screen.fields) {
        field->setText(L"");
    }
    populate<Article>(*screen.lists[ARTICLES], id);
    populate<Person>(*screen.lists[PERSONS], id);
    populate<Tense>(*screen.lists[TENSES], id);
    imageSet(flagSlot, id);
    imageSet(keyboardSlot, id);
    std::copy_n(language->get_keyboardLocalID(), Language::KEYBOARD_ID_SIZE, screen.keyboardLocalID);
    screen.fieldLang->setKeybrdLayout(preApplicationKeyboard);
    setGrammarLayouts(screen.keyboardLocalID);
    nextCondition = ARTICLE_PAGE;
}

// Deleting takes the language's grammar, verbs, words and flashcards with it (the cascades), so
// every table is saved.
void deleteLanguage() {
    const unsigned id = screen.itemfield->getActiveId();
    if (Language::getById(id) == nullptr) {
        return;
    }
    const platform::MessageResult answer =
        platform::current().messageBox(text(String_DELETE_LANG_QUESTION), text(String_DELETE_LANG),
                                       platform::MessageIcon::Warning, platform::MessageButtons::YesNo);
    if (answer != platform::MessageResult::Yes || Language::getById(id) == nullptr) {
        return;
    }
    Language::deleteEntry(id);
    fillList();
    saveTablesOrWarn({});
}

// --- edit pages ---

// The name field types in the layout of the program's start; the grammar fields in the layout
// active now, which the language keeps once it is saved.
void assignKeyboard() {
    screen.fieldLang->setKeybrdLayout(preApplicationKeyboard);
    getKL(screen.keyboardLocalID);
    setGrammarLayouts(screen.keyboardLocalID);
}

void chooseFlag() { imageControl(flagSlot); }
void chooseKeyboardPicture() { imageControl(keyboardSlot); }

void cancelEdit() {
    fillList();
    nextCondition = LIST_PAGE;
}

bool nameUsedByAnother(const std::wstring& name) {
    for (auto it = Language::begin(); it != Language::end(); ++it) {
        if (it->getId() != screen.editLanguageId && name == it->get_name()) {
            return true;
        }
    }
    return false;
}

void setLanguageFields(Language& language, const std::wstring& name) {
    language.set_name(name.c_str(), true);
    language.set_rightToLeft(screen.toggle->getRightOn(), true);
    language.set_keyboardLocalID(screen.keyboardLocalID);
}

void writeGrammarLists(unsigned languageId) {
    refill<Article>(*screen.lists[ARTICLES], languageId);
    refill<Person>(*screen.lists[PERSONS], languageId);
    refill<Tense>(*screen.lists[TENSES], languageId);
}

bool storePictures(unsigned languageId) {
    if (imageStore(flagSlot, languageId) && imageStore(keyboardSlot, languageId)) {
        return true;
    }
    warnSaveFailed();
    return false;
}

bool saveEditedLanguage(Language& language, const std::wstring& name) {
    const unsigned id = language.getId();
    setLanguageFields(language, name);
    writeGrammarLists(id);
    // A deleted article also clears the words' links to it, so the words are written too.
    return storePictures(id) &&
           saveTablesOrWarn({D_LANGUAGE, D_ARTICLE, D_PERSON, D_TENSE, D_VERBPATTERN, D_IRREGULARVERB, D_WORD});
}

bool saveNewLanguage(const std::wstring& name) {
    auto created = std::make_unique<Language>();
    created->set_name(name.c_str(), true);
    const unsigned id = Language::add(created.get());
    Language& language = *created.release();  // the table owns it now
    setLanguageFields(language, name);
    writeGrammarLists(id);
    // What could not be stored leaves memory too (its grammar and copied pictures with it), so
    // memory matches the disk and the retry makes the language afresh.
    const auto takeBack = [id] { Language::deleteEntry(id); };
    if (!storePictures(id)) {
        takeBack();
        return false;
    }
    return saveEdit({D_LANGUAGE, D_ARTICLE, D_PERSON, D_TENSE}, takeBack) != SaveOutcome::NOTHING_CHANGED;
}

void saveLanguage() {
    const std::wstring name = screen.fieldLang->visibleText();
    if (nameUsedByAnother(name)) {
        platform::current().messageBox(text(String_LANGUAGE_NAME_ALREADY_IN_USE), name, platform::MessageIcon::Warning,
                                       platform::MessageButtons::Ok);
        return;
    }
    Language* language = Language::getById(screen.editLanguageId);
    const bool stored = language != nullptr ? saveEditedLanguage(*language, name) : saveNewLanguage(name);
    if (!stored) {
        return;
    }
    addUpdate(UPDATE_INIT, screen.state);
    nextCondition = LIST_PAGE;
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewLanguage},
    {UPDATE_EDIT_PRESSED, startEdit},
    {UPDATE_DELETE_PRESSED, deleteLanguage},
    {UPDATE_KEYBRD_ASSIGN_PRESSED, assignKeyboard},
    {UPDATE_FLAG_PRESSED, chooseFlag},
    {UPDATE_KEYBRD_PRESSED, chooseKeyboardPicture},
    {UPDATE_CANCEL_PRESSED, cancelEdit},
    {UPDATE_SAVE_PRESSED, saveLanguage},
};

void update(const char* tag) {
    // The globals describe the newest screen of this editor; an update only ever reaches the
    // current screen, and no other instance is ever current next to it.
    if (screen.state == nullptr || screen.state != curState) {
        return;
    }
    dispatchUpdate(updateHandlers, tag == nullptr ? UPDATE_INIT : tag);
}

// --- building ---

void addButton(framew_strings caption, int version, int centerX, int centerY, const char* updateTag) {
    addConditionElementToState(new GuiButton(version, centerX, centerY, text(caption), updateTag));
}

void addPathText(const char* tag, int centerY) {
    addConTagedElTState(new GuiText("", 200, centerY, WIDE, PATH_HEIGHT, FONT1, TEXT_CENTRE), tag);
}

void addLeftColumn() {
    screen.title = addConTagedElTState(new GuiText(L"", 333, 40, 666, 70, FONT1, TEXT_CENTRE), "TITLE");
    screen.fieldLang = addConditionElementToState(new GuiTextfield(200, 120, L"", false, WIDE, FIELD_HEIGHT));
    addButton(String_FLAG_IMG, BUTTON1, 200, 190, UPDATE_FLAG_PRESSED);
    addPathText(flagSlot.pathTag, 240);
    addButton(String_KEYBRD_IMG, BUTTON1, 200, 300, UPDATE_KEYBRD_PRESSED);
    addPathText(keyboardSlot.pathTag, 350);
    screen.toggle = addConditionElementToState(new GuiToggle(text(String_LEFT_TO_RIGHT), text(String_RIGHT_TO_LEFT),
                                                             false, 200, 390, WIDE, 50, directionToggle));
    addButton(String_ASSIGN_KEYBRD, BUTTON1, 200, 450, UPDATE_KEYBRD_ASSIGN_PRESSED);
}

void addGrammarPanels(State* state) {
    addConditionElementToState(new GuiRect(colours[BT_RGB], 600, 0, 410, 510, PEN_NULL));
    for (int kind = 0; kind < GRAMMAR_KINDS; ++kind) {
        setupGrammar(state, panels[kind], &screen.fields[kind], &screen.lists[kind]);
    }
    setConditional(state, EDIT_PAGES);
}

}  // namespace

State* createLanguageState() {
    screen = LanguageScreen{};
    State* state = createListState(interfaceText(String_LANGUAGES), interfaceText(String_LANGUAGE), 0);
    screen.state = state;
    screen.itemfield = getElementByTag<GuiItemfield>(TAG_ITEMLIST, state);
    setConditional(state, EDIT_PAGES);
    addLeftColumn();
    addGrammarPanels(state);
    addButton(String_CANCEL, BUTTON2, 450, 450, UPDATE_CANCEL_PRESSED);
    addButton(String_SAVE, BUTTON2, 550, 450, UPDATE_SAVE_PRESSED);
    state->traceback = TRACEBACK_FIRST_PAGE;
    state->updateFunc = update;
    return state;
}
