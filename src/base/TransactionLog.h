#pragma once

#include <cstdint>
#include <functional>
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
//   "MERNOLEX FILE UNIT 3 <length> <hsum>"
//                       length = the bytes of the whole unit, this line and the END line
//                       included; hsum = FNV-1a 64 of the line's text before " <hsum>", 16
//                       lowercase hex digits
//   "W <size> <path>"   followed by exactly <size> bytes: the new contents of <path>
//   "D <path>"          remove <path>
//   "END <n> <sum>"     n = the number of W and D entries; sum = FNV-1a 64 of every byte of the
//                       unit before this line, 16 lowercase hex digits
// Logs written before units carried their length have the first line "MERNOLEX FILE UNIT 2" and
// are read the same way.
//
// What reading finds at each unit:
// - whole: the sums match;
// - cut short: the log ends inside it (a header line without its end, or a length past the end
//   of the log). The process stopped while appending it, before its commit point: the unit and
//   the end of the log are ignored;
// - damaged: anything else (a header whose sum does not match, a unit that does not end with a
//   matching END line where its length says). Bytes changed after the commit point: the reader
//   goes on at the next unit that reads whole.
// The length and its own sum are what tell a cut-short unit from a damaged one: a changed byte in
// a size or a line end cannot make a whole unit look cut short.
struct LogUnit {
    std::vector<std::pair<std::string, std::string>> written;  // path, new contents
    std::vector<std::string> removed;

    bool empty() const { return written.empty() && removed.empty(); }
};

// What a log holds.
struct LogContents {
    std::vector<LogUnit> units;  // every whole unit, in log order
    // True when a unit is damaged. Then units[replayFrom] is the first whole unit after the last
    // damaged one (replayFrom == units.size() when none follows): a unit before it may have
    // written a file that the damaged unit wrote again later.
    bool damaged = false;
    std::size_t replayFrom = 0;
};

namespace transaction_log {

// The unit as it is appended.
std::string encode(const LogUnit& unit);
// The same bytes, handed to `piece` in order without joining them (a save of thousands of files
// would otherwise hold its contents twice more).
void encodeInPieces(const LogUnit& unit, const std::function<void(std::string_view)>& piece);

// The pieces of a unit, for a writer that streams its entries before it knows them all
// (base/UnitSpool.h): the header of a unit whose entries take `bodySize` bytes, an entry's line
// (its contents follow), a removal's line, and the END line after `entries` entries whose
// unit's bytes before it sum to `sum` (continueSum from SUM_START over them, in order).
inline constexpr std::uint64_t SUM_START = 0xcbf29ce484222325ull;
std::string headerLine(std::size_t bodySize, std::size_t entries);
std::string entryLine(const std::string& path, std::size_t size);
std::string removalLine(const std::string& path);
std::string endLine(std::size_t entries, std::uint64_t sum);
std::uint64_t continueSum(std::string_view bytes, std::uint64_t sum);

// The units of a log, as described above.
LogContents read(std::string_view log);

// True for paths the log can hold (no line break, not empty).
bool canHold(const std::string& path);

}  // namespace transaction_log
