// Feeds arbitrary bytes to loadText until the file ends or damage is reported. Each text read must
// survive a save and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = FuzzScratch::directory();
    FuzzScratch::writeFile("texts.dat", data, size);

    std::vector<std::wstring> texts;
    {
        std::ifstream in(dir + "/texts.dat", std::ios::binary);
        try {
            while (in) {
                std::wstring text = L"previous";
                OrnQL_Base::loadText(text, in);
                texts.push_back(text);
            }
        } catch (const OrnQLException&) {
            // a text that does not end inside the file is damage; the texts before it stay
        }
    }
    {
        std::ofstream out(dir + "/again.dat", std::ios::binary | std::ios::trunc);
        for (const std::wstring& text : texts) {
            OrnQL_Base::saveText(text, out);
        }
    }
    std::ifstream in(dir + "/again.dat", std::ios::binary);
    for (const std::wstring& expected : texts) {
        std::wstring text;
        OrnQL_Base::loadText(text, in);
        if (text != expected) {
            abort();
        }
    }
    return 0;
}
