#include "exchange/ExchangeText.h"

namespace exchange {

std::wstring text2(framew_strings2 which) {
    const wchar_t* loaded = curStrings2[which];
    if (loaded != nullptr) {
        return loaded;
    }
    const wchar_t* fallback = defaultSecondString(which);
    return fallback == nullptr ? std::wstring() : fallback;
}

std::wstring fillIn(const std::wstring& format, std::initializer_list<std::wstring> values) {
    std::wstring out;
    auto value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && value != values.end()) {
            const std::size_t length = format.compare(i, 3, L"%ls") == 0 ? 3 : format.compare(i, 2, L"%u") == 0 ? 2 : 0;
            if (length != 0) {
                out += *value++;
                i += length - 1;
                continue;
            }
        }
        out.push_back(format[i]);
    }
    return out;
}

}  // namespace exchange
