// Storing a flashcard: the foreign word (found, the edited card's own, or new) with its texts,
// verb form and article; the card with its direction, levels and lesson; its links to the known
// words and to the meanings it uses; the hint picture. All of it is one save: the records made
// for it are noted as provisional before they reach the disk, and their notes, with those of
// the known words the editor created, go in one step once everything is saved. A kill part-way
// therefore leaves nothing of the card behind at the next start.
//
// A save that fails takes back in memory what the attempt made or changed, so the page is as
// the user left it and Save can simply be pressed again.

#include <optional>
#include <string>
#include <vector>

#include "db/OrnQL_Extra.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/IrregularVerb.h"
#include "model/M_W.h"
#include "model/ProvisionalRecords.h"
#include "model/Word.h"
#include "screens/stateFlashcardScreen.h"

namespace flashcard_editor {

namespace {

// A stored word's fields as they were before the attempt.
struct WordFields {
    unsigned id = 0;
    std::wstring text;
    std::wstring ipaPronounciation;
    std::wstring mnemonic;
    unsigned article = 0;
    unsigned pattern = 0;
    unsigned irregularVerb = 0;
};

// A stored card's fields as they were before the attempt.
struct CardFields {
    unsigned id = 0;
    bool useInverted = false;
    unsigned primaryLevel = 0;
    unsigned invertedLevel = 0;
    unsigned lesson = 0;
};

// What one attempt made and changed, to be taken back when it fails.
class StoreAttempt {
public:
    Word& takeForeignWord();
    void setVerbForm(Word& word);
    Flashcard& takeCard(const Word& word);
    void linkKnownWords(Flashcard& card);
    void linkMeanings(Word& word);
    // Notes the records made, before they reach the disk.
    bool noteMadeRecords() const { return made.empty() || noteProvisionalRecords(made); }
    // Everything saved: the notes of the records made and of the known words the editor created
    // go together.
    bool commit() const;
    void undo();

private:
    std::vector<ProvisionalRecord> made;
    std::vector<unsigned> madeLinksToKnownWords;
    std::vector<unsigned> madeLinksToMeanings;
    unsigned madeVerb = 0;
    std::optional<WordFields> wordBefore;
    std::optional<CardFields> cardBefore;
};

bool differsFrom(const GuiTextfield& field, framew_strings placeholder) {
    return field.visibleText() != interfaceText(placeholder);
}

WordFields fieldsOf(const Word& word) {
    return {word.getId(),
            word.get_text(),
            word.get_ipaPronounciation(),
            word.get_mnemonic(),
            word.getDependency(D_ARTICLE),
            word.getDependency(D_VERBPATTERN),
            word.getDependency(D_IRREGULARVERB)};
}

Word& StoreAttempt::takeForeignWord() {
    if (Word* stored = storedForeignWord()) {
        wordBefore = fieldsOf(*stored);
        return *stored;
    }
    auto* word = new Word(L"", L"", L"");
    word->setDependency(D_LANGUAGE, screen.foreignLanguageId);
    made.push_back({D_WORD, Word::add(word)});
    return *word;
}

// An irregular verb keeps its record (the one the word had, or a new one) with the forms typed on
// the verb page; a regular one links its pattern and loses a record it had.
void StoreAttempt::setVerbForm(Word& word) {
    IrregularVerb* verb = irregularVerbOf(&word);
    if (!screen.toggleVerb->getRightOn()) {
        if (verb == nullptr) {
            verb = IrregularVerb::createAndAdd(screen.foreignLanguageId, word.getId());
            madeVerb = verb->getId();
        }
        word.setDependency(D_VERBPATTERN, 0);
        verb->addContent(screen.tableVerb);
        return;
    }
    word.setDependency(D_VERBPATTERN, screen.selectionVerbPattern->getActiveId());
    if (verb != nullptr) {
        IrregularVerb::deleteEntry(verb->getId());
        word.setDependency(D_IRREGULARVERB, 0);
    }
}

Flashcard& StoreAttempt::takeCard(const Word& word) {
    if (Flashcard* card = editedCard()) {
        cardBefore = CardFields{card->getId(), card->get_useInverted(), card->get_primaryLevel(),
                                card->get_invertedLevel(), card->getDependency(D_LESSON)};
        return *card;
    }
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, word.getId());
    made.push_back({D_FLASHCARD, Flashcard::add(card)});
    return *card;
}

// Links of known words taken off the list stay: the list only adds.
void StoreAttempt::linkKnownWords(Flashcard& card) {
    for (const WordChainLink& link : screen.wordChain.links()) {
        if (Word::getById(link.wordId) != nullptr && !card.fTR(D_WORD).containsID(link.wordId)) {
            madeLinksToKnownWords.push_back(F_W::add(new F_W(card.getId(), link.wordId)));
        }
    }
}

// Meanings moved to Don't use keep a link they had.
void StoreAttempt::linkMeanings(Word& word) {
    for (unsigned meaningId : meaningsInUse()) {
        if (!word.fTR(D_MEANING).containsID(meaningId)) {
            madeLinksToMeanings.push_back(M_W::add(new M_W(meaningId, word.getId())));
        }
    }
}

bool StoreAttempt::commit() const {
    std::vector<ProvisionalRecord> kept = made;
    for (unsigned wordId : screen.wordChain.createdWords()) {
        kept.push_back({D_WORD, wordId});
    }
    return forgetProvisionalRecords(kept);
}

template <typename Link>
void removeLinks(const std::vector<unsigned>& linkIds) {
    for (unsigned id : linkIds) {
        if (Link::getById(id) != nullptr) {
            Link::deleteEntry(id);
        }
    }
}

void restore(const WordFields& before) {
    Word* word = Word::getById(before.id);
    if (word == nullptr) {
        return;
    }
    word->set_text(before.text.c_str(), true);
    word->set_ipaPronounciation(before.ipaPronounciation.c_str(), true);
    word->set_mnemonic(before.mnemonic.c_str(), true);
    word->setDependency(D_ARTICLE, before.article);
    word->setDependency(D_VERBPATTERN, before.pattern);
    // An irregular verb the attempt deleted is gone for good; the word then has none.
    word->setDependency(D_IRREGULARVERB, IrregularVerb::getById(before.irregularVerb) != nullptr ? before.irregularVerb : 0);
}

void restore(const CardFields& before) {
    Flashcard* card = Flashcard::getById(before.id);
    if (card == nullptr) {
        return;
    }
    card->set_useInverted(before.useInverted, true);
    card->set_primaryLevel(before.primaryLevel, true);
    card->set_invertedLevel(before.invertedLevel, true);
    card->setDependency(D_LESSON, before.lesson);
}

// The notes of the records made stay: the disk may hold part of the save, and the next start
// removes it.
void StoreAttempt::undo() {
    removeLinks<F_W>(madeLinksToKnownWords);
    removeLinks<M_W>(madeLinksToMeanings);
    if (madeVerb != 0 && IrregularVerb::getById(madeVerb) != nullptr) {
        IrregularVerb::deleteEntry(madeVerb);
    }
    for (const ProvisionalRecord& record : made) {
        if (record.table == D_FLASHCARD && Flashcard::getById(record.id) != nullptr) {
            Flashcard::deleteEntry(record.id);
        } else if (const Word* word = record.table == D_WORD ? Word::getById(record.id) : nullptr) {
            word->deleteImageFile(MNEMONIC_IMAGE_DIR);
            Word::deleteEntry(record.id);
        }
    }
    if (wordBefore) {
        restore(*wordBefore);
    }
    if (cardBefore) {
        restore(*cardBefore);
    }
}

void writeWordTexts(Word& word) {
    word.set_text(screen.textfieldWord->visibleText().c_str(), true);
    if (differsFrom(*screen.textfieldPronunciation, String_PRONUNCIATION)) {
        word.set_ipaPronounciation(screen.textfieldPronunciation->visibleText().c_str(), true);
    }
    if (differsFrom(*screen.textfieldHint, String_HINT)) {
        word.set_mnemonic(screen.textfieldHint->visibleText().c_str(), true);
    }
}

// A new card's level selections are hidden and hold the empty first entry: level 0.
void writeCardFields(Flashcard& card) {
    card.set_useInverted(screen.checkInverted->getCheck(), true);
    card.set_primaryLevel(screen.selectionLevel->getActiveId(), true);
    card.set_invertedLevel(screen.selectionLevelInverted->getActiveId(), true);
    card.setDependency(D_LESSON, screen.selectionLesson->getActiveId());
}

// The picture goes after the tables, so that a failed save never leaves a new picture behind a
// word that is taken back. A picture path that does not read changes nothing.
bool copyHintPicture(const Word& word) {
    const char* path = screen.textHintPicturePath->getTextA();
    if (path == nullptr || *path == '\0') {
        return true;
    }
    return copyBitmap(path, MNEMONIC_IMAGE_DIR, word.getId()) != COPY_NO_DESTINATION;
}

bool saveCardTables() {
    return saveDatabaseExternal(5, D_WORD, D_FLASHCARD, D_ASSO_F_W, D_IRREGULARVERB, D_ASSO_M_W) == 0;
}

}  // namespace

bool storeFlashcard() {
    StoreAttempt attempt;
    Word& word = attempt.takeForeignWord();
    writeWordTexts(word);
    attempt.setVerbForm(word);
    word.setDependency(D_ARTICLE, screen.selectionArticle->getActiveId());
    Flashcard& card = attempt.takeCard(word);
    writeCardFields(card);
    attempt.linkKnownWords(card);
    attempt.linkMeanings(word);
    if (attempt.noteMadeRecords() && saveCardTables() && copyHintPicture(word) && attempt.commit()) {
        screen.wordChain.keepAll();
        return true;
    }
    attempt.undo();
    tellUser(String_ERROR_SAVE_DB, platform::MessageIcon::Error);
    return false;
}

}  // namespace flashcard_editor
