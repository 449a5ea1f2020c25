#pragma once

// Screens of the states layer driven the way a user works them: every event goes through the
// window procedure of a headless 1000 x 500 window, buttons are pressed by their caption, and what
// a screen stored is read back after reloading the database from disk.

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "gui/GuiButton.h"
#include "gui/State.h"
#include "gui/support/ScreenDriver.h"
#include "model/Database.h"
#include "states/ScreenRegistry.h"
#include "states/WindowProcedure.h"

namespace states::test {

class StatesTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        resetLinkedScreens();
    }
    void TearDown() override {
        stateMachineReset();
        resetLinkedScreens();
        resetDatabase();
        ScreenTest::TearDown();
    }


    // Loads the database as the start-up does; on a first start (no Data directory, which the
    // framework's own Data/Framework does not count as) it is created empty.
    void startDatabase() {
        std::filesystem::remove_all("Data/Framework");
        std::filesystem::remove("Data");
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    }
    // Forgets every table and loads them again from disk.
    static void reloadDatabase() {
        resetDatabase();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    }

    // The buttons of the current screen that take part, in the order they were added.
    static std::vector<GuiButton*> buttons() {
        std::vector<GuiButton*> found;
        if (curState == nullptr) {
            return found;
        }
        for (GuiElement* element = curState->firstElement; element != nullptr; element = element->nextElement) {
            if (auto* button = dynamic_cast<GuiButton*>(element); button != nullptr && curState->takesPart(*button)) {
                found.push_back(button);
            }
        }
        return found;
    }
    static std::vector<std::wstring> buttonCaptions() {
        std::vector<std::wstring> captions;
        for (const GuiButton* button : buttons()) {
            captions.emplace_back(button->getText());
        }
        return captions;
    }
    static GuiButton* buttonCaptioned(std::wstring_view caption) {
        for (GuiButton* button : buttons()) {
            if (caption == button->getText()) {
                return button;
            }
        }
        return nullptr;
    }
    // Clicks the middle of the button with that caption and lets the window paint.
    void pressButton(std::wstring_view caption) {
        const GuiButton* button = buttonCaptioned(caption);
        ASSERT_NE(button, nullptr) << "no button captioned \"" << std::string(caption.begin(), caption.end())
                                   << "\" on the screen";
        click(button->getX() + button->getWidth() / 2, button->getY() + button->getHeight() / 2);
        paint();
    }
    // The caption of the button holding the keyboard focus; "" when another element holds it.
    static std::wstring focusedCaption() {
        const auto* button = curState == nullptr ? nullptr : dynamic_cast<const GuiButton*>(curState->focus);
        return button == nullptr ? L"" : button->getText();
    }

    // Writes the canvas to $MERNOLEX_SCREENSHOTS/<name>.png when that variable names a directory,
    // for a look at a screen while developing it.
    void screenshot(const std::string& name) const {
        if (const char* directory = std::getenv("MERNOLEX_SCREENSHOTS")) {
            window->savePng(std::string(directory) + "/" + name + ".png");
        }
    }
};

}  // namespace states::test
