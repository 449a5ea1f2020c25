#include "model/ui/SelectionItems.h"

#include "gui/GuiSelectionfield.h"
#include "model/InterfaceText.h"

namespace modelui {

void addEntry(GuiSelectionfield& field, const wchar_t* text, unsigned id) {
    field.addItem(text);
    field.setLastId(id);
}

void restartWithNotApplicable(GuiSelectionfield& field) {
    field.clearField();
    addEntry(field, interfaceText(String_N_A), 0);
}

}  // namespace modelui
