#pragma once

// What the welcome screen measures and draws in its first frame with the built-in face and texts
// (the framework files read later usually keep them): the fonts warmed while GTK connects and
// the database loads (platform/FontWarmUp). A text or size left out here costs the first paint
// the font sets, fonts and glyphs of its own; one put in that the frame does not show costs the
// warming thread, which takes a core from the start-up on a two-core machine.

#include "platform/FontWarmUp.h"

platform::FontWarmUpRequest firstFrameFonts();
