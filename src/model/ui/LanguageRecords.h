#pragma once

// Walks of a table for the selection fillers and verb tables. They read the table in id order
// instead of running constraints or queries, because those replace the table's current selection,
// which the screen that asks for a list may be walking at that moment.

#include <vector>

#include "db/OrnQL_Types.h"

namespace modelui {

// The records of table T that belong to the language, in ascending record id. The table keeps
// ownership.
template <typename T>
std::vector<T*> recordsOfLanguage(unsigned languageId) {
    std::vector<T*> records;
    for (auto it = T::begin(); it != T::end(); ++it) {
        T* record = *it;
        if (record->getDependency(D_LANGUAGE) == languageId) {
            records.push_back(record);
        }
    }
    return records;
}

// Every record of table T in ascending record id.
template <typename T>
std::vector<T*> allRecords() {
    std::vector<T*> records;
    for (auto it = T::begin(); it != T::end(); ++it) {
        records.push_back(*it);
    }
    return records;
}

}  // namespace modelui
