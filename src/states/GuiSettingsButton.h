#pragma once

// The settings button at the bottom right of the welcome and feed screens: a small button
// captioned "✎" that opens a new settings screen.

#include "gui/GuiButton.h"

class GuiSettingsButton : public GuiButton {
public:
    GuiSettingsButton();
};
