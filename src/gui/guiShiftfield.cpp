#include "gui/guiShiftfield.h"

#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "shell/frameworkPainter.h"

namespace {

constexpr int ButtonOffset = 20;  // the buttons sit this far above and below the centre
constexpr int Gap = 40;           // between the centre and each list
constexpr double ListShare = 0.4;
constexpr double LabelShare = 0.1;

}  // namespace

void createGuiShiftfield(const char* tagLeft, const char* tagRight, const wchar_t* textLeft,
                         const wchar_t* textRight, int centerX, int centerY, int width, int height,
                         GuiItemfield** leftField, GuiItemfield** rightField) {
    addConditionElementToState(
        new GuiButton(BUTTON4, centerX, centerY - ButtonOffset, L"\u00BB", buttonShift, tagLeft, tagRight));
    addConditionElementToState(
        new GuiButton(BUTTON4, centerX, centerY + ButtonOffset, L"\u00AB", buttonShift, tagRight, tagLeft));

    const int widthItem = static_cast<int>((width - 2 * Gap) * ListShare);
    const int top = centerY - height / 2;
    GuiItemfield* left =
        addConTagedElTState(new GuiItemfield(centerX - widthItem - Gap, top, widthItem, height), tagLeft);
    GuiItemfield* right = addConTagedElTState(new GuiItemfield(centerX + Gap, top, widthItem, height), tagRight);
    if (leftField != nullptr) {
        *leftField = left;
    }
    if (rightField != nullptr) {
        *rightField = right;
    }

    const int widthText = static_cast<int>((width - 2 * Gap) * LabelShare);
    addConditionElementToState(new GuiText(textLeft, centerX - widthItem - widthText / 2 - Gap, centerY, widthText,
                                           height, FONT1, TEXT_CENTRE));
    addConditionElementToState(new GuiText(textRight, centerX + widthItem + widthText / 2 + Gap, centerY, widthText,
                                           height, FONT1, TEXT_CENTRE));
}

void buttonShift(const void* voidSource, const void* voidTarget) {
    auto* source = getElementByTag<GuiItemfield>(static_cast<const char*>(voidSource), curState);
    auto* target = getElementByTag<GuiItemfield>(static_cast<const char*>(voidTarget), curState);
    if (source == nullptr || target == nullptr || source->getNumberOfCurrentElements() == 0) {
        return;
    }
    const std::wstring text = source->getActiveEntry();  // copied: deleteItem frees the entry
    target->addItem(text.c_str());
    target->setLastId(source->getActiveId());
    source->deleteItem();
    if (ShiftFunc shift = source->getShiftFunc()) {
        shift();
    }
    if (ShiftFunc shift = target->getShiftFunc()) {
        shift();
    }
}
