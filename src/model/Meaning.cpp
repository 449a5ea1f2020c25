#include "model/Meaning.h"

#include <string>

#include "db/OrnQL_Stream.h"
#include "model/Word.h"

Meaning::Meaning(int n) {
    set_niveau(n);
}

signed char Meaning::clampedNiveau(int n) {
    return static_cast<signed char>(n < LOWEST_NIVEAU || n > HIGHEST_NIVEAU ? LOWEST_NIVEAU : n);
}

void Meaning::load(std::istream& in) {
    signed char stored = LOWEST_NIVEAU;
    loadValue(in, stored);
    niveau = clampedNiveau(stored);
    if (niveau != stored) {
        saveRequest();  // a repair: the load backs the file up and saves the repaired value
    }
}

void Meaning::save(std::ostream& out) {
    saveValue(out, niveau);
}

const void* Meaning::getData(int attribute) {
    switch (attribute) {
    case ATTR_USEDFORFLASHCARD:
        return &usedForFlashcard;
    case ATTR_CONNECTIONSFORFLASHCARD:
        tempDataLong = static_cast<std::int32_t>(connectionsForFlashcard);
        return &tempDataLong;
    case ATTR_NIVEAU:
        tempDataLong = niveau;
        return &tempDataLong;
    default:
        return nullptr;
    }
}

Meaning& Meaning::operator=(const Meaning& other) {
    set_niveau(other.niveau);
    return *this;
}

void Meaning::set_niveau(int n) {
    niveau = clampedNiveau(n);
    saveRequest();
}

void Meaning::decConnections() {
    if (connectionsForFlashcard > 0) {
        --connectionsForFlashcard;
    }
    if (connectionsForFlashcard == 0) {
        usedForFlashcard = true;
    }
}

const wchar_t* Meaning::get_description() {
    static std::wstring description;
    const std::wstring text = descriptionText();
    description.assign(text);  // a copy into the buffer the last result used
    return description.c_str();
}

std::wstring Meaning::descriptionText() {
    std::wstring description;
    describeInto(description);
    return description;
}

// From the link array: a relation tree made for every meaning described (a list of them all)
// cost more than the description, and stayed in memory. A word linked twice is named once.
void Meaning::describeInto(std::wstring& description) const {
    description.clear();
    const OrnQL_Base* previous = nullptr;
    for (const OrnQL_Base* word : linkedRecords(D_WORD)) {
        if (word == previous) {
            continue;
        }
        if (previous != nullptr) {
            description += L", ";
        }
        description += static_cast<const Word*>(word)->textView();
        previous = word;
    }
}
