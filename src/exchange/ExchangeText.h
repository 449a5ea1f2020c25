#pragma once

// The interface texts of the import and export, from the second strings file. The command line
// reads no strings files, so a text not loaded is its English default.

#include <initializer_list>
#include <string>

#include "resources/SecondStrings.h"

namespace exchange {

std::wstring text2(framew_strings2 which);

// The format with each placeholder ("%ls" or "%u") replaced by the next value, in order. Done by
// hand so that a translated text with the wrong placeholders shows wrong text, never crashes.
std::wstring fillIn(const std::wstring& format, std::initializer_list<std::wstring> values);

}  // namespace exchange
