#include <filesystem>
#include <string>

#include <gmock/gmock.h>

#include "WordEditorFixture.h"
#include "base/AtomicFile.h"
#include "screens/stateMeaning.h"
#include "support/FileFaults.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

namespace fs = std::filesystem;

using screens::test::MessageResult;

// A new word's life from New to Save, Close, a kill or the end of the program; deleting; failed
// saves; the hint picture.
class WordLifecycleTest : public screens::test::WordEditorTest {
protected:
    void SetUp() override {
        WordEditorTest::SetUp();
        hund = addGermanWord(german, L"Hund");
        animal = Meaning::add(new Meaning(3));
        M_W::add(new M_W(animal, hund));
        animals = Category::add(new Category(L"Tiere"));
        C_M::add(new C_M(animals, animal));
        saveEverything();
    }

    // New Word, its text, then the meaning editor for it with a new meaning saved, and back.
    void newWordWithNewMeaning(const wchar_t* text) {
        pressButton(L"New Word");
        typeAt(WORD_X, WORD_Y, text);
        pressButton(L"Meanings");
        ASSERT_TRUE(painted(std::wstring(L"Meanings - ") + text));
        pressButton(L"New Meaning");
        pressButton(L"Save");
        ASSERT_EQ(boxCount(), 0u);
    }
    void backToWordPage() {
        click(80, 430);  // the list screen's back button
        paint();
        ASSERT_EQ(page(), WORD_PAGE);
    }
    static unsigned wordCount() { return Word::getAsTally(0); }

    unsigned hund = 0;
    unsigned animal = 0;
    unsigned animals = 0;
};

TEST_F(WordLifecycleTest, ANewWordClosedOrEndedWithTheProgramLeavesNoTraceNorItsMeanings) {
    openEditor();
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"Katze");
    pressButton(L"Close");
    EXPECT_EQ(page(), WORD_LIST_PAGE);
    EXPECT_THAT(entries(), ElementsAre(L"Hund"));

    newWordWithNewMeaning(L"Katze");
    backToWordPage();
    ASSERT_EQ(wordScreen.itemfieldMeanings->getNumberOfCurrentElements(), 1);
    EXPECT_STREQ(wordScreen.itemfieldMeanings->getEntry(0), L"Katze");
    pressButton(L"Close");
    reloadDatabase();
    EXPECT_EQ(storedWord(german, L"Katze"), nullptr);
    EXPECT_EQ(Meaning::getAsTally(0), 1u);
    EXPECT_EQ(M_W::getAsTally(0), 1u);
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));

    // The window closed on the word page: the end of the program takes the new word away too.
    openEditor();
    newWordWithNewMeaning(L"Maus");
    backToWordPage();
    window->send(platform::Message::plain(platform::MessageCode::Close));
    reloadDatabase();
    EXPECT_EQ(storedWord(german, L"Maus"), nullptr);
    EXPECT_EQ(wordCount(), 1u);
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));
}

TEST_F(WordLifecycleTest, AfterAKillWithAMeaningLinkedToANewWordTheNextStartLoadsCleanlyWithoutIt) {
    openEditor();
    newWordWithNewMeaning(L"Katze");
    // Killed while the meaning editor is open: no Close, no end of the program.
    stateMachineReset();
    resetProvisionalRecords();
    reloadDatabase();  // requires a clean load: no link names a missing word
    ASSERT_TRUE(removeAbandonedRecords());
    openEditor();
    EXPECT_THAT(entries(), ElementsAre(L"Hund"));
    EXPECT_EQ(wordCount(), 1u);
    EXPECT_EQ(Meaning::getAsTally(0), 1u);
}

TEST_F(WordLifecycleTest, ConnectingANewWordToAMeaningShowsItsCategoriesAndTheSaveKeepsTheLink) {
    openEditor();
    pressButton(L"New Word");
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"English");
    typeAt(WORD_X, WORD_Y, L"dog");
    pressButton(L"New connection");
    ASSERT_EQ(curState->condition, MEANING_CONNECTION_PAGE);
    chooseEntry(L"Hund");
    pressButton(L"New connection");
    ASSERT_EQ(page(), WORD_PAGE);
    paint();  // what the refresh queued for the return changed
    EXPECT_TRUE(painted(L"Tiere"));
    ASSERT_EQ(wordScreen.itemfieldMeanings->getNumberOfCurrentElements(), 1);
    EXPECT_STREQ(wordScreen.itemfieldMeanings->getEntry(0), L"Hund, dog");
    snapshot("word-page-connected");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 0u);

    reloadDatabase();
    const Word* dog = storedWord(english, L"dog");
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(M_W::getAsTally(2, D_WORD, dog->getId(), D_MEANING, animal), 1u);
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));
}

TEST_F(WordLifecycleTest, DeletingAsksThenTakesTheCardsLinksMeaningsAndPictureOfTheWordAlong) {
    auto* card = new Flashcard(false, 0);
    card->setDependency(D_WORD, hund);
    const unsigned cardId = Flashcard::add(card);
    fs::create_directories(MNEMONIC_IMAGE_DIR);
    const std::string picture = std::string(MNEMONIC_IMAGE_DIR) + std::to_string(hund) + ".bmp";
    writePicture(picture, 0xFF0000);
    saveEverything();
    openEditor();
    answerNextBox(MessageResult::Cancel);
    pressButton(L"Delete Word");
    EXPECT_EQ(lastBoxText(), curStrings[String_DELETE_WORD_QUESTION]);
    EXPECT_THAT(entries(), ElementsAre(L"Hund"));

    answerNextBox(MessageResult::Ok);
    pressButton(L"Delete Word");
    EXPECT_THAT(entries(), IsEmpty());
    EXPECT_FALSE(fs::exists(picture));
    reloadDatabase();  // a clean load: the category's link went with the meaning, and is saved
    EXPECT_EQ(wordCount(), 0u);
    EXPECT_EQ(Flashcard::getById(cardId), nullptr);
    EXPECT_EQ(Meaning::getById(animal), nullptr);
    EXPECT_EQ(C_M::getAsTally(0), 0u);
    EXPECT_NE(Category::getById(animals), nullptr);

    // Nothing to delete: no question.
    openEditor();
    const std::size_t boxes = boxCount();
    pressButton(L"Delete Word");
    EXPECT_EQ(boxCount(), boxes);
}

TEST_F(WordLifecycleTest, AFailedSaveKeepsThePageAsTheUserLeftItAndTheRetryStoresIt) {
    openEditor();
    chooseEntry(L"Hund");
    pressButton(L"Edit Word");
    typeAt(WORD_X, WORD_Y, L"Hunde");
    blockDirectory("Data/Word");
    pressButton(L"Save");
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), WORD_PAGE);
    EXPECT_EQ(textAt(WORD_X, WORD_Y), L"Hunde");
    unblockDirectory("Data/Word");
    pressButton(L"Save");
    EXPECT_EQ(page(), WORD_LIST_PAGE);

    // A new word stays provisional until its Save has gone through.
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"Katze");
    const unsigned katze = wordScreen.editWordId;
    blockDirectory("Data/Word");
    const std::size_t boxes = boxCount();
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), boxes + 1);
    EXPECT_EQ(page(), WORD_PAGE);
    EXPECT_TRUE(isProvisionalRecord(D_WORD, katze));
    unblockDirectory("Data/Word");
    pressButton(L"Save");
    EXPECT_FALSE(isProvisionalRecord(D_WORD, katze));
    reloadDatabase();
    EXPECT_NE(storedWord(german, L"Hunde"), nullptr);
    EXPECT_NE(storedWord(german, L"Katze"), nullptr);
}

TEST_F(WordLifecycleTest, NewSaysWhatIsMissingAndMakesNothingWhenItCannotBeginTheWord) {
    openEditor();
    fileFaults::failStep(1);  // the note of the new word
    pressButton(L"New Word");
    fileFaults::failStep(0);
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), WORD_LIST_PAGE);
    EXPECT_EQ(wordCount(), 1u);

    // Without languages there is nothing a word could belong to.
    Language::deleteEntry(german);
    Language::deleteEntry(english);
    saveEverything();
    openEditor();
    pressButton(L"New Word");
    EXPECT_EQ(lastBoxText(), curStrings[String_ADD_LANG]);
    EXPECT_EQ(page(), WORD_LIST_PAGE);
    EXPECT_EQ(wordCount(), 0u);
}

TEST_F(WordLifecycleTest, AHintPictureOfAnyPathIsShownAtOnceAndCopiedOnSaveButNoOtherFile) {
    // A picture deep down a path of more than a thousand characters.
    fs::path deep = fs::current_path();
    for (int level = 0; level < 6; ++level) {
        deep /= std::string(200, static_cast<char>('a' + level));
    }
    fs::create_directories(deep);
    const std::string chosen = (deep / "hint.bmp").string();
    ASSERT_GT(chosen.size(), 1000u);
    writePicture(chosen, 0x00FFFF);
    writeFile("notes.txt", "no picture");

    openEditor();
    chooseEntry(L"Hund");
    pressButton(L"Edit Word");
    window->dialogs().answerFileDialog(chosen);
    pressButton(L"Add picture");
    repaintAll();
    EXPECT_EQ(window->pixel(850, 425), 0x00FFFFu);
    window->dialogs().answerFileDialog((fs::current_path() / "notes.txt").string());
    pressButton(L"Add picture");
    repaintAll();
    EXPECT_EQ(window->pixel(850, 425), 0x00FFFFu);  // the picture chosen before stays
    snapshot("word-page-picture");
    pressButton(L"Save");
    ASSERT_EQ(page(), WORD_LIST_PAGE);
    const std::string stored = std::string(MNEMONIC_IMAGE_DIR) + std::to_string(hund) + ".bmp";
    ASSERT_TRUE(fs::exists(stored));
    EXPECT_EQ(readFile(stored), readFile(chosen));

    // Shown again when the word is edited.
    pressButton(L"Edit Word");
    repaintAll();
    EXPECT_EQ(window->pixel(850, 425), 0x00FFFFu);
}

TEST_F(WordLifecycleTest, FormsLongerThanAnyFieldAreShownWhole) {
    // Rules as long as a pattern file may hold them, on the longest word a field takes.
    auto* pattern = VerbPattern::getById(firstPattern());
    pattern->addContent((L"/pre+" + std::wstring(100, L'v') + L"/post+" + std::wstring(90, L'n')).c_str(), 0, 0);
    saveEverything();
    const std::wstring word(50, L'w');
    openEditor();
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, word);
    chooseAt(PATTERN_X, VERB_Y, L"Deutsch Pattern - 1");
    pressButton(L"Next");
    EXPECT_EQ(cell(1, 1), std::wstring(100, L'v') + word + std::wstring(90, L'n'));
    EXPECT_EQ(cell(2, 1), std::wstring(48, L'w') + L"st");
}

}  // namespace
