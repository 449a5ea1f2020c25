// The flashcard editor's known words and meanings: the chain of known words with the known list,
// the words the editor creates (noted as provisional until the card is stored, so that neither
// Close nor a crash leaves them behind), the Use and Don't use lists of the highlighted known
// word, and the categories text.
//
// Each meaning carries two marks while the editor is open: how many known words of the chain
// carry it (connectionsForFlashcard) and whether the card uses it (usedForFlashcard). A meaning
// whose last known word leaves the chain counts as used again, ready for the next card.

#include <set>
#include <string>
#include <vector>

#include "gui/GuiItemfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Category.h"
#include "model/Database.h"
#include "model/InterfaceText.h"
#include "model/Meaning.h"
#include "model/ProvisionalRecords.h"
#include "model/Word.h"
#include "screens/stateFlashcard.h"
#include "screens/EditorFocus.h"
#include "screens/stateFlashcardScreen.h"
#include "states/SaveTables.h"

namespace flashcard_editor {

namespace {

template <typename Action>
void forEachMeaning(Word& word, Action action) {
    OrnQL_Base::RelationTree& meanings = word.fTR(D_MEANING);
    for (auto it = Meaning::begin(meanings); it != Meaning::end(meanings); ++it) {
        action(**it);
    }
}

// A new word of the known language, stored at once so that the meaning editor can link meanings
// to it. It is noted first: should the program end before the card is stored, the next start
// removes it. Null when it could not be stored (the user was told; nothing of it stays).
Word* createKnownWord(const std::wstring& text) {
    auto* word = new Word(text.c_str(), L"", L"");
    word->setDependency(D_LANGUAGE, screen.knownLanguageId);
    const unsigned id = Word::add(word);
    if (!noteProvisionalRecord(D_WORD, id)) {
        Word::deleteEntry(id);
        tellUser(String_ERROR_SAVE_DB, platform::MessageIcon::Error);
        return nullptr;
    }
    // When the save fails the note stays until the word's removal is saved (the next start
    // cleans up what is left).
    if (saveEdit({D_WORD}, [id] { Word::deleteEntry(id); }) == SaveOutcome::NOTHING_CHANGED) {
        return nullptr;
    }
    return Word::getById(id);
}

// Deletes words the editor created, with their links (and meanings left without words), and
// saves that. Their notes go only once the disk no longer holds them; until then the next start
// removes what is left.
void discardCreatedWords(const std::vector<unsigned>& wordIds, bool warn) {
    std::vector<ProvisionalRecord> discarded;
    for (unsigned id : wordIds) {
        if (Word::getById(id) != nullptr) {
            Word::deleteEntry(id);
        }
        discarded.push_back({D_WORD, id});
    }
    if (discarded.empty()) {
        return;
    }
    const bool saved = warn ? saveTablesOrWarn({D_WORD, D_ASSO_C_M, D_ASSO_M_W, D_MEANING})
                            : saveDatabaseExternal(4, D_WORD, D_ASSO_C_M, D_ASSO_M_W, D_MEANING) == 0;
    if (saved) {
        forgetProvisionalRecords(discarded);
    }
}

void releaseMeanings(unsigned wordId) {
    if (Word* word = Word::getById(wordId)) {
        forEachMeaning(*word, [](Meaning& meaning) { meaning.decConnections(); });
    }
}

void queueListUpdates() {
    addUpdate(UPDATE_KNOWN, screen.state);
    addUpdate(UPDATE_CATEGORY, screen.state);
}

void addMeaningEntry(GuiItemfield& list, Meaning& meaning) {
    // (get_description hands out a buffer shared by all meanings; addItem copies it at once)
    list.addItem(meaning.get_description());
    list.setLastId(meaning.getId());
}

}  // namespace

// An empty text creates no word: the user is told and the field keeps what was typed.
void addWordToListButton() {
    if (screen.textfieldKnown == nullptr || screen.knownLanguageId == 0) {
        return;
    }
    const std::wstring text = screen.textfieldKnown->visibleText();
    if (isBlank(text)) {
        tellUser(String_ENTER_VALUE, platform::MessageIcon::Warning);
        giveFocusTo(screen.textfieldKnown);
        return;
    }
    Word* word = Word::getWord(screen.knownLanguageId, text.c_str());
    const bool created = word == nullptr;
    if (created && (word = createKnownWord(text)) == nullptr) {
        return;
    }
    screen.textfieldKnown->setText(L"");
    giveFocusTo(screen.textfieldKnown);
    if (screen.wordChain.checkExistence(word->getId())) {
        return;
    }
    addKnownWord(*word, created);
}

void addKnownWord(Word& word, bool newCreated) {
    forEachMeaning(word, [](Meaning& meaning) {
        meaning.set_connectionsForFlashcard(meaning.get_connectionsForFlashcard() + 1);
    });
    screen.wordChain.addAtEnd({word.getId(), newCreated});
    screen.itemfieldKnown->addItem(word.get_text());
    screen.itemfieldKnown->setLastId(word.getId());
    screen.itemfieldKnown->setActivePosition(screen.itemfieldKnown->getNumberOfCurrentElements() - 1);
    queueListUpdates();
}

void removeKnown() {
    const std::optional<WordChainLink> link = screen.wordChain.getAndCut(screen.itemfieldKnown->getActivePosition());
    if (!link) {
        return;
    }
    releaseMeanings(link->wordId);
    screen.itemfieldKnown->deleteItem();
    if (link->newCreated) {
        discardCreatedWords({link->wordId}, true);
    }
    queueListUpdates();
}

void removeAllKnown(bool keepCreated, bool warn) {
    if (screen.itemfieldKnown == nullptr) {
        return;
    }
    const std::vector<unsigned> created = screen.wordChain.createdWords();
    for (const WordChainLink& link : screen.wordChain.links()) {
        releaseMeanings(link.wordId);
    }
    screen.wordChain.clear();
    screen.itemfieldKnown->clearField();
    if (!keepCreated) {
        discardCreatedWords(created, warn);
    }
    queueListUpdates();
}

Word* activeKnownWord() {
    const WordChainLink* link = screen.wordChain.get(screen.itemfieldKnown->getActivePosition());
    return link == nullptr ? nullptr : Word::getById(link->wordId);
}

void knownItemlistChange() { addUpdate(UPDATE_KNOWN, screen.state); }

// After a shift the moved meaning is the last entry of the list it went to.
void swapMeaningUse() {
    const GuiItemfield* lists[] = {screen.itemfieldUse, screen.itemfieldDontUse};
    for (const GuiItemfield* list : lists) {
        const int count = list->getNumberOfCurrentElements();
        if (count == 0) {
            continue;
        }
        if (Meaning* meaning = Meaning::getById(list->getEntryId(count - 1))) {
            meaning->set_usedForFlashcard(list == screen.itemfieldUse);
        }
    }
    addUpdate(UPDATE_CATEGORY, screen.state);
}

void updateKnown() {
    if (screen.wordChain.empty()) {
        nextCondition = FLASHCARD_FIRST_PAGE;
        return;
    }
    if (screen.state->condition != FLASHCARD_KNOWN_PAGE) {
        screen.textKnownLanguage->setText(languageName(screen.knownLanguageId));
        nextCondition = FLASHCARD_KNOWN_PAGE;
    }
    screen.itemfieldUse->clearField();
    screen.itemfieldDontUse->clearField();
    if (Word* word = activeKnownWord()) {
        forEachMeaning(*word, [](Meaning& meaning) {
            addMeaningEntry(meaning.get_usedForFlashcard() ? *screen.itemfieldUse : *screen.itemfieldDontUse, meaning);
        });
    }
}

std::vector<unsigned> meaningsInUse() {
    std::vector<unsigned> ids;
    std::set<unsigned> seen;
    for (const WordChainLink& link : screen.wordChain.links()) {
        if (Word* word = Word::getById(link.wordId)) {
            forEachMeaning(*word, [&](Meaning& meaning) {
                if (meaning.get_usedForFlashcard() && seen.insert(meaning.getId()).second) {
                    ids.push_back(meaning.getId());
                }
            });
        }
    }
    return ids;
}

void updateCategory() {
    std::set<std::wstring> categories;
    for (unsigned meaningId : meaningsInUse()) {
        OrnQL_Base::RelationTree& linked = Meaning::getById(meaningId)->fTR(D_CATEGORY);
        for (auto it = Category::begin(linked); it != Category::end(linked); ++it) {
            categories.insert(it->get_description());
        }
    }
    std::wstring joined;
    for (const std::wstring& category : categories) {
        joined += (joined.empty() ? L"" : L", ") + category;
    }
    screen.textCategory->setText(categories.empty() ? interfaceText(String_AUTOMATED) : joined.c_str());
}

}  // namespace flashcard_editor
