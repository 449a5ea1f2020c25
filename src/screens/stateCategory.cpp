#include "screens/stateCategory.h"

#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "model/Category.h"
#include "model/InterfaceText.h"
#include "screens/EditorBoxes.h"
#include "screens/EditorList.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

Category* editCategory = nullptr;

namespace {

constexpr const char* TAG_DESCRIPTION = "TEXTFIELD_DESCRIPTION";
constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";

GuiTextfield* descriptionField() { return onScreen<GuiTextfield>(TAG_DESCRIPTION); }

void fillList() {
    GuiItemfield* list = editorList();
    if (list == nullptr) {
        return;
    }
    list->clearField();
    for (auto it = Category::begin(); it != Category::end(); ++it) {
        addListEntry(*list, it->get_description(), it->getId());
    }
}

void openEditPage(Category* category) {
    GuiTextfield* field = descriptionField();
    if (field == nullptr) {
        return;
    }
    editCategory = category;
    field->setText(category != nullptr ? category->get_description() : L"");
    nextCondition = CATEGORY_EDIT_PAGE;
}

void startNewCategory() { openEditPage(nullptr); }

void editActiveCategory() {
    if (Category* category = activeListRecord<Category>()) {
        openEditPage(category);
    }
}

void deleteActiveCategory() {
    const Category* category = activeListRecord<Category>();
    if (category == nullptr) {
        return;
    }
    const unsigned id = category->getId();
    if (!askUser(String_CATEGORY_DELETION_WARNING, platform::MessageIcon::Warning, platform::MessageButtons::YesNo)) {
        return;
    }
    if (Category::getById(id) != nullptr) {
        Category::deleteEntry(id);
    }
    editCategory = nullptr;
    saveTablesOrWarn({D_CATEGORY, D_ASSO_C_M});
    fillList();
}

// A save that fails takes the edit back (states/SaveTables.h): a new category leaves the table
// again, an edited one gets its description back.
void saveCategory() {
    const GuiTextfield* field = descriptionField();
    if (field == nullptr) {
        return;
    }
    const std::wstring description = field->visibleText();
    Category* category = editCategory;
    const std::wstring before = category != nullptr ? category->get_description() : L"";
    if (category != nullptr) {
        category->set_description(description.c_str(), true);
    } else {
        category = new Category(description.c_str());
        Category::add(category);
    }
    const bool isNew = editCategory == nullptr;
    const SaveOutcome saved = saveEdit({D_CATEGORY}, [category, isNew, &before] {
        if (isNew) {
            Category::deleteEntry(category->getId());
        } else {
            category->set_description(before.c_str(), true);
        }
    });
    if (saved == SaveOutcome::NOTHING_CHANGED) {
        return;
    }
    editCategory = nullptr;
    fillList();
    nextCondition = LIST_PAGE;
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewCategory},
    {UPDATE_EDIT_PRESSED, editActiveCategory},
    {UPDATE_DELETE_PRESSED, deleteActiveCategory},
    {UPDATE_SAVE_PRESSED, saveCategory},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

void forgetEditedCategory() { editCategory = nullptr; }

void addEditPage(State* state) {
    setConditional(state, CATEGORY_EDIT_PAGE);
    addConditionElementToState(new GuiText(interfaceText(String_CATEGORIES), 500, 80, 500, 80, FONT1, TEXT_CENTRE));
    addConditionElementToState(new GuiText(interfaceText(String_DESCRIPTION), 500, 190, 300, 50, FONT1, TEXT_CENTRE));
    addConTagedElTState(new GuiTextfield(500, 250, L"", false, 333, 62), TAG_DESCRIPTION);
    addConditionElementToState(new GuiButton(BUTTON1, 250, 400, interfaceText(String_DISCARD_CHANGES), LIST_PAGE));
    addConditionElementToState(new GuiButton(BUTTON1, 750, 400, interfaceText(String_SAVE), UPDATE_SAVE_PRESSED));
}

}  // namespace

State* createCategoryState() {
    State* state = createListState(interfaceText(String_CATEGORIES), interfaceText(String_CATEGORY), 0);
    addEditPage(state);
    editCategory = nullptr;
    state->updateFunc = update;
    state->terminateFunc = forgetEditedCategory;
    return state;
}
