#include <gmock/gmock.h>

#include "EditorTest.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiSelectionfield.h"
#include "screens/stateLevel.h"
#include "states/SettingsState.h"

using ::testing::ElementsAre;

namespace {

using modeltest::addLanguage;
using modeltest::addWord;
using screens::test::MessageResult;

const std::wstring INVALID_LEVEL =
    L"The entered level was invalid!\nPlease enter a level greater than 0 and not more than one greater than the "
    L"highest level.";
const std::wstring INVALID_BREAK_DAYS = L"The entered break days are invalid!\nA minimum of one break day is required.";

struct StoredLevel {
    unsigned level;
    unsigned breakDays;
    bool force;
    HINTHANDLING hints;
    bool operator==(const StoredLevel&) const = default;
};
std::ostream& operator<<(std::ostream& out, const StoredLevel& l) {
    return out << "{" << l.level << ", " << l.breakDays << ", " << l.force << ", " << l.hints << "}";
}

// The levels 0 to 5 of the default ladder (break days 0, 1, 3, 5, 12, 30): its top level 6 is
// deleted before the editor opens.
class LevelEditorTest : public screens::test::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Level::deleteEntry(Level::getByLevel(6)->getId());
        saveEverything();
    }

    void openEditor() {
        linkScreen(LinkedScreen::Levels, createLevelState);
        show(createSettingsState());
        pressButton(L"Levels");
    }
    void typeLevel(std::wstring_view level, std::wstring_view breakDays) {
        typeInto("TEXTFIELD_LEVEL", level);
        typeInto("TEXTFIELD_BREAK_DAYS", breakDays);
    }
    // Tries a new level; returns the text of the box it caused ("" for none) and leaves the
    // editor on its list.
    std::wstring tryNewLevel(std::wstring_view level, std::wstring_view breakDays) {
        pressButton(L"New Level");
        return trySave(level, breakDays);
    }
    std::wstring tryEditLevel(std::wstring_view entry, std::wstring_view level, std::wstring_view breakDays) {
        chooseEntry(entry);
        pressButton(L"Edit Level");
        return trySave(level, breakDays);
    }
    std::wstring trySave(std::wstring_view level, std::wstring_view breakDays) {
        typeLevel(level, breakDays);
        return saveAndHearWhy();
    }
    // The stored ladder, by level number.
    static std::vector<StoredLevel> ladder() {
        std::vector<StoredLevel> levels;
        for (unsigned number = 0; number < Level::getNextAvailableLevel(); ++number) {
            const Level* level = Level::getByLevel(number);
            levels.push_back(level == nullptr ? StoredLevel{9999, 0, false, SHOWHINT}
                                              : StoredLevel{level->get_level(), level->get_breakDays(),
                                                            level->get_forceAnswerTyping(), level->get_hintHandling()});
        }
        return levels;
    }
    static std::vector<unsigned> breakDaysByLevel() {
        std::vector<unsigned> days;
        for (const StoredLevel& level : ladder()) {
            days.push_back(level.breakDays);
        }
        return days;
    }
    static std::wstring shownHints() {
        return getElementByTag<GuiSelectionfield>("SELECTION_HINTS", curState)->getShownText();
    }
    static bool forceTicked() { return getElementByTag<GuiCheckBox>("CHECKBOX_FORCE_ANSWER", curState)->getCheck(); }
};

TEST_F(LevelEditorTest, ANewLevelTakesTheNumbersOneToOneAboveTheTopAndShiftsTheLevelsAbove) {
    openEditor();
    EXPECT_THAT(entries(), ElementsAre(L"Level 0", L"Level 1", L"Level 2", L"Level 3", L"Level 4", L"Level 5"));
    pressButton(L"New Level");
    EXPECT_EQ(fieldText("TEXTFIELD_LEVEL"), L"6");
    EXPECT_EQ(fieldText("TEXTFIELD_BREAK_DAYS"), L"");
    EXPECT_TRUE(forceTicked());
    EXPECT_EQ(shownHints(), L"Show hints");
    snapshot("level-new");
    pressButton(L"Discard changes");

    EXPECT_EQ(tryNewLevel(L"0", L"4"), INVALID_LEVEL);
    EXPECT_EQ(tryNewLevel(L"7", L"4"), INVALID_LEVEL);
    EXPECT_EQ(tryNewLevel(L"", L"4"), INVALID_LEVEL);
    reloadDatabase();
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 1u, 3u, 5u, 12u, 30u));

    EXPECT_EQ(tryNewLevel(L"6", L"60"), L"");
    EXPECT_EQ(tryNewLevel(L"1", L"2"), L"");
    EXPECT_THAT(entries(), ElementsAre(L"Level 0", L"Level 1", L"Level 2", L"Level 3", L"Level 4", L"Level 5",
                                       L"Level 6", L"Level 7"));
    reloadDatabase();
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 2u, 1u, 3u, 5u, 12u, 30u, 60u));
    EXPECT_EQ(Level::getNextAvailableLevel(), 8u);
}

TEST_F(LevelEditorTest, AnEditedLevelMovesWithinTheLadderOnlyAndKeepsItsFlags) {
    openEditor();
    chooseEntry(L"Level 3");
    pressButton(L"Edit Level");
    EXPECT_EQ(fieldText("TEXTFIELD_LEVEL"), L"3");
    EXPECT_EQ(fieldText("TEXTFIELD_BREAK_DAYS"), L"5");
    EXPECT_FALSE(forceTicked());
    EXPECT_EQ(shownHints(), L"Hide hints");
    snapshot("level-edit");
    pressButton(L"Discard changes");

    EXPECT_EQ(tryEditLevel(L"Level 3", L"6", L"5"), INVALID_LEVEL);
    EXPECT_EQ(tryEditLevel(L"Level 3", L"0", L"5"), INVALID_LEVEL);
    EXPECT_EQ(tryEditLevel(L"Level 3", L"5", L"7"), L"");
    reloadDatabase();
    EXPECT_THAT(ladder(), ElementsAre(StoredLevel{0, 0, true, SHOWHINT}, StoredLevel{1, 1, true, SHOWHINT},
                                      StoredLevel{2, 3, true, SHOWHINT}, StoredLevel{3, 12, false, HIDEHINT},
                                      StoredLevel{4, 30, false, PUNISHHINT}, StoredLevel{5, 7, false, HIDEHINT}));
    EXPECT_EQ(tryEditLevel(L"Level 5", L"1", L"7"), L"");
    reloadDatabase();
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 7u, 1u, 3u, 12u, 30u));
}

TEST_F(LevelEditorTest, ZeroBreakDaysAreRefusedAndCountsBeyondThirtyTwoBitsAreNeverWrapped) {
    openEditor();
    EXPECT_EQ(tryNewLevel(L"6", L"0"), INVALID_BREAK_DAYS);
    EXPECT_EQ(tryNewLevel(L"6", L""), INVALID_BREAK_DAYS);
    EXPECT_EQ(tryEditLevel(L"Level 2", L"2", L"0"), INVALID_BREAK_DAYS);
    // 2^32 + 1 would be level 1 and one break day if cut to 32 bits.
    EXPECT_EQ(tryNewLevel(L"4294967297", L"4"), INVALID_LEVEL);
    EXPECT_EQ(tryNewLevel(L"6", L"4294967297"), INVALID_BREAK_DAYS);
    // A card's due counter is a signed 32-bit number, and break days become one.
    EXPECT_EQ(tryNewLevel(L"6", L"2147483648"), INVALID_BREAK_DAYS);
    reloadDatabase();
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 1u, 3u, 5u, 12u, 30u));

    EXPECT_EQ(tryNewLevel(L"6", L"2147483647"), L"");
    reloadDatabase();
    EXPECT_EQ(Level::getByLevel(6)->get_breakDays(), 2147483647u);
}

TEST_F(LevelEditorTest, LevelZeroKeepsItsNumberAndBreakDaysAndStoresItsFlags) {
    openEditor();
    chooseEntry(L"Level 0");
    pressButton(L"Edit Level");
    // Both number fields are hidden; the zeros behind them show.
    EXPECT_EQ(element("TEXTFIELD_LEVEL"), nullptr);
    EXPECT_EQ(element("TEXTFIELD_BREAK_DAYS"), nullptr);
    EXPECT_TRUE(painted(L"0"));
    snapshot("level-edit-zero");
    const GuiElement* force = element("CHECKBOX_FORCE_ANSWER");
    click(force->getX() + force->getWidth() - 10, force->getY() + force->getHeight() / 2);
    auto* hints = getElementByTag<GuiSelectionfield>("SELECTION_HINTS", curState);
    click(hints->getX() + 10, hints->getY() + hints->getHeight() / 2);
    key(platform::key::Down);
    key(platform::key::Down);
    type(L" ");
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), 0u);
    reloadDatabase();
    EXPECT_EQ(ladder()[0], (StoredLevel{0, 0, false, PUNISHHINT}));
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 1u, 3u, 5u, 12u, 30u));

    // A new level after it shows its number fields again.
    pressButton(L"New Level");
    EXPECT_NE(element("TEXTFIELD_LEVEL"), nullptr);
    EXPECT_NE(element("TEXTFIELD_BREAK_DAYS"), nullptr);
}

TEST_F(LevelEditorTest, DeletingALevelAsksClosesTheGapAndMovesTheCardsOnTheFormerTopDown) {
    const unsigned english = addLanguage(L"English");
    auto addCard = [&](const wchar_t* word, unsigned level) {
        auto* card = new Flashcard(false, 0);
        card->setDependency(D_WORD, addWord(english, word));
        card->set_primaryLevel(level, true);
        return Flashcard::add(card);
    };
    const unsigned onTop = addCard(L"top", 5);
    const unsigned onTwo = addCard(L"two", 2);
    saveEverything();
    openEditor();

    chooseEntry(L"Level 0");
    pressButton(L"Delete Level");
    EXPECT_EQ(boxCount(), 0u);

    chooseEntry(L"Level 2");
    answerNextBox(MessageResult::No);
    pressButton(L"Delete Level");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), L"Do you really want to delete the highlighted level?");
    EXPECT_EQ(window->dialogs().messageBoxes()[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(entries().size(), 6u);

    answerNextBox(MessageResult::Yes);
    pressButton(L"Delete Level");
    EXPECT_THAT(entries(), ElementsAre(L"Level 0", L"Level 1", L"Level 2", L"Level 3", L"Level 4"));
    reloadDatabase();
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 1u, 5u, 12u, 30u));
    EXPECT_EQ(Flashcard::getById(onTop)->get_primaryLevel(), 4u);
    EXPECT_EQ(Flashcard::getById(onTwo)->get_primaryLevel(), 2u);
}

TEST_F(LevelEditorTest, AFailedSaveKeepsThePageAndTheRetryAddsOneLevel) {
    openEditor();
    blockDirectory("Data/Level");
    pressButton(L"New Level");
    typeLevel(L"2", L"9");
    pressButton(L"Save");
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), LEVEL_EDIT_PAGE);
    EXPECT_EQ(fieldText("TEXTFIELD_LEVEL"), L"2");
    EXPECT_EQ(fieldText("TEXTFIELD_BREAK_DAYS"), L"9");

    unblockDirectory("Data/Level");
    pressButton(L"Save");
    EXPECT_EQ(page(), LIST_PAGE);
    reloadDatabase();
    EXPECT_THAT(breakDaysByLevel(), ElementsAre(0u, 1u, 9u, 3u, 5u, 12u, 30u));
}

}  // namespace
