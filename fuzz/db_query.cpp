// Feeds arbitrary text to the query language as a filter and as an ordering over a small table.
// Errors must be the engine's exceptions, and the table's selection must stay whole.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "db/OrnQL_Template.h"

namespace {

class Row : public OrnQL_Template<Row> {
public:
    Row() = default;
    Row(const wchar_t* text, std::int32_t number, bool truth, double real)
        : name(text), level(number), flag(truth), weight(real) {}
    void load(std::istream&) override {}
    void save(std::ostream&) override {}
    const void* getData(int id) override {
        switch (id) {
        case 0: return name.c_str();
        case 1: return &level;
        case 2: return &flag;
        case 3: return &weight;
        case 4: return code;
        default: return nullptr;
        }
    }
    Row& operator=(const Row&) override { return *this; }
    static int type(const wchar_t* attribute, int* id) {
        const wchar_t* names[] = {L"NAME", L"LEVEL", L"FLAG", L"WEIGHT", L"CODE"};
        const QueryType types[] = {QUERY_UNICODE, QUERY_NUMBER, QUERY_BOOL, QUERY_FLOAT, QUERY_STRING};
        for (int i = 0; i < 5; ++i) {
            if (std::wcscmp(attribute, names[i]) == 0) {
                *id = i;
                return types[i];
            }
        }
        return QUERY_INVALID;
    }
    std::wstring name;
    std::int32_t level = 0;
    bool flag = false;
    double weight = 0.0;
    char code[9] = "00000407";
};

void fillTable() {
    Row::setup(D_WORD, false);
    Row::add(new Row(L"New York", 3, true, 1.5));
    Row::add(new Row(L"", -7, false, -0.0));
    Row::add(new Row(L"French", 3, true, 2e300));
    Row::add(new Row(L"Fr", 0, false, 1.5));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool filled = (fillTable(), true);
    (void)filled;
    // Two bytes per character (UTF-16 units as they are, surrogates included).
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    }
    const bool full = size % 2 == 0;
    try {
        Row::query(text.c_str(), full);
    } catch (const OrnQLException&) {
    }
    try {
        Row::orderQuery(text.c_str(), !full);
    } catch (const OrnQLException&) {
    }
    try {
        Row::getByQuery(text.c_str(), true);
    } catch (const OrnQLException&) {
    }
    if (!Row::elementTree().checkIntegrity().empty()) {
        abort();
    }
    return 0;
}
