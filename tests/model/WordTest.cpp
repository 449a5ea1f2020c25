#include <gtest/gtest.h>

#include <filesystem>

#include "ModelTestSupport.h"

namespace modeltest {
namespace {

class WordTest : public VocabularyTest {
protected:
    static void reloadWords() {
        resetDatabaseTables();
        setupVocabularyTables();
        Word::loadAll(WORD_PATH, D_ENDTAG);
    }
};

TEST_F(WordTest, IsStoredByteForByteWithCharactersBeyondTheBasicPlane) {
    auto* word = new Word(L"chien", L"ʃjɛ̃", L"\U0001F415 barks");
    word->setDependency(D_LANGUAGE, 2);
    word->setDependency(D_ARTICLE, 3);
    Word::add(word);

    const std::string expected = header(1, {{D_LANGUAGE, 2}, {D_ARTICLE, 3}}) + text(u"chien") + text(u"ʃjɛ̃") +
                                 text(u"\U0001F415 barks");
    EXPECT_EQ(savedBound<Word>(WORD_PATH), expected);
    savedBound<IrregularVerb>(IRREGULARVERB_PATH);

    reloadWords();
    Word* loaded = Word::getById(1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->get_text(), L"chien");
    EXPECT_STREQ(loaded->get_ipaPronounciation(), L"ʃjɛ̃");
    EXPECT_STREQ(loaded->get_mnemonic(), L"\U0001F415 barks");
    EXPECT_EQ(loaded->getDependency(D_ARTICLE), 3u);
}

TEST_F(WordTest, GetWordMatchesTheExactTextWithinOneLanguage) {
    const unsigned french = addLanguage(L"French");
    const unsigned english = addLanguage(L"English");
    addWord(english, L"chat");
    const unsigned chat = addWord(french, L"chat");
    addWord(french, L"chat noir");

    EXPECT_EQ(Word::getWord(french, L"chat")->getId(), chat);
    EXPECT_EQ(Word::getWord(french, L"Chat"), nullptr) << "case-sensitive";
    EXPECT_EQ(Word::getWord(french, L"cha"), nullptr);
    EXPECT_STREQ(Word::getWord(french, L"chat noir")->get_text(), L"chat noir");
    EXPECT_EQ(Word::getWord(addLanguage(L"German"), L"chat"), nullptr);
}

// Lookups go through an index beside the table; it must follow every way a word changes, comes
// and goes, or the editors would accept a duplicate or miss a known word.
TEST_F(WordTest, LookupsFollowRenamesMovesDeletionsAndAReload) {
    const unsigned french = addLanguage(L"French");
    const unsigned german = addLanguage(L"German");
    const unsigned chat = addWord(french, L"chat");
    const unsigned chien = addWord(french, L"chien");
    const unsigned hund = addWord(german, L"Hund");

    EXPECT_TRUE(Word::textInUse(french, L"chat", 0));
    EXPECT_FALSE(Word::textInUse(french, L"chat", chat)) << "the edited word itself";
    Word::getById(chat)->set_text(L"chatte", false);
    EXPECT_EQ(Word::getWord(french, L"chat"), nullptr);
    EXPECT_EQ(Word::getWord(french, L"chatte")->getId(), chat);
    Word::getById(hund)->setDependency(D_LANGUAGE, french);
    EXPECT_EQ(Word::getWord(german, L"Hund"), nullptr);
    EXPECT_EQ(Word::getWord(french, L"Hund")->getId(), hund);

    // A text twice in a language (as an old file may hold it): the least id is found.
    const unsigned second = addWord(french, L"chien");
    EXPECT_EQ(Word::getWord(french, L"chien")->getId(), chien);
    EXPECT_TRUE(Word::textInUse(french, L"chien", chien));
    Word::deleteEntry(chien);
    EXPECT_EQ(Word::getWord(french, L"chien")->getId(), second);
    const unsigned reused = addWord(german, L"Katze");  // takes the freed id
    EXPECT_EQ(reused, chien);
    EXPECT_EQ(Word::getWord(german, L"Katze")->getId(), reused);
    EXPECT_EQ(Word::getWord(french, L"chien")->getId(), second);

    savedBound<Word>(WORD_PATH);
    savedBound<IrregularVerb>(IRREGULARVERB_PATH);
    reloadWords();
    EXPECT_EQ(Word::getWord(french, L"chatte")->getId(), chat);
    EXPECT_EQ(Word::getWord(german, L"Katze")->getId(), reused);
    EXPECT_EQ(Word::textIndex().size(), 4u);

    Word::deleteEntriesWithDependency(D_LANGUAGE, french);
    EXPECT_EQ(Word::getWord(french, L"chatte"), nullptr);
    EXPECT_EQ(Word::textIndex().size(), 1u);
    resetDatabaseTables();
    EXPECT_EQ(Word::textIndex().size(), 0u);
    EXPECT_EQ(Word::getWord(german, L"Katze"), nullptr);
}

TEST_F(WordTest, MeaningDescriptionsAndCategoriesFollowTheLinks) {
    const unsigned english = addLanguage(L"English");
    const unsigned french = addLanguage(L"French");
    const unsigned dog = addWord(english, L"dog");
    const unsigned chien = addWord(french, L"chien");
    const unsigned lonely = addWord(french, L"seul");
    const unsigned meaning = Meaning::add(new Meaning(3));
    M_W::add(new M_W(meaning, dog));
    M_W::add(new M_W(meaning, chien));
    const unsigned animals = Category::add(new Category(L"Animals"));
    const unsigned pets = Category::add(new Category(L"Pets"));
    C_M::add(new C_M(animals, meaning));
    C_M::add(new C_M(pets, meaning));

    EXPECT_STREQ(Meaning::getById(meaning)->get_description(), L"dog, chien");
    EXPECT_STREQ(Word::getById(chien)->giveCategories(), L"Animals, Pets");
    EXPECT_STREQ(Word::getById(lonely)->giveCategories(), L"");

    Meaning empty(5);
    EXPECT_STREQ(empty.get_description(), L"");

    C_M::deleteEntry(C_M::getByConstrain(true, 1, D_CATEGORY, animals)->getId());
    EXPECT_STREQ(Word::getById(dog)->giveCategories(), L"Pets");

    // Two descriptions held at once (a list comparing its entries) come by value.
    const unsigned other = Meaning::add(new Meaning(1));
    M_W::add(new M_W(other, lonely));
    Meaning* first = Meaning::getById(meaning);
    Meaning* second = Meaning::getById(other);
    EXPECT_EQ(first->descriptionText(), L"dog, chien");
    EXPECT_EQ(second->descriptionText(), L"seul");
    EXPECT_NE(first->descriptionText(), second->descriptionText());
    EXPECT_EQ(Word::getById(dog)->categoriesText(), L"Pets");
    EXPECT_NE(Word::getById(dog)->categoriesText(), Word::getById(lonely)->categoriesText());
}

TEST_F(WordTest, LinksToWeakRecordsAreClearedButTheLanguageTakesItsWords) {
    const unsigned french = addLanguage(L"French");
    const unsigned article = Article::add(new Article(L"le", french));
    const unsigned pattern = VerbPattern::add(new VerbPattern(0, 0, french, 0));
    const unsigned chien = addWord(french, L"chien");
    const unsigned parler = addWord(french, L"parler");
    Word::getById(chien)->setDependency(D_ARTICLE, article);
    Word::getById(parler)->setDependency(D_VERBPATTERN, pattern);
    IrregularVerb* etre = IrregularVerb::createAndAdd(french, addWord(french, L"être"));

    Article::deleteEntry(article);
    VerbPattern::deleteEntry(pattern);
    IrregularVerb::deleteEntry(etre->getId());
    EXPECT_EQ(Word::elementTree().size(), 3u);
    for (auto it = Word::begin(); it != Word::end(); ++it) {
        EXPECT_EQ(it->getDependency(D_ARTICLE), 0u);
        EXPECT_EQ(it->getDependency(D_VERBPATTERN), 0u);
        EXPECT_EQ(it->getDependency(D_IRREGULARVERB), 0u);
    }

    // The word table's own hook: for these three kinds it only clears links, whichever table asks.
    Word::getById(chien)->setDependency(D_ARTICLE, 9);
    Word::deleteEntriesWithDependency(D_ARTICLE, 9);
    EXPECT_EQ(Word::getById(chien)->getDependency(D_ARTICLE), 0u);
    Word::deleteEntriesWithDependency(D_LANGUAGE, french);
    EXPECT_TRUE(Word::elementTree().empty());
}

TEST_F(WordTest, AnIrregularVerbTableThatCannotBeLoadedClearsOnlyThoseLinks) {
    const unsigned french = addLanguage(L"French");
    Tense::add(new Tense(L"présent", french));
    const unsigned etre = addWord(french, L"être");
    Word::getById(etre)->setDependency(D_ARTICLE, 7);
    IrregularVerb::createAndAdd(french, etre);
    savedBound<Word>(WORD_PATH);
    savedBound<IrregularVerb>(IRREGULARVERB_PATH);

    for (const std::string damage : {"missing index", "id outside its bound"}) {
        SCOPED_TRACE(damage);
        if (damage == "missing index") {
            std::filesystem::remove(std::string(IRREGULARVERB_PATH) + ".dat");
        } else {
            writeFile(std::string(IRREGULARVERB_PATH) + ".dat", u32(0));
            writeFile(std::string(IRREGULARVERB_PATH) + "0.dat", header(25) + u32(0) + u32(0));
        }
        try {
            reloadWords();
            FAIL() << "the failure was not reported";
        } catch (const InvalidFileException& failure) {
            EXPECT_EQ(failure.who(), D_IRREGULARVERB);
        }
        Word* word = Word::getById(etre);
        ASSERT_NE(word, nullptr);
        EXPECT_EQ(word->getDependency(D_IRREGULARVERB), 0u);
        EXPECT_EQ(word->getDependency(D_ARTICLE), 7u);
        EXPECT_EQ(word->getDependency(D_LANGUAGE), french);
    }
}

TEST_F(WordTest, MeaningAndCategoryLayouts) {
    Meaning::add(new Meaning(7));
    EXPECT_EQ(savedBound<Meaning>(MEANING_PATH), header(1) + byte(7));
    Category::add(new Category(L"Tiere"));
    EXPECT_EQ(savedBound<Category>(CATEGORY_PATH), header(1) + text(u"Tiere"));
    const unsigned french = addLanguage(L"French");
    M_W::add(new M_W(1, addWord(french, L"chien")));
    EXPECT_EQ(savedBound<M_W>(M_W_PATH), header(1, {{D_MEANING, 1}, {D_WORD, 1}})) << "a link has no own fields";
    C_M::add(new C_M(1, 1));
    EXPECT_EQ(savedBound<C_M>(C_M_PATH), header(1, {{D_MEANING, 1}, {D_CATEGORY, 1}}));
}

TEST_F(WordTest, NiveausOutsideOneToTenBecomeOne) {
    Meaning meaning(4);
    for (int given : {0, -3, 11, 1000}) {
        meaning.set_niveau(given);
        EXPECT_EQ(meaning.get_niveau(), 1) << given;
    }
    meaning.set_niveau(10);
    EXPECT_EQ(meaning.get_niveau(), 10);

    // Stored bytes out of range read back as 1 and are repaired by the next save.
    writeFile(std::string(MEANING_PATH) + ".dat", u32(0));
    writeFile(std::string(MEANING_PATH) + "0.dat", header(1) + byte(10) + header(2) + byte(0) + header(3) + byte(200));
    Meaning::loadAll(MEANING_PATH, D_ENDTAG);
    EXPECT_EQ(Meaning::getById(1)->get_niveau(), 10);
    EXPECT_EQ(Meaning::getById(2)->get_niveau(), 1);
    EXPECT_EQ(Meaning::getById(3)->get_niveau(), 1);
    Meaning::saveAll(MEANING_PATH, D_ENDTAG);
    EXPECT_EQ(readFile(std::string(MEANING_PATH) + "0.dat"), header(1) + byte(10) + header(2) + byte(1) + header(3) + byte(1));
}

TEST_F(WordTest, FlashcardBookkeepingOfAMeaningNeverUnderflows) {
    Meaning meaning(2);
    meaning.set_usedForFlashcard(false);
    meaning.set_connectionsForFlashcard(2);
    meaning.decConnections();
    EXPECT_FALSE(meaning.get_usedForFlashcard());
    meaning.decConnections();
    EXPECT_TRUE(meaning.get_usedForFlashcard());
    meaning.set_usedForFlashcard(false);
    meaning.decConnections();
    EXPECT_EQ(meaning.get_connectionsForFlashcard(), 0u);
    EXPECT_TRUE(meaning.get_usedForFlashcard());
}

}  // namespace
}  // namespace modeltest
