#include "practice/Submission.h"

#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextfield.h"
#include "model/Verb.h"
#include "model/Word.h"
#include "practice/AnswerJudging.h"
#include "practice/CardDisplay.h"
#include "practice/CardFacts.h"
#include "practice/PracticePages.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"

namespace {

namespace page = practicepage;

PracticeScreen& screen = practiceScreen;

int judgeWordPart(const Practice_container& card, bool forced) {
    if (card.getInverse()) {
        return judgeInverted(card, forced ? *screen.itemfieldForcedKWord : *screen.itemfieldKWord,
                             forced ? nullptr : screen.itemfieldSolutionKWord);
    }
    GuiTextfield& field = forced ? *screen.textfieldForcedFWord : *screen.textfieldFWord;
    const int result = judgeWord(card, field, forced ? nullptr : screen.textCorrectFWord);
    if (!forced) {
        field.setEditable(false);
    }
    return result;
}

bool judgeArticlePart(const Practice_container& card, bool forced) {
    GuiSelectionfield& field = forced ? *screen.selectionForcedArticle : *screen.selectionArticle;
    const bool right = checkArticle(card, field, forced ? nullptr : screen.textCorrectArticle,
                                    forced ? nullptr : screen.textSWordArticle);
    if (!forced) {
        field.setEditable(false);
    }
    return right;
}

void showVerbSolution(const Practice_container& card) {
    GuiTable* solution = Verb::createEmptyTable(langId(card));
    if (solution != nullptr) {
        fillVerbSolution(card, *solution);
    }
    placeTable(screen.tableCorrectVerb, solution, page::VERB_SOLUTION);
}

bool judgeVerbPart(const Practice_container& card, bool forced) {
    GuiTable* table = forced ? screen.tableForcedVerb : screen.tableVerb;
    if (table == nullptr) {
        return true;  // no table could be built for this card: the part is not asked
    }
    const bool right = checkVerb(card, *table, forced ? nullptr : screen.textSWordVerb);
    if (!forced) {
        if (const Word* word = foreignWord(card)) {
            if (Verb* verb = wordVerb(*word)) {
                verb->setTableEditable(table, false);
            }
        }
        showVerbSolution(card);
    }
    return right;
}

}  // namespace

int checkSubmission(const Practice_container& card, bool forced) {
    int result = ANSWER_CORRECT;
    if (practiceRun.headParts.word) {
        result = judgeWordPart(card, forced);
    }
    if (practiceRun.headParts.article && !judgeArticlePart(card, forced)) {
        result = ANSWER_WRONG;
    }
    if (practiceRun.headParts.verb && !judgeVerbPart(card, forced)) {
        result = ANSWER_WRONG;
    }
    return result;
}
