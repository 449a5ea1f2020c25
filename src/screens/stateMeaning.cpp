#include "screens/stateMeaning.h"

#include <set>
#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/guiShiftfield.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/InterfaceText.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/Word.h"
#include "screens/EditorBoxes.h"
#include "screens/EditorList.h"
#include "screens/stateCategory.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

Word* editWordMeaningState = nullptr;
Meaning* editMeaning = nullptr;

namespace {

// A page mask no condition of this screen has: the New button wears it where it must not show.
constexpr long NEVER_SHOWN = 16;
constexpr long LIST_AND_CONNECTION_PAGES = MEANING_LIST_PAGE | MEANING_CONNECTION_PAGE;

constexpr const char* TAG_MEANING_TITLE = "TITLETEXT_ADD_EDIT_MEANING";
constexpr const char* TAG_NIVEAU = "SELECTIONFIELD_NIVEAU";
constexpr const char* TAG_CATEGORY_USE = "CATEGORY_USE";
constexpr const char* TAG_CATEGORY_DONT_USE = "CATEGORY_DONT_USE";

constexpr const char* UPDATE_CATEGORIES_PRESSED = "CATEGORIES_PRESSED";
constexpr const char* UPDATE_CATEGORIES_RETURNED = "CATEGORIES_RETURNED";
constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";
constexpr const char* UPDATE_NEW_CONNECTION_PRESSED = "NEW_CONNECTION_PRESSED";
constexpr const char* UPDATE_DISCARD_PRESSED = "DISCARD_PRESSED";

using CategoryIds = std::set<unsigned>;

// --- the list ---------------------------------------------------------------------------------

// Every entry's description is written into one reused string and copied into the list's one
// buffer: a list of sixty thousand meanings allocates nothing per meaning.
void addMeaningEntry(SearchList& entries, Meaning& meaning, std::wstring& description) {
    meaning.describeInto(description);
    entries.append(description, meaning.getId());
}

// From the word's own relation tree, in the order of the meanings' ids: selecting its links from
// the link table took 27 ms on a database of 150,000 links, the tree takes microseconds.
void listMeaningsOfWord(SearchList& entries, Word& word) {
    std::wstring description;
    OrnQL_Base::RelationTree& meanings = word.fTR(D_MEANING);
    for (auto it = Meaning::begin(meanings); it != Meaning::end(meanings); ++it) {
        addMeaningEntry(entries, **it, description);
    }
    if (auto* disconnect = onScreen<GuiButton>(TAG_BUTTON_DELETE)) {
        disconnect->setText(interfaceText(String_DISCONNECT));
    }
}

void listAllMeanings(SearchList& entries) {
    std::wstring description;
    entries.reserve(Meaning::elementTree().size(), 0);
    for (auto it = Meaning::begin(); it != Meaning::end(); ++it) {
        addMeaningEntry(entries, **it, description);
    }
    if (auto* newButton = onScreen<GuiButton>(TAG_BUTTON_NEW)) {
        newButton->setConditions(NEVER_SHOWN);
    }
}

// The list is handed over in one step; filled entry by entry, it would refresh its page after
// every one.
void fillList() {
    auto* list = onScreen<GuiSearchItemfield>(TAG_ITEMLIST);
    if (list == nullptr) {
        return;
    }
    SearchList entries;
    if (editWordMeaningState != nullptr && curState->condition != MEANING_CONNECTION_PAGE) {
        listMeaningsOfWord(entries, *editWordMeaningState);
    } else {
        listAllMeanings(entries);
    }
    list->setEntries(std::move(entries));
}

// --- the meaning page -------------------------------------------------------------------------

GuiItemfield* useList() { return onScreen<GuiItemfield>(TAG_CATEGORY_USE); }
GuiItemfield* dontUseList() { return onScreen<GuiItemfield>(TAG_CATEGORY_DONT_USE); }

// Every stored category, in table order, into Use when its id is in `inUse`, else into Don't use.
void fillCategoryLists(const CategoryIds& inUse) {
    GuiItemfield* use = useList();
    GuiItemfield* dontUse = dontUseList();
    if (use == nullptr || dontUse == nullptr) {
        return;
    }
    use->clearField();
    dontUse->clearField();
    for (auto it = Category::begin(); it != Category::end(); ++it) {
        GuiItemfield& target = inUse.count(it->getId()) != 0 ? *use : *dontUse;
        addListEntry(target, it->get_description(), it->getId());
    }
}

CategoryIds categoriesInUse() {
    CategoryIds ids;
    if (const GuiItemfield* use = useList()) {
        for (int position = 0; position < use->getNumberOfCurrentElements(); ++position) {
            ids.insert(use->getEntryId(position));
        }
    }
    return ids;
}

CategoryIds categoriesOf(Meaning& meaning) {
    CategoryIds ids;
    OrnQL_Base::RelationTree& linked = meaning.fTR(D_CATEGORY);
    for (auto it = Category::begin(linked); it != Category::end(linked); ++it) {
        ids.insert(it->getId());
    }
    return ids;
}

void openMeaningPage(const wchar_t* title, Meaning* meaning, const CategoryIds& inUse) {
    auto* heading = onScreen<GuiText>(TAG_MEANING_TITLE);
    auto* niveau = onScreen<GuiSelectionfield>(TAG_NIVEAU);
    if (heading == nullptr || niveau == nullptr) {
        return;
    }
    heading->setText(title);
    fillCategoryLists(inUse);
    niveau->setActivePosition(meaning != nullptr ? meaning->get_niveau() - Meaning::LOWEST_NIVEAU : 0);
    editMeaning = meaning;
    nextCondition = MEANING_EDIT_PAGE;
}

void startNewMeaning() {
    if (editWordMeaningState != nullptr) {
        openMeaningPage(editWordMeaningState->get_text(), nullptr, {});
    }
}

void editActiveMeaning() {
    Meaning* meaning = activeListRecord<Meaning>();
    if (meaning == nullptr) {
        return;
    }
    const std::wstring title = editorList()->getActiveEntry();
    openMeaningPage(title.c_str(), meaning, categoriesOf(*meaning));
}

// The category editor goes on top of this screen. The tag queued here waits until this screen
// is current again.
void visitCategories() {
    switchToState(createCategoryState());
    addUpdate(UPDATE_CATEGORIES_RETURNED, curState);
}

// Categories may have been added, renamed or deleted meanwhile; what the user chose stays chosen.
void refreshCategoryLists() { fillCategoryLists(categoriesInUse()); }

Meaning* addMeaningForWord(int niveau) {
    Word* word = editWordMeaningState;
    if (word == nullptr) {
        return nullptr;
    }
    auto* meaning = new Meaning(niveau);
    Meaning::add(meaning);
    M_W::add(new M_W(meaning->getId(), word->getId()));
    meaning->set_connectionsForFlashcard(meaning->get_connectionsForFlashcard() + 1);
    return meaning;
}

void linkCategories(unsigned meaningId, const CategoryIds& categories) {
    C_M::deleteEntriesWithDependency(D_MEANING, meaningId);
    for (unsigned categoryId : categories) {
        if (Category::getById(categoryId) != nullptr) {
            C_M::add(new C_M(categoryId, meaningId));
        }
    }
}

// A save that fails takes the edit back (states/SaveTables.h): a new meaning leaves the tables
// again with its links, an edited one gets its niveau and categories back.
void saveMeaning() {
    const auto* niveauField = onScreen<GuiSelectionfield>(TAG_NIVEAU);
    if (niveauField == nullptr) {
        return;
    }
    const int niveau = niveauField->getActivePosition() + Meaning::LOWEST_NIVEAU;
    Meaning* meaning = editMeaning;
    const int niveauBefore = meaning != nullptr ? meaning->get_niveau() : niveau;
    const CategoryIds categoriesBefore = meaning != nullptr ? categoriesOf(*meaning) : CategoryIds{};
    if (meaning != nullptr) {
        meaning->set_niveau(niveau);
    } else {
        meaning = addMeaningForWord(niveau);
        if (meaning == nullptr) {
            return;
        }
    }
    linkCategories(meaning->getId(), categoriesInUse());
    const bool isNew = editMeaning == nullptr;
    const SaveOutcome saved =
        saveEdit({D_MEANING, D_ASSO_C_M, D_ASSO_M_W}, [meaning, isNew, niveauBefore, &categoriesBefore] {
            if (isNew) {
                Meaning::deleteEntry(meaning->getId());
            } else {
                meaning->set_niveau(niveauBefore);
                linkCategories(meaning->getId(), categoriesBefore);
            }
        });
    if (saved == SaveOutcome::NOTHING_CHANGED) {
        return;
    }
    editMeaning = nullptr;
    fillList();
    nextCondition = MEANING_LIST_PAGE;
}

// --- deleting and connecting ------------------------------------------------------------------

void disconnectFromWord(Meaning& meaning, const Word& word) {
    const M_W* link = M_W::getByConstrain(true, 2, D_WORD, word.getId(), D_MEANING, meaning.getId());
    if (link == nullptr) {
        return;
    }
    // Before the link goes: a meaning left without words goes with it.
    meaning.decConnections();
    M_W::deleteEntry(link->getId());
}

bool deleteMeaningAfterAsking(unsigned meaningId) {
    if (!askUser(String_DELETE_MEANING_QUESTION, platform::MessageIcon::Warning, platform::MessageButtons::OkCancel)) {
        return false;
    }
    if (Meaning::getById(meaningId) != nullptr) {
        Meaning::deleteEntry(meaningId);
    }
    return true;
}

void deleteOrDisconnectActive() {
    Meaning* meaning = activeListRecord<Meaning>();
    if (meaning == nullptr) {
        return;
    }
    if (editWordMeaningState != nullptr) {
        disconnectFromWord(*meaning, *editWordMeaningState);
    } else if (!deleteMeaningAfterAsking(meaning->getId())) {
        return;
    }
    editMeaning = nullptr;
    saveTablesOrWarn({D_MEANING, D_ASSO_C_M, D_ASSO_M_W});
    fillList();
}

// Connects only a meaning that is not connected yet. When the save fails the link is taken back,
// so the page is as before and the user can press again.
void connectActiveMeaning() {
    Word* word = editWordMeaningState;
    Meaning* meaning = activeListRecord<Meaning>();
    if (word == nullptr || meaning == nullptr ||
        M_W::getAsTally(2, D_WORD, word->getId(), D_MEANING, meaning->getId()) != 0) {
        return;
    }
    const unsigned linkId = M_W::add(new M_W(meaning->getId(), word->getId()));
    if (saveEdit({D_ASSO_M_W}, [linkId] { M_W::deleteEntry(linkId); }) == SaveOutcome::NOTHING_CHANGED) {
        return;
    }
    editMeaning = meaning;
    meaning->set_connectionsForFlashcard(meaning->get_connectionsForFlashcard() + 1);
    rollbackFlag = true;
}

void returnToOpener() { rollbackFlag = true; }

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewMeaning},
    {UPDATE_EDIT_PRESSED, editActiveMeaning},
    {UPDATE_CATEGORIES_PRESSED, visitCategories},
    {UPDATE_CATEGORIES_RETURNED, refreshCategoryLists},
    {UPDATE_SAVE_PRESSED, saveMeaning},
    {UPDATE_DELETE_PRESSED, deleteOrDisconnectActive},
    {UPDATE_NEW_CONNECTION_PRESSED, connectActiveMeaning},
    {UPDATE_DISCARD_PRESSED, returnToOpener},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

// --- building ---------------------------------------------------------------------------------

State* createMeaningList() {
    if (editWordMeaningState == nullptr) {
        return createListState(interfaceText(String_MEANINGS), interfaceText(String_MEANING), LIST_SEARCHABLE);
    }
    const std::wstring heading =
        std::wstring(interfaceText(String_MEANINGS)) + L" - " + editWordMeaningState->get_text();
    return createListState(heading.c_str(), interfaceText(String_MEANING), LIST_SEARCHABLE);
}

void addNiveauSelection() {
    auto* niveau = addConTagedElTState(new GuiSelectionfield(295, 150, 328, 50), TAG_NIVEAU);
    for (int step = 0; step < Meaning::HIGHEST_NIVEAU; ++step) {
        niveau->addItem(interfaceText(static_cast<framew_strings>(String_NIVEAU_1 + step)));
    }
}

void addMeaningPage(State* state) {
    setConditional(state, MEANING_EDIT_PAGE);
    addConTagedElTState(new GuiText(L"", 500, 80, 500, 80, FONT1, TEXT_CENTRE), TAG_MEANING_TITLE);
    addConditionElementToState(new GuiText(interfaceText(String_NIVEAU), 80, 150, 100, 50, FONT1, TEXT_CENTRE));
    addNiveauSelection();
    addConditionElementToState(
        new GuiButton(BUTTON1, 705, 150, interfaceText(String_CATEGORIES), UPDATE_CATEGORIES_PRESSED));
    createGuiShiftfield(TAG_CATEGORY_USE, TAG_CATEGORY_DONT_USE, interfaceText(String_USE),
                        interfaceText(String_DONT_USE), 500, 285, 900, 180, nullptr, nullptr);
    addConditionElementToState(new GuiButton(BUTTON2, 765, 430, interfaceText(String_SAVE), UPDATE_SAVE_PRESSED));
    addConditionElementToState(
        new GuiButton(BUTTON2, 640, 430, interfaceText(String_DISCARD_CHANGES), MEANING_LIST_PAGE));
}

void addConnectionPage(State* state) {
    setConditional(state, MEANING_CONNECTION_PAGE);
    addConditionElementToState(
        new GuiButton(BUTTON1, 775, 215, interfaceText(String_NEW_CONNECTION), UPDATE_NEW_CONNECTION_PRESSED));
    addConditionElementToState(
        new GuiButton(BUTTON1, 775, 285, interfaceText(String_DISCARD_CHANGES), UPDATE_DISCARD_PRESSED));
}

}  // namespace

State* createMeaningState() {
    State* state = createMeaningList();
    getElementByTag(TAG_TEXT_TITLE, state)->setConditions(LIST_AND_CONNECTION_PAGES);
    getElementByTag(TAG_ITEMLIST, state)->setConditions(LIST_AND_CONNECTION_PAGES);
    addMeaningPage(state);
    addConnectionPage(state);
    editMeaning = nullptr;
    state->updateFunc = update;
    state->terminateFunc = stateTerminate;
    return state;
}

void stateTerminate() {
    editWordMeaningState = nullptr;
    editMeaning = nullptr;
}

void openMeaningEditorForWord(Word* word, long page) {
    editWordMeaningState = word;
    State* state = createMeaningState();
    state->condition = page;
    switchToState(state);
}
