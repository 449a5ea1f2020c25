#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelTestSupport.h"

namespace modeltest {
namespace {

std::wstring converted(const wchar_t* pattern, const wchar_t* infinitive) {
    std::wstring form = infinitive;
    VerbPattern::convertWithPattern(pattern, form);
    return form;
}

TEST(PatternRules, ConvertTheInfinitive) {
    struct Case {
        const wchar_t* pattern;
        const wchar_t* infinitive;
        const wchar_t* form;
    };
    const Case cases[] = {
        {L"/post-1+ied", L"carry", L"carried"},
        {L"/pre+will ", L"go", L"will go"},
        {L"/pre-2", L"unlock", L"lock"},
        {L"/pre-1+a/post+ing", L"talk", L"aalking"},
        {L"/post+ing/pre-1+a", L"talk", L"aalking"},
        {L"/post+ed-1", L"love", L"loved"},
        {L"/post-1+ed", L"love", L"loved"},
        {L"", L"go", L"go"},
        {L"went", L"go", L"go"},
        {L"/pre/post+ing", L"go", L"going"},
        {L"/post- 2+e", L"went", L"wee"},
        // Cuts never take more than what is there, and the forms have no length limit.
        {L"/post-10+x", L"go", L"x"},
        {L"/pre-3/post-3", L"abcd", L""},
        {L"/pre-99999999999999", L"go", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(converted(c.pattern, c.infinitive), c.form) << c.pattern;
    }
    const std::wstring longAddition(5000, L'x');
    EXPECT_EQ(converted((L"/post+" + longAddition).c_str(), L"go"), L"go" + longAddition);
}

TEST(PatternRules, ValidAndInvalidRules) {
    for (const wchar_t* valid : {L"", L"went", L"/post-3+ed", L"/pre+will ", L"/pre-2", L"/pre-1+a/post+ing",
                                 L"/post+ed-1", L"/pre/post+ing", L"/post-+1"}) {
        EXPECT_TRUE(VerbPattern::checkPatternString(valid)) << valid;
    }
    for (const wchar_t* invalid : {L"/pre-x", L"/post+", L"/post+-2", L"/pre+re-", L"/post-", L"/pre+/post+ing"}) {
        EXPECT_FALSE(VerbPattern::checkPatternString(invalid)) << invalid;
    }
    EXPECT_TRUE(VerbPattern::checkPatternString(nullptr));
}

class VerbTest : public VocabularyTest {
protected:
    unsigned language = 0;

    void SetUp() override {
        VocabularyTest::SetUp();
        language = addLanguage(L"English");
    }

    static std::vector<std::wstring> column(const Verb& verb, unsigned x) {
        std::vector<std::wstring> cells;
        for (unsigned y = 0; y < verb.get_persons(); ++y) {
            cells.push_back(verb.get_content(x, y));
        }
        return cells;
    }
};

TEST_F(VerbTest, TablesFollowTheGrammarOfTheirLanguage) {
    VerbPattern pattern(2, 2, language, 1);
    pattern.addContent(L"a0", 0, 0);
    pattern.addContent(L"a1", 0, 1);
    pattern.addContent(L"b0", 1, 0);
    pattern.addContent(L"b1", 1, 1);
    pattern.addContent(L"ignored", 2, 0);
    EXPECT_EQ(pattern.get_content(2, 0), nullptr);
    EXPECT_EQ(pattern.get_content(0, 2), nullptr);

    pattern.addTense();
    EXPECT_EQ(pattern.get_tenses(), 3u);
    EXPECT_EQ(column(pattern, 2), (std::vector<std::wstring>{L"", L""}));
    pattern.deleteTense(0);
    EXPECT_EQ(column(pattern, 0), (std::vector<std::wstring>{L"b0", L"b1"}));
    pattern.addPerson();
    EXPECT_EQ(column(pattern, 0), (std::vector<std::wstring>{L"b0", L"b1", L""}));
    pattern.deletePerson(0);
    EXPECT_EQ(column(pattern, 0), (std::vector<std::wstring>{L"b1", L""}));
    pattern.deletePerson(7);
    pattern.deleteTense(7);
    EXPECT_EQ(pattern.get_tenses(), 2u);
    EXPECT_EQ(pattern.get_persons(), 2u);
}

TEST_F(VerbTest, PatternsAreNumberedFromTheFirstGapOfTheirLanguage) {
    const unsigned other = addLanguage(L"German");
    EXPECT_EQ(VerbPattern::getById(VerbPattern::add(new VerbPattern(0, 0, language, 0)))->get_patternId(), 1u);
    VerbPattern::add(new VerbPattern(0, 0, other, 0));
    VerbPattern::add(new VerbPattern(0, 0, other, 0));
    EXPECT_EQ(VerbPattern::getById(VerbPattern::add(new VerbPattern(0, 0, language, 0)))->get_patternId(), 2u);
    const unsigned third = VerbPattern::add(new VerbPattern(0, 0, language, 0));
    VerbPattern::add(new VerbPattern(0, 0, language, 0));
    VerbPattern::deleteEntry(third);
    EXPECT_EQ(VerbPattern::getById(VerbPattern::add(new VerbPattern(0, 0, language, 0)))->get_patternId(), 3u)
        << "1, 2 and 4 are taken";
    EXPECT_EQ(VerbPattern::getById(VerbPattern::add(new VerbPattern(0, 0, language, 0)))->get_patternId(), 5u);

}

TEST_F(VerbTest, DamagedNumberingNeverHandsOutATakenNumber) {
    std::string stored;
    for (unsigned id = 1; id <= 3; ++id) {
        stored += header(id, {{D_LANGUAGE, language}}) + u32(0) + u32(0) + u32(id == 1 ? 1 : 2);
    }
    writeFile(std::string(VERBPATTERN_PATH) + ".dat", u32(0));
    writeFile(std::string(VERBPATTERN_PATH) + "0.dat", stored);
    VerbPattern::loadAll(VERBPATTERN_PATH, D_ENDTAG);
    EXPECT_EQ(VerbPattern::getById(VerbPattern::add(new VerbPattern(0, 0, language, 0)))->get_patternId(), 3u);
}

TEST_F(VerbTest, CellsAreJudgedExactly) {
    VerbPattern pattern(1, 2, language, 1);
    ASSERT_TRUE(pattern.initPattern({{L"/post+s"}, {L"/pre+will "}}));
    EXPECT_TRUE(pattern.checkOn(0, 0, L"walks", L"walk"));
    EXPECT_TRUE(pattern.checkOn(0, 1, L"will walk", L"walk"));
    EXPECT_FALSE(pattern.checkOn(0, 0, L"walks ", L"walk"));
    EXPECT_FALSE(pattern.checkOn(0, 0, L"Walks", L"walk"));
    EXPECT_FALSE(pattern.checkOn(1, 0, L"walk", L"walk")) << "no such tense";

    EXPECT_FALSE(pattern.initPattern({{L"/post+ed"}, {L"/pre+re-"}}));
    EXPECT_STREQ(pattern.get_patternAt(0, 0), L"/post+s") << "a refused table changes nothing";
    EXPECT_FALSE(pattern.initPattern({{L"/post+ed"}})) << "a person is missing";

    IrregularVerb irregular(1, 1, 0);
    irregular.addContent(L"went", 0, 0);
    EXPECT_TRUE(irregular.checkOn(0, 0, L"went", L"go"));
    EXPECT_FALSE(irregular.checkOn(0, 0, L"goed", L"go"));
}

TEST_F(VerbTest, AnIrregularVerbIsMadeForAWordInTheShapeOfItsLanguage) {
    for (const wchar_t* tense : {L"present", L"past", L"future"}) {
        Tense::add(new Tense(tense, language));
    }
    Person::add(new Person(L"I", language));
    Person::add(new Person(L"you", language));
    Tense::add(new Tense(L"Präsens", addLanguage(L"German")));
    const unsigned go = addWord(language, L"go");
    Word::getById(go)->setDependency(D_VERBPATTERN, 4);

    IrregularVerb* verb = IrregularVerb::createAndAdd(language, go);
    EXPECT_EQ(verb->get_tenses(), 3u);
    EXPECT_EQ(verb->get_persons(), 2u);
    EXPECT_EQ(verb->getDependency(D_LANGUAGE), language);
    EXPECT_EQ(verb->getDependency(D_WORD), 0u) << "the word holds the link, not the verb";
    EXPECT_EQ(Word::getById(go)->getDependency(D_IRREGULARVERB), verb->getId());
    EXPECT_EQ(Word::getById(go)->getDependency(D_VERBPATTERN), 0u);

    EXPECT_THROW(IrregularVerb::createAndAdd(language, 99), OrnQLException_Custom);
    EXPECT_EQ(IrregularVerb::elementTree().size(), 1u);
}

TEST_F(VerbTest, PatternsAndIrregularVerbsAreStoredByteForByte) {
    auto* pattern = new VerbPattern(2, 1, language, 0);
    pattern->addContent(L"/post+s", 0, 0);
    pattern->addContent(L"/pre+will ", 1, 0);
    VerbPattern::add(pattern);
    EXPECT_EQ(savedBound<VerbPattern>(VERBPATTERN_PATH),
              header(1, {{D_LANGUAGE, language}}) + u32(2) + u32(1) + u32(1) + text(u"/post+s") + text(u"/pre+will "));

    IrregularVerb* verb = IrregularVerb::createAndAdd(language, addWord(language, L"be"));
    verb->reinitialize(1, 2, nullptr);
    verb->addContent(L"am", 0, 0);
    verb->addContent(L"are", 0, 1);
    const std::string stored = header(1, {{D_LANGUAGE, language}}) + u32(1) + u32(2) + text(u"am") + text(u"are");
    EXPECT_EQ(savedBound<IrregularVerb>(IRREGULARVERB_PATH), stored);

    resetDatabaseTables();
    setupVocabularyTables();
    IrregularVerb::loadAll(IRREGULARVERB_PATH, D_ENDTAG);
    VerbPattern::loadAll(VERBPATTERN_PATH, D_ENDTAG);
    EXPECT_EQ(column(*IrregularVerb::getById(1), 0), (std::vector<std::wstring>{L"am", L"are"}));
    EXPECT_STREQ(VerbPattern::getById(1)->get_patternAt(1, 0), L"/pre+will ");
    EXPECT_EQ(VerbPattern::getById(1)->get_patternId(), 1u);
}

TEST_F(VerbTest, DamagedVerbTablesAreDamageAndNeverHugeAllocations) {
    writeFile(std::string(IRREGULARVERB_PATH) + ".dat", u32(0));
    const std::string damaged[] = {
        // cut short in its second column, by a cell length running past the end
        header(1) + u32(2) + u32(2) + text(u"am") + text(u"are") + text(u"was") + u32(1000),
        // counts no file could hold
        header(1) + u32(0xFFFFFFFF) + u32(0xFFFFFFFF),
    };
    for (const std::string& bytes : damaged) {
        writeFile(std::string(IRREGULARVERB_PATH) + "0.dat", bytes);
        bool damage = false;
        try {
            IrregularVerb::loadAll(IRREGULARVERB_PATH, D_ENDTAG);
        } catch (const FileDamage&) {
            damage = true;
        }
        EXPECT_TRUE(damage);
        EXPECT_TRUE(IrregularVerb::elementTree().empty());
    }
}

TEST_F(VerbTest, APatternDescribesItselfWithItsLanguageAndNumber) {
    VerbPattern pattern(0, 0, language, 12);
    EXPECT_STREQ(pattern.get_description(), L"English Pattern - 12");
    VerbPattern other(0, 0, language, 13);
    EXPECT_EQ(pattern.descriptionText(), L"English Pattern - 12");
    EXPECT_NE(pattern.descriptionText(), other.descriptionText());
    int id = -1;
    EXPECT_EQ(VerbPattern::type(L"PATTERNID", &id), QUERY_NUMBER);
    EXPECT_EQ(*static_cast<const std::int32_t*>(pattern.getData(id)), 12);
    EXPECT_EQ(VerbPattern::type(L"NAME", &id), QUERY_INVALID);
}

}  // namespace
}  // namespace modeltest
