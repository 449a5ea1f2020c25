#pragma once

// What the screen benchmarks run on: the realistic database (ModelDatabaseGenerator.h), built
// once in a scratch directory that is removed at the end and loaded from there as the program
// loads it at its start (records built one by one lie scattered over the heap, loaded ones in
// the order of their ids), and a headless 1000 x 500 window with the framework initialised and
// the start-up keyboard layout remembered, as at a real start.

#include <stdexcept>
#include <string>

#include "ModelDatabaseGenerator.h"
#include "ScratchDirectory.h"
#include "gui/StateMachine.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"

namespace bench {

class ScreenBenchSetting {
public:
    // `name` goes into the scratch directory's name.
    explicit ScreenBenchSetting(const std::string& name) : scratch(name) {
        platform::setCurrent(&window);
        framewUpdate(&window);
        framewInit(1000, 500);
        getKL(preApplicationKeyboard);
        DatabaseGenerator().build();
        resetDatabase();
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            throw std::runtime_error("the database did not load cleanly");
        }
    }
    ~ScreenBenchSetting() {
        stateMachineReset();
        resetDatabase();
        platform::setCurrent(nullptr);
    }
    ScreenBenchSetting(const ScreenBenchSetting&) = delete;
    ScreenBenchSetting& operator=(const ScreenBenchSetting&) = delete;

private:
    ScratchDirectory scratch;  // first: the working directory before anything is written
    platform::HeadlessPlatform window{{1000, 500}};
};

}  // namespace bench
