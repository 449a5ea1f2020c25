#pragma once

#include <string>
#include <vector>

// Pictures of deleted records, removed together with the tables that no longer list them. A
// record deleted in memory may still be on disk until the next save (or for ever, if the program
// ends first), so its picture must stay until that save's files are in place; removing it at once
// left a stored record without its picture after a crash or a failed save.
namespace pictureRemovals {

// Notes `path` for removal with the next save.
void note(const std::string& path);
// A new picture written to `path` (a freed id taken again) is no longer to be removed.
void cancel(const std::string& path);
// The paths noted and not yet removed.
std::vector<std::string> pending();
// Hands every noted removal to the active file transaction; the notes are dropped once it commits.
// Outside a transaction the files are removed at once.
void stageInActiveTransaction();
// Forgets every note (the records in memory were dropped, so their deletions never happen).
void clear();

}  // namespace pictureRemovals
