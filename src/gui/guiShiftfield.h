#pragma once

// The pair of lists with arrow buttons between them that the editing screens use to move records
// from one list to the other ("Use" and "Don't use"):
//
//   label  [ left list ]  »  [ right list ]  label
//                         «
//
// "»" moves the left list's active entry (text and id) to the end of the right list, "«" the
// other way; afterwards the source's and then the target's shift function run.

#include "gui/GuiItemfield.h"

// Adds the two buttons, the two lists (tagged tagLeft and tagRight, in the current conditional
// building context) and their two labels, centred at (centerX, centerY) within width x height.
// The tags are stored as pointers and must outlive the screen. The lists are returned through
// leftField and rightField where those are not null; the screen owns them.
void createGuiShiftfield(const char* tagLeft, const char* tagRight, const wchar_t* textLeft,
                         const wchar_t* textRight, int centerX, int centerY, int width, int height,
                         GuiItemfield** leftField, GuiItemfield** rightField);

// Moves the active entry of the list tagged `voidSource` to the list tagged `voidTarget` (both
// 8-bit tags in the current screen). Nothing happens when the source is empty or either list is
// missing.
void buttonShift(const void* voidSource, const void* voidTarget);
