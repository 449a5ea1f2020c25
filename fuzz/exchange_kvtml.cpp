// Feeds arbitrary bytes to the KVTML reader: the head pass, then the entries of the first two
// identifiers, twice (as a preview and an import read them). Nothing may crash or leak, a file
// refused by the head pass has a message, and both passes over the entries agree.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/KvtmlReader.h"
#include "exchange/KvtmlRows.h"
#include "exchange/LanguageGrammar.h"

using namespace exchange;

namespace {

unsigned countRows(RowSource& rows) {
    rows.restart();
    ImportRow row;
    unsigned count = 0;
    while (rows.next(row)) {
        ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    KvtmlReader reader(bytes);
    if (!reader.readHead()) {
        if (reader.error() == nullptr || reader.error()->message.empty()) {
            abort();
        }
        return 0;
    }
    for (const KvtmlIdentifier& identifier : reader.head().identifiers) {
        (void)LanguageGrammar::ofIdentifier(reader.head(), identifier);
    }
    KvtmlRows rows(reader, 0, 1);
    if (countRows(rows) != countRows(rows)) {
        abort();
    }
    return 0;
}
