#pragma once

// Links the screens of the layers above the state machine (the practice screen, the editors) and
// the daily roll-over into the navigation screens, which cannot name them themselves
// (states/ScreenRegistry.h). Called by the start-up before the first screen is built.
void wireScreens();
