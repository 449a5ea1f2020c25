// The flashcard editor's Save: the checks before storing (a foreign word is typed, and no other
// card carries it), whether the verb is checked on the verb page first, the verb page itself,
// and what follows a stored card.
//
//   verb form                     Save ("Save and next" or "Save")
//   regular, no pattern           stores at once
//   regular with a pattern        asks whether to check it: No stores at once, Yes shows the
//                                 forms the pattern makes on the verb page
//   irregular                     the verb page, to type (or correct) every form
//
// A new card may take over a stored word no card carries. Its article and verb form, given in
// the word editor, are not lost to a form the user left untouched: where the form still shows
// "n/a" (and the toggle its regular side), Save first takes the stored word's article, pattern
// or irregular verb into it, so the verb question and the verb page follow what is stored. What
// the user chose in the form is written over the stored word, as are typed texts.
//
// The verb page's Save stores; its Back returns to the known words. A language without persons
// or tenses has no verb page: the user is told and nothing is stored.

#include <string>

#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/IrregularVerb.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "screens/EditorBoxes.h"
#include "screens/stateFlashcard.h"
#include "screens/EditorFocus.h"
#include "screens/stateFlashcardScreen.h"

namespace flashcard_editor {

namespace {

bool carriedByCard(unsigned wordId) {
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        if (it->getDependency(D_WORD) == wordId) {
            return true;
        }
    }
    return false;
}

// One foreign word belongs to one card at most. A stored card keeps its own word (its text may
// change); a new card may take over a stored word that no card carries.
bool inUseByAnotherCard(const Word& found) {
    if (const Flashcard* card = editedCard()) {
        return card->getDependency(D_WORD) != found.getId();
    }
    return carriedByCard(found.getId());
}

void adoptStoredArticleAndVerbForm(const Word& stored) {
    if (screen.selectionArticle->getActiveId() == 0) {
        screen.selectionArticle->setActiveToId(stored.getDependency(D_ARTICLE));
    }
    if (!screen.toggleVerb->getRightOn() || screen.selectionVerbPattern->getActiveId() != 0) {
        return;
    }
    if (irregularVerbOf(&stored) != nullptr) {
        screen.toggleVerb->setRightOn(false);
    } else {
        screen.selectionVerbPattern->setActiveToId(stored.getDependency(D_VERBPATTERN));
    }
}

void removeVerbTable() {
    if (screen.tableVerb != nullptr) {
        releaseElement(screen.state, screen.tableVerb);
        screen.tableVerb = nullptr;
    }
}

void fillVerbTable(GuiTable& table, const std::wstring& infinitive) {
    if (screen.toggleVerb->getRightOn()) {
        if (VerbPattern* pattern = VerbPattern::getById(screen.selectionVerbPattern->getActiveId())) {
            pattern->convertFillTable(&table, infinitive.c_str());
        }
    } else if (IrregularVerb* verb = irregularVerbOf(storedForeignWord())) {
        verb->fillTable(&table);
    }
}

void showVerbPage(const std::wstring& infinitive) {
    GuiTable* table = Verb::createEmptyTable(screen.foreignLanguageId);
    if (table == nullptr) {
        tellUser(String_NO_PERSONS_OR_TENSES_YET, platform::MessageIcon::Warning);
        return;
    }
    table->setConditions(FLASHCARD_VERB_PAGE);
    screen.tableVerb = addElementToState(screen.state, table);
    activateLanguage("FOREIGN");
    screen.titleVerb->setText(infinitive.c_str());
    fillVerbTable(*table, infinitive);
    nextCondition = FLASHCARD_VERB_PAGE;
}

}  // namespace

Word* storedForeignWord() {
    if (screen.foreignWordId != 0) {
        return Word::getById(screen.foreignWordId);
    }
    const Flashcard* card = editedCard();
    return card == nullptr ? nullptr : Word::getById(card->getDependency(D_WORD));
}

IrregularVerb* irregularVerbOf(const Word* word) {
    return word == nullptr ? nullptr : IrregularVerb::getById(word->getDependency(D_IRREGULARVERB));
}

void savePressed() {
    const std::wstring infinitive = screen.textfieldWord->visibleText();
    if (isBlank(infinitive)) {
        tellUser(String_ENTER_VALUE, platform::MessageIcon::Warning);
        return;
    }
    const Word* found = Word::getWord(screen.foreignLanguageId, infinitive.c_str());
    if (found != nullptr && inUseByAnotherCard(*found)) {
        tellUser(String_WORD_ALREADY_IN_USE, platform::MessageIcon::Warning);
        return;
    }
    screen.foreignWordId = found == nullptr ? 0 : found->getId();
    if (found != nullptr && editedCard() == nullptr) {
        adoptStoredArticleAndVerbForm(*found);
    }
    removeVerbTable();
    if (!screen.toggleVerb->getRightOn()) {
        showVerbPage(infinitive);
    } else if (screen.selectionVerbPattern->getActiveId() != 0 &&
               askUser(String_TEST_PATTERN_QUESTION, platform::MessageIcon::Information,
                       platform::MessageButtons::YesNo)) {
        showVerbPage(infinitive);
    } else {
        addUpdate(UPDATE_SAVE_N_FLUSH, screen.state);
    }
}

void saveAndFlush() {
    if (!storeFlashcard()) {
        return;
    }
    const bool backToMenu = screen.openedForCard;
    resetForNextCard();
    if (backToMenu) {
        editFlashcard = nullptr;
        rollbackFlag = true;
    } else {
        nextCondition = FLASHCARD_FIRST_PAGE;
    }
}

void resetForNextCard() {
    removeAllKnown(true, false);
    removeVerbTable();
    screen.foreignWordId = 0;
    screen.textHintPicturePath->setText("");
    screen.textfieldWord->setText(L"");
    screen.textfieldPronunciation->setText(interfaceText(String_PRONUNCIATION));
    screen.textfieldHint->setText(interfaceText(String_HINT));
    releaseElementFromState(screen.state, TAG_FLASHCARD_HINT_PICTURE);
    giveFocusTo(screen.textfieldWord);
    screen.toggleVerb->setRightOn(true);
    changeForeignLanguage();
}

}  // namespace flashcard_editor
