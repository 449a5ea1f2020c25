#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GrammarScreensFixture.h"
#include "gui/GuiSelectionfield.h"
#include "screens/stateVerbPattern.h"

using ::testing::ElementsAre;
using platform::MessageIcon;
using platform::MessageResult;

namespace {

// Rules for German regular verbs, by tense (Präsens, Präteritum) and person (ich, du, er).
const wchar_t* const rules[2][3] = {{L"/post-1", L"/post-2+st", L"/post-2+t"},
                                    {L"/post-2+te", L"/post-2+test", L"/post-2+te"}};

class VerbPatternEditorTest : public screens::test::GrammarScreensTest {
protected:
    void SetUp() override {
        GrammarScreensTest::SetUp();
        german = modeltest::addLanguage(L"German");
        french = modeltest::addLanguage(L"French");
        addGrammar<Person>(german, {L"ich", L"du", L"er"});
        addGrammar<Tense>(german, {L"Präsens", L"Präteritum"});
        saveAll();
        show(createVerbPatternState());
    }

    void chooseFilter(const wchar_t* language) {
        clickMiddle(*element<GuiSelectionfield>("SELECTION_LANGUAGE"));
        ASSERT_TRUE(clickCaption(language));
        paint();
    }
    GuiTable* table() { return first<GuiTable>(); }
    void typeRule(unsigned tense, unsigned person, std::wstring_view rule) {
        ASSERT_NE(table(), nullptr);
        typeInto(table()->getContent(static_cast<int>(person) + 1, static_cast<int>(tense) + 1), rule);
    }
    void typeAllRules() {
        for (unsigned x = 0; x < 2; ++x) {
            for (unsigned y = 0; y < 3; ++y) {
                typeRule(x, y, rules[x][y]);
            }
        }
    }
    void startNewGermanPattern() {
        chooseFilter(L"German");
        pressButton(L"New Pattern");
        ASSERT_EQ(curState->condition, 2);
        typeAllRules();
    }
    static Verb::Cells typedRules() {
        Verb::Cells cells(2);
        for (unsigned x = 0; x < 2; ++x) {
            cells[x].assign(std::begin(rules[x]), std::end(rules[x]));
        }
        return cells;
    }
    GuiItemfield& patterns() { return *element<GuiItemfield>("ITEMLIST"); }

    unsigned german = 0;
    unsigned french = 0;
};

TEST_F(VerbPatternEditorTest, ANewPatternNeedsAFilterLanguageWithPersonsAndTenses) {
    pressButton(L"New Pattern");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text, curStrings[String_PATTERN_LANGUAGE_NEED_TO_BE_SELECTED]);
    EXPECT_EQ(lastBox().icon, MessageIcon::Information);

    chooseFilter(L"French");
    pressButton(L"New Pattern");
    ASSERT_EQ(boxes(), 2u);
    EXPECT_EQ(lastBox().text, curStrings[String_NO_PERSONS_OR_TENSES_YET]);
    EXPECT_EQ(lastBox().icon, MessageIcon::Warning);
    EXPECT_EQ(curState->condition, LIST_PAGE);
    EXPECT_EQ(table(), nullptr);
}

TEST_F(VerbPatternEditorTest, APatternIsStoredAsTypedAndNoToTheTestReturnsToTheRefreshedList) {
    startNewGermanPattern();
    repaintAll();
    EXPECT_TRUE(painted(L"German"));
    screenshot("pattern-table");
    window->dialogs().answerMessageBox(MessageResult::No);
    pressButton(L"Save");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text, curStrings[String_TEST_PATTERN_QUESTION]);
    EXPECT_EQ(curState->condition, LIST_PAGE);
    EXPECT_EQ(table(), nullptr);
    paint();
    EXPECT_THAT(entries(patterns()), ElementsAre(L"German Pattern - 1"));

    reloadDatabase();
    const VerbPattern* pattern = VerbPattern::getById(1);
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->getDependency(D_LANGUAGE), german);
    EXPECT_EQ(pattern->get_patternId(), 1u);
    EXPECT_EQ(pattern->cells(), typedRules());
}

TEST_F(VerbPatternEditorTest, ABadRuleIsRefusedAndNothingIsStored) {
    startNewGermanPattern();
    typeRule(1, 2, L"/pre-x");
    pressButton(L"Save");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text, curStrings[String_INCORRECT_PATTERN]);
    EXPECT_EQ(lastBox().caption, L"");
    EXPECT_EQ(lastBox().icon, MessageIcon::Error);
    EXPECT_EQ(curState->condition, 2);
    EXPECT_EQ(modelui::allRecords<VerbPattern>().size(), 0u);

    pressButton(L"?");
    EXPECT_EQ(lastBox().text, curStrings[String_PATTERN_SYNTAX_HELP]);
    pressButton(L"Discard changes");
    EXPECT_EQ(curState->condition, LIST_PAGE);
    reloadDatabase();
    EXPECT_EQ(modelui::allRecords<VerbPattern>().size(), 0u);
}

TEST_F(VerbPatternEditorTest, TheTestShowsEveryFormOfTheInfinitiveAndLeavesThePatternAsStored) {
    startNewGermanPattern();
    window->dialogs().answerMessageBox(MessageResult::Yes);
    pressButton(L"Save");
    EXPECT_EQ(curState->condition, 4);
    typeInto(first<GuiTextfield>(), L"spielen");
    paint();
    screenshot("pattern-test-input");
    pressButton(L"Next");
    EXPECT_EQ(curState->condition, 8);
    repaintAll();
    for (const wchar_t* form : {L"spiele", L"spielst", L"spielt", L"spielte", L"spieltest"}) {
        EXPECT_TRUE(painted(form)) << "missing form";
    }
    screenshot("pattern-test-result");
    pressButton(L"Back");
    EXPECT_EQ(curState->condition, 4);
    pressButton(L"Next");
    pressButton(L"Finish");
    EXPECT_EQ(curState->condition, LIST_PAGE);
    paint();
    EXPECT_THAT(entries(patterns()), ElementsAre(L"German Pattern - 1"));
    reloadDatabase();
    EXPECT_EQ(VerbPattern::getById(1)->cells(), typedRules());
}

TEST_F(VerbPatternEditorTest, EditingAPatternOfALanguageWithoutPersonsWarnsAndLeavesItUntouched) {
    // What is left of a French pattern once the language editor deleted every person.
    auto* pattern = new VerbPattern(1, 0, french, 0);
    VerbPattern::add(pattern);
    saveAll();
    const std::string before = readFile("Data/Verb/Pattern/verbpatterns0.dat");
    show(createVerbPatternState());
    ASSERT_TRUE(clickCaption(L"French Pattern - 1"));
    pressButton(L"Edit Pattern");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text, curStrings[String_NO_PERSONS_OR_TENSES_YET]);
    EXPECT_EQ(curState->condition, LIST_PAGE);
    ASSERT_EQ(saveDatabaseExternal(1, D_VERBPATTERN), 0);
    EXPECT_EQ(readFile("Data/Verb/Pattern/verbpatterns0.dat"), before);
}

TEST_F(VerbPatternEditorTest, AFailedSaveKeepsTheTableAsTypedAndMemoryAsOnDisk) {
    startNewGermanPattern();
    blockDirectory("Data/Verb/Pattern");
    pressButton(L"Save");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text, curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(curState->condition, 2);
    EXPECT_EQ(modelui::allRecords<VerbPattern>().size(), 0u);
    unblockDirectory("Data/Verb/Pattern");
    window->dialogs().answerMessageBox(MessageResult::No);
    pressButton(L"Save");
    ASSERT_EQ(modelui::allRecords<VerbPattern>().size(), 1u);

    // An edited pattern gets its stored rules back when its save fails.
    ASSERT_TRUE(clickCaption(L"German Pattern - 1"));
    pressButton(L"Edit Pattern");
    typeRule(0, 0, L"/post-1+e");
    blockDirectory("Data/Verb/Pattern");
    pressButton(L"Save");
    EXPECT_EQ(curState->condition, 2);
    EXPECT_EQ(VerbPattern::getById(1)->cells(), typedRules());
    unblockDirectory("Data/Verb/Pattern");
    window->dialogs().answerMessageBox(MessageResult::No);
    pressButton(L"Save");
    reloadDatabase();
    ASSERT_EQ(modelui::allRecords<VerbPattern>().size(), 1u);
    EXPECT_STREQ(VerbPattern::getById(1)->get_content(0, 0), L"/post-1+e");
}

TEST_F(VerbPatternEditorTest, TheFilterNarrowsTheListAndDeletingAsksFirst) {
    addPattern(german, 2, 3);
    const unsigned dutch = modeltest::addLanguage(L"Dutch");
    addPattern(dutch, 0, 0);
    const unsigned spielen = modeltest::addWord(german, L"spielen");
    Word::getById(spielen)->setDependency(D_VERBPATTERN, 1);
    saveAll();
    show(createVerbPatternState());
    paint();
    EXPECT_THAT(entries(patterns()), ElementsAre(L"German Pattern - 1", L"Dutch Pattern - 1"));
    screenshot("pattern-list");
    chooseFilter(L"German");
    EXPECT_THAT(entries(patterns()), ElementsAre(L"German Pattern - 1"));

    window->dialogs().answerMessageBox(MessageResult::Cancel);
    pressButton(L"Delete Pattern");
    EXPECT_EQ(lastBox().buttons, platform::MessageButtons::OkCancel);
    EXPECT_NE(VerbPattern::getById(1), nullptr);
    window->dialogs().answerMessageBox(MessageResult::Ok);
    pressButton(L"Delete Pattern");
    paint();
    EXPECT_THAT(entries(patterns()), ElementsAre());
    reloadDatabase();
    EXPECT_EQ(VerbPattern::getById(1), nullptr);
    EXPECT_EQ(Word::getById(spielen)->getDependency(D_VERBPATTERN), 0u);
}

}  // namespace
