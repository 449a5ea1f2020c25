// The import and export screens as a user works them: Import on the settings screen, a file
// chosen, the preview read, Import pressed, the progress bar run to its end (or cancelled), and
// what reached the disk read back.
#include <chrono>
#include <filesystem>

#include "EditorTest.h"
#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "base/WindowThreadTasks.h"
#include "exchange/ImportChoices.h"
#include "gui/GuiItemfield.h"
#include "gui/IdleFileWrites.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "model/DataPaths.h"
#include "model/Flashcard.h"
#include "model/Language.h"
#include "model/Word.h"
#include "screens/ImportScreen.h"
#include "screens/stateExport.h"
#include "screens/stateImport.h"
#include "states/SettingsState.h"

namespace screens::test {
namespace {

namespace page = import_screen;
using import_screen::Phase;

class ImportScreenTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        linkScreen(LinkedScreen::Import, createImportState);
        linkScreen(LinkedScreen::Export, createExportState);
    }

    // Settings, Import, the file: the preview page, its preview done.
    void openImport(const std::string& file) {
        show(createSettingsState());
        window->dialogs().answerFileDialog((dir() / file).string());
        pressButton(L"Import");
        work();
    }

    // Paints until the work of the screen (the preview or the import) is done; returns the
    // paints it took.
    unsigned work() {
        unsigned paints = 0;
        while ((page::screen.phase == Phase::Previewing || page::screen.phase == Phase::Storing ||
                page::screen.phase == Phase::Saving) &&
               paints < 100000) {
            if (!paint()) {
                wake();  // nothing to paint: the save's thread has its append running, and wakes the window
            }
            ++paints;
        }
        paint();
        return paints;
    }

    static std::vector<std::wstring> lines(const GuiItemfield& list) {
        std::vector<std::wstring> shown;
        for (int i = 0; i < list.getNumberOfCurrentElements(); ++i) {
            shown.emplace_back(list.getEntry(i));
        }
        return shown;
    }

    static std::string bigList(unsigned rows) {
        std::string text = "#separator:tab\n";
        for (unsigned i = 0; i < rows; ++i) {
            text += "Wort" + std::to_string(i) + "\tword" + std::to_string(i) + "\n";
        }
        return text;
    }
};

TEST_F(ImportScreenTest, AFileIsPreviewedAsItWillBeStoredThenImportedAsOneSave) {
    writeFile("words.txt",
              "#separator:tab\n#columns:Front\tBack\tPronunciation\tDeck\n"
              "Haus\thouse; home\thaʊ̯s\tBasics\nBaum\ttree\t\t\n\tnothing\t\t\nHaus\tbuilding\t\t\n");
    openImport("words.txt");
    ASSERT_EQ(page(), page::PREVIEW_PAGE);
    EXPECT_EQ(page::screen.fileTitle->getTextW(), std::wstring(L"words.txt"));
    // No language yet: the user names them.
    click(page::screen.foreignField->getX() + 5, page::screen.foreignField->getY() + 5);
    type(L"\x01\bGerman");
    click(page::screen.knownField->getX() + 5, page::screen.knownField->getY() + 5);
    type(L"\x01\bEnglish");
    pressButton(L"Preview");
    work();
    EXPECT_EQ(lines(*page::screen.rows),
              (std::vector<std::wstring>{L"3:  Haus  \u2192  house; home  [haʊ̯s]  \u00B7 Basics  \u00B7 new",
                                         L"4:  Baum  \u2192  tree  \u00B7 new", L"5:  refused",
                                         L"6:  Haus  \u2192  building  \u00B7 merged"}));
    EXPECT_EQ(lines(*page::screen.refused), std::vector<std::wstring>{L"Line 5: no foreign word"});
    EXPECT_EQ(page::screen.counts->getTextW(),
              std::wstring(L"Rows: 4   New: 2   Updated: 0   Skipped: 0   Merged: 1   Refused: 1"));
    EXPECT_EQ(page::screen.foreignNew->getTextW(), std::wstring(L"(new)"));
    snapshot("import-preview");
    EXPECT_EQ(Language::elementTree().size(), 0u) << "the preview stores nothing";

    pressButton(L"Import the rest");
    work();
    EXPECT_EQ(page(), page::DONE_PAGE);
    EXPECT_EQ(page::screen.doneText->getTextW(), std::wstring(L"Stored: 2 new cards, 0 updated."));
    snapshot("import-done");
    reloadDatabase();
    EXPECT_EQ(Flashcard::elementTree().size(), 2u);
    const unsigned german = Word::getWord(1, L"Haus") != nullptr ? 1u : 2u;
    EXPECT_STREQ(Word::getWord(german, L"Haus")->get_ipaPronounciation(), L"haʊ̯s");
}

TEST_F(ImportScreenTest, AKvtmlFileTakesItsLanguagesAndTheKnownSideCanBeChosen) {
    writeFile("three.kvtml",
              "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>Deutsch</name></identifier>"
              "<identifier id=\"1\"><name>English</name></identifier><identifier id=\"2\"><name>Français</name>"
              "</identifier></identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>Hund</text>"
              "</translation><translation id=\"1\"><text>dog</text></translation><translation id=\"2\">"
              "<text>chien</text></translation></entry></entries></kvtml>");
    openImport("three.kvtml");
    EXPECT_EQ(page::screen.foreignField->visibleText(), L"Deutsch");
    EXPECT_EQ(page::screen.knownField->visibleText(), L"English");
    page::screen.knownIdentifier->setActiveToId(2);
    work();
    EXPECT_EQ(page::screen.knownField->visibleText(), L"Français");
    EXPECT_EQ(lines(*page::screen.rows), std::vector<std::wstring>{L"1:  Hund  \u2192  chien  \u00B7 new"});
    pressButton(L"Import words");
    work();
    reloadDatabase();
    EXPECT_NE(Word::getWord(2, L"chien"), nullptr);
}

TEST_F(ImportScreenTest, CancelWhileTheBarRunsLeavesNothing) {
    writeFile("big.txt", bigList(6000));
    openImport("big.txt");
    click(page::screen.foreignField->getX() + 5, page::screen.foreignField->getY() + 5);
    type(L"\x01\bGerman");
    click(page::screen.knownField->getX() + 5, page::screen.knownField->getY() + 5);
    type(L"\x01\bEnglish");
    pressButton(L"Preview");
    work();
    pressButton(L"Import words");
    ASSERT_EQ(page(), page::PROGRESS_PAGE);
    paint();  // one slice: part of the rows are stored, in memory
    EXPECT_GT(Flashcard::elementTree().size(), 0u);
    EXPECT_LT(Flashcard::elementTree().size(), 6000u);
    screenshot("import-progress");
    pressButton(L"Cancel");
    EXPECT_EQ(page(), page::PREVIEW_PAGE);
    EXPECT_EQ(Flashcard::elementTree().size(), 0u);
    EXPECT_EQ(Language::elementTree().size(), 0u);
    reloadDatabase();
    EXPECT_EQ(Flashcard::elementTree().size(), 0u);
}

// The save runs in slices too, with the bar and a line saying so; Cancel before its commit point
// takes the rows back (no error box: nothing failed), and Import then saves them all.
TEST_F(ImportScreenTest, CancelWhileTheRowsAreSavedLeavesNothingAndImportSavesThemLater) {
    writeFile("big.txt", bigList(600));
    openImport("big.txt");
    click(page::screen.foreignField->getX() + 5, page::screen.foreignField->getY() + 5);
    type(L"\x01\bGerman");
    click(page::screen.knownField->getX() + 5, page::screen.knownField->getY() + 5);
    type(L"\x01\bEnglish");
    pressButton(L"Preview");
    work();
    pressButton(L"Import words");
    for (unsigned paints = 0; page::screen.phase == Phase::Storing && paints < 100000; ++paints) {
        paint();
    }
    ASSERT_EQ(page::screen.phase, Phase::Saving);
    EXPECT_EQ(page::screen.progressText->getTextW(), std::wstring(L"Saving the words\u2026"));
    snapshot("import-saving");
    const std::size_t boxes = window->dialogs().messageBoxes().size();
    pressButton(L"Cancel");
    work();
    EXPECT_EQ(page(), page::PREVIEW_PAGE);
    EXPECT_EQ(window->dialogs().messageBoxes().size(), boxes);
    EXPECT_EQ(Flashcard::elementTree().size(), 0u);
    reloadDatabase();
    EXPECT_EQ(Flashcard::elementTree().size(), 0u);
    EXPECT_EQ(Language::elementTree().size(), 0u);
    EXPECT_FALSE(std::filesystem::exists(AtomicFile::temporaryNameFor(TRANSACTION_JOURNAL))) << "no spool left";

    openImport("big.txt");
    click(page::screen.foreignField->getX() + 5, page::screen.foreignField->getY() + 5);
    type(L"\x01\bGerman");
    click(page::screen.knownField->getX() + 5, page::screen.knownField->getY() + 5);
    type(L"\x01\bEnglish");
    pressButton(L"Preview");
    work();
    pressButton(L"Import words");
    work();
    EXPECT_EQ(page(), page::DONE_PAGE);
    reloadDatabase();
    EXPECT_EQ(Flashcard::elementTree().size(), 600u);
}

TEST_F(ImportScreenTest, AFailedSaveSaysSoStoresNothingAndImportCanBePressedAgain) {
    writeFile("words.txt", "Haus\thouse\n");
    openImport("words.txt");
    click(page::screen.foreignField->getX() + 5, page::screen.foreignField->getY() + 5);
    type(L"\x01\bGerman");
    click(page::screen.knownField->getX() + 5, page::screen.knownField->getY() + 5);
    type(L"\x01\bEnglish");
    pressButton(L"Preview");
    work();
    blockDirectory("Data/Flashcard");
    pressButton(L"Import words");
    work();
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), page::PREVIEW_PAGE);
    EXPECT_EQ(Flashcard::elementTree().size(), 0u);
    unblockDirectory("Data/Flashcard");
    pressButton(L"Import words");
    work();
    EXPECT_EQ(page(), page::DONE_PAGE);
    reloadDatabase();
    EXPECT_EQ(Flashcard::elementTree().size(), 1u);
}

// The save of a large import is done at its commit point: the done page comes at once, its files
// are written in the window's idle time, and a reload before or after that reads every row.
TEST_F(ImportScreenTest, ALargeImportIsDoneAtItsCommitPointAndItsFilesAreWrittenInIdleTime) {
    struct AsTheProgram {
        AsTheProgram() {
            FileTransaction::setLimits(
                {.deferredFromSteps = 40, .checkpointPastBytes = 1, .syncWholeFileSystemFrom = 40});
            writeSavedFilesInIdleTime();
        }
        ~AsTheProgram() {
            stopWritingSavedFilesInIdleTime();
            FileTransaction::setLimits({});
        }
    } program;
    for (bool giveIdleTime : {true, false}) {
        writeFile("words.txt", bigList(60));
        openImport("words.txt");
        click(page::screen.foreignField->getX() + 5, page::screen.foreignField->getY() + 5);
        type(L"\x01\bGerman" + std::wstring(giveIdleTime ? L"" : L"2"));
        click(page::screen.knownField->getX() + 5, page::screen.knownField->getY() + 5);
        type(L"\x01\bEnglish");
        pressButton(L"Preview");
        work();
        pressButton(L"Import words");
        work();
        ASSERT_EQ(page(), page::DONE_PAGE);
        EXPECT_GT(FileTransaction::pendingFileSteps(), 40u) << "written after the done page";
        const std::size_t cards = Flashcard::elementTree().size();
        if (giveIdleTime) {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (FileTransaction::hasPendingWork() && std::chrono::steady_clock::now() < giveUp) {
                window_thread::runPosted();  // the sync's thread wakes the window when it has returned
                window->deliverIdle();
            }
            EXPECT_FALSE(FileTransaction::hasPendingWork());
            EXPECT_FALSE(FileTransaction::logIsOpen()) << "checkpointed in idle time";
        }
        reloadDatabase();
        EXPECT_EQ(Flashcard::elementTree().size(), cards);
        EXPECT_EQ(cards, giveIdleTime ? 60u : 120u);
    }
}

TEST_F(ImportScreenTest, AFileThatIsNoWordListIsRefusedWithItsLineAndColumn) {
    writeFile("broken.kvtml", "<?xml version=\"1.0\"?>\n<kvtml>\n<entries>\n</kvtml>\n");
    openImport("broken.kvtml");
    EXPECT_EQ(page(), page::FILE_PAGE);
    const std::wstring box = lastBoxText();
    EXPECT_NE(box.find(L"line 4, column"), std::wstring::npos) << std::string(box.begin(), box.end());
}

TEST_F(ImportScreenTest, ExportWritesTheChosenFormatToTheChosenFile) {
    writeFile("words.txt", "Haus\thouse\n");
    std::wstring problem;
    std::unique_ptr<exchange::ImportFile> file = exchange::ImportFile::open("words.txt", problem);
    exchange::ImportChoices choices = exchange::defaultChoices(*file);
    choices.foreignLanguage = L"German";
    choices.knownLanguage = L"English";
    std::unique_ptr<exchange::Import> import = exchange::prepareImport(*file, choices, problem);
    import->previewSome(exchange::noDeadline());
    import->storeSome(exchange::noDeadline());
    saveEverything();
    show(createSettingsState());
    snapshot("settings");
    pressButton(L"Export");
    EXPECT_TRUE(painted(L"German \u2192 English (1)"));
    snapshot("export");
    clickCaption(L"KVTML");
    window->dialogs().answerFileDialog((dir() / "out.kvtml").string());
    pressButton(L"Export");
    ASSERT_FALSE(window->dialogs().fileDialogs().empty());
    EXPECT_TRUE(window->dialogs().fileDialogs().back().saving);
    EXPECT_EQ(window->dialogs().fileDialogs().back().suggestedName, "german-english.kvtml");
    EXPECT_NE(readFile("out.kvtml").find("<text>Haus</text>"), std::string::npos);
    EXPECT_NE(lastBoxText().find(L"1 cards written to"), std::wstring::npos);
}

}  // namespace
}  // namespace screens::test
