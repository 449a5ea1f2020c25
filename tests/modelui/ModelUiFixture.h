#pragma once

// Record lists and verb tables on a headless screen: the framework on a 1000 x 500 window with
// the default texts, and the vocabulary tables set up empty.

#include <string>

#include "gui/GuiSelectionfield.h"
#include "gui/support/ScreenDriver.h"
#include "model/ModelTestSupport.h"

namespace modelui::test {

class ModelUiTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        modeltest::setupVocabularyTables();
    }
    void TearDown() override {
        resetDatabaseTables();
        ScreenTest::TearDown();
    }

    template <typename T>
    static unsigned addGrammar(unsigned languageId, const wchar_t* text) {
        return T::add(new T(text, languageId));
    }

    // The entries of a selection field as "text#id", in order.
    static std::vector<std::wstring> entries(const GuiSelectionfield& field) {
        std::vector<std::wstring> shown;
        const GuiItemfield& list = field.getItemfield();
        for (int i = 0; i < list.getNumberOfCurrentElements(); ++i) {
            shown.push_back(std::wstring(list.getEntry(i)) + L"#" + std::to_wstring(list.getEntryId(i)));
        }
        return shown;
    }
};

}  // namespace modelui::test
