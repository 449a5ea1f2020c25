#include <cstdlib>
#include <ctime>

#include <gmock/gmock.h>

#include "EditorTest.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiText.h"
#include "practice/dayTester.h"
#include "screens/DueDate.h"
#include "screens/stateLesson.h"
#include "states/SettingsState.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using modeltest::addLanguage;
using modeltest::addWord;
using screens::test::MessageResult;

// The editor's clock: noon UTC of the day set by the test.
std::time_t clockNow = 0;
std::time_t testClock() { return clockNow; }
void setToday(const CalendarDate& date) { clockNow = std::time_t{dayNumberOf(date)} * SECONDS_PER_DAY + 12 * 3600; }

const std::wstring WRONG_DATE = L"The entered date is incorrect!\nPlease use the format Day/Month/Year";
const std::wstring PAST_DATE = L"The entered date is lying in the past!\nPlease enter a date which is at least today";

class LessonEditorTest : public screens::test::EditorTest {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        EditorTest::SetUp();
        setToday({2030, 6, 15});
        setDueDateClock(testClock);
    }
    void TearDown() override {
        setDueDateClock(nullptr);
        EditorTest::TearDown();
    }

    void typeDate(std::wstring_view day, std::wstring_view month, std::wstring_view year) {
        typeInto("TEXTFIELD_DAY", day);
        typeInto("TEXTFIELD_MONTH", month);
        typeInto("TEXTFIELD_YEAR", year);
    }
    void newLesson(std::wstring_view title, std::wstring_view day, std::wstring_view month, std::wstring_view year) {
        pressButton(L"New Lesson");
        typeInto("TEXTFIELD_NEWLESSON", title);
        typeDate(day, month, year);
        pressButton(L"Save");
    }
    void editLesson(std::wstring_view title) {
        chooseEntry(title);
        pressButton(L"Edit Lesson");
        ASSERT_EQ(page(), LESSON_EDIT_PAGE);
    }
    static std::vector<std::wstring> shownDate() {
        return {fieldText("TEXTFIELD_DAY"), fieldText("TEXTFIELD_MONTH"), fieldText("TEXTFIELD_YEAR")};
    }
    static bool dueBoxTicked() { return getElementByTag<GuiCheckBox>("CHECK_DUE", curState)->getCheck(); }
    void toggleDueBox() {
        const GuiElement* box = element("CHECK_DUE");
        ASSERT_NE(box, nullptr);
        click(box->getX() + box->getWidth() - 10, box->getY() + box->getHeight() / 2);
        paint();
    }
    static std::vector<std::pair<std::wstring, std::int32_t>> storedLessons() {
        std::vector<std::pair<std::wstring, std::int32_t>> lessons;
        for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
            lessons.emplace_back(it->get_title(), it->get_due());
        }
        return lessons;
    }
    static std::int32_t day(unsigned year, unsigned month, unsigned dayOfMonth) {
        return dayNumberOf({year, month, dayOfMonth});
    }
    // Tries a date on a new lesson; returns the text of the box it caused ("" for none).
    std::wstring tryDate(std::wstring_view dayText, std::wstring_view month, std::wstring_view year) {
        pressButton(L"New Lesson");
        typeInto("TEXTFIELD_NEWLESSON", L"Try");
        typeDate(dayText, month, year);
        return saveAndHearWhy();
    }
};

TEST_F(LessonEditorTest, ALessonIsStoredWithTheDayOfItsDateAndOpensWithThatDate) {
    linkScreen(LinkedScreen::Lessons, createLessonState);
    show(createSettingsState());
    pressButton(L"Lessons");
    EXPECT_TRUE(painted(L" > Settings ✎ > Lessons"));

    pressButton(L"New Lesson");
    EXPECT_TRUE(painted(L"Add lesson"));
    EXPECT_TRUE(dueBoxTicked());
    EXPECT_THAT(shownDate(), ElementsAre(L"", L"", L""));
    typeInto("TEXTFIELD_NEWLESSON", L"Verbs");
    typeDate(L"25", L"6", L"2030");
    snapshot("lesson-new");
    pressButton(L"Save");
    EXPECT_EQ(page(), LIST_PAGE);
    EXPECT_THAT(entries(), ElementsAre(L"Verbs"));
    reloadDatabase();
    EXPECT_THAT(storedLessons(), ElementsAre(std::pair{std::wstring(L"Verbs"), day(2030, 6, 25)}));

    editLesson(L"Verbs");
    EXPECT_EQ(getElementByTag<GuiText>("TITLETEXT_ADD_EDIT_LESSON", curState)->getTextW(), std::wstring(L"Verbs"));
    EXPECT_EQ(fieldText("TEXTFIELD_NEWLESSON"), L"Verbs");
    EXPECT_TRUE(dueBoxTicked());
    EXPECT_THAT(shownDate(), ElementsAre(L"25", L"6", L"2030"));
    snapshot("lesson-edit");
    typeInto("TEXTFIELD_NEWLESSON", L"Irregular verbs");
    typeDate(L"1", L"7", L"2031");
    pressButton(L"Save");
    reloadDatabase();
    EXPECT_THAT(storedLessons(), ElementsAre(std::pair{std::wstring(L"Irregular verbs"), day(2031, 7, 1)}));
}

TEST_F(LessonEditorTest, TheDueDateStaysTheDateEnteredWhileDaysPassAndSavingAgainKeepsIt) {
    show(createLessonState());
    newLesson(L"Verbs", L"25", L"6", L"2030");  // ten days ahead
    const unsigned word = addWord(addLanguage(L"English"), L"dog");
    auto* card = new Flashcard(false, 5);
    card->setDependency(D_WORD, word);
    const unsigned cardId = Flashcard::add(card);
    saveEverything();

    // The stamp of today, then three roll-overs, one a day.
    testDayAt(clockNow);
    for (unsigned passed = 1; passed <= 3; ++passed) {
        setToday({2030, 6, 15 + passed});
        testDayAt(clockNow);
    }
    ASSERT_EQ(Flashcard::getById(cardId)->get_primaryNextDue(), 2);
    reloadDatabase();
    show(createLessonState());
    editLesson(L"Verbs");
    EXPECT_THAT(shownDate(), ElementsAre(L"25", L"6", L"2030"));
    pressButton(L"Save");
    reloadDatabase();
    EXPECT_THAT(storedLessons(), ElementsAre(std::pair{std::wstring(L"Verbs"), day(2030, 6, 25)}));

    // Once the date has passed the lesson can still be renamed; a new date in the past is refused.
    setToday({2030, 7, 1});
    show(createLessonState());
    editLesson(L"Verbs");
    EXPECT_THAT(shownDate(), ElementsAre(L"25", L"6", L"2030"));
    typeInto("TEXTFIELD_NEWLESSON", L"Old verbs");
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), 0u);
    editLesson(L"Old verbs");
    typeInto("TEXTFIELD_DAY", L"24");
    pressButton(L"Save");
    EXPECT_EQ(lastBoxText(), PAST_DATE);
    EXPECT_EQ(page(), LESSON_EDIT_PAGE);
    reloadDatabase();
    EXPECT_THAT(storedLessons(), ElementsAre(std::pair{std::wstring(L"Old verbs"), day(2030, 6, 25)}));
}

TEST_F(LessonEditorTest, DatesThatDoNotExistOrLieBeforeTodayAreRefused) {
    setToday({1999, 6, 1});
    show(createLessonState());
    // Leap days: every fourth year, except centuries not divisible by 400.
    EXPECT_EQ(tryDate(L"29", L"2", L"2000"), L"");
    EXPECT_EQ(tryDate(L"29", L"2", L"2024"), L"");
    EXPECT_EQ(tryDate(L"29", L"2", L"2023"), WRONG_DATE);
    EXPECT_EQ(tryDate(L"29", L"2", L"2100"), WRONG_DATE);
    // The years 1970 to 2037 only.
    EXPECT_EQ(tryDate(L"31", L"12", L"2037"), L"");
    EXPECT_EQ(tryDate(L"1", L"1", L"2038"), WRONG_DATE);
    // A year that would come out as 1970 if it were cut to 16 bits.
    EXPECT_EQ(tryDate(L"1", L"1", L"67506"), WRONG_DATE);
    EXPECT_EQ(tryDate(L"31", L"4", L"2030"), WRONG_DATE);
    EXPECT_EQ(tryDate(L"1", L"13", L"2030"), WRONG_DATE);
    EXPECT_EQ(tryDate(L"0", L"5", L"2030"), WRONG_DATE);
    EXPECT_EQ(tryDate(L"", L"", L""), WRONG_DATE);
    // Today is the earliest date.
    EXPECT_EQ(tryDate(L"31", L"5", L"1999"), PAST_DATE);
    EXPECT_EQ(tryDate(L"1", L"6", L"1999"), L"");

    reloadDatabase();
    std::vector<std::int32_t> stored;
    for (const auto& [title, due] : storedLessons()) {
        stored.push_back(due);
    }
    EXPECT_THAT(stored, ElementsAre(day(2000, 2, 29), day(2024, 2, 29), day(2037, 12, 31), day(1999, 6, 1)));
}

TEST_F(LessonEditorTest, WithoutTheDueBoxNoDateIsStoredWhateverTheFieldsHold) {
    show(createLessonState());
    pressButton(L"New Lesson");
    typeInto("TEXTFIELD_NEWLESSON", L"Someday");
    typeDate(L"99", L"99", L"9999");
    toggleDueBox();
    EXPECT_FALSE(dueBoxTicked());
    EXPECT_EQ(element("TEXTFIELD_DAY"), nullptr);
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), 0u);
    reloadDatabase();
    EXPECT_THAT(storedLessons(), ElementsAre(std::pair{std::wstring(L"Someday"), Lesson::NO_DUE_DATE}));

    editLesson(L"Someday");
    EXPECT_FALSE(dueBoxTicked());
    EXPECT_EQ(element("TEXTFIELD_DAY"), nullptr);
    EXPECT_EQ(element("TEXTFIELD_YEAR"), nullptr);
    snapshot("lesson-edit-no-date");
    // Ticking the box brings the empty fields back.
    toggleDueBox();
    EXPECT_NE(element("TEXTFIELD_DAY"), nullptr);
    EXPECT_THAT(shownDate(), ElementsAre(L"", L"", L""));
}

TEST_F(LessonEditorTest, DeleteAsksUnderTheLessonsTitleAndOnYesTakesItsCardsAlong) {
    const unsigned english = addLanguage(L"English");
    const unsigned french = addLanguage(L"French");
    const unsigned verbs = Lesson::add(new Lesson(L"Verbs", Lesson::NO_DUE_DATE));
    const unsigned nouns = Lesson::add(new Lesson(L"Nouns", Lesson::NO_DUE_DATE));
    auto addCard = [&](const wchar_t* foreign, const wchar_t* known, unsigned lesson) {
        auto* card = new Flashcard(true, 0);
        card->setDependency(D_WORD, addWord(french, foreign));
        card->setDependency(D_LESSON, lesson);
        const unsigned id = Flashcard::add(card);
        F_W::add(new F_W(id, addWord(english, known)));
        return id;
    };
    const unsigned aller = addCard(L"aller", L"to go", verbs);
    const unsigned venir = addCard(L"venir", L"to come", verbs);
    const unsigned chien = addCard(L"chien", L"dog", nouns);
    saveEverything();
    show(createLessonState());

    chooseEntry(L"Verbs");
    answerNextBox(MessageResult::No);
    pressButton(L"Delete Lesson");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(window->dialogs().messageBoxes()[0].caption, L"Verbs");
    EXPECT_EQ(lastBoxText(),
              L"You are about to delete the highlighted lesson.\nAll associated flashcards will be deleted as "
              L"well!\nContinue?");
    EXPECT_THAT(entries(), ElementsAre(L"Verbs", L"Nouns"));

    answerNextBox(MessageResult::Yes);
    pressButton(L"Delete Lesson");
    EXPECT_THAT(entries(), ElementsAre(L"Nouns"));
    reloadDatabase();
    EXPECT_EQ(Lesson::getById(verbs), nullptr);
    EXPECT_EQ(Flashcard::getById(aller), nullptr);
    EXPECT_EQ(Flashcard::getById(venir), nullptr);
    EXPECT_EQ(F_W::getAsTally(1, D_FLASHCARD, aller), 0u);
    EXPECT_EQ(F_W::getAsTally(1, D_FLASHCARD, venir), 0u);
    ASSERT_NE(Flashcard::getById(chien), nullptr);
    EXPECT_EQ(Flashcard::getById(chien)->getDependency(D_LESSON), nouns);
    EXPECT_EQ(F_W::getAsTally(1, D_FLASHCARD, chien), 1u);
}

TEST_F(LessonEditorTest, AnEditOfALessonBeyondTheFirstTenIsStored) {
    for (int i = 1; i <= 11; ++i) {
        Lesson::add(new Lesson((L"Lesson " + std::to_wstring(i)).c_str(), Lesson::NO_DUE_DATE));
    }
    saveEverything();
    show(createLessonState());
    searchList(L"11");
    chooseEntry(L"Lesson 11");
    pressButton(L"Edit Lesson");
    typeInto("TEXTFIELD_NEWLESSON", L"Revision");
    toggleDueBox();
    typeDate(L"1", L"1", L"2031");
    pressButton(L"Save");
    reloadDatabase();
    ASSERT_NE(Lesson::getById(11), nullptr);
    EXPECT_STREQ(Lesson::getById(11)->get_title(), L"Revision");
    EXPECT_EQ(Lesson::getById(11)->get_due(), day(2031, 1, 1));
}

TEST_F(LessonEditorTest, AFailedSaveKeepsThePageAndTheRetryStoresTheLessonOnce) {
    show(createLessonState());
    blockDirectory("Data/Lesson");
    newLesson(L"Verbs", L"20", L"6", L"2030");
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), LESSON_EDIT_PAGE);
    EXPECT_EQ(fieldText("TEXTFIELD_NEWLESSON"), L"Verbs");
    EXPECT_THAT(shownDate(), ElementsAre(L"20", L"6", L"2030"));

    unblockDirectory("Data/Lesson");
    pressButton(L"Save");
    EXPECT_EQ(page(), LIST_PAGE);
    reloadDatabase();
    EXPECT_THAT(storedLessons(), ElementsAre(std::pair{std::wstring(L"Verbs"), day(2030, 6, 20)}));
}

std::vector<std::string> openerUpdates;
void openerUpdate(const char* tag) {
    if (std::string_view(tag) == "LESSON_BUTTON") {
        addUpdate("SELECTIONFIELD_LESSON", curState);
        switchToState(createLessonState());
    } else {
        openerUpdates.emplace_back(tag);
    }
}

TEST_F(LessonEditorTest, OpenedFromAnotherEditorItReturnsThereWithTheOpenersQueuedTag) {
    State* opener = createEmptyState(L"Flashcard editor");
    opener->traceback = TRACEBACK_LINE;
    addElementToState(opener, new GuiButton(BUTTON3, 285, 190, L"Lessons", "LESSON_BUTTON"));
    opener->updateFunc = openerUpdate;
    show(opener);
    pressButton(L"Lessons");
    EXPECT_TRUE(painted(L" > Flashcard editor > Lessons"));
    EXPECT_THAT(openerUpdates, IsEmpty());
    newLesson(L"Verbs", L"20", L"6", L"2030");
    pressButton(L"⋘");
    EXPECT_EQ(curState, opener);
    EXPECT_THAT(openerUpdates, ElementsAre("SELECTIONFIELD_LESSON"));
    EXPECT_EQ(Lesson::getById(1)->get_due(), day(2030, 6, 20));
}

}  // namespace
