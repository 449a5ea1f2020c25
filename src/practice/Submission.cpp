#include "practice/Submission.h"

#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextfield.h"
#include "model/Grammar.h"
#include "model/Verb.h"
#include "model/Word.h"
#include "model/ui/LanguageRecords.h"
#include "practice/AnswerJudging.h"
#include "practice/AnswerRecording.h"
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

bool judgeArticlePart(const Practice_container& card, bool forced, JudgedParts& parts) {
    GuiSelectionfield& field = forced ? *screen.selectionForcedArticle : *screen.selectionArticle;
    const bool right = checkArticle(card, field, forced ? nullptr : screen.textCorrectArticle,
                                    forced ? nullptr : screen.textSWordArticle);
    if (!forced) {
        field.setEditable(false);
    }
    const Word* word = foreignWord(card);
    parts.article = right ? ArticleJudgement::Right : ArticleJudgement::Wrong;
    parts.articleId = word == nullptr ? 0 : word->getDependency(D_ARTICLE);
    return right;
}

// The grid the table was built from: the language's tenses and persons in ascending id.
VerbLayout layoutOf(unsigned languageId) {
    VerbLayout layout;
    for (const Tense* tense : modelui::recordsOfLanguage<Tense>(languageId)) {
        layout.tenses.push_back(tense->getId());
    }
    for (const Person* person : modelui::recordsOfLanguage<Person>(languageId)) {
        layout.persons.push_back(person->getId());
    }
    return layout;
}

void showVerbSolution(const Practice_container& card) {
    GuiTable* solution = Verb::createEmptyTable(langId(card));
    if (solution != nullptr) {
        fillVerbSolution(card, *solution);
    }
    placeTable(screen.tableCorrectVerb, solution, page::VERB_SOLUTION);
}

bool judgeVerbPart(const Practice_container& card, bool forced, JudgedParts& parts) {
    GuiTable* table = forced ? screen.tableForcedVerb : screen.tableVerb;
    if (table == nullptr) {
        return true;  // no table could be built for this card: the part is not asked
    }
    std::vector<bool> cells;
    const bool right = checkVerb(card, *table, forced ? nullptr : screen.textSWordVerb, &cells);
    VerbLayout layout = layoutOf(langId(card));
    if (layout.cells() == cells.size()) {
        parts.verbLayout = std::move(layout);
        parts.cellsRight = std::move(cells);
    }
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
    JudgedParts parts;
    if (practiceRun.headParts.word) {
        result = judgeWordPart(card, forced);
    }
    if (practiceRun.headParts.article && !judgeArticlePart(card, forced, parts)) {
        result = ANSWER_WRONG;
    }
    if (practiceRun.headParts.verb && !judgeVerbPart(card, forced, parts)) {
        result = ANSWER_WRONG;
    }
    if (!forced) {
        noteJudgement(std::move(parts));
    }
    return result;
}
