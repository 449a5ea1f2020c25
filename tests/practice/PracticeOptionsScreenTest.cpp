#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PracticeFixture.h"
#include "practice/PracticePages.h"

namespace {

using namespace practicetest;
namespace page = practicepage;

class PracticeOptionsScreenTest : public PracticeTest {
protected:
    // The options are offered once there is a card (not due for days, so nothing is practised).
    void SetUp() override {
        PracticeTest::SetUp();
        card(v.chien, {v.dog}, false, 5);
    }

    // The entries of a list as "text#id".
    static std::vector<std::wstring> entries(const GuiItemfield& list) {
        std::vector<std::wstring> shown;
        for (int i = 0; i < list.getNumberOfCurrentElements(); ++i) {
            shown.push_back(std::wstring(list.getEntry(i)) + L"#" + std::to_wstring(list.getEntryId(i)));
        }
        return shown;
    }
    static std::wstring id(unsigned n) { return L"#" + std::to_wstring(n); }
    void expectDefaults() const {
        EXPECT_EQ(page(), page::START);
        EXPECT_TRUE(practiceScreen.checkBoxRegularVerbs->getCheck());
        EXPECT_TRUE(practiceScreen.checkBoxIrregularVerbs->getCheck());
        EXPECT_TRUE(practiceScreen.checkBoxArticles->getCheck());
        EXPECT_FALSE(practiceScreen.checkBoxTimeRestricted->getCheck());
        EXPECT_EQ(practiceScreen.textfieldTime->getConditions(), page::HIDDEN);
        // Languages by name, lessons and categories by id after "n/a".
        EXPECT_EQ(entries(*practiceScreen.itemfieldUseLanguage),
                  (std::vector<std::wstring>{L"English" + id(v.english), L"French" + id(v.french)}));
        EXPECT_EQ(entries(*practiceScreen.itemfieldUseLesson),
                  (std::vector<std::wstring>{L"n/a#0", L"Basics" + id(v.basics)}));
        EXPECT_EQ(entries(*practiceScreen.itemfieldUseCategory),
                  (std::vector<std::wstring>{L"n/a#0", L"Animals" + id(v.animals)}));
        EXPECT_EQ(practiceScreen.itemfieldDontUseLanguage->getNumberOfCurrentElements(), 0);
        EXPECT_EQ(practiceScreen.itemfieldDontUseLesson->getNumberOfCurrentElements(), 0);
        EXPECT_EQ(practiceScreen.itemfieldDontUseCategory->getNumberOfCurrentElements(), 0);
    }
};

TEST_F(PracticeOptionsScreenTest, AFreshScreenOffersEverythingWithNoTimeLimit) {
    openPractice();
    expectDefaults();
    EXPECT_TRUE(painted(L"-"));
    EXPECT_TRUE(painted(L" > Practice"));
}

TEST_F(PracticeOptionsScreenTest, TheTimeRestrictionShowsTheMinutesFieldAndUntickingResetsIt) {
    openPractice();
    setBox(practiceScreen.checkBoxTimeRestricted, true);
    GuiTextfield& minutes = *practiceScreen.textfieldTime;
    EXPECT_TRUE(curState->takesPart(minutes));
    click(minutes.getX() + 5, minutes.getY() + 5);
    type(L"1x5");  // only digits go into the field
    EXPECT_EQ(minutes.getNumber(), 15u);
    paint();
    screenshot("options-time");
    setBox(practiceScreen.checkBoxTimeRestricted, false);
    EXPECT_FALSE(curState->takesPart(minutes));
    EXPECT_EQ(minutes.getNumber(), 0u);
}

TEST_F(PracticeOptionsScreenTest, TheFilterPagesAreWalkedWithNextAndBackAndCancelRestoresEverything) {
    openPractice();
    setBox(practiceScreen.checkBoxArticles, false);
    pressButton(L"More restrictions");
    ASSERT_EQ(page(), page::LANGUAGES);
    EXPECT_TRUE(painted(L"Languages"));
    pressButton(L"»");  // English (the first by name) is not used
    EXPECT_EQ(entries(*practiceScreen.itemfieldDontUseLanguage), (std::vector<std::wstring>{L"English" + id(v.english)}));
    screenshot("options-languages");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::LESSONS);
    pressButton(L"Next");
    ASSERT_EQ(page(), page::CATEGORIES);
    EXPECT_NE(buttonCaptioned(L"Start"), nullptr);
    pressButton(L"Back");
    ASSERT_EQ(page(), page::LESSONS);
    pressButton(L"Back");
    ASSERT_EQ(page(), page::LANGUAGES);
    pressButton(L"Cancel");
    expectDefaults();
}

TEST_F(PracticeOptionsScreenTest, StartOnTheLastFilterPageAsksOnlyTheCardsThatPass) {
    const unsigned animal = card(v.chien, {v.dog});
    card(v.maison, {v.house});  // no category
    const unsigned english = card(v.dog, {v.chien});  // Animals too
    Flashcard::getById(english)->setDependency(D_LESSON, v.basics);
    saveDatabase(D_ENDTAG);
    openPractice();
    pressButton(L"More restrictions");
    pressButton(L"Next");
    // Lessons: "n/a" goes, so only cards of a lesson are asked.
    pressButton(L"»");
    pressButton(L"Next");
    pressButton(L"Start");
    ASSERT_NE(head(), nullptr);
    EXPECT_EQ(Practice_container::listLength(head()), 1u);
    EXPECT_EQ(head()->fcard()->getId(), english);
    pressButton(L"Exit");

    // Categories: "n/a" goes, so only the cards of a category (both animals) are asked.
    pressButton(L"More restrictions");
    pressButton(L"Next");
    pressButton(L"Next");
    pressButton(L"»");
    pressButton(L"Start");
    ASSERT_NE(head(), nullptr);
    EXPECT_EQ(Practice_container::listLength(head()), 2u);
    for (const Practice_container* c = head(); c != nullptr; c = c->getNext()) {
        EXPECT_TRUE(c->fcard()->getId() == animal || c->fcard()->getId() == english);
    }
}

TEST_F(PracticeOptionsScreenTest, ATimeLimitTakesTheMostOverdueCardsFirst) {
    card(v.chien, {v.dog}, false, 0);
    const unsigned overdue = card(v.chat, {v.cat}, false, -6);
    openPractice();
    setBox(practiceScreen.checkBoxArticles, false);
    setBox(practiceScreen.checkBoxTimeRestricted, true);
    click(practiceScreen.textfieldTime->getX() + 5, practiceScreen.textfieldTime->getY() + 5);
    type(L"1");
    pressButton(L"Start");
    ASSERT_NE(head(), nullptr);
    EXPECT_EQ(Practice_container::listLength(head()), 1u);
    EXPECT_EQ(head()->fcard()->getId(), overdue);
}

}  // namespace
