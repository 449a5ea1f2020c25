// Feeds arbitrary bytes to the settings file's reader. Whatever comes in: no crash, and the file
// written for what was read reads back as the same settings (the format is a fixed point).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "resources/ProgramSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ProgramSettings read = ProgramSettings::parse(bytes);
    const std::string written = read.format();
    const ProgramSettings again = ProgramSettings::parse(written);
    if (written.size() <= ProgramSettings::MAX_FILE_BYTES &&
        (again.speakAfterJudging != read.speakAfterJudging || again.format() != written)) {
        std::abort();
    }
    return 0;
}
