#pragma once

// The language and verb pattern editors driven through the window procedure, on a database
// started as at a first start. Records a scenario needs beforehand are made here and saved, so
// that what the editor stores can be compared after reloading from disk.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/GuiItemfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextfield.h"
#include "model/ModelTestSupport.h"
#include "model/ui/LanguageRecords.h"
#include "states/ListState.h"
#include "states/StatesFixture.h"

namespace screens::test {

namespace fs = std::filesystem;

class GrammarScreensTest : public states::test::StatesTest {
protected:
    void SetUp() override {
        StatesTest::SetUp();
        startDatabase();
    }

    template <typename T>
    static void addGrammar(unsigned languageId, std::initializer_list<const wchar_t*> texts) {
        for (const wchar_t* text : texts) {
            T::add(new T(text, languageId));
        }
    }
    // A verb table of the language's shape whose cell of tense x and person y reads "x.y".
    template <typename V>
    static V* labelled(V* verb) {
        for (unsigned x = 0; x < verb->get_tenses(); ++x) {
            for (unsigned y = 0; y < verb->get_persons(); ++y) {
                verb->addContent((std::to_wstring(x) + L"." + std::to_wstring(y)).c_str(), x, y);
            }
        }
        return verb;
    }
    static VerbPattern* addPattern(unsigned languageId, unsigned tenses, unsigned persons) {
        auto* pattern = labelled(new VerbPattern(tenses, persons, languageId, 0));
        VerbPattern::add(pattern);
        return pattern;
    }
    static void saveAll() { ASSERT_EQ(saveDatabaseExternal(0), 0); }

    // The texts of the language's records of T in ascending id, as "text#id".
    template <typename T>
    static std::vector<std::wstring> stored(unsigned languageId) {
        std::vector<std::wstring> texts;
        for (const T* record : modelui::recordsOfLanguage<T>(languageId)) {
            texts.push_back(std::wstring(record->get_text()) + L"#" + std::to_wstring(record->getId()));
        }
        return texts;
    }
    static std::vector<std::wstring> entries(const GuiItemfield& list) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < list.getNumberOfCurrentElements(); ++i) {
            texts.emplace_back(list.getEntry(i));
        }
        return texts;
    }

    template <typename E>
    static E* element(const char* tag) {
        return getElementByTag<E>(tag, curState);
    }
    // The first element of that kind on the current screen (also on other pages), or null.
    template <typename E>
    static E* first() {
        for (GuiElement* e = curState == nullptr ? nullptr : curState->firstElement; e != nullptr; e = e->nextElement) {
            if (auto* found = dynamic_cast<E*>(e)) {
                return found;
            }
        }
        return nullptr;
    }

    void clickMiddle(const GuiHelpRect& r) {
        click(r.getX() + r.getWidth() / 2, r.getY() + r.getHeight() / 2);
        paint();
    }
    // Clicks into the field, selects all it holds (Ctrl+A) and types over it.
    void typeInto(const GuiHelpRect* field, std::wstring_view text) {
        ASSERT_NE(field, nullptr);
        clickMiddle(*field);
        type(L"\x01");
        type(text);
    }
    void chooseEntry(const GuiItemfield& list, int position) {
        click(list.getX() + 10, list.getY() + position * list.getCurrentLineHeight() + 5);
        paint();
    }

    static void blockDirectory(const fs::path& directory) {
        fs::rename(directory, directory.string() + "-aside");
        writeFile(directory, "in the way");
    }
    static void unblockDirectory(const fs::path& directory) {
        fs::remove(directory);
        fs::rename(directory.string() + "-aside", directory);
    }
    std::size_t boxes() const { return window->dialogs().messageBoxes().size(); }
    const platform::MessageBoxRequest& lastBox() const { return window->dialogs().messageBoxes().back(); }
};

}  // namespace screens::test
