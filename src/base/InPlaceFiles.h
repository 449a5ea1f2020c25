#pragma once

#include <string>
#include <string_view>

// The in-place steps of the transaction log (base/FileTransaction.h): a file is written over
// and removed without syncs of its own, because the log already holds what these steps make.

// Writes `contents` over the file at `path` from its start (creating it), and cuts off what the
// old contents had beyond them. A failure leaves the file torn, which the log's replay repairs.
bool overwriteFile(const std::string& path, std::string_view contents);
// Removes the file at `path`; true also when it was not there.
bool removeFileNow(const std::string& path);
