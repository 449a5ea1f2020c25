#include <gtest/gtest.h>

#include <filesystem>

#include "ModelTestSupport.h"
#include "db/OrnQL_ConvertToQuery.h"
#include "db/PictureRemovals.h"

namespace modeltest {
namespace {

class LanguageTest : public VocabularyTest {};

TEST_F(LanguageTest, IsStoredByteForByteAndReadBack) {
    auto* hebrew = new Language();
    hebrew->set_name(L"עברית", true);
    hebrew->set_rightToLeft(true, true);
    hebrew->set_keyboardLocalID("0000040D");
    Language::add(hebrew);

    const std::string expected = header(1) + "0000040D" + byte(0) + text(u"עברית") + byte(1);
    EXPECT_EQ(savedBound<Language>(LANGUAGE_PATH), expected);

    resetDatabaseTables();
    setupVocabularyTables();
    Language::loadAll(LANGUAGE_PATH, D_ENDTAG);
    Language* loaded = Language::getById(1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->get_name(), L"עברית");
    EXPECT_TRUE(loaded->get_rightToLeft());
    EXPECT_STREQ(loaded->get_keyboardLocalID(), "0000040D");
}

TEST_F(LanguageTest, ANewLanguageIsEmptyLeftToRightWithTheNeutralLayout) {
    Language language;
    EXPECT_STREQ(language.get_name(), L"");
    EXPECT_FALSE(language.get_rightToLeft());
    EXPECT_STREQ(language.get_keyboardLocalID(), "00000000");

    language.set_keyboardLocalID("000004070000");
    EXPECT_STREQ(language.get_keyboardLocalID(), "00000407") << "a layout id holds eight characters";
    language.set_keyboardLocalID(nullptr);
    EXPECT_STREQ(language.get_keyboardLocalID(), "");
}

TEST_F(LanguageTest, NamesAreUniqueButCaseSensitive) {
    addLanguage(L"French");
    auto* duplicate = new Language();
    duplicate->set_name(L"French", false);
    try {
        Language::add(duplicate);
        FAIL() << "a second French was added";
    } catch (const OrnQLException_Custom& refused) {
        EXPECT_STREQ(refused.what(), "OrnQLException: Language name is already in use!");
    }
    EXPECT_EQ(Language::elementTree().size(), 1u);
    EXPECT_EQ(duplicate->getId(), 0u) << "the refused record stays with the caller";
    delete duplicate;

    EXPECT_EQ(addLanguage(L"french"), 2u);
    EXPECT_EQ(addLanguage(L"French Creole"), 3u) << "a name that merely begins like another is new";
}

TEST_F(LanguageTest, IsFoundByEachOfItsAttributes) {
    int id = -1;
    EXPECT_EQ(Language::type(L"NAME", &id), QUERY_UNICODE);
    EXPECT_EQ(id, Language::ATTR_NAME);
    EXPECT_EQ(Language::type(L"RIGHTTOLEFT", &id), QUERY_BOOL);
    EXPECT_EQ(Language::type(L"KEYBOARDLOCALID", &id), QUERY_STRING);
    EXPECT_EQ(id, Language::ATTR_KEYBOARDLOCALID);
    EXPECT_EQ(Language::type(L"TEXT", &id), QUERY_INVALID);
    EXPECT_EQ(id, Language::ATTR_KEYBOARDLOCALID) << "an unknown name leaves the id alone";

    addLanguage(L"English");
    auto* hebrew = new Language();
    hebrew->set_name(L"Modern Hebrew", true);
    hebrew->set_rightToLeft(true, true);
    hebrew->set_keyboardLocalID("0000040D");
    const unsigned hebrewId = Language::add(hebrew);

    EXPECT_EQ(Language::getByQuery(L"KEYBOARDLOCALID == 0000040D", true), hebrew);
    EXPECT_EQ(Language::getByQuery(L"RIGHTTOLEFT == TRUE", true), hebrew);
    EXPECT_EQ(Language::getByQuery(ctq(L"NAME ==", L"Modern Hebrew"), true)->getId(), hebrewId);
    std::vector<std::wstring> ordered;
    for (auto it = Language::orderQuery(L"DESC NAME", true); it != Language::endSel(); ++it) {
        ordered.push_back((*it)->get_name());
    }
    EXPECT_EQ(ordered, (std::vector<std::wstring>{L"Modern Hebrew", L"English"}));
}

// A language removes its two pictures when it is deleted, but a record that never was the stored
// holder of its id (a refused duplicate, a record discarded by an editor) must leave them alone.
TEST_F(LanguageTest, DeletionRemovesItsPicturesButAThrownAwayRecordDoesNot) {
    const unsigned french = addLanguage(L"French");
    const unsigned german = addLanguage(L"German");
    for (const char* dir : {FLAG_IMAGE_DIR, KEYBOARD_IMAGE_DIR}) {
        writeFile(std::string(dir) + std::to_string(french) + ".bmp", "BM");
        writeFile(std::string(dir) + std::to_string(german) + ".bmp", "BM");
    }
    delete new Language();  // an editor's unsaved record (id 0)
    Language::deleteEntry(french);
    EXPECT_TRUE(std::filesystem::exists(std::string(FLAG_IMAGE_DIR) + "1.bmp")) << "stored until the save";
    pictureRemovals::stageInActiveTransaction();  // what the save does

    EXPECT_FALSE(std::filesystem::exists(std::string(FLAG_IMAGE_DIR) + "1.bmp"));
    EXPECT_FALSE(std::filesystem::exists(std::string(KEYBOARD_IMAGE_DIR) + "1.bmp"));
    EXPECT_TRUE(std::filesystem::exists(std::string(FLAG_IMAGE_DIR) + "2.bmp"));
    EXPECT_TRUE(std::filesystem::exists(std::string(KEYBOARD_IMAGE_DIR) + "2.bmp"));
}

TEST_F(LanguageTest, DeletingALanguageDeletesItsGrammarAndWordsOnly) {
    const unsigned french = addLanguage(L"French");
    const unsigned german = addLanguage(L"German");
    Article::add(new Article(L"le", french));
    Article::add(new Article(L"der", german));
    Person::add(new Person(L"je", french));
    Tense::add(new Tense(L"présent", french));
    Tense::add(new Tense(L"Präsens", german));
    addWord(french, L"chien");
    const unsigned hund = addWord(german, L"Hund");

    Language::deleteEntry(french);

    EXPECT_EQ(Article::elementTree().size(), 1u);
    EXPECT_STREQ(Article::begin()->get_text(), L"der");
    EXPECT_EQ(Person::elementTree().size(), 0u);
    EXPECT_EQ(Tense::elementTree().size(), 1u);
    EXPECT_EQ(Word::elementTree().size(), 1u);
    EXPECT_NE(Word::getById(hund), nullptr);
}

class GrammarTest : public VocabularyTest {
protected:
    // The stored record of a grammar entry of language 4 with text "du" created at 1700000000.
    static std::string storedEntry() {
        return header(3, {{D_LANGUAGE, 4}}) + text(u"du") + u32(1700000000);
    }

    template <typename T>
    void expectStoredAsWritten(const char* path) {
        SCOPED_TRACE(path);
        writeFile(std::string(path) + ".dat", u32(0));
        writeFile(std::string(path) + "0.dat", storedEntry());
        T::loadAll(path, D_ENDTAG);
        T* entry = T::getById(3);
        ASSERT_NE(entry, nullptr);
        EXPECT_STREQ(entry->get_text(), L"du");
        EXPECT_EQ(entry->get_timestamp(), 1700000000);
        EXPECT_EQ(entry->getDependency(D_LANGUAGE), 4u);

        entry->set_text(L"du", true);  // rewritten: the creation time must survive
        T::saveAll(path, D_ENDTAG);
        EXPECT_EQ(readFile(std::string(path) + "0.dat"), storedEntry());
    }
};

TEST_F(GrammarTest, EntriesAreStoredByteForByteAndKeepTheirCreationTime) {
    expectStoredAsWritten<Article>(ARTICLE_PATH);
    expectStoredAsWritten<Person>(PERSON_PATH);
    expectStoredAsWritten<Tense>(TENSE_PATH);
}

TEST_F(GrammarTest, AssignmentCopiesTheTextButNotTheCreationTime) {
    writeFile(std::string(TENSE_PATH) + ".dat", u32(0));
    writeFile(std::string(TENSE_PATH) + "0.dat", storedEntry());
    Tense::loadAll(TENSE_PATH, D_ENDTAG);
    Tense* old = Tense::getById(3);
    Tense fresh(L"futur", 4);
    ASSERT_NE(fresh.get_timestamp(), 1700000000);

    *old = fresh;
    EXPECT_STREQ(old->get_text(), L"futur");
    EXPECT_EQ(old->get_timestamp(), 1700000000);
    OrnQL_Base* older = old;
    OrnQL_Base* newer = &fresh;
    EXPECT_LT(Grammar::orderByTimestamp(older, newer), 0) << "the older entry sorts first";
    EXPECT_GT(Grammar::orderByTimestamp(newer, older), 0);
}

}  // namespace
}  // namespace modeltest
