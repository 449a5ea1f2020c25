#include "program/StartUp.h"

#include <filesystem>
#include <system_error>

#include "base/WindowThreadTasks.h"
#include "gui/IdleFileWrites.h"
#include "gui/StateMachine.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/ProvisionalRecords.h"
#include "model/InterfaceText.h"
#include "platform/Platform.h"
#include "program/ScreenWiring.h"
#include "shell/framework.h"
#include "speech/Speaker.h"
#include "resources/SecondStrings.h"
#include "resources/frameworkFileManager.h"
#include "states/ScreenRegistry.h"
#include "states/WelcomeState.h"

namespace {

constexpr int CANVAS_WIDTH = 1000;
constexpr int CANVAS_HEIGHT = 500;

bool frameworkDirectoryExists() {
    std::error_code error;
    return std::filesystem::is_directory(FRAMEWORK_DIR, error);
}

// Writes the framework files from the tables in memory (the defaults, when they were missing),
// once the data directory exists; without it nothing is created here.
void writeFrameworkFiles() {
    std::error_code error;
    if (!std::filesystem::is_directory(DATA_DIR, error)) {
        return;
    }
    std::filesystem::create_directories(FRAMEWORK_DIR, error);
    if (!error) {
        saveValues();
        saveSecondStrings();
    }
}

// Both boxes use the error icon and the texts of the interface strings, so a translated strings
// file translates them too. Records abandoned by an earlier run that could not be saved away make
// the same box as a failed recovery: the data directory cannot be written.
void reportLoadStatus(int status, bool abandonedRemoved) {
    if (status == LOAD_DONE && abandonedRemoved) {
        return;
    }
    const framew_strings text = status == LOAD_RESET ? String_ERROR_LOAD_DB : String_ERROR_SAVE_DB;
    platform::current().messageBox(interfaceText(text), interfaceText(String_INFORMATION),
                                   platform::MessageIcon::Error, platform::MessageButtons::Ok);
}

}  // namespace

int startUp(const std::function<void()>& showWindow) {
    wireScreens();
    getKL(preApplicationKeyboard);
    // Without Data/Framework the framework runs on its defaults and cannot write them; they are
    // written once the load has made sure of the data directory (on the first start it creates
    // the whole tree), so that the user finds the texts to translate.
    const bool frameworkFilesMissing = !frameworkDirectoryExists();
    framewInit(CANVAS_WIDTH, CANVAS_HEIGHT);
    if (showWindow) {
        showWindow();
    }
    const int status = loadDatabase(D_ENDTAG);
    writeSavedFilesInIdleTime();
    // Records an editor made for a Save that never came (the program was killed or crashed) go
    // before any screen can list them.
    const bool abandonedRemoved = removeAbandonedRecords();
    if (frameworkFilesMissing) {
        writeFrameworkFiles();
    }
    reportLoadStatus(status, abandonedRemoved);
    switchToState(createWelcomeState());
    updateStateStatus();
    return status;
}

void shutDown() {
    stateMachineReset();
    resetLinkedScreens();
    speech::Speaker::instance().shutdown();
    window_thread::discardPosted();
    stopWritingSavedFilesInIdleTime();
    (void)checkpointDatabase();  // a failure leaves the log, which the next start repeats
}
