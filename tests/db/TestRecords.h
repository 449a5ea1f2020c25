#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "db/OrnQL_Stream.h"
#include "db/OrnQL_Template.h"

namespace dbtest {

// Attributes of the test records, as their query names publish them.
enum Attribute { ATTR_NAME = 0, ATTR_LEVEL = 1, ATTR_FLAG = 2, ATTR_WEIGHT = 3, ATTR_CODE = 4 };

// A record class for tests, one table per Kind. Its own fields cover every stored primitive and
// every query type: a wide text, a 32-bit number, a bool, a double and a 9-byte code.
template <int Kind>
class Record : public OrnQL_Template<Record<Kind>> {
public:
    static constexpr std::size_t CODE_SIZE = 9;

    Record() = default;
    explicit Record(std::wstring recordName, std::int32_t recordLevel = 0) : name(std::move(recordName)), level(recordLevel) {}
    ~Record() override { ++destroyed; }

    void load(std::istream& in) override {
        OrnQL_Base::loadText(name, in);
        loadValue(in, level);
        loadBool(in, flag);
        loadValue(in, weight);
        loadChars(in, code, CODE_SIZE);
    }
    void save(std::ostream& out) override {
        OrnQL_Base::saveText(name, out);
        saveValue(out, level);
        saveBool(out, flag);
        saveValue(out, weight);
        saveChars(out, code, CODE_SIZE);
    }
    const void* getData(int attribute) override {
        switch (attribute) {
        case ATTR_NAME: return name.c_str();
        case ATTR_LEVEL: return &level;
        case ATTR_FLAG: return &flag;
        case ATTR_WEIGHT: return &weight;
        case ATTR_CODE: return code;
        default: return nullptr;
        }
    }
    Record& operator=(const Record& other) override {
        name = other.name;
        level = other.level;
        flag = other.flag;
        weight = other.weight;
        std::memcpy(code, other.code, CODE_SIZE);
        return *this;
    }

    static int type(const wchar_t* attribute, int* id) {
        struct Entry { const wchar_t* name; int id; QueryType type; };
        static const Entry entries[] = {{L"NAME", ATTR_NAME, QUERY_UNICODE}, {L"LEVEL", ATTR_LEVEL, QUERY_NUMBER},
                                        {L"FLAG", ATTR_FLAG, QUERY_BOOL}, {L"WEIGHT", ATTR_WEIGHT, QUERY_FLOAT},
                                        {L"CODE", ATTR_CODE, QUERY_STRING}};
        for (const Entry& entry : entries) {
            if (std::wcscmp(attribute, entry.name) == 0) {
                *id = entry.id;
                return entry.type;
            }
        }
        return QUERY_INVALID;
    }

    // Stores r under a chosen free id, as a load would (tests build exact file layouts with it).
    static void insertWithId(Record* r, unsigned recordId) {
        r->id = recordId;
        Record::elementTree().insert(r);
        Record::saveRequest(recordId);
    }

    void setCode(const char* text) {
        std::memset(code, 0, CODE_SIZE);
        std::memcpy(code, text, std::min(std::strlen(text), CODE_SIZE - 1));
    }

    std::wstring name;
    std::int32_t level = 0;
    bool flag = false;
    double weight = 0.0;
    char code[CODE_SIZE] = {};

    static inline int destroyed = 0;
};

// Three tables for cascade tests: owners (the "languages"), items that depend on an owner, and
// notes that depend on an item and, optionally, on an owner.
using Owner = Record<0>;
using Item = Record<1>;
using Note = Record<2>;

}  // namespace dbtest
