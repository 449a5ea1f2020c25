#pragma once

// The back button at the bottom left of many screens: goes back one screen in the traceback
// after the message (on the first screen of a chain it re-enters that screen).

#include "gui/GuiButton.h"

class GuiBackButton : public GuiButton {
public:
    GuiBackButton();
};
