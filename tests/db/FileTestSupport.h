#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestRecords.h"
#include "support/TempDirTest.h"

namespace dbtest {

inline const char* const ITEMS = "Data/Item/items";

// Little-endian bytes of the table file format, for writing damaged or hand-made files.
inline std::string u32(std::uint32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}
inline std::string units(std::u16string text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}
// A stored record header: id and 15 dependency ids (all 0 unless given).
inline std::string recordHeader(std::uint32_t id, std::map<int, std::uint32_t> deps = {}) {
    std::string bytes = u32(id);
    for (int d = 0; d < STORED_DEPENDENCIES; ++d) {
        bytes += u32(deps.count(d) ? deps[d] : 0);
    }
    return bytes;
}
// The own fields of an Item: name, level, flag, weight, 9-byte code.
inline std::string itemFields(std::u16string name, std::int32_t level = 0) {
    std::string bytes = u32(static_cast<std::uint32_t>(name.size() + 1)) + units(name) + std::string(2, '\0');
    bytes += u32(static_cast<std::uint32_t>(level));
    bytes += std::string(1, '\0') + std::string(8, '\0') + std::string(9, '\0');
    return bytes;
}
inline std::string index(std::vector<std::uint32_t> bounds) {
    std::string bytes;
    for (auto b : bounds) bytes += u32(b);
    return bytes;
}

inline ino_t inodeOf(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

// Each test runs in its own temporary directory with the item table set up (D_WORD) and its
// directory present; the tables are reset afterwards.
class FileTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directories("Data/Item");
        Item::setup(D_WORD, false);
    }
    void TearDown() override {
        resetDatabaseTables();
        TempDirTest::TearDown();
    }

    // Throws the table away and loads it from its files.
    static void reload(const char* path = ITEMS) {
        resetDatabaseTables();
        Item::setup(D_WORD, false);
        Item::loadAll(path, D_ENDTAG);
    }

    static unsigned addItem(const std::wstring& name, std::int32_t level = 0) {
        return Item::add(new Item(name, level));
    }

    // id -> name of every stored item.
    static std::map<unsigned, std::wstring> contents() {
        std::map<unsigned, std::wstring> all;
        for (auto it = Item::begin(); it != Item::end(); ++it) {
            all[(*it)->getId()] = (*it)->name;
        }
        return all;
    }
};

}  // namespace dbtest
