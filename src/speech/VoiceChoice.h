#pragma once

// Which voice a language probably wants, from the name the user gave it: its English name as the
// synthesiser names its voices ("German", "French", "English"), its own name for the common
// languages ("Deutsch", "Français", "Русский"), or a language code ("de", "pt-br"). Case and
// surrounding blanks do not count.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "speech/Voice.h"

namespace speech {

// The position in `voices` of the voice for a language called `languageName`, or nothing when no
// voice fits. Among several voices of the language (the English ones, the French ones) it takes
// the one the synthesiser prefers for the plain language code.
std::optional<std::size_t> voiceForLanguageName(const std::vector<Voice>& voices, std::wstring_view languageName);

// The position of the voice with that identifier, or nothing.
std::optional<std::size_t> voiceByIdentifier(const std::vector<Voice>& voices, std::string_view identifier);

}  // namespace speech
