#include "states/ListState.h"

#include <string>

#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "model/InterfaceText.h"
#include "model/Language.h"

namespace {

constexpr int BUTTON_X = 775;

struct ButtonColumn {
    int firstY;
    int step;
};
constexpr ButtonColumn PLAIN_COLUMN{191, 100};
constexpr ButtonColumn BELOW_FILTER_COLUMN{244, 94};

struct ListButton {
    framew_strings verb;
    const char* tag;
    const char* update;
};
constexpr ListButton listButtons[] = {
    {String_VP_NEW, TAG_BUTTON_NEW, UPDATE_NEW_PRESSED},
    {String_VP_EDIT, TAG_BUTTON_EDIT, UPDATE_EDIT_PRESSED},
    {String_VP_DELETE, TAG_BUTTON_DELETE, UPDATE_DELETE_PRESSED},
};

constexpr int LIST_X = 143;
constexpr int LIST_Y = 119;
constexpr int LIST_WIDTH = 408;
constexpr int LIST_HEIGHT = 343;

std::wstring joined(framew_strings verb, const wchar_t* unit) {
    return std::wstring(interfaceText(verb)) + L" " + (unit == nullptr ? L"" : unit);
}

void addButtons(const wchar_t* unit, const ButtonColumn& column) {
    int centerY = column.firstY;
    for (const ListButton& button : listButtons) {
        const std::wstring caption = joined(button.verb, unit);
        addConTagedElTState(new GuiButton(BUTTON1, BUTTON_X, centerY, caption.c_str(), button.update), button.tag);
        centerY += column.step;
    }
}

GuiItemfield* newList(bool searchable) {
    if (searchable) {
        return new GuiSearchItemfield(LIST_X, LIST_Y, LIST_WIDTH, LIST_HEIGHT);
    }
    return new GuiItemfield(LIST_X, LIST_Y, LIST_WIDTH, LIST_HEIGHT);
}

void addLanguageFilter() {
    auto* filter = addConTagedElTState(new GuiSelectionfield(BUTTON_X, 151, 333, 62), TAG_SELECTION_LANGUAGE);
    filter->addItem(interfaceText(String_ALL_LANGUAGES));
    filter->setLastId(0);
    Language::prepareSelection(filter);
}

}  // namespace

State* createListState(const wchar_t* description, const wchar_t* unit, int flags) {
    const wchar_t* title = description == nullptr ? L"" : description;
    const bool filtered = (flags & LIST_LANGUAGE_FILTER) != 0;
    State* state = createEmptyState(title);
    setConditional(state, LIST_PAGE);
    addConTagedElTState(new GuiText(title, 500, 80, 500, 80, FONT1, TEXT_CENTRE), TAG_TEXT_TITLE);
    addButtons(unit, filtered ? BELOW_FILTER_COLUMN : PLAIN_COLUMN);
    addConTagedElTState(newList((flags & LIST_SEARCHABLE) != 0), TAG_ITEMLIST);
    addConditionElementToState(new GuiBackButton());
    if (filtered) {
        addLanguageFilter();
    }
    state->traceback = TRACEBACK_LINE;
    state->condition = LIST_PAGE;
    addUpdate(UPDATE_INIT, state);
    return state;
}
