#include "states/GuiSettingsButton.h"

#include "model/InterfaceText.h"
#include "states/SettingsState.h"

namespace {

constexpr int CENTER_X = 920;
constexpr int CENTER_Y = 430;

}  // namespace

GuiSettingsButton::GuiSettingsButton()
    : GuiButton(BUTTON2, CENTER_X, CENTER_Y, interfaceText(String_SETTINGS), createSettingsState) {}
