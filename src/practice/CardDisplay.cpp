#include "practice/CardDisplay.h"

#include <string>

#include "gui/GuiBitmap.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "model/DataPaths.h"
#include "model/Grammar.h"
#include "model/Language.h"
#include "model/Level.h"
#include "model/Verb.h"
#include "model/Word.h"
#include "model/ui/LanguageRecords.h"
#include "model/ui/SelectionItems.h"
#include "practice/CardFacts.h"
#include "practice/KeyboardFocus.h"
#include "practice/PracticePages.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"

namespace {

namespace page = practicepage;

PracticeScreen& screen = practiceScreen;

std::string picturePath(const char* directory, unsigned id) {
    return std::string(directory) + std::to_string(id) + ".bmp";
}

void showHeader(const LanguageHeader& header, const Language* language) {
    header.name->setText(language == nullptr ? L"" : language->get_name());
    header.flag->changeFile(picturePath(FLAG_IMAGE_DIR, language == nullptr ? 0 : language->getId()).c_str());
}

void releaseTable(GuiTable*& table) {
    if (table != nullptr) {
        releaseElement(screen.state, table);
        table = nullptr;
    }
}

void showLanguages(const Practice_container& card) {
    const Language* foreign = getFLang(card);
    showHeader(screen.foreignA, foreign);
    showHeader(screen.foreignB, foreign);
    showHeader(screen.foreignC, foreign);
    showHeader(screen.knownA, getKLang(card));
}

void prepareWordQuestion(Practice_container& card, const Word& word) {
    prepareTextfield(*screen.textfieldFWord, getFLang(card));
    screen.textGivenFWord->setText(word.get_text());
    prepareTextfield(*screen.textfieldKWord, getKLang(card));
    screen.itemfieldKWord->clearField();
    if (!card.getInverse()) {
        for (const Word* known : knownWords(*card.fcard())) {
            screen.itemfieldKWord->addItem(known->get_text());
            screen.itemfieldKWord->setLastId(known->getId());
        }
    }
}

void prepareHints(Practice_container& card, const Word& word) {
    screen.textPronunciation->setText(word.get_ipaPronounciation());
    screen.textHint->setText(word.get_mnemonic());
    screen.bitmapHint->changeFile(picturePath(MNEMONIC_IMAGE_DIR, word.getId()).c_str());
    card.hintPressed(false);
    const Level* level = card.getCurrentLevel();
    showHints(level == nullptr || level->get_hintHandling() == SHOWHINT);
}

// Without a word question there is no typed word to name the word on the article and verb pages,
// so they name the card's word in both directions.
const wchar_t* wordNamedOnPartPages(const Practice_container& card, const Word& word) {
    return card.getInverse() || !practiceRun.headParts.word ? word.get_text() : L"";
}

void prepareArticleQuestion(const Practice_container& card, const Word& word) {
    screen.textWordArticle->setText(wordNamedOnPartPages(card, word));
    screen.textWordArticle->resetConditions(page::WORD_ON_ARTICLE_PAGES);
    if (practiceRun.headParts.article) {
        fillArticles(*screen.selectionArticle, langId(card));
    }
}

void prepareVerbQuestion(const Practice_container& card, const Word& word) {
    releaseCardTables();
    screen.textWordVerb->setText(wordNamedOnPartPages(card, word));
    screen.textWordVerb->resetConditions(page::WORD_ON_VERB_PAGES);
    if (practiceRun.headParts.verb) {
        GuiTable* table = Verb::createEmptyTable(langId(card));
        practiceRun.headParts.verb = placeTable(screen.tableVerb, table, page::VERB_QUESTION | page::VERB_RESULT);
    }
}

}  // namespace

void fillQuestionPages(Practice_container& card) {
    const Word& word = *foreignWord(card);
    showLanguages(card);
    prepareWordQuestion(card, word);
    prepareHints(card, word);
    prepareArticleQuestion(card, word);
    prepareVerbQuestion(card, word);
}

void showHints(bool shown) {
    screen.textPronunciation->resetConditions(shown ? page::HINT_SHOWN : page::PRONUNCIATION_HIDDEN_HINT);
    screen.textHint->resetConditions(shown ? page::HINT_SHOWN : page::HINT_HIDDEN);
    screen.bitmapHint->resetConditions(shown ? page::HINT_SHOWN : page::HINT_HIDDEN);
}

void prepareTextfield(GuiTextfield& field, const Language* language) {
    field.setEditable(true);
    field.setText(L"");
    field.changeDirection(language != nullptr && language->get_rightToLeft());
}

void fillArticles(GuiSelectionfield& field, unsigned languageId) {
    field.clearField();
    for (const Article* article : modelui::recordsOfLanguage<Article>(languageId)) {
        modelui::addEntry(field, article->get_text(), article->getId());
    }
    field.setEditable(true);
}

GuiTable* placeTable(GuiTable*& slot, GuiTable* fresh, long pages) {
    releaseTable(slot);
    if (fresh != nullptr) {
        fresh->setConditions(pages);
        addElementToState(screen.state, fresh);
        fresh->setFunc(activateLanguage, FOREIGN_SIDE);
        slot = fresh;
    }
    return fresh;
}

void releaseCardTables() {
    releaseTable(screen.tableVerb);
    releaseTable(screen.tableCorrectVerb);
    releaseTable(screen.tableForcedVerb);
}
