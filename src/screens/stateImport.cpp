// The import screen (screens/ImportScreen.h lists its pages). Elements besides the preview page
// (ImportPreviewPage.cpp), in the order they are added:
//
//   element          centre / top-left       content                      page
//   title            500,50                  "Import words"               FILE, PROGRESS, DONE
//   text             500,200 900x40          what can be imported         FILE
//   button           500,300                 "Choose a file"              FILE
//   back button      80,430                  the screen before            FILE, DONE
//   progress bar     200,230 600x30                                       PROGRESS
//   text             500,290 600x30          "1234 of 10000 rows"         PROGRESS
//   button           500,400                 Cancel                       PROGRESS
//   text             500,220 900x40          what was stored              DONE
//   buttons          320,350 / 680,350       Practice, Done               DONE

#include "screens/stateImport.h"

#include <chrono>
#include <optional>

#include "base/Utf8.h"
#include "exchange/ExchangeText.h"
#include "exchange/SampleCollection.h"
#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/InterfaceText.h"
#include "platform/Platform.h"
#include "shell/framework.h"
#include "screens/ImportScreen.h"
#include "states/SaveTables.h"
#include "states/ScreenRegistry.h"
#include "states/UpdateTable.h"

namespace import_screen {

ImportScreen screen;

namespace {

using namespace exchange;

constexpr const char* UPDATE_CHOOSE = "CHOOSE_FILE";
constexpr const char* UPDATE_CHOICE = "CHOICE_CHANGED";
constexpr const char* UPDATE_PREVIEW = "PREVIEW_PRESSED";
constexpr const char* UPDATE_IMPORT = "IMPORT_PRESSED";
constexpr const char* UPDATE_CANCEL = "CANCEL_PRESSED";
constexpr const char* UPDATE_STOP = "STOP_PRESSED";
constexpr const char* UPDATE_PRACTICE = "PRACTICE_PRESSED";
constexpr const char* UPDATE_SAMPLE = "OPEN_SAMPLE";

// A slice of work between two paints: well below the 50 ms after which a window feels stuck.
constexpr auto SLICE = std::chrono::milliseconds(8);

// A page switch asked for from the alive function happens with the next message: a repaint
// makes sure one comes.
void switchPageSoon(long pageMask) {
    nextCondition = pageMask;
    framewRepaint();
}

bool openFile(const std::string& path) {
    std::wstring problem;
    std::unique_ptr<ImportFile> file = ImportFile::open(path, problem);
    if (file == nullptr) {
        tell(problem);
        return false;
    }
    screen.import.reset();
    screen.path = path;
    screen.file = std::move(file);
    screen.choices = defaultChoices(*screen.file);
    showChoices();
    startPreview(true);  // a list without languages waits for their names
    return true;
}

void chooseFile() {
    const std::optional<std::string> path = platform::current().openFileDialog(
        {{toUtf8(text2(String2_WORD_LISTS)), {"*.txt", "*.tsv", "*.csv", "*.kvtml", "*.xml"}},
         {toUtf8(text2(String2_ALL_FILES)), {"*.*"}}});
    if (path && openFile(*path)) {
        nextCondition = PREVIEW_PAGE;
    }
}

void openSample() {
    const std::optional<std::string> path = sampleCollectionPath();
    if (!path) {
        tell(fillIn(text2(String2_SAMPLE_MISSING), {utf8::decode(sampleCollectionPlaces())}));
        rollbackFlag = true;
        return;
    }
    if (!openFile(*path) || screen.import == nullptr) {
        rollbackFlag = true;
    }
}

void choiceChanged() {
    if (screen.file != nullptr && screen.phase != Phase::Storing && screen.phase != Phase::Saving) {
        startPreview();
    }
}

void previewPressed() { choiceChanged(); }

void startStoring() {
    if (screen.import == nullptr) {
        return;
    }
    if (!screen.import->previewed()) {
        screen.import->previewSome(noDeadline());
        showPreview();
    }
    if (screen.import->preview().counts.stored() == 0) {
        tell(text2(String2_NOTHING_TO_IMPORT));
        return;
    }
    screen.phase = Phase::Storing;
    showProgress();
    switchPageSoon(PROGRESS_PAGE);
}

void importPressed() {
    if (screen.phase == Phase::Idle && screen.file != nullptr) {
        startPreview();
    }
    if (screen.phase == Phase::Previewing || screen.phase == Phase::Previewed) {
        startStoring();
    }
}

// Everything stored so far goes again; the preview (or, for the sample, the screen before) is
// shown again.
void stopStoring() {
    if (screen.phase == Phase::Saving) {
        // Before the commit point the save stops and the rows go; past it the import is done.
        // The outcome comes with the next slice.
        screen.saveCancelled = true;
        screen.save->cancel();
        framewRepaint();
        return;
    }
    if (screen.phase == Phase::Storing && screen.import != nullptr) {
        screen.import->takeBack();
    }
    if (screen.sample) {
        screen.phase = Phase::Idle;
        rollbackFlag = true;
        return;
    }
    screen.phase = screen.import != nullptr ? Phase::Previewed : Phase::Idle;
    switchPageSoon(PREVIEW_PAGE);
}

void cancelPressed() { rollbackFlag = true; }

void showSaving() {
    screen.progressBar->setDone(screen.save->progress());
    screen.progressBar->reRender();
    screen.progressText->setText(text2(String2_SAVING_WORDS).c_str());
}

void startSaving() {
    screen.phase = Phase::Saving;
    screen.saveCancelled = false;
    screen.save = std::make_unique<DatabaseSaveInSteps>();
    showSaving();
}

// The rows stay exactly when the save reached the log.
void savedWith(SaveResult result) {
    screen.save.reset();
    screen.phase = Phase::Storing;  // the rows are taken back from here
    if (result == SaveResult::NOTHING_SAVED) {
        if (!screen.saveCancelled) {
            warnSaveFailed();
        }
        stopStoring();
        return;
    }
    screen.import->kept();
    const ImportCounts& stored = screen.import->storedCounts();
    screen.doneText->setText(
        fillIn(text2(String2_IMPORT_DONE), {std::to_wstring(stored.added), std::to_wstring(stored.updated)}).c_str());
    screen.phase = Phase::Done;
    switchPageSoon(DONE_PAGE);
}

// The practice screen opened from here, or the one this screen was opened from (it refreshes
// itself when it is current again).
void practicePressed() {
    const State* opener = screen.state->previous;
    if (opener != nullptr && opener->description == interfaceText(String_PRACTICE)) {
        rollbackFlag = true;
    } else if (StateBuilder practice = linkedScreen(LinkedScreen::Practice)) {
        switchToState(practice());
    }
}

void alive() {
    const auto until = std::chrono::steady_clock::now() + SLICE;
    if (screen.phase == Phase::Previewing) {
        if (screen.import->previewSome(until)) {
            screen.phase = Phase::Previewed;
            if (!screen.import->failure().empty()) {
                tell(utf8::decode(screen.import->failure()));
            }
            showPreview();
            if (screen.sample) {
                startStoring();
            }
        }
        showProgress();
    } else if (screen.phase == Phase::Storing) {
        if (screen.import->storeSome(until)) {
            startSaving();
        } else {
            showProgress();
        }
    } else if (screen.phase == Phase::Saving) {
        const bool staging = !screen.save->staged();
        if (const std::optional<SaveResult> result = screen.save->step(until)) {
            savedWith(*result);
        } else if (staging) {
            showSaving();  // its paint brings the next slice; the append's end wakes the window
        }
    }
}

// The screen goes while its save runs: the save stops before its commit point, or is done.
void endSaving() {
    if (screen.phase != Phase::Saving) {
        return;
    }
    screen.save->cancel();
    const SaveResult result = screen.save->wait();
    screen.save.reset();
    screen.phase = Phase::Storing;
    if (result != SaveResult::NOTHING_SAVED) {
        screen.import->kept();
        screen.phase = Phase::Done;
    }
}

// The window is closing or the screen goes: nothing stored and not saved may stay behind.
void forgetImport() {
    endSaving();
    if (screen.phase == Phase::Storing && screen.import != nullptr) {
        screen.import->takeBack();
    }
    screen = ImportScreen();
}

void forcedExit() {
    endSaving();
    if (screen.phase == Phase::Storing && screen.import != nullptr) {
        screen.import->takeBack();
        screen.phase = Phase::Idle;
    }
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_CHOOSE, chooseFile},     {UPDATE_SAMPLE, openSample},       {UPDATE_CHOICE, choiceChanged},
    {UPDATE_PREVIEW, previewPressed}, {UPDATE_IMPORT, importPressed},   {UPDATE_CANCEL, cancelPressed},
    {UPDATE_STOP, stopStoring},      {UPDATE_PRACTICE, practicePressed}, {FORCED_EXIT_TAG, forcedExit},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

template <typename Element>
Element* place(Element* element, long pages) {
    addElementToState(screen.state, element);
    element->setConditions(pages);
    return element;
}

GuiText* text(const std::wstring& caption, int centerX, int centerY, int width, int height, long pages) {
    return place(new GuiText(caption.c_str(), centerX, centerY, width, height, FONT1, TEXT_CENTRE), pages);
}

void addOtherPages() {
    place(new GuiTitleText(text2(String2_IMPORT_WORDS).c_str(), 0), FILE_PAGE | PROGRESS_PAGE | DONE_PAGE);
    text(text2(String2_IMPORT_FILE_HINT), 500, 200, 900, 40, FILE_PAGE);
    place(new GuiButton(BUTTON1, 500, 300, text2(String2_CHOOSE_FILE).c_str(), UPDATE_CHOOSE), FILE_PAGE);
    place(new GuiBackButton(), FILE_PAGE);
    screen.progressBar = place(new GuiProgressBar(200, 230, 600, 30), PROGRESS_PAGE);
    screen.progressText = text(L"", 500, 290, 600, 30, PROGRESS_PAGE);
    place(new GuiButton(BUTTON1, 500, 400, interfaceText(String_CANCEL), UPDATE_STOP), PROGRESS_PAGE);
    screen.doneText = text(L"", 500, 220, 900, 40, DONE_PAGE);
    place(new GuiButton(BUTTON1, 320, 350, interfaceText(String_PRACTICE), UPDATE_PRACTICE), DONE_PAGE);
    place(new GuiButton(BUTTON1, 680, 350, text2(String2_DONE).c_str(), UPDATE_CANCEL), DONE_PAGE);
}

State* buildScreen(bool sample) {
    if (screen.state != nullptr) {
        screen.state->terminateFunc = nullptr;  // an older screen no longer owns the import
    }
    screen = ImportScreen();
    screen.sample = sample;
    screen.state = createEmptyState(text2(String2_IMPORT_WORDS).c_str());
    State* state = screen.state;
    state->traceback = TRACEBACK_LINE;
    addOtherPages();
    addPreviewPage();
    state->updateFunc = update;
    state->aliveFunc = alive;
    state->terminateFunc = forgetImport;
    state->condition = sample ? PROGRESS_PAGE : FILE_PAGE;
    addUpdate(sample ? UPDATE_SAMPLE : UPDATE_CHOOSE, state);
    return state;
}

}  // namespace

}  // namespace import_screen

State* createImportState() { return import_screen::buildScreen(false); }

State* createSampleImportState() { return import_screen::buildScreen(true); }
