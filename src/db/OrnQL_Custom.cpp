#include "db/OrnQL_Custom.h"

#include <algorithm>

namespace {

std::vector<TableRegistration>& registry() {
    static std::vector<TableRegistration> tables;
    return tables;
}

std::vector<TableRegistration>::iterator findTable(dependency table) {
    return std::find_if(registry().begin(), registry().end(),
                        [table](const TableRegistration& entry) { return entry.table == table; });
}

}  // namespace

void registerTable(const TableRegistration& registration) {
    auto existing = findTable(registration.table);
    if (existing != registry().end()) {
        *existing = registration;
    } else {
        registry().push_back(registration);
    }
}

void setCascadeHooks(dependency table, void (*deleteHook)(dependency, unsigned),
                     void (*updateHook)(dependency, unsigned, unsigned)) {
    auto existing = findTable(table);
    if (existing != registry().end()) {
        existing->deleteEntriesWithDependency = deleteHook;
        existing->updateEntriesWithDependency = updateHook;
    }
}

const std::vector<TableRegistration>& registeredTables() {
    return registry();
}

// Indexed loops: a hook may (in principle) register further tables, which would move the vector.
void deleteEntryInDatabase(dependency table, unsigned id) {
    if (!isTable(table)) {
        return;
    }
    for (std::size_t i = 0; i < registry().size(); ++i) {
        if (auto hook = registry()[i].deleteEntriesWithDependency) {
            hook(table, id);
        }
    }
}

void updateEntryInDatabase(dependency table, unsigned oldId, unsigned newId) {
    if (!isTable(table)) {
        return;
    }
    for (std::size_t i = 0; i < registry().size(); ++i) {
        if (auto hook = registry()[i].updateEntriesWithDependency) {
            hook(table, oldId, newId);
        }
    }
}

// Relations first: once no record lists another, each table can destroy its own records without
// reaching into the others.
void resetDatabaseTables() {
    std::vector<TableRegistration> tables = registry();
    for (const TableRegistration& entry : tables) {
        if (entry.releaseRelations) {
            entry.releaseRelations();
        }
    }
    for (const TableRegistration& entry : tables) {
        if (entry.reset) {
            entry.reset();
        }
    }
    registry().clear();
}
