#pragma once

// The editors driven the way a user works them: through the window procedure of a headless
// window, by captions and list entries, with what they stored read back after reloading the
// database from disk.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "gui/GuiItemfield.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiTextfield.h"
#include "model/ModelTestSupport.h"
#include "states/ListState.h"
#include "states/StatesFixture.h"

namespace screens::test {

using MessageResult = platform::MessageResult;



class EditorTest : public states::test::StatesTest {
protected:
    void SetUp() override {
        StatesTest::SetUp();
        startDatabase();
    }

    // --- typing ---------------------------------------------------------------------------------

    // Clicks into the current screen's text field tagged `tag`, deletes all it holds and types
    // `text` over it.
    void typeInto(const char* tag, std::wstring_view text) {
        const GuiElement* field = element(tag);
        ASSERT_NE(field, nullptr) << "no field " << tag << " on the screen";
        click(field->getX() + field->getWidth() / 2, field->getY() + field->getHeight() / 2);
        type(L"\x01\b");  // Ctrl+A, Backspace
        type(text);
        paint();
    }
    static std::wstring fieldText(const char* tag) {
        const auto* field = getElementByTag<GuiTextfield>(tag, curState);
        return field == nullptr ? L"<no field>" : field->visibleText();
    }

    // --- the record list ------------------------------------------------------------------------

    static GuiItemfield* list(const char* tag = TAG_ITEMLIST) { return getElementByTag<GuiItemfield>(tag, curState); }
    static std::vector<std::wstring> entries(const char* tag = TAG_ITEMLIST) {
        std::vector<std::wstring> texts;
        if (const GuiItemfield* field = list(tag)) {
            for (int i = 0; i < field->getNumberOfCurrentElements(); ++i) {
                texts.emplace_back(field->getEntry(i));
            }
        }
        return texts;
    }
    // Types `text` into the search box of the current screen's search list.
    void searchList(std::wstring_view text) {
        auto* searchable = getElementByTag<GuiSearchItemfield>(TAG_ITEMLIST, curState);
        ASSERT_NE(searchable, nullptr);
        const GuiTextfield& box = searchable->getSearchBox();
        click(box.getX() + box.getWidth() / 2, box.getY() + box.getHeight() / 2);
        type(text);
        paint();
    }
    // Clicks the entry showing `text` in the list tagged `tag`.
    void chooseEntry(std::wstring_view text, const char* tag = TAG_ITEMLIST) {
        const GuiItemfield* field = list(tag);
        ASSERT_NE(field, nullptr) << "no list " << tag << " on the screen";
        for (int i = 0; i < field->getNumberOfCurrentElements(); ++i) {
            if (text == field->getEntry(i)) {
                const int lineHeight = field->getCurrentLineHeight();
                click(field->getX() + field->getWidth() / 2, field->getY() + i * lineHeight + lineHeight / 2);
                paint();
                ASSERT_EQ(field->getActivePosition(), i);
                return;
            }
        }
        FAIL() << "no entry \"" << std::string(text.begin(), text.end()) << "\" in " << tag;
    }

    // --- boxes ----------------------------------------------------------------------------------

    // Queues the answer of the next box (before the action that asks).
    void answerNextBox(MessageResult answer) { window->dialogs().answerMessageBox(answer); }
    std::size_t boxCount() const { return window->dialogs().messageBoxes().size(); }
    // The text of the last box shown; "" when none was.
    std::wstring lastBoxText() const {
        const auto& boxes = window->dialogs().messageBoxes();
        return boxes.empty() ? L"" : boxes.back().text;
    }

    // Presses "Save" and returns the text of the box it caused ("" for none). When the save was
    // refused, the page is discarded, so the editor is back on its list either way.
    std::wstring saveAndHearWhy() {
        const std::size_t before = boxCount();
        pressButton(L"Save");
        const std::wstring said = boxCount() > before ? lastBoxText() : L"";
        if (page() != LIST_PAGE) {
            pressButton(L"Discard changes");
        }
        return said;
    }

    // --- the disk -------------------------------------------------------------------------------

    // A table directory that became a plain file: nothing can be saved there, not even by root.
    static void blockDirectory(const std::filesystem::path& directory) {
        std::filesystem::rename(directory, directory.string() + ".aside");
        writeFile(directory, "in the way");
    }
    static void unblockDirectory(const std::filesystem::path& directory) {
        std::filesystem::remove(directory);
        std::filesystem::rename(directory.string() + ".aside", directory);
    }
    // Writes every table as the program's save does.
    static void saveEverything() { ASSERT_EQ(saveDatabaseExternal(0), 0); }

    // Lets the window paint what the last message changed, then writes the canvas to a PNG when
    // MERNOLEX_SCREENSHOTS names a directory.
    void snapshot(const std::string& name) {
        paint();
        screenshot(name);
    }

    static GuiElement* element(const char* tag) {
        GuiElement* found = getElementByTag(tag, curState);
        return found != nullptr && curState->takesPart(*found) ? found : nullptr;
    }
    static long page() { return curState == nullptr ? 0 : curState->condition; }
};

}  // namespace screens::test
