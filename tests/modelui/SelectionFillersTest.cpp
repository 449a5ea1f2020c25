#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ModelUiFixture.h"

using ::testing::ElementsAre;

namespace {

using SelectionFillersTest = modelui::test::ModelUiTest;

TEST_F(SelectionFillersTest, LanguagesFollowWhatTheFieldHoldsInOrderOfTheirNamesWhateverTheirIds) {
    const unsigned german = modeltest::addLanguage(L"German");
    const unsigned english = modeltest::addLanguage(L"English");
    const unsigned french = modeltest::addLanguage(L"French");
    // A screen walking the languages it selected must find its selection unchanged.
    Language::query(L"NAME == German", true);

    GuiSelectionfield field(500, 100, 300, 40);
    field.addItem(L"All languages");
    field.setLastId(0);
    Language::prepareSelection(&field);

    EXPECT_THAT(entries(field), ElementsAre(L"All languages#0", L"English#" + std::to_wstring(english),
                                            L"French#" + std::to_wstring(french),
                                            L"German#" + std::to_wstring(german)));
    auto selected = Language::beginSel();
    ASSERT_NE(selected, Language::endSel());
    EXPECT_STREQ((*selected)->get_name(), L"German");
    EXPECT_EQ(++selected, Language::endSel());
}

TEST_F(SelectionFillersTest, ArticlesOfTheLanguageOnlyAfterNotApplicable) {
    const unsigned german = modeltest::addLanguage(L"German");
    const unsigned french = modeltest::addLanguage(L"French");
    const unsigned der = addGrammar<Article>(german, L"der");
    addGrammar<Article>(french, L"la");
    const unsigned die = addGrammar<Article>(german, L"die");

    GuiSelectionfield field(500, 100, 300, 40);
    field.addItem(L"left over from the last language");
    Grammar::prepareSelection<Article>(german, &field);
    EXPECT_THAT(entries(field), ElementsAre(L"n/a#0", L"der#" + std::to_wstring(der), L"die#" + std::to_wstring(die)));

    const unsigned english = modeltest::addLanguage(L"English");
    Grammar::prepareSelection<Article>(english, &field);
    EXPECT_THAT(entries(field), ElementsAre(L"n/a#0"));
    EXPECT_EQ(field.getActiveId(), 0u);
}

TEST_F(SelectionFillersTest, PatternsByTheirNumberRestrictedToTheLanguageUnlessItIsZero) {
    const unsigned english = modeltest::addLanguage(L"English");
    const unsigned french = modeltest::addLanguage(L"French");
    for (int i = 0; i < 3; ++i) {
        VerbPattern::add(new VerbPattern(1, 1, english, 0));  // ids 1, 2, 3: numbers 1, 2, 3
    }
    VerbPattern::deleteEntry(1u);
    VerbPattern::add(new VerbPattern(1, 1, french, 0));   // id 1: French number 1
    VerbPattern::add(new VerbPattern(1, 1, english, 0));  // id 4: English number 1

    GuiSelectionfield field(500, 100, 300, 40);
    VerbPattern::prepareSelection(english, &field);
    EXPECT_THAT(entries(field), ElementsAre(L"n/a#0", L"English Pattern - 1#4", L"English Pattern - 2#2",
                                            L"English Pattern - 3#3"));

    VerbPattern::prepareSelection(0, &field);
    EXPECT_THAT(entries(field), ElementsAre(L"n/a#0", L"French Pattern - 1#1", L"English Pattern - 1#4",
                                            L"English Pattern - 2#2", L"English Pattern - 3#3"));
}

}  // namespace
