// Editing a language's persons and tenses in the language editor keeps the verb tables of that
// language, and only of that language, in step.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GrammarScreensFixture.h"
#include "screens/stateLanguage.h"

using ::testing::ElementsAre;

namespace {

class LanguageVerbTablesTest : public screens::test::GrammarScreensTest {
protected:
    // German: persons ich, du, er (ids 1-3), tenses Präsens, Präteritum (ids 1-2), a pattern and an
    // irregular verb whose cells are labelled "tense.person". French: one person, one tense and a
    // pattern of its own.
    void SetUp() override {
        GrammarScreensTest::SetUp();
        german = modeltest::addLanguage(L"German");
        const unsigned french = modeltest::addLanguage(L"French");
        addGrammar<Person>(german, {L"ich", L"du", L"er"});
        addGrammar<Tense>(german, {L"Präsens", L"Präteritum"});
        addGrammar<Person>(french, {L"je"});
        addGrammar<Tense>(french, {L"présent"});
        germanPattern = addPattern(german, 2, 3)->getId();
        frenchPattern = addPattern(french, 1, 1)->getId();
        const unsigned sein = modeltest::addWord(german, L"sein");
        irregular = labelled(IrregularVerb::createAndAdd(german, sein))->getId();
        saveAll();
        show(createLanguageState());
        ASSERT_TRUE(clickCaption(L"German"));
        pressButton(L"Edit Language");
    }

    GuiItemfield& list(const char* tag) { return *element<GuiItemfield>(tag); }
    void removeEntry(const char* listTag, int position) {
        chooseEntry(list(listTag), position);
        pressButton(L"Delete");
    }
    void renameEntry(const char* listTag, const char* fieldTag, int position, std::wstring_view text) {
        chooseEntry(list(listTag), position);
        typeInto(element<GuiTextfield>(fieldTag), text);
        pressButton(L"Rename");
    }
    void addEntry(const char* fieldTag, std::wstring_view text) {
        typeInto(element<GuiTextfield>(fieldTag), text);
        pressButton(L"Add");
    }
    void saveAndReload() {
        pressButton(L"Save");
        ASSERT_EQ(boxes(), 0u);
        ASSERT_EQ(curState->condition, LIST_PAGE);
        reloadDatabase();
    }
    static const Verb::Cells& cells(const Verb* verb) {
        static const Verb::Cells none;
        return verb == nullptr ? none : verb->cells();
    }
    using Column = std::vector<std::wstring>;

    unsigned german = 0;
    unsigned germanPattern = 0;
    unsigned frenchPattern = 0;
    unsigned irregular = 0;
};

TEST_F(LanguageVerbTablesTest, DeletingTheSecondPersonAndRenamingTheThirdRemovesRowOneFromThisLanguagesVerbs) {
    pressButton(L"Persons");
    removeEntry("ITEMLIST_PERSONS", 1);
    renameEntry("ITEMLIST_PERSONS", "TEXTFIELD_PERSON", 1, L"sie");
    EXPECT_THAT(entries(list("ITEMLIST_PERSONS")), ElementsAre(L"ich", L"sie"));
    saveAndReload();

    EXPECT_THAT(stored<Person>(german), ElementsAre(L"ich#1", L"sie#3"));
    const Verb::Cells expected{Column{L"0.0", L"0.2"}, Column{L"1.0", L"1.2"}};
    EXPECT_EQ(cells(VerbPattern::getById(germanPattern)), expected);
    EXPECT_EQ(cells(IrregularVerb::getById(irregular)), expected);
    EXPECT_EQ(cells(VerbPattern::getById(frenchPattern)), (Verb::Cells{Column{L"0.0"}}));
}

TEST_F(LanguageVerbTablesTest, AddingTwoTensesAppendsTwoEmptyColumnsToThisLanguagesVerbsOnly) {
    pressButton(L"Tenses");
    addEntry("TEXTFIELD_TENSE", L"Perfekt");
    addEntry("TEXTFIELD_TENSE", L"Futur");
    saveAndReload();

    EXPECT_THAT(stored<Tense>(german), ElementsAre(L"Präsens#1", L"Präteritum#2", L"Perfekt#4", L"Futur#5"));
    const Column empty(3);
    const Verb::Cells expected{Column{L"0.0", L"0.1", L"0.2"}, Column{L"1.0", L"1.1", L"1.2"}, empty, empty};
    EXPECT_EQ(cells(VerbPattern::getById(germanPattern)), expected);
    EXPECT_EQ(cells(IrregularVerb::getById(irregular)), expected);
    EXPECT_EQ(cells(VerbPattern::getById(frenchPattern)), (Verb::Cells{Column{L"0.0"}}));
}

// The table hands a freed id out again, so a person added in the same edit that deleted one comes
// before the later persons, and its row must too: every person keeps its own forms.
TEST_F(LanguageVerbTablesTest, APersonTakingAFreedIdGetsTheEmptyRowAtItsPlace) {
    pressButton(L"Persons");
    removeEntry("ITEMLIST_PERSONS", 1);
    addEntry("TEXTFIELD_PERSON", L"wir");
    saveAndReload();

    EXPECT_THAT(stored<Person>(german), ElementsAre(L"ich#1", L"wir#2", L"er#3"));
    const Verb::Cells expected{Column{L"0.0", L"", L"0.2"}, Column{L"1.0", L"", L"1.2"}};
    EXPECT_EQ(cells(VerbPattern::getById(germanPattern)), expected);
    EXPECT_EQ(cells(IrregularVerb::getById(irregular)), expected);
}

TEST_F(LanguageVerbTablesTest, DeletingEveryTenseLeavesVerbsWithoutColumns) {
    pressButton(L"Tenses");
    removeEntry("ITEMLIST_TENSES", 0);
    removeEntry("ITEMLIST_TENSES", 0);
    saveAndReload();
    EXPECT_THAT(stored<Tense>(german), ElementsAre());
    EXPECT_EQ(VerbPattern::getById(germanPattern)->get_tenses(), 0u);
    EXPECT_EQ(IrregularVerb::getById(irregular)->get_tenses(), 0u);
}

}  // namespace
