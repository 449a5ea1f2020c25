#pragma once

#include "resources/frameworkFileManager.h"

// An interface text for descriptions built by the records; the empty text while the framework
// texts have not been loaded, so a record never dereferences a missing table entry.
inline const wchar_t* interfaceText(framew_strings which) {
    const wchar_t* text = curStrings[which];
    return text == nullptr ? L"" : text;
}
