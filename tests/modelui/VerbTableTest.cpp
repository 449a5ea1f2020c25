#include <memory>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ModelUiFixture.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"

namespace {

class VerbTableTest : public modelui::test::ModelUiTest {
protected:
    // English with the persons I and you and the tenses present, past and future, and a regular
    // pattern for it: present as is, past + "ed", future "will " + infinitive.
    void SetUp() override {
        ModelUiTest::SetUp();
        english = modeltest::addLanguage(L"English");
        addGrammar<Person>(english, L"I");
        addGrammar<Tense>(english, L"present");
        addGrammar<Person>(english, L"you");
        addGrammar<Tense>(english, L"past");
        addGrammar<Tense>(english, L"future");
        pattern = new VerbPattern(3, 2, english, 0);
        ASSERT_TRUE(pattern->initPattern({{L"", L"/post+ed", L"/pre+will "}, {L"", L"/post+ed", L"/pre+will "}}));
        VerbPattern::add(pattern);
    }

    std::unique_ptr<GuiTable> emptyTable() { return std::unique_ptr<GuiTable>(Verb::createEmptyTable(english)); }

    static std::wstring labelAt(const GuiTable& table, int line, int column) {
        const auto* label = dynamic_cast<const GuiText*>(table.getContent(line, column));
        return label == nullptr || label->getTextW() == nullptr ? L"<no label>" : label->getTextW();
    }
    static GuiTextfield& fieldAt(const GuiTable& table, int line, int column) {
        auto* field = dynamic_cast<GuiTextfield*>(table.getContent(line, column));
        if (field == nullptr) {
            throw std::logic_error("no text field in line " + std::to_string(line) + ", column " + std::to_string(column));
        }
        return *field;
    }
    // Types the forms of "walk" into every cell, person by person.
    static void typeWalk(const GuiTable& table) {
        const wchar_t* forms[] = {L"walk", L"walked", L"will walk"};
        for (int line = 1; line <= 2; ++line) {
            for (int column = 1; column <= 3; ++column) {
                fieldAt(table, line, column).setText(forms[column - 1]);
            }
        }
    }

    unsigned english = 0;
    VerbPattern* pattern = nullptr;
};

TEST_F(VerbTableTest, ALanguageWithoutPersonsOrWithoutTensesHasNoTable) {
    const unsigned french = modeltest::addLanguage(L"French");
    EXPECT_EQ(Verb::createEmptyTable(french), nullptr);
    addGrammar<Person>(french, L"je");
    EXPECT_EQ(Verb::createEmptyTable(french), nullptr);
    const unsigned german = modeltest::addLanguage(L"German");
    addGrammar<Tense>(german, L"Präsens");
    EXPECT_EQ(Verb::createEmptyTable(german), nullptr);
    EXPECT_EQ(Verb::createEmptyTable(0), nullptr);
}

TEST_F(VerbTableTest, TwoPersonsAndThreeTensesGiveFourColumnsAndThreeLinesWithTheCaptionsInPlace) {
    // Grammar of another language must stay out of the table.
    const unsigned french = modeltest::addLanguage(L"French");
    addGrammar<Person>(french, L"je");
    addGrammar<Tense>(french, L"passé");

    const auto table = emptyTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->getTallyColumns(), 4);
    EXPECT_EQ(table->getTallyLines(), 3);
    EXPECT_EQ(labelAt(*table, 1, 0), L"I");
    EXPECT_EQ(labelAt(*table, 2, 0), L"you");
    EXPECT_EQ(labelAt(*table, 0, 1), L"present");
    EXPECT_EQ(labelAt(*table, 0, 2), L"past");
    EXPECT_EQ(labelAt(*table, 0, 3), L"future");
    for (int line = 1; line <= 2; ++line) {
        for (int column = 1; column <= 3; ++column) {
            EXPECT_STREQ(fieldAt(*table, line, column).getText(), L"");
            EXPECT_TRUE(fieldAt(*table, line, column).isEditable());
        }
    }
}

TEST_F(VerbTableTest, CellsOfARightToLeftLanguageAreWrittenRightToLeft) {
    const unsigned hebrew = modeltest::addLanguage(L"Hebrew");
    Language::getById(hebrew)->set_rightToLeft(true, true);
    addGrammar<Person>(hebrew, L"אני");
    addGrammar<Tense>(hebrew, L"הווה");
    const std::unique_ptr<GuiTable> table(Verb::createEmptyTable(hebrew));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(fieldAt(*table, 1, 1).getRightToLeft());
    EXPECT_FALSE(fieldAt(*emptyTable(), 1, 1).getRightToLeft());
}

TEST_F(VerbTableTest, OneWrongCellFailsTheTableAndOnlyThatCellIsColouredIncorrect) {
    const auto table = emptyTable();
    typeWalk(*table);
    fieldAt(*table, 2, 2).setText(L"walkd");

    EXPECT_FALSE(pattern->checkTableSubmission(table.get(), L"walk"));
    for (int line = 1; line <= 2; ++line) {
        for (int column = 1; column <= 3; ++column) {
            const COLORREF expected = line == 2 && column == 2 ? colours[INCORRECT_RGB] : colours[WHITE_RGB];
            EXPECT_EQ(fieldAt(*table, line, column).getBackgroundColour(), expected) << line << "," << column;
        }
    }

    // Corrected, the table passes and the cell turns white again.
    fieldAt(*table, 2, 2).setText(L"walked");
    EXPECT_TRUE(pattern->checkTableSubmission(table.get(), L"walk"));
    EXPECT_EQ(fieldAt(*table, 2, 2).getBackgroundColour(), colours[WHITE_RGB]);
}

TEST_F(VerbTableTest, EveryCellIsJudgedAlsoAfterTheFirstWrongOne) {
    const auto table = emptyTable();
    typeWalk(*table);
    fieldAt(*table, 1, 1).setText(L"x");
    fieldAt(*table, 2, 3).setText(L"y");
    EXPECT_FALSE(pattern->checkTableSubmission(table.get(), L"walk"));
    EXPECT_EQ(fieldAt(*table, 1, 1).getBackgroundColour(), colours[INCORRECT_RGB]);
    EXPECT_EQ(fieldAt(*table, 2, 3).getBackgroundColour(), colours[INCORRECT_RGB]);
    EXPECT_EQ(fieldAt(*table, 1, 2).getBackgroundColour(), colours[WHITE_RGB]);
}

TEST_F(VerbTableTest, ConjugatedFormsAreShownWholeHoweverLong) {
    const std::wstring addition(299, L'e');
    auto* longPattern = new VerbPattern(3, 2, english, 0);
    ASSERT_TRUE(longPattern->initPattern({{L"", L"/post+" + addition, L"/pre+will "},
                                          {L"/pre-1+s", L"/post+ed", L"/pre+will "}}));
    VerbPattern::add(longPattern);
    auto table = emptyTable();

    longPattern->convertFillTable(table.get(), L"w");

    EXPECT_EQ(labelAt(*table, 1, 2), L"w" + addition);
    EXPECT_EQ(labelAt(*table, 1, 3), L"will w");
    EXPECT_EQ(labelAt(*table, 2, 1), L"s");
    // The captions stay, and the whole form reaches the screen.
    EXPECT_EQ(labelAt(*table, 0, 2), L"past");
    State* screen = createEmptyState(L"Verb");
    addElementToState(screen, table.release());
    show(screen);
    EXPECT_TRUE(painted(L"w" + addition));
}

TEST_F(VerbTableTest, PatternTablesAreRefusedAtTheFirstInvalidRule) {
    const auto table = emptyTable();
    for (int line = 1; line <= 2; ++line) {
        for (int column = 1; column <= 3; ++column) {
            fieldAt(*table, line, column).setText(L"/post-1+ies");
        }
    }
    EXPECT_TRUE(VerbPattern::checkPatternTable(table.get(), english));
    fieldAt(*table, 2, 3).setText(L"/post-x");
    EXPECT_FALSE(VerbPattern::checkPatternTable(table.get(), english));
}

TEST_F(VerbTableTest, FilledFieldsAreReadBackIntoTheVerbAndMarkItForSaving) {
    const auto table = emptyTable();
    pattern->fillTable(table.get());
    EXPECT_STREQ(fieldAt(*table, 1, 2).getText(), L"/post+ed");
    EXPECT_STREQ(fieldAt(*table, 2, 3).getText(), L"/pre+will ");

    VerbPattern::requestTree().clear();
    fieldAt(*table, 2, 2).setText(L"/post+d");
    pattern->addContent(table.get());
    EXPECT_STREQ(pattern->get_patternAt(1, 1), L"/post+d");
    EXPECT_STREQ(pattern->get_patternAt(1, 0), L"/post+ed");
    EXPECT_TRUE(VerbPattern::requestTree().contains(pattern->getId() / RECORDS_PER_BOUND));
}

TEST_F(VerbTableTest, ReadOnlyTablesKeepTheirTextsAndCanBeMadeEditableAgain) {
    const auto table = emptyTable();
    pattern->fillTable(table.get());
    pattern->setTableEditable(table.get(), false);
    EXPECT_FALSE(fieldAt(*table, 1, 1).isEditable());
    EXPECT_FALSE(fieldAt(*table, 2, 3).isEditable());
    fieldAt(*table, 2, 3).setText(L"typed while read-only");
    EXPECT_STREQ(fieldAt(*table, 2, 3).getText(), L"/pre+will ");

    pattern->setTableEditable(table.get(), true);
    fieldAt(*table, 2, 3).setText(L"/pre+shall ");
    EXPECT_STREQ(fieldAt(*table, 2, 3).getText(), L"/pre+shall ");
}

}  // namespace
