#include "screens/stateFlashcardMenu.h"

#include "gui/GuiSearchItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "screens/EditorBoxes.h"
#include "screens/EditorList.h"
#include "screens/stateFlashcard.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

namespace {

// The filter's language; 0 for "All languages".
unsigned filterLanguage() {
    const auto* filter = onScreen<GuiSelectionfield>(TAG_SELECTION_LANGUAGE);
    return filter == nullptr ? 0 : filter->getActiveId();
}

// The cards of the filter's language by id, each card's text (its word, and its lesson) written
// when the list first needs it: looking up fifty thousand words took longer than a frame.
void fillList() {
    editFlashcard = nullptr;
    auto* list = onScreen<GuiSearchItemfield>(TAG_ITEMLIST);
    if (list == nullptr) {
        return;
    }
    const unsigned language = filterLanguage();
    SearchList cards;
    cards.reserve(Flashcard::elementTree().size(), 0);
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        if (language == 0 || it->getDependency(D_LANGUAGE) == language) {
            cards.appendDeferred(it->getId());
        }
    }
    cards.describeWith([](unsigned id, std::wstring& text) {
        if (Flashcard* card = Flashcard::getById(id)) {
            text = card->get_text();
        }
    });
    list->setEntries(std::move(cards));
}

// The editor is stacked on the menu; the INIT queued here refills the list when it returns.
void openEditor() {
    addUpdate(UPDATE_INIT, curState);
    switchToState(createFlashcardState());
}

void startNewCard() {
    editFlashcard = nullptr;
    openEditor();
}

void editActiveCard() {
    Flashcard* card = activeListRecord<Flashcard>();
    if (card == nullptr) {
        return;
    }
    editFlashcard = card;
    State* editor = createFlashcardState();
    addUpdate(UPDATE_EDIT_FLASHCARD, editor);
    addUpdate(UPDATE_INIT, curState);
    switchToState(editor);
}

void deleteActiveCard() {
    const Flashcard* card = activeListRecord<Flashcard>();
    if (card == nullptr) {
        return;
    }
    const unsigned id = card->getId();
    if (!askUser(String_DELETE_FLASHCARD_QUESTION, platform::MessageIcon::Warning, platform::MessageButtons::OkCancel)) {
        return;
    }
    if (Flashcard::getById(id) != nullptr) {
        Flashcard::deleteEntry(id);
    }
    saveTablesOrWarn({D_FLASHCARD, D_ASSO_F_W});
    fillList();
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewCard},
    {UPDATE_EDIT_PRESSED, editActiveCard},
    {UPDATE_DELETE_PRESSED, deleteActiveCard},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

}  // namespace

State* createFlashcardMenuState() {
    State* state = createListState(interfaceText(String_FLASHCARDS), interfaceText(String_FLASHCARD),
                                   LIST_LANGUAGE_FILTER | LIST_SEARCHABLE);
    if (auto* filter = getElementByTag<GuiSelectionfield>(TAG_SELECTION_LANGUAGE, state)) {
        filter->setSpecUpdate(UPDATE_INIT);
    }
    state->updateFunc = update;
    return state;
}
