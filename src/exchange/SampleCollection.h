#pragma once

// The sample collection shipped with the program (German and English, KVTML), imported through
// the same reader as any word list.

#include <optional>
#include <string>

namespace exchange {

// Where it is: installed beside the program (share/mernolex, found from the executable's own
// folder, then at the prefix it was built for), else in the source tree the program was built
// from. Nothing when none of them holds it.
std::optional<std::string> sampleCollectionPath();
// Every place looked at, in order, for telling the user.
std::string sampleCollectionPlaces();

}  // namespace exchange
