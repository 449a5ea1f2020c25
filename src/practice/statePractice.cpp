// The practice screen. Elements in the order they are added (the drawing and Tab order); pages are
// the masks of PracticePages.h, "focus F/K" marks the elements whose focus switches to the foreign
// or known keyboard.
//
//  #   element               centre / top-left      text or tag                    pages
//  1   text                  500,40 300x70          "Practice"                     1|2|4|8
//  2   button                680,460                Start -> START                 1|8
//  3   button                320,460                Back -> BIT_BACK               4|8
//  4   button                680,460                Next -> BIT_NEXT               2|4
//  5   button                320,460                Cancel -> ROLLBACK             1
//  6-8 check boxes           250,150/250/350        regular/irregular verbs, articles (ticked)  1
//  9   check box             750,150                time restriction, timeRestrictionFlip       1
//  10  text                  720,250 100x50         "-"                            1
//  11  text field, numeric   720,250 100x62         minutes                        hidden / 1
//  12  text                  870,250 200x50         "Minutes"                      1
//  13  button                750,350                More restrictions -> page 2    1
//  14  button                320,460                Cancel -> INIT                 2
//  15-20 title and shift field per filter (languages 2, lessons 4, categories 8)
//  21  rectangle             -5,-5 1010x510         forced background             forced pages
//  22-23 language headers    226,40 / 486,40        foreign / known               word pages
//  24-30 foreign side: word field, given word, forced word field, pronunciation, Hint button,
//        hint text, hint picture (focus F)
//  31-39 known side: word field, Add, Remove, known-word list, keyboard picture, verdict,
//        solution list, forced list, quick Continue (focus K)
//  40-48 article pages;  49-52 verb pages;  53-57 overview;  58-60 all done
//  61-64 arrows Next, Submit, Back and Exit at the top right of every card page
//  65  button                226,160                Speak (F5) -> the card's word  judged pages, when
//                                                                                   its language has a voice
//  66  text                  226,360 180x20         why nothing is heard           with 65
//  67  check box             750,405 400x36         "Speak each word when judged"  1
//  68    text                  500,200 800x50         "There are no flashcards yet."  NO_CARDS
//  69-70 buttons               320,330 / 680,330      Import words, Try a sample collection (when
//                                                     linked in)                   NO_CARDS
//  71  button                500,430                Statistics -> statistics screen  all done
//                                                   (once linked in)

#include "practice/statePractice.h"

#include "gui/GuiBitmap.h"
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiRect.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/guiShiftfield.h"
#include "model/InterfaceText.h"
#include "practice/KeyboardFocus.h"
#include "practice/PracticePages.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "practice/PracticeSpeech.h"
#include "practice/PracticeUpdate.h"
#include "resources/SecondStrings.h"
#include "states/ScreenRegistry.h"

PracticeScreen practiceScreen;

namespace {

namespace page = practicepage;

PracticeScreen& screen = practiceScreen;

constexpr long FILTER_TITLE_PAGES = page::START | page::LANGUAGES | page::LESSONS | page::CATEGORIES | page::NO_CARDS;
constexpr long FORCED_PAGES = page::FORCED_PRIMARY | page::FORCED_INVERTED | page::ARTICLE_FORCED | page::VERB_FORCED;
constexpr long WORD_HEADER_PAGES = 13104;

// Adds the element to the screen on `pages`; the screen owns it from here on.
template <typename Element>
Element* place(Element* element, long pages) {
    addElementToState(screen.state, element);
    element->setConditions(pages);
    return element;
}

GuiText* text(const wchar_t* caption, int centerX, int centerY, int width, int height, long pages) {
    return place(new GuiText(caption, centerX, centerY, width, height, FONT1, TEXT_CENTRE), pages);
}

GuiText* text(framew_strings caption, int centerX, int centerY, int width, int height, long pages) {
    return text(interfaceText(caption), centerX, centerY, width, height, pages);
}

GuiButton* button(int style, int centerX, int centerY, framew_strings caption, const char* tag, long pages) {
    return place(new GuiButton(style, centerX, centerY, interfaceText(caption), tag), pages);
}

GuiTextfield* textfield(int centerX, int centerY, const wchar_t* initial, int width, int height, long pages) {
    return place(new GuiTextfield(centerX, centerY, initial, false, width, height), pages);
}

GuiCheckBox* checkBox(framew_strings caption, int centerX, int centerY, bool ticked, BoolFunc change) {
    return place(new GuiCheckBox(interfaceText(caption), centerX, centerY, 400, 50, ticked, change), page::START);
}

// A language's name with its flag to the right, centred on (centerX, centerY) together.
LanguageHeader langInstallation(long pages, int centerX, int centerY) {
    LanguageHeader header;
    header.name = text(L"", centerX - 41, centerY, 190, 30, pages);
    header.flag = place(createPermanentGuiBitmap(centerX + 94, centerY, 54, 30, nullptr), pages);
    return header;
}

void addFilterPage(long pageMask, framew_strings title, const char* useTag, const char* dontUseTag, GuiItemfield** use,
                   GuiItemfield** dontUse) {
    text(title, 500, 90, 200, 40, pageMask);
    setConditional(screen.state, pageMask);
    createGuiShiftfield(useTag, dontUseTag, interfaceText(String_USE), interfaceText(String_DONT_USE), 500, 270, 800,
                        300, use, dontUse);
}

void addStartPage() {
    text(String_PRACTICE, 500, 40, 300, 70, FILTER_TITLE_PAGES);
    button(BUTTON1, 680, 460, String_START, "START", page::START | page::CATEGORIES);
    button(BUTTON1, 320, 460, String_BACK, "BIT_BACK", page::LESSONS | page::CATEGORIES);
    button(BUTTON1, 680, 460, String_NEXT, "BIT_NEXT", page::LANGUAGES | page::LESSONS);
    button(BUTTON1, 320, 460, String_CANCEL, "ROLLBACK", page::START | page::NO_CARDS);
    screen.checkBoxRegularVerbs = checkBox(String_REGULAR_VERBS, 250, 150, true, nullptr);
    screen.checkBoxIrregularVerbs = checkBox(String_IRREGULAR_VERBS, 250, 250, true, nullptr);
    screen.checkBoxArticles = checkBox(String_ARTICLES, 250, 350, true, nullptr);
    screen.checkBoxTimeRestricted = checkBox(String_TIME_RESTRICTION, 750, 150, false, timeRestrictionFlip);
    // The field lies over the "-", which shows while the field is hidden.
    text(L"-", 720, 250, 100, 50, page::START);
    screen.textfieldTime = textfield(720, 250, L"", 100, 62, page::HIDDEN);
    screen.textfieldTime->setNumeric(true);
    text(String_MINUTES, 870, 250, 200, 50, page::START);
    place(new GuiButton(BUTTON1, 750, 350, interfaceText(String_MORE_RESTRICTIONS), page::LANGUAGES), page::START);
    button(BUTTON1, 320, 460, String_CANCEL, "INIT", page::LANGUAGES);
}

void addFilterPages() {
    addFilterPage(page::LANGUAGES, String_LANGUAGES, "IFIELD_LANGUAGE_USE", "IFIELD_LANGUAGE_DONTUSE",
                  &screen.itemfieldUseLanguage, &screen.itemfieldDontUseLanguage);
    addFilterPage(page::LESSONS, String_LESSONS, "IFIELD_LESSON_USE", "IFIELD_LESSON_DONTUSE",
                  &screen.itemfieldUseLesson, &screen.itemfieldDontUseLesson);
    addFilterPage(page::CATEGORIES, String_CATEGORIES, "IFIELD_CATEGORY_USE", "IFIELD_CATEGORY_DONTUSE",
                  &screen.itemfieldUseCategory, &screen.itemfieldDontUseCategory);
}

void addForeignSide() {
    setFocusFunc(activateLanguage, FOREIGN_SIDE);
    screen.foreignA = langInstallation(WORD_HEADER_PAGES, 226, 40);
    screen.knownA = langInstallation(WORD_HEADER_PAGES, 486, 40);
    screen.textfieldFWord = textfield(226, 80, L"Test::Foreign Word", 242, 30, page::QUESTION_PRIMARY | page::RESULT_PRIMARY);
    screen.textGivenFWord = text(L"Test::Given Word", 226, 80, 242, 30,
                                 page::QUESTION_INVERTED | page::RESULT_INVERTED | page::FORCED_INVERTED);
    screen.textfieldForcedFWord = textfield(226, 80, L"Test::Forced Word", 242, 30, page::FORCED_PRIMARY);
    screen.textPronunciation = text(L"Test::Pronunciation", 226, 120, 242, 30, page::PRONUNCIATION_HIDDEN_HINT);
    button(BUTTON3, 226, 160, String_HINT, "HINT", page::QUESTION_PRIMARY | page::QUESTION_INVERTED);
    screen.textHint = text(L"Test::Hint", 226, 200, 242, 30, page::HINT_HIDDEN);
    screen.bitmapHint = place(createPermanentGuiBitmap(226, 280, 150, 110, nullptr), page::HINT_HIDDEN);
}

void addKnownSide() {
    setFocusFunc(activateLanguage, KNOWN_SIDE);
    const long knownInput = page::QUESTION_INVERTED | page::FORCED_INVERTED;
    screen.textfieldKWord = textfield(486, 80, L"Test::Known Word", 242, 30, knownInput);
    button(BUTTON3, 486, 120, String_ADD, "ADD_WORD", knownInput);
    button(BUTTON3, 486, 160, String_REMOVE, "REMOVE_WORD", knownInput);
    screen.itemfieldKWord = place(new GuiItemfield(365, 185, 242, 205),
                                  page::QUESTION_PRIMARY | page::QUESTION_INVERTED | page::RESULTS | page::FORCED_PRIMARY);
    screen.bitmapKeybrd = place(createPermanentGuiBitmap(500, 450, 400, 100, nullptr),
                                page::QUESTION_PRIMARY | page::QUESTION_INVERTED | page::FORCED_PRIMARY |
                                    page::FORCED_INVERTED);
    screen.textResultWord = text(L"Test::Result Word", 500, 450, 200, 50, page::RESULTS);
    screen.itemfieldSolutionKWord = place(new GuiItemfield(682, 185, 242, 205), page::RESULT_INVERTED);
    screen.itemfieldForcedKWord = place(new GuiItemfield(365, 185, 242, 205), page::FORCED_INVERTED);
    screen.buttonCorrectContinue = button(BUTTON1, 803, 450, String_CONTINUE, "CONTINUE", page::RESULTS);
    unsetFocusFuncs();
}

void addWordPages() {
    place(new GuiRect(colours[FORCED_RGB], -5, -5, 1010, 510, PEN_NULL), FORCED_PAGES);
    addForeignSide();
    addKnownSide();
    text(String_CORRECT_ANSWER, 810, 120, 242, 30, page::ARTICLE_RESULT | page::RESULTS);
    screen.textCorrectFWord = text(L"Test::Correct Foreign Word", 810, 160, 242, 30, page::RESULT_PRIMARY);
}

void addArticlePages() {
    screen.foreignB = langInstallation(page::WORD_ON_ARTICLE_PAGES, 500, 150);
    screen.textWordArticle = text(L"Test::Article Word", 500, 210, 242, 30, page::WORD_ON_ARTICLE_PAGES);
    screen.selectionArticle =
        place(new GuiSelectionfield(500, 260, 242, 30), page::ARTICLE_QUESTION | page::ARTICLE_RESULT);
    screen.textCorrectArticle = text(L"Test::Solution", 802, 260, 242, 30, page::ARTICLE_RESULT);
    screen.selectionForcedArticle = place(new GuiSelectionfield(500, 260, 242, 30), page::ARTICLE_FORCED);
    screen.textSWordArticle = text(L"Test::Correct Word", 802, 210, 242, 30, page::ARTICLE_RESULT);
    screen.textForcedWordArticle = text(L"Test::Correct Word", 500, 210, 242, 30, page::ARTICLE_FORCED);
}

void addVerbPages() {
    screen.foreignC = langInstallation(page::WORD_ON_VERB_PAGES, 486, 40);
    screen.textWordVerb = text(L"Test::Word Verb", 226, 40, 242, 30, page::WORD_ON_VERB_PAGES);
    screen.textSWordVerb = text(L"Test::Correct Word", 226, 40, 242, 30, page::VERB_SOLUTION | page::VERB_FORCED);
    text(String_CORRECT_ANSWER, 486, 40, 250, 30, page::VERB_SOLUTION);
}

void addOverviewAndEnd() {
    screen.textResultOverview = text(L"Test::Result Overview", 500, 100, 250, 40, page::OVERVIEW);
    button(BUTTON1, 500, 190, String_CONTINUE, "CONTINUE", page::OVERVIEW);
    button(BUTTON1, 500, 270, String_CORRECT, "CORRECT", page::OVERVIEW);
    button(BUTTON1, 500, 350, String_MINOR, "MINOR", page::OVERVIEW);
    button(BUTTON1, 500, 430, String_WRONG, "WRONG", page::OVERVIEW);
    place(new GuiTitleText(interfaceText(String_WHOOP), 0), page::ALL_DONE);
    text(String_ALL_DONE, 500, 200, 500, 50, page::ALL_DONE);
    button(BUTTON1, 500, 350, String_CONTINUE, "FINISH", page::ALL_DONE);
}

void addArrows() {
    screen.buttonNext = button(BUTTON2, 850, 40, String_NEXT, "ARR_NEXT", page::CARD_PAGES);
    screen.buttonSubmit = button(BUTTON2, 850, 40, String_SUBMIT, "SUBMIT", page::CARD_PAGES);
    screen.buttonBack = button(BUTTON2, 750, 40, String_BACK, "ARR_BACK", page::CARD_PAGES);
    button(BUTTON2, 950, 40, String_EXIT, "EXIT", page::CARD_PAGES);
}

// Without any flashcard there is nothing to practise: the two ways to the first words instead.
void addNoCardsPage() {
    text(interfaceText2(String2_NO_FLASHCARDS_YET), 500, 200, 800, 50, page::NO_CARDS);
    if (linkedScreen(LinkedScreen::Import) != nullptr) {
        place(new GuiButton(BUTTON1, 320, 330, interfaceText2(String2_IMPORT_WORDS), "IMPORT_WORDS"), page::NO_CARDS);
    }
    if (linkedScreen(LinkedScreen::SampleCollection) != nullptr) {
        place(new GuiButton(BUTTON1, 680, 330, interfaceText2(String2_TRY_SAMPLE), "TRY_SAMPLE"), page::NO_CARDS);
    }
}

// Where the learner stands after the run; stacked on this screen, whose all-done page waits.
void addStatisticsButton() {
    if (StateBuilder open = linkedScreen(LinkedScreen::Statistics)) {
        place(new GuiButton(BUTTON1, 500, 430, interfaceText2(String2_STATISTICS), open), page::ALL_DONE);
    }
}

// The screen and its run go together; the pointers into the screen go with it.
void forgetPracticeScreen() {
    resetPracticeRun();
    practiceScreen = PracticeScreen();
}

}  // namespace

State* createPracticeState() {
    // An older practice screen left somewhere no longer owns the run the new one starts.
    if (screen.state != nullptr) {
        screen.state->terminateFunc = nullptr;
    }
    resetPracticeRun();
    forgetActivatedLanguage();
    screen = PracticeScreen();
    screen.state = createEmptyState(interfaceText(String_PRACTICE));
    addStartPage();
    addFilterPages();
    addWordPages();
    addArticlePages();
    addVerbPages();
    addOverviewAndEnd();
    addArrows();
    addPracticeSpeech(screen.state);
    addNoCardsPage();
    addStatisticsButton();
    State* state = screen.state;
    state->traceback = TRACEBACK_FIRST_PAGE;
    state->updateFunc = practiceUpdate;
    state->aliveFunc = alive;
    state->terminateFunc = forgetPracticeScreen;
    state->condition = page::START;
    addUpdate(UPDATE_TAG_INIT, state);
    return state;
}

void timeRestrictionFlip(bool on) {
    GuiTextfield* minutes = screen.textfieldTime;
    if (minutes == nullptr) {
        return;  // the box reports its first state before the field exists
    }
    if (on) {
        minutes->resetConditions(page::START);
    } else {
        minutes->resetConditions(page::HIDDEN);
        minutes->setText(0u);
    }
}
