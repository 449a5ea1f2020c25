// The export screen. Elements in the order they are added (also the Tab order):
//
//   element          centre               content
//   title            500,50               "Export words"
//   selection        500,180 500x40       the language pairs with cards, most cards first
//   toggle           500,260 700x40       delimited text (Anki) / KVTML
//   button           500,350              "Export"
//   back button      80,430               the screen before
//
// Without cards the selection is empty and Export says there is nothing to export.

#include "screens/stateExport.h"

#include <cwctype>
#include <vector>

#include "base/Utf8.h"
#include "exchange/ExchangeText.h"
#include "exchange/ExportSet.h"
#include "exchange/ExportWriters.h"
#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "model/InterfaceText.h"
#include "model/Language.h"
#include "platform/Platform.h"
#include "states/UpdateTable.h"

namespace {

using namespace exchange;

constexpr const char* UPDATE_EXPORT = "EXPORT_PRESSED";

struct ExportScreen {
    std::vector<LanguagePair> pairs;
    GuiSelectionfield* pair = nullptr;
    GuiToggle* format = nullptr;
};

ExportScreen screen;

std::wstring languageName(unsigned id) {
    const Language* language = Language::getById(id);
    return language == nullptr ? std::wstring() : language->get_name();
}

// "german-english.txt"
std::string suggestedName(const LanguagePair& pair, bool kvtml) {
    std::wstring name = languageName(pair.foreign) + L"-" + languageName(pair.known);
    for (wchar_t& c : name) {
        c = c == L' ' || c == L'/' ? L'-' : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return utf8::encode(name) + (kvtml ? ".kvtml" : ".txt");
}

void tell(const std::wstring& text) {
    platform::current().messageBox(text, interfaceText(String_INFORMATION), platform::MessageIcon::Information,
                                   platform::MessageButtons::Ok);
}

void exportPressed() {
    const int chosen = screen.pair->getActivePosition();
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= screen.pairs.size()) {
        tell(text2(String2_NOTHING_TO_EXPORT));
        return;
    }
    const LanguagePair& pair = screen.pairs[static_cast<std::size_t>(chosen)];
    const bool kvtml = screen.format->getRightOn();
    const std::vector<platform::FileFilter> filters = {
        kvtml ? platform::FileFilter{"KVTML", {"*.kvtml"}}
              : platform::FileFilter{utf8::encode(text2(String2_FORMAT_DELIMITED)), {"*.txt", "*.tsv"}},
        {utf8::encode(text2(String2_ALL_FILES)), {"*.*"}}};
    const std::optional<std::string> path = platform::current().saveFileDialog(filters, suggestedName(pair, kvtml));
    if (!path) {
        return;
    }
    const ExportSet set = collectExport(pair.foreign, pair.known);
    std::wstring problem;
    if (!writeExportFile(*path, kvtml ? writeKvtml(set) : writeDelimited(set), problem)) {
        platform::current().messageBox(problem, interfaceText(String_INFORMATION), platform::MessageIcon::Error,
                                       platform::MessageButtons::Ok);
        return;
    }
    tell(fillIn(text2(String2_EXPORT_DONE), {std::to_wstring(set.cards.size()), utf8::decode(*path)}));
}

constexpr UpdateHandler updateHandlers[] = {{UPDATE_EXPORT, exportPressed}};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

void fillPairs() {
    screen.pairs = languagePairs();
    for (std::size_t i = 0; i < screen.pairs.size(); ++i) {
        const LanguagePair& pair = screen.pairs[i];
        const std::wstring entry = languageName(pair.foreign) + L" \u2192 " + languageName(pair.known) + L" (" +
                                   std::to_wstring(pair.cards) + L")";
        screen.pair->addItem(entry.c_str());
        screen.pair->setLastId(static_cast<unsigned>(i + 1));
    }
}

}  // namespace

State* createExportState() {
    screen = ExportScreen();
    State* state = createEmptyState(text2(String2_EXPORT_TITLE).c_str());
    state->traceback = TRACEBACK_LINE;
    addElementToState(state, new GuiTitleText(text2(String2_EXPORT_TITLE).c_str(), 0));
    screen.pair = addElementToState(state, new GuiSelectionfield(500, 180, 500, 40));
    screen.format = addElementToState(state, new GuiToggle(text2(String2_FORMAT_DELIMITED).c_str(),
                                                           text2(String2_FORMAT_KVTML).c_str(), false, 500, 260,
                                                           700, 40, nullptr));
    addElementToState(state, new GuiButton(BUTTON1, 500, 350, text2(String2_EXPORT).c_str(), UPDATE_EXPORT));
    addElementToState(state, new GuiBackButton());
    fillPairs();
    state->updateFunc = update;
    return state;
}
