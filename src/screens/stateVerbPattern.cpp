// The verb pattern editor. Page 1 is the list screen (states/ListState.h) with the language
// filter: "Verb Patterns", New / Edit / Delete Pattern and the patterns by number. Then, in the
// order they are added (also the Tab order):
//
//   element          caption                where                        pages
//   title            the language / pattern centre (333, 40), 666 x 70   2, 4, 8
//   discard button   "Discard changes"      centre (700, 40)             2 (table)
//   save button      "Save"                 centre (800, 40)             2
//   help button      "?"                    centre (900, 40)             2
//   infinitive       text field             centre (500, 250), 333 x 62  4 (test input)
//   next button      "Next"                 centre (500, 350)            4
//   finish button    "Finish"               centre (900, 40)             8 (test result)
//   back button      "Back"                 centre (800, 40)             8
//   pattern table    made per use for the pattern's language (model Verb::createEmptyTable):
//                    page 2 while the rules are typed, page 8 while a test shows its forms
//
//   list --New (filter language) / Edit--> table --Save--> "test it?" --No--> list
//                                            |                  |
//                                         Discard              Yes
//                                            v                  v
//                                          list           input --Next--> result --Finish--> list
//                                                           ^----------Back----'
//
// A save that fails keeps the table page as the user left it: a new pattern that could not be
// stored is taken out of memory again and an edited one gets its stored rules back, so the retry
// starts from what is on disk. Testing never changes the stored pattern.

#include "screens/stateVerbPattern.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/GuiButton.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Grammar.h"
#include "model/InterfaceText.h"
#include "model/Language.h"
#include "model/VerbPattern.h"
#include "model/ui/LanguageRecords.h"
#include "platform/Platform.h"
#include "shell/framework.h"
#include "states/ListState.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

namespace {

constexpr long TABLE_PAGE = 2;
constexpr long TEST_INPUT_PAGE = 4;
constexpr long TEST_RESULT_PAGE = 8;
constexpr long TITLED_PAGES = TABLE_PAGE | TEST_INPUT_PAGE | TEST_RESULT_PAGE;

constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";
constexpr const char* UPDATE_DISCARD_PRESSED = "DISCARD_PRESSED";
constexpr const char* UPDATE_HELP_PRESSED = "HELP_PRESSED";
constexpr const char* UPDATE_NEXT_PRESSED = "NEXT_PRESSED";
constexpr const char* UPDATE_BACK_PRESSED = "BACK_PRESSED";
constexpr const char* UPDATE_FINISH_PRESSED = "FINISH_PRESSED";

// The screen's elements (owned by its State; the table only while it is on the screen) and what
// is being edited, for the newest screen of this editor.
struct PatternScreen {
    State* state = nullptr;
    GuiItemfield* itemfieldPatterns = nullptr;
    GuiSelectionfield* selectionLanguage = nullptr;
    GuiText* title = nullptr;
    GuiTable* table = nullptr;
    GuiTextfield* infinitive = nullptr;
    unsigned editLanguageId = 0;
    unsigned editPatternId = 0;  // 0 while a new pattern is being typed
};

PatternScreen screen;

const wchar_t* text(framew_strings which) { return interfaceText(which); }

platform::MessageResult ask(framew_strings message, platform::MessageIcon icon,
                            platform::MessageButtons buttons = platform::MessageButtons::Ok,
                            const wchar_t* caption = text(String_INFORMATION)) {
    return platform::current().messageBox(text(message), caption, icon, buttons);
}

// --- the pattern table ---

void removeTable() {
    if (screen.table != nullptr) {
        releaseElementFromState(screen.state, &screen.table);
    }
}

// Puts an empty table for the language on the table page; tells the user and returns false when
// the language has no person or no tense to build one from.
bool showTableFor(unsigned languageId) {
    removeTable();
    GuiTable* table = Verb::createEmptyTable(languageId);
    if (table == nullptr) {
        ask(String_NO_PERSONS_OR_TENSES_YET, platform::MessageIcon::Warning);
        return false;
    }
    table->setConditions(TABLE_PAGE);
    screen.table = addElementToState(screen.state, table);
    screen.editLanguageId = languageId;
    return true;
}

// --- list page ---

// By pattern number, as "ASC PATTERNID" orders them (ties by id), read without replacing the
// pattern table's selection.
void fillList() {
    const unsigned languageId = screen.selectionLanguage->getActiveId();
    std::vector<VerbPattern*> patterns = languageId == 0 ? modelui::allRecords<VerbPattern>()
                                                         : modelui::recordsOfLanguage<VerbPattern>(languageId);
    std::stable_sort(patterns.begin(), patterns.end(), [](const VerbPattern* a, const VerbPattern* b) {
        return a->get_patternId() < b->get_patternId();
    });
    screen.itemfieldPatterns->clearField();
    for (const VerbPattern* pattern : patterns) {
        screen.itemfieldPatterns->addItem(pattern->get_description());
        screen.itemfieldPatterns->setLastId(pattern->getId());
    }
    setKL(preApplicationKeyboard);
}

void startNewPattern() {
    const Language* language = Language::getById(screen.selectionLanguage->getActiveId());
    if (language == nullptr) {
        ask(String_PATTERN_LANGUAGE_NEED_TO_BE_SELECTED, platform::MessageIcon::Information);
        return;
    }
    screen.editPatternId = 0;
    if (!showTableFor(language->getId())) {
        return;
    }
    screen.title->setText(language->get_name());
    nextCondition = TABLE_PAGE;
}

void startEdit() {
    VerbPattern* pattern = VerbPattern::getById(screen.itemfieldPatterns->getActiveId());
    if (pattern == nullptr || !showTableFor(pattern->getDependency(D_LANGUAGE))) {
        return;
    }
    screen.editPatternId = pattern->getId();
    pattern->fillTable(screen.table);
    screen.title->setText(pattern->get_description());
    nextCondition = TABLE_PAGE;
}

void deletePattern() {
    const unsigned id = screen.itemfieldPatterns->getActiveId();
    if (VerbPattern::getById(id) == nullptr) {
        return;
    }
    if (ask(String_DELETE_PATTERN_QUESTION, platform::MessageIcon::Warning, platform::MessageButtons::OkCancel) ==
            platform::MessageResult::Cancel ||
        VerbPattern::getById(id) == nullptr) {
        return;
    }
    // Words that used the pattern lose it, so they are written too.
    VerbPattern::deleteEntry(id);
    fillList();
    saveTablesOrWarn({D_VERBPATTERN, D_WORD});
}

// --- table page ---

void showSyntaxHelp() { ask(String_PATTERN_SYNTAX_HELP, platform::MessageIcon::Information); }

void discardTable() {
    removeTable();
    screen.editPatternId = 0;
    nextCondition = LIST_PAGE;
}

// Copies the table into the pattern (a new one is made first) and stores it. On failure memory
// goes back to what is on disk, and the table keeps what the user typed.
VerbPattern* storeTable() {
    const unsigned languageId = screen.editLanguageId;
    VerbPattern* pattern = VerbPattern::getById(screen.editPatternId);
    const bool isNew = pattern == nullptr;
    if (isNew) {
        const auto tenses = static_cast<unsigned>(modelui::recordsOfLanguage<Tense>(languageId).size());
        const auto persons = static_cast<unsigned>(modelui::recordsOfLanguage<Person>(languageId).size());
        auto created = std::make_unique<VerbPattern>(tenses, persons, languageId, 0);
        VerbPattern::add(created.get());
        pattern = created.release();  // the table owns it now
    }
    const Verb::Cells stored = pattern->cells();
    const unsigned storedTenses = pattern->get_tenses();
    const unsigned storedPersons = pattern->get_persons();
    pattern->addContent(screen.table);
    const SaveOutcome saved = saveEdit({D_VERBPATTERN}, [pattern, isNew, storedTenses, storedPersons, &stored] {
        if (isNew) {
            VerbPattern::deleteEntry(pattern->getId());
        } else {
            pattern->reinitialize(storedTenses, storedPersons, &stored);
        }
    });
    return saved == SaveOutcome::NOTHING_CHANGED ? nullptr : pattern;
}

void offerTest(const Language& language) {
    const platform::MessageResult answer =
        ask(String_TEST_PATTERN_QUESTION, platform::MessageIcon::Information, platform::MessageButtons::YesNo);
    if (answer != platform::MessageResult::Yes) {
        removeTable();
        nextCondition = LIST_PAGE;
        addUpdate(UPDATE_INIT, screen.state);
        return;
    }
    screen.infinitive->setText(L"");
    screen.infinitive->setKeybrdLayout(language.get_keyboardLocalID());
    screen.infinitive->changeDirection(language.get_rightToLeft());
    screen.table->setConditions(TEST_RESULT_PAGE);
    nextCondition = TEST_INPUT_PAGE;
}

void savePattern() {
    const Language* language = Language::getById(screen.editLanguageId);
    if (language == nullptr || screen.table == nullptr) {
        return;
    }
    if (!VerbPattern::checkPatternTable(screen.table, screen.editLanguageId)) {
        ask(String_INCORRECT_PATTERN, platform::MessageIcon::Error, platform::MessageButtons::Ok, L"");
        return;
    }
    const VerbPattern* pattern = storeTable();
    if (pattern == nullptr) {
        return;
    }
    screen.editPatternId = pattern->getId();
    offerTest(*language);
}

// --- test pages ---

void showForms() {
    VerbPattern* pattern = VerbPattern::getById(screen.editPatternId);
    if (pattern == nullptr || screen.table == nullptr) {
        return;
    }
    pattern->convertFillTable(screen.table, screen.infinitive->visibleText().c_str());
    nextCondition = TEST_RESULT_PAGE;
}

void backToInput() { nextCondition = TEST_INPUT_PAGE; }

void finishTest() {
    removeTable();
    nextCondition = LIST_PAGE;
    addUpdate(UPDATE_INIT, screen.state);
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewPattern},
    {UPDATE_EDIT_PRESSED, startEdit},
    {UPDATE_DELETE_PRESSED, deletePattern},
    {UPDATE_HELP_PRESSED, showSyntaxHelp},
    {UPDATE_SAVE_PRESSED, savePattern},
    {UPDATE_DISCARD_PRESSED, discardTable},
    {UPDATE_NEXT_PRESSED, showForms},
    {UPDATE_BACK_PRESSED, backToInput},
    {UPDATE_FINISH_PRESSED, finishTest},
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

void addButton(long page, framew_strings caption, int version, int centerX, int centerY, const char* updateTag) {
    setConditional(screen.state, page);
    addConditionElementToState(new GuiButton(version, centerX, centerY, text(caption), updateTag));
}

}  // namespace

State* createVerbPatternState() {
    screen = PatternScreen{};
    State* state = createListState(interfaceText(String_VERB_PATTERNS), interfaceText(String_VERB_PATTERN),
                                   LIST_LANGUAGE_FILTER);
    screen.state = state;
    screen.itemfieldPatterns = getElementByTag<GuiItemfield>(TAG_ITEMLIST, state);
    screen.selectionLanguage = getElementByTag<GuiSelectionfield>(TAG_SELECTION_LANGUAGE, state);
    // Choosing another language refills the list.
    screen.selectionLanguage->setSpecUpdate(UPDATE_INIT);

    setConditional(state, TITLED_PAGES);
    screen.title = addConditionElementToState(new GuiText(L"", 333, 40, 666, 70, FONT1, TEXT_CENTRE));
    addButton(TABLE_PAGE, String_DISCARD_CHANGES, BUTTON2, 700, 40, UPDATE_DISCARD_PRESSED);
    addButton(TABLE_PAGE, String_SAVE, BUTTON2, 800, 40, UPDATE_SAVE_PRESSED);
    addButton(TABLE_PAGE, String_QUESTION_MARK, BUTTON2, 900, 40, UPDATE_HELP_PRESSED);
    setConditional(state, TEST_INPUT_PAGE);
    screen.infinitive = addConditionElementToState(new GuiTextfield(500, 250, L"", false, 333, 62));
    addButton(TEST_INPUT_PAGE, String_NEXT, BUTTON1, 500, 350, UPDATE_NEXT_PRESSED);
    addButton(TEST_RESULT_PAGE, String_FINISH, BUTTON2, 900, 40, UPDATE_FINISH_PRESSED);
    addButton(TEST_RESULT_PAGE, String_BACK, BUTTON2, 800, 40, UPDATE_BACK_PRESSED);

    state->traceback = TRACEBACK_FIRST_PAGE;
    state->updateFunc = update;
    return state;
}
