// Feeds arbitrary bytes to the reader of the transaction log (a file a crash, a power loss or a
// failing disk may have left in any state). Whatever comes in, the reader must not crash, every
// unit it finds must encode and read back as itself, and a log it finds undamaged must be exactly
// its whole units followed by at most one unit cut short.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/TransactionLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view log(reinterpret_cast<const char*>(data), size);
    const LogContents contents = transaction_log::read(log);
    if (contents.replayFrom > contents.units.size() || (!contents.damaged && contents.replayFrom != 0)) {
        std::abort();
    }
    std::string whole;
    for (const LogUnit& unit : contents.units) {
        const std::string bytes = transaction_log::encode(unit);
        const LogContents again = transaction_log::read(bytes);
        if (again.damaged || again.units.size() != 1 || again.units[0].written != unit.written ||
            again.units[0].removed != unit.removed) {
            std::abort();
        }
        whole += bytes;
    }
    // An undamaged log written by this version is its units and then, perhaps, a unit cut short
    // (older units differ only in their header line, so only logs without them are compared).
    if (!contents.damaged && log.find("MERNOLEX FILE UNIT 2") == std::string_view::npos &&
        log.substr(0, whole.size()) != whole) {
        std::abort();
    }
    return 0;
}
