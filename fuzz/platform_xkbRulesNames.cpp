// Feeds arbitrary bytes as the X server's keyboard configuration property, with the active
// group from the first four bytes. Whatever the server says, the start-up layout is either
// nothing or an identifier of eight upper-case hexadecimal digits the layout table knows.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/XkbLayoutTable.h"
#include "platform/gtk/XkbStartupLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::uint32_t group = 0;
    if (size >= sizeof group) {
        std::memcpy(&group, data, sizeof group);
        data += sizeof group;
        size -= sizeof group;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto identifier = platform::gtk::identifierFromRulesNames(bytes, group);
    if (!identifier) {
        return 0;
    }
    if (identifier->size() != 8 || !platform::xkbLayoutFor(*identifier)) {
        std::abort();
    }
    for (char c : *identifier) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) || std::islower(static_cast<unsigned char>(c))) {
            std::abort();
        }
    }
    return 0;
}
