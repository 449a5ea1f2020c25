#include "screens/GrammarPanel.h"

#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiRect.h"
#include "gui/GuiTextfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/InterfaceText.h"
#include "screens/EditorFocus.h"
#include "shell/frameworkPainter.h"

namespace {

constexpr int FIELD_WIDTH = 333;
constexpr int FIELD_HEIGHT = 62;
constexpr int BUTTON_ROW_Y = 200;

GuiTextfield* fieldTagged(const void* tag) {
    return getElementByTag<GuiTextfield>(static_cast<const char*>(tag), curState);
}

GuiItemfield* listTagged(const void* tag) {
    return getElementByTag<GuiItemfield>(static_cast<const char*>(tag), curState);
}

// Hands the field's text to the list (as a new entry, or as the active entry's new text) and
// leaves the field empty and focused for the next entry.
void moveFieldText(const void* fieldTag, const void* listTag, void (GuiItemfield::*put)(const wchar_t*)) {
    GuiTextfield* field = fieldTagged(fieldTag);
    GuiItemfield* list = listTagged(listTag);
    if (field == nullptr || list == nullptr) {
        return;
    }
    const std::wstring text = field->visibleText();
    field->setText(L"");
    giveFocusTo(field);
    (list->*put)(text.c_str());
}

}  // namespace

void setupGrammar(State* state, const GrammarPanel& panel, GuiTextfield** field, GuiItemfield** itemlist) {
    setConditional(state, panel.page);
    addConditionElementToState(new GuiRect(colours[BT_RGB], 440, panel.offset + 100, 500, 100, PEN_NULL));
    auto* tab = addConditionElementToState(
        new GuiButton(BUTTON2, 500, panel.offset + 150, interfaceText(panel.caption), panel.page));
    if (tab != nullptr) {
        tab->setConditions(ALL_GRAMMAR_PAGES);
    }
    auto* entry = addConTagedElTState(new GuiTextfield(800, 120, L"", false, FIELD_WIDTH, FIELD_HEIGHT), panel.fieldTag);
    addConditionElementToState(
        new GuiButton(BUTTON2, 676, BUTTON_ROW_Y, interfaceText(String_ADD), addItemBtn, panel.fieldTag, panel.listTag));
    addConditionElementToState(new GuiButton(BUTTON2, 800, BUTTON_ROW_Y, interfaceText(String_RENAME), renameItemBtn,
                                             panel.fieldTag, panel.listTag));
    auto* list = addConTagedElTState(new GuiItemfield(634, 250, FIELD_WIDTH, 230), panel.listTag);
    addConditionElementToState(
        new GuiButton(BUTTON2, 924, BUTTON_ROW_Y, interfaceText(String_DELETE_BT), deleteItemBtn, panel.listTag));
    *field = entry;
    *itemlist = list;
}

void addItemBtn(const void* fieldTag, const void* listTag) {
    moveFieldText(fieldTag, listTag, &GuiItemfield::addItem);
}

void renameItemBtn(const void* fieldTag, const void* listTag) {
    moveFieldText(fieldTag, listTag, &GuiItemfield::changeItem);
}

void deleteItemBtn(const void* listTag) {
    GuiItemfield* list = listTagged(listTag);
    if (list == nullptr) {
        return;
    }
    list->deleteItem();
    giveFocusTo(list);
}
