#pragma once

// The built-in values of the framework tables, used on a first start and whenever the framework
// files are damaged. They are compiled in, so the program always has a complete interface.

#include "resources/frameworkFileManager.h"

// The default of each table entry; an index outside the table gives 0 or nullptr.
COLORREF framewDefaultColour(int index);
int framewDefaultFontValue(int index);
const char* framewDefaultFontface(int index);
const wchar_t* framewDefaultString(int index);
