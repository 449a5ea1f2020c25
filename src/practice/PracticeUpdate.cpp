#include "practice/PracticeUpdate.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Category.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/Word.h"
#include "model/ui/LanguageRecords.h"
#include "platform/Platform.h"
#include "practice/AnswerJudging.h"
#include "practice/PracticePages.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "practice/PracticeSpeech.h"
#include "practice/RunQueue.h"
#include "states/ScreenRegistry.h"
#include "states/UpdateTable.h"

namespace {

namespace page = practicepage;

PracticeScreen& screen = practiceScreen;

void addItem(GuiItemfield& list, const wchar_t* text, unsigned id) {
    list.addItem(text);
    list.setLastId(id);
}

IdSet idsOf(const GuiItemfield& list) {
    IdSet ids;
    for (int i = 0; i < list.getNumberOfCurrentElements(); ++i) {
        ids.insert(list.getEntryId(i));
    }
    return ids;
}

// --- options -------------------------------------------------------------------------------------

void fillLanguages(GuiItemfield& list) {
    std::vector<Language*> languages = modelui::allRecords<Language>();
    std::stable_sort(languages.begin(), languages.end(), [](const Language* a, const Language* b) {
        return std::wcscmp(a->get_name(), b->get_name()) < 0;
    });
    for (const Language* language : languages) {
        addItem(list, language->get_name(), language->getId());
    }
}

void fillLessons(GuiItemfield& list) {
    addItem(list, interfaceText(String_N_A), 0);
    for (const Lesson* lesson : modelui::allRecords<Lesson>()) {
        addItem(list, lesson->get_title(), lesson->getId());
    }
}

void fillCategories(GuiItemfield& list) {
    addItem(list, interfaceText(String_N_A), 0);
    for (const Category* category : modelui::allRecords<Category>()) {
        addItem(list, category->get_description(), category->getId());
    }
}

void resetOptions() {
    endRun();
    screen.checkBoxRegularVerbs->setCheck(true);
    screen.checkBoxIrregularVerbs->setCheck(true);
    screen.checkBoxArticles->setCheck(true);
    screen.checkBoxTimeRestricted->setCheck(false);
    for (GuiItemfield* list : {screen.itemfieldUseLanguage, screen.itemfieldDontUseLanguage, screen.itemfieldUseLesson,
                               screen.itemfieldDontUseLesson, screen.itemfieldUseCategory,
                               screen.itemfieldDontUseCategory}) {
        list->clearField();
    }
    fillLanguages(*screen.itemfieldUseLanguage);
    fillLessons(*screen.itemfieldUseLesson);
    fillCategories(*screen.itemfieldUseCategory);
    prepareNextRun();
    nextCondition = Flashcard::elementTree().size() == 0 ? page::NO_CARDS : page::START;
}

RunOptions chosenOptions() {
    RunOptions options;
    options.parts.regularVerbs = screen.checkBoxRegularVerbs->getCheck();
    options.parts.irregularVerbs = screen.checkBoxIrregularVerbs->getCheck();
    options.parts.articles = screen.checkBoxArticles->getCheck();
    options.timeRestricted = screen.checkBoxTimeRestricted->getCheck();
    options.minutes = screen.textfieldTime->getNumber();
    options.languages = idsOf(*screen.itemfieldUseLanguage);
    options.lessons = idsOf(*screen.itemfieldUseLesson);
    options.categories = idsOf(*screen.itemfieldUseCategory);
    return options;
}

void start() {
    if (!startRun(chosenOptions())) {
        platform::current().messageBox(interfaceText(String_ALL_DONE), interfaceText(String_INFORMATION),
                                       platform::MessageIcon::Information, platform::MessageButtons::Ok);
    }
}

// The import screens are stacked on this one, which fills its options again on return.
void openLinked(LinkedScreen linked) {
    if (StateBuilder open = linkedScreen(linked)) {
        addUpdate(UPDATE_TAG_INIT, screen.state);
        switchToState(open());
    }
}
void importWords() { openLinked(LinkedScreen::Import); }
void trySample() { openLinked(LinkedScreen::SampleCollection); }

void filterPageBack() { nextCondition = screen.state->condition / 2; }
void filterPageOn() { nextCondition = screen.state->condition * 2; }
void leaveScreen() { rollbackFlag = true; }

// --- the card ------------------------------------------------------------------------------------

void nextPage() {
    loadInput();
    showNextPage();
}

bool typingKnownWords() {
    return practiceRun.pQ != nullptr &&
           (practiceRun.phase == RunPhase::Question || practiceRun.phase == RunPhase::Forced);
}

GuiItemfield& answerList() {
    return practiceRun.forcedActivated ? *screen.itemfieldForcedKWord : *screen.itemfieldKWord;
}

void addKnownWord() {
    if (!typingKnownWords()) {
        return;
    }
    const std::wstring typed = screen.textfieldKWord->visibleText();
    if (typed.empty()) {
        return;
    }
    const Language* known = getKLang(*practiceRun.pQ);
    const Word* word = known == nullptr ? nullptr : Word::getWord(known->getId(), typed.c_str());
    addItem(answerList(), typed.c_str(), word == nullptr ? 0 : word->getId());
    screen.textfieldKWord->setText(L"");
}

void removeKnownWord() {
    if (typingKnownWords()) {
        answerList().deleteItem();
    }
}

void submit() {
    if (practiceRun.forcedActivated) {
        evaluateForced();
        return;
    }
    evaluate();
    if (practiceRun.phase == RunPhase::Result) {
        answerJudged();
    }
}

void overrideResult(int result) {
    if (practiceRun.phase == RunPhase::Result) {
        practiceRun.evaluatedResult = result;
        continueRun();
    }
}

void overrideCorrect() { overrideResult(ANSWER_CORRECT); }
void overrideMinor() { overrideResult(ANSWER_MINOR); }
void overrideWrong() { overrideResult(ANSWER_WRONG); }

void finish() {
    screen.buttonBack->setConditions(page::HIDDEN);
    screen.buttonNext->setConditions(page::HIDDEN);
    screen.buttonSubmit->setConditions(page::HIDDEN);
    leaveScreen();
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_TAG_INIT, resetOptions},
    {"BIT_BACK", filterPageBack},
    {"BIT_NEXT", filterPageOn},
    {"ROLLBACK", leaveScreen},
    {"START", start},
    {"ARR_BACK", showPreviousPage},
    {"ARR_NEXT", nextPage},
    {"LOAD_INPUT", loadInput},
    {"HINT", pressHint},
    {"EXIT", resetOptions},  // resetting the options ends the run first
    {"ADD_WORD", addKnownWord},
    {"REMOVE_WORD", removeKnownWord},
    {"SUBMIT", submit},
    {"CONTINUE", continueRun},
    {"CORRECT", overrideCorrect},
    {"MINOR", overrideMinor},
    {"WRONG", overrideWrong},
    {"FINISH", finish},
    {"IMPORT_WORDS", importWords},
    {"TRY_SAMPLE", trySample},
};

}  // namespace

void practiceUpdate(const char* tag) {
    if (screen.state == nullptr) {
        return;
    }
    if (tag == nullptr) {
        resetOptions();
        return;
    }
    dispatchUpdate(updateHandlers, tag);
}
