// Feeds arbitrary bytes to the text conversions: 8-bit text (file names, untrusted) to wide text
// and back, and arbitrary wchar_t values to UTF-8. Whatever comes in, the UTF-8 produced must
// decode back to exactly the wide text it came from, with invalid values as U+FFFD.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = utf8::decode(bytes);
    if (wide.size() > bytes.size() || utf8::decode(utf8::encode(wide)) != wide) {
        std::abort();
    }

    std::wstring values(size / sizeof(wchar_t), L'\0');
    std::memcpy(values.data(), data, values.size() * sizeof(wchar_t));
    const std::wstring decoded = utf8::decode(utf8::encode(values));
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const auto original = static_cast<std::uint32_t>(values[i]);
        const bool scalar = original <= 0x10FFFF && (original < 0xD800 || original > 0xDFFF);
        if (decoded[i] != (scalar ? values[i] : L'\uFFFD')) {
            std::abort();
        }
    }
    return 0;
}
