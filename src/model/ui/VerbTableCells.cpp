#include "model/ui/VerbTableCells.h"

#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"

namespace modelui {

std::wstring cellText(const GuiTable& table, int line, int column) {
    GuiElement* content = table.getContent(line, column);
    if (const auto* field = dynamic_cast<const GuiTextfield*>(content)) {
        return field->getText();
    }
    if (const auto* label = dynamic_cast<const GuiText*>(content)) {
        const wchar_t* text = label->getTextW();
        return text == nullptr ? L"" : text;
    }
    return L"";
}

GuiTextfield* cellField(const GuiTable& table, int line, int column) {
    return dynamic_cast<GuiTextfield*>(table.getContent(line, column));
}

}  // namespace modelui
