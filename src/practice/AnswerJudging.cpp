#include "practice/AnswerJudging.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "practice/CardFacts.h"
#include "practice/Practice_container.h"

namespace {

void show(GuiText* element, const wchar_t* text) {
    if (element != nullptr) {
        element->setText(text);
    }
}

const wchar_t* textOf(const Word* word) { return word == nullptr ? L"" : word->get_text(); }

bool isKnownWord(const std::vector<Word*>& known, unsigned id) {
    return std::any_of(known.begin(), known.end(), [id](const Word* word) { return word->getId() == id; });
}

}  // namespace

// The typed text is compared with the card's own word first: should the language hold the same
// text twice, the card's word is still the right answer.
int judgeWord(const Practice_container& container, const GuiTextfield& field, GuiText* solution) {
    Word* correct = foreignWord(container);
    show(solution, textOf(correct));
    if (correct == nullptr) {
        return ANSWER_WRONG;
    }
    const std::wstring typed = field.visibleText();
    if (typed == correct->get_text()) {
        return ANSWER_CORRECT;
    }
    Word* given = Word::getWord(langId(container), typed.c_str());
    if (given == nullptr) {
        return ANSWER_WRONG;
    }
    return overlappingMeaning(*given, *correct) ? ANSWER_MINOR : ANSWER_WRONG;
}

bool overlappingMeaning(Word& a, Word& b) {
    if (!a.hasFirstTierRelations(D_MEANING) || !b.hasFirstTierRelations(D_MEANING)) {
        return false;
    }
    OrnQL_Base::RelationTree& meaningsOfA = a.fTR(D_MEANING);
    const OrnQL_Base::RelationTree& meaningsOfB = b.fTR(D_MEANING);
    for (auto it = Meaning::begin(meaningsOfA); it != Meaning::end(meaningsOfA); ++it) {
        if (meaningsOfB.containsID(it->getId())) {
            return true;
        }
    }
    return false;
}

int judgeInverted(const Practice_container& container, GuiItemfield& field, GuiItemfield* correction) {
    const std::vector<Word*> known = knownWords(*container.fcard());
    if (correction != nullptr) {
        correction->clearField();
        for (const Word* word : known) {
            correction->addItem(word->get_text());
            correction->setLastId(word->getId());
        }
    }
    int result = ANSWER_CORRECT;
    for (const Word* word : known) {
        if (!field.containsId(word->getId())) {
            result = ANSWER_WRONG;
        }
    }
    for (int i = 0; i < field.getNumberOfCurrentElements(); ++i) {
        const unsigned id = field.getEntryId(i);
        if (isKnownWord(known, id)) {
            result = result == ANSWER_WRONG ? ANSWER_MINOR : result;
        } else {
            result = result == ANSWER_CORRECT ? ANSWER_MINOR : result;
            field.setColourId(id, colours[INCORRECT_RGB]);
        }
    }
    return result;
}

bool checkArticle(const Practice_container& container, GuiSelectionfield& field, GuiText* correction,
                  GuiText* correctWord) {
    const Word* word = foreignWord(container);
    const Article* article = word == nullptr ? nullptr : Article::getById(word->getDependency(D_ARTICLE));
    show(correction, article == nullptr ? L"" : article->get_text());
    show(correctWord, textOf(word));
    if (article != nullptr && field.getActiveId() == article->getId()) {
        return true;
    }
    field.setColourId(field.getActiveId(), colours[INCORRECT_RGB]);
    return false;
}

bool checkVerb(const Practice_container& container, GuiTable& table, GuiText* rightWord,
               std::vector<bool>* cellsRight) {
    const Word* word = foreignWord(container);
    show(rightWord, textOf(word));
    if (word == nullptr) {
        return false;
    }
    Verb* verb = wordVerb(*word);
    return verb != nullptr && verb->checkTableSubmission(&table, word->get_text(), cellsRight);
}

// A pattern's forms are labels made from the infinitive; an irregular verb's stored forms go into
// text fields, which are then made read-only.
void fillVerbSolution(const Practice_container& container, GuiTable& table) {
    const Word* word = foreignWord(container);
    if (word == nullptr) {
        return;
    }
    if (VerbPattern* pattern = wordPattern(*word)) {
        pattern->convertFillTable(&table, word->get_text());
    } else if (IrregularVerb* irregular = wordIrregularVerb(*word)) {
        irregular->fillTable(&table);
        irregular->setTableEditable(&table, false);
    }
}
