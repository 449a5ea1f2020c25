#include "model/Verb.h"

#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"
#include "db/OrnQL_Stream.h"

Verb::Verb(unsigned tenseCount, unsigned personCount) : tenses(tenseCount), persons(personCount) {
    initalize();
}

void Verb::initalize() {
    content.assign(tenses, std::vector<std::wstring>(persons));
}

void Verb::terminate() {
    content.clear();
}

void Verb::reinitialize(unsigned newTenses, unsigned newPersons, const Cells* newContent) {
    terminate();
    tenses = newTenses;
    persons = newPersons;
    initalize();
    if (newContent == nullptr) {
        return;
    }
    for (unsigned x = 0; x < tenses && x < newContent->size(); ++x) {
        const std::vector<std::wstring>& column = (*newContent)[x];
        for (unsigned y = 0; y < persons && y < column.size(); ++y) {
            content[x][y] = column[y];
        }
    }
    saveRequest();
}

void Verb::addContent(const wchar_t* text, unsigned x, unsigned y) {
    if (x >= tenses || y >= persons) {
        return;
    }
    content[x][y] = text == nullptr ? L"" : text;
    saveRequest();
}

const wchar_t* Verb::get_content(unsigned x, unsigned y) const {
    return x < tenses && y < persons ? content[x][y].c_str() : nullptr;
}

void Verb::addTense() {
    content.emplace_back(persons);
    ++tenses;
    saveRequest();
}

void Verb::addPerson() {
    for (std::vector<std::wstring>& column : content) {
        column.emplace_back();
    }
    ++persons;
    saveRequest();
}

void Verb::deleteTense(unsigned x) {
    if (x >= tenses) {
        return;
    }
    content.erase(content.begin() + x);
    --tenses;
    saveRequest();
}

void Verb::deletePerson(unsigned y) {
    if (y >= persons) {
        return;
    }
    for (std::vector<std::wstring>& column : content) {
        column.erase(column.begin() + y);
    }
    --persons;
    saveRequest();
}

void Verb::loadCounts(std::istream& in) {
    std::uint32_t storedTenses = 0;
    std::uint32_t storedPersons = 0;
    loadValue(in, storedTenses);
    loadValue(in, storedPersons);
    content.clear();
    if (storedTenses > MAX_DIMENSION || storedPersons > MAX_DIMENSION) {
        tenses = persons = 0;
        // Nothing after this point of the file can be trusted: the table is damaged.
        throw Damaged<OrnQLException_Custom>(
            "Fatal OrnQLException: Found a verb table too large for its file while loading!");
    }
    tenses = storedTenses;
    persons = storedPersons;
}

void Verb::saveCounts(std::ostream& out) const {
    saveValue(out, static_cast<std::uint32_t>(tenses));
    saveValue(out, static_cast<std::uint32_t>(persons));
}

// Columns grow only with what the file really holds, so a damaged count costs no memory.
void Verb::loadCells(std::istream& in) {
    content.clear();
    content.reserve(tenses);  // both counts are at most MAX_DIMENSION; growing would leave slack
    for (unsigned x = 0; x < tenses && in; ++x) {
        std::vector<std::wstring> column;
        column.reserve(persons);
        for (unsigned y = 0; y < persons && in; ++y) {
            column.emplace_back();
            OrnQL_Base::loadText(column.back(), in);
        }
        if (!in) {
            break;
        }
        content.push_back(std::move(column));
    }
    if (content.size() < tenses) {
        tenses = static_cast<unsigned>(content.size());
        if (tenses == 0) {
            persons = 0;
        }
    }
}

void Verb::saveCells(std::ostream& out) const {
    for (const std::vector<std::wstring>& column : content) {
        for (const std::wstring& cell : column) {
            OrnQL_Base::saveText(cell, out);
        }
    }
}
