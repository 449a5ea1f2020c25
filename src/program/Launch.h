#pragma once

// The executable's work before and around the window: the command line, the data directory and
// its lock. The start-up proper (program/StartUp.h) knows nothing of them; it runs in whatever
// working directory it is given, as the headless tests run it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "program/DataDirectory.h"
#include "program/InstanceLock.h"

// The exit status of a refused command line; a start refused later (no display, no usable data
// directory, another instance at work) ends with 1 (program/RealWindow.h).
inline constexpr int EXIT_STATUS_USAGE = 2;

// Runs the program for the arguments after its name: prints the usage or the version, or refuses
// a wrong command line with one line on standard error, or runs the real window on the chosen
// and locked data directory. Returns the process's exit status.
int launch(const std::string& programName, const std::vector<std::string>& arguments);

// Chooses the data directory for `requested` (the value of --data), creates and enters it and
// takes its lock. Returns the lock, which the caller holds while it works there, or nothing with
// a one-line reason in `problem`; the working directory may then already be the chosen one.
std::unique_ptr<InstanceLock> claimDataDirectory(const std::optional<std::string>& requested,
                                                 const DataDirectory::Environment& environment,
                                                 std::string& problem);
