#include <gtest/gtest.h>

#include "PracticeFixture.h"
#include "practice/PracticePages.h"

namespace {

using namespace practicetest;
namespace page = practicepage;

class PracticeRunScreenTest : public PracticeTest {};

TEST_F(PracticeRunScreenTest, APrimaryCardWithArticleAndVerbIsAskedJudgedAndStored) {
    const unsigned id = card(v.parler, {v.speak, v.talk});
    Word::getById(v.parler)->setDependency(D_ARTICLE, v.le);
    saveDatabase(D_ENDTAG);
    openPractice();
    screenshot("options");
    pressButton(L"Start");
    ASSERT_EQ(page(), page::QUESTION_PRIMARY);
    EXPECT_TRUE(painted(L"speak"));
    screenshot("primary-question");
    type(L"parler");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::ARTICLE_QUESTION);
    EXPECT_TRUE(painted(L"parler"));
    chooseArticle(L"le");
    screenshot("article-question");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::VERB_QUESTION);
    typeIntoVerbCell(0, 0, L"parle");
    typeIntoVerbCell(0, 1, L"parles");
    typeIntoVerbCell(1, 0, L"parlerai");
    typeIntoVerbCell(1, 1, L"parlera");
    screenshot("verb-question");
    pressButton(L"Submit");
    EXPECT_EQ(page(), page::RESULT_PRIMARY);
    screenshot("primary-result");
    pressButton(L"Next");
    screenshot("article-result");
    pressButton(L"Next");
    EXPECT_EQ(page(), page::VERB_RESULT);
    screenshot("verb-result");
    pressButton(L"Next");
    screenshot("verb-solution");
    pressButton(L"Next");
    EXPECT_EQ(page(), page::OVERVIEW);
    EXPECT_TRUE(painted(L"Wrong"));
    screenshot("overview");
    pressButton(L"Continue");
    EXPECT_EQ(page(), page::RESULT_PRIMARY);
    screenshot("forced-result");
    pressButton(L"Next");
    EXPECT_EQ(page(), page::FORCED_PRIMARY);
    screenshot("forced");
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 0u);
}

}  // namespace
