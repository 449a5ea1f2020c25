#include "gui/GuiBackButton.h"

#include "gui/StateMachine.h"

namespace {

constexpr int BackCenterX = 80;
constexpr int BackCenterY = 430;

void requestBackStep() { rollbackFlag = true; }

}  // namespace

GuiBackButton::GuiBackButton()
    : GuiButton(BUTTON2, BackCenterX, BackCenterY, curStrings[String_BACK_SYMBOL], &requestBackStep) {}
