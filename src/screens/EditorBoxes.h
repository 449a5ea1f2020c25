#pragma once

// The boxes the editors show: a question before a deletion and the refusal of a Save. Both go
// through the one window accessor; the nested loop of a box only paints, so the screen that asked
// is still there when the answer comes back.

#include "platform/Platform.h"
#include "resources/frameworkFileManager.h"

// Asks the interface text `question` in a box with the given icon and buttons, captioned
// `caption` ("Information" when null). True for Yes or Ok.
bool askUser(framew_strings question, platform::MessageIcon icon, platform::MessageButtons buttons,
             const wchar_t* caption = nullptr);

// Tells why a Save was refused: the interface text `reason` in an error box captioned
// "Information".
void refuseSave(framew_strings reason);
