// Feeds arbitrary bytes to the loader as a bound file. Whatever loads must not crash, and must
// come back unchanged after a save and a second load.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzScratch.h"
#include "db/OrnQL_Stream.h"
#include "db/OrnQL_Template.h"

namespace {

class FuzzRecord : public OrnQL_Template<FuzzRecord> {
public:
    void load(std::istream& in) override {
        loadText(name, in);
        loadValue(in, level);
        loadBool(in, flag);
        loadValue(in, weight);
        loadChars(in, code, sizeof code);
    }
    void save(std::ostream& out) override {
        saveText(name, out);
        saveValue(out, level);
        saveBool(out, flag);
        saveValue(out, weight);
        saveChars(out, code, sizeof code);
    }
    const void* getData(int) override { return nullptr; }
    FuzzRecord& operator=(const FuzzRecord&) override { return *this; }

    static unsigned loadOneBound(const char* path, unsigned bound) { return loadBound(path, bound); }

    // Everything a record holds, as bytes, for comparing two loads.
    static std::string snapshot() {
        std::string all;
        for (auto it = begin(); it != end(); ++it) {
            FuzzRecord* r = *it;
            all.append(reinterpret_cast<const char*>(&r->getId()), 4);
            for (int d = 0; d < STORED_DEPENDENCIES; ++d) {
                all.append(reinterpret_cast<const char*>(&r->getDependency(static_cast<dependency>(d))), 4);
            }
            all.append(reinterpret_cast<const char*>(r->name.data()), r->name.size() * sizeof(wchar_t));
            all.append(reinterpret_cast<const char*>(&r->level), 4);
            all.push_back(r->flag ? 1 : 0);
            all.append(reinterpret_cast<const char*>(&r->weight), 8);
            all.append(r->code, sizeof r->code);
        }
        return all;
    }

    std::wstring name;
    std::int32_t level = 0;
    bool flag = false;
    double weight = 0.0;
    char code[9] = {};
};

void freshTable() {
    FuzzRecord::resetTable();
    FuzzRecord::setup(D_WORD, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string& dir = FuzzScratch::directory();
    const unsigned bound = data[0] % 3;  // ids 0-29 reach the bound checks of three bounds
    FuzzScratch::writeFile("input" + std::to_string(bound) + ".dat", data + 1, size - 1);

    freshTable();
    try {
        FuzzRecord::loadOneBound((dir + "/input").c_str(), bound);
    } catch (const OrnQLException&) {
        // damage is reported; the records read before it stay
    }
    const std::string loaded = FuzzRecord::snapshot();

    std::remove((dir + "/copy.dat").c_str());  // no index: the save writes every bound afresh
    FuzzRecord::saveAll((dir + "/copy").c_str(), D_ENDTAG);
    freshTable();
    FuzzRecord::loadAll((dir + "/copy").c_str(), D_ENDTAG);
    if (FuzzRecord::snapshot() != loaded) {
        abort();
    }
    FuzzRecord::resetTable();
    return 0;
}
