#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The log of a FileTransaction (base/FileTransaction.h): each committed unit appended whole, with
// the complete new contents of every file it replaces and the paths it removes. Appending one
// unit and syncing the log is the unit's commit point; replaying the log in order repeats every
// unit after a crash.
//
// A unit, 8-bit text lines (paths never hold a line break) and raw contents:
//   "MERNOLEX FILE UNIT 2"
//   "W <size> <path>"   followed by exactly <size> bytes: the new contents of <path>
//   "D <path>"          remove <path>
//   "END <n> <sum>"     n = the number of W and D entries; sum = FNV-1a 64 of every byte of the
//                       unit before this line, 16 lowercase hex digits
// A unit cut short or with a wrong sum ends the log: it was being appended when the process
// stopped, and everything after it is ignored.
struct LogUnit {
    std::vector<std::pair<std::string, std::string>> written;  // path, new contents
    std::vector<std::string> removed;

    bool empty() const { return written.empty() && removed.empty(); }
};

namespace transaction_log {

// The unit as it is appended.
std::string encode(const LogUnit& unit);

// The whole units at the start of a log, in order.
std::vector<LogUnit> decode(std::string_view log);

// True for paths the log can hold (no line break, not empty).
bool canHold(const std::string& path);

}  // namespace transaction_log
