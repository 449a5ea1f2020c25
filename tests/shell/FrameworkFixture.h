#pragma once

// A headless window of a chosen client size with the framework initialised on it, in a fresh
// working directory whose Data/Framework receives the default resource files.

#include <filesystem>
#include <memory>

#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "support/TempDirTest.h"

namespace mernolex::test {

class FrameworkTest : public TempDirTest {
protected:
    // 984 x 461: the client area of a 1000 x 500 window with its frame, ratios 0.984 and 0.922.
    static constexpr platform::PixelSize FramedClient{984, 461};

    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directories("Data/Framework");
        framewReset();
        open(FramedClient);
        framewInit(1000, 500);
    }

    void TearDown() override {
        framewReset();
        platform::setCurrent(nullptr);
        window.reset();
        TempDirTest::TearDown();
    }

    void open(platform::PixelSize client) {
        window = std::make_unique<platform::HeadlessPlatform>(client);
        platform::setCurrent(window.get());
        framewUpdate(window.get());
    }

    // One empty paint, so that the ratios follow the client size.
    void measureWindow() {
        framewBeginPaint();
        framewEndPaint();
    }

    std::unique_ptr<platform::HeadlessPlatform> window;
};

}  // namespace mernolex::test
