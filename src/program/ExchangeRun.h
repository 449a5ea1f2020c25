#pragma once

// The import and export commands: the same data directory and lock as a run of the program, no
// window. What they did and every refused row go to standard output, problems to standard error.
// The status: EXIT_DONE, EXIT_REFUSED (the input was refused; nothing was stored) or
// EXIT_DATA_DIRECTORY (the data directory could not be claimed, read or written).

#include <string>

#include "program/ExchangeCommand.h"

inline constexpr int EXIT_DONE = 0;
inline constexpr int EXIT_REFUSED = 1;
inline constexpr int EXIT_DATA_DIRECTORY = 2;

// `dataDirectory` is the value of --data, empty without one.
int runExchange(const std::string& programName, const ExchangeCommand& command, const std::string& dataDirectory);
