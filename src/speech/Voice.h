#pragma once

// A voice of the speech synthesiser, as the language editor offers it and a language stores it.

#include <string>
#include <utility>
#include <vector>

namespace speech {

struct Voice {
    // What a language stores and synthesis selects ("gmw/de"): unique among the voices, and the
    // same across runs as long as the synthesiser's data stays installed.
    std::string identifier;
    // The name shown to the user ("German", "English (Great Britain)").
    std::string name;
    // The language codes the voice speaks ("de", "en-gb"), each with its priority: the lower the
    // number, the more the voice is meant for that language.
    std::vector<std::pair<int, std::string>> languages;
};

}  // namespace speech
