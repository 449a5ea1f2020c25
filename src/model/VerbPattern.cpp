#include "model/VerbPattern.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "db/OrnQL_Stream.h"
#include "model/InterfaceText.h"
#include "model/Language.h"

VerbPattern::VerbPattern() : Verb(0, 0) {}

VerbPattern::VerbPattern(unsigned tenseCount, unsigned personCount, unsigned languageId, unsigned number)
    : Verb(tenseCount, personCount), patternId(number) {
    setDependency(D_LANGUAGE, languageId);
}

void VerbPattern::load(std::istream& in) {
    loadCounts(in);
    loadValue(in, patternId);
    loadCells(in);
}

void VerbPattern::save(std::ostream& out) {
    saveCounts(out);
    saveValue(out, static_cast<std::uint32_t>(patternId));
    saveCells(out);
}

const void* VerbPattern::getData(int attribute) {
    switch (attribute) {
    case ATTR_PATTERNID:
        tempDataLong = static_cast<std::int32_t>(patternId);
        return &tempDataLong;
    case ATTR_TENSES:
        tempDataLong = static_cast<std::int32_t>(tenses);
        return &tempDataLong;
    case ATTR_PERSONS:
        tempDataLong = static_cast<std::int32_t>(persons);
        return &tempDataLong;
    default:
        return nullptr;
    }
}

VerbPattern& VerbPattern::operator=(const VerbPattern& other) {
    if (this != &other) {
        const Cells copy = other.content;
        reinitialize(other.tenses, other.persons, &copy);
    }
    return *this;
}

bool VerbPattern::checkOn(unsigned t, unsigned p, const wchar_t* submission, const wchar_t* infinitive) {
    const wchar_t* rule = get_content(t, p);
    if (rule == nullptr) {
        return false;
    }
    std::wstring form = infinitive == nullptr ? L"" : infinitive;
    convertWithPattern(rule, form);
    return form == (submission == nullptr ? L"" : submission);
}

bool VerbPattern::initPattern(const std::vector<std::vector<std::wstring>>& initArray) {
    if (initArray.size() < persons) {
        return false;
    }
    for (unsigned y = 0; y < persons; ++y) {
        if (initArray[y].size() < tenses) {
            return false;
        }
        for (unsigned x = 0; x < tenses; ++x) {
            if (!checkPatternString(initArray[y][x].c_str())) {
                return false;
            }
        }
    }
    for (unsigned y = 0; y < persons; ++y) {
        for (unsigned x = 0; x < tenses; ++x) {
            addContent(initArray[y][x].c_str(), x, y);
        }
    }
    return true;
}

std::wstring VerbPattern::descriptionText() const {
    const Language* language = Language::getById(getDependency(D_LANGUAGE));
    std::wstring description = language == nullptr ? L"" : language->get_name();
    description += L' ';
    description += interfaceText(String_VERB_PATTERN);
    description += L" - ";
    description += std::to_wstring(static_cast<int>(patternId));
    return description;
}

const wchar_t* VerbPattern::get_description() const {
    static std::wstring description;
    const std::wstring text = descriptionText();
    description.assign(text);  // a copy into the buffer the last result used
    return description.c_str();
}

int VerbPattern::type(const wchar_t* attribute, int* id) {
    struct Entry {
        const wchar_t* name;
        Attribute id;
    };
    static const Entry entries[] = {
        {L"PATTERNID", ATTR_PATTERNID}, {L"TENSES", ATTR_TENSES}, {L"PERSONS", ATTR_PERSONS}};
    for (const Entry& entry : entries) {
        if (std::wcscmp(attribute, entry.name) == 0) {
            *id = entry.id;
            return QUERY_NUMBER;
        }
    }
    return QUERY_INVALID;
}

// The numbers of the language's patterns are collected and the first gap from 1 up is taken, so
// a number held twice (damaged data) never makes the new pattern a third holder of a number.
const unsigned& VerbPattern::add(VerbPattern* pattern) {
    if (pattern != nullptr) {
        const unsigned languageId = pattern->getDependency(D_LANGUAGE);
        std::vector<unsigned> used;
        for (DATAITERATOR it = begin(); it != end(); ++it) {
            if (*it != pattern && (*it)->getDependency(D_LANGUAGE) == languageId) {
                used.push_back((*it)->patternId);
            }
        }
        std::sort(used.begin(), used.end());
        unsigned counter = 1;
        for (unsigned number : used) {
            if (number == counter) {
                ++counter;
            } else if (number > counter) {
                break;
            }
        }
        pattern->patternId = counter;
    }
    return OrnQL_Template<VerbPattern>::add(pattern);
}
