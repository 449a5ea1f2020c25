#pragma once

#include <vector>

#include "db/OrnQL_Types.h"

// The registry of the tables that have been set up, in set-up order, and the cascade fan-out
// over them. Every table's setup registers its hooks here: the cascade functions the record
// class offers (a class that declares its own static deleteEntriesWithDependency, such as an
// association or the word table, is registered with its own version) and its reset. The
// catalogue of the program's tables builds on this.

struct TableRegistration {
    dependency table = D_ENDTAG;
    void (*deleteEntriesWithDependency)(dependency d, unsigned id) = nullptr;
    void (*updateEntriesWithDependency)(dependency d, unsigned oldId, unsigned newId) = nullptr;
    // Drops every record's relation trees (without touching the records they list).
    void (*releaseRelations)() = nullptr;
    // Destroys every record and returns the table's statics to their state before set-up.
    void (*reset)() = nullptr;
};

// Adds a table at the end of the set-up order, or replaces the hooks of a table registered
// before (keeping its place).
void registerTable(const TableRegistration& registration);

// Replaces the cascade hooks of a registered table (for a record class whose hooks are not
// found by name); does nothing for a table that is not registered.
void setCascadeHooks(dependency table, void (*deleteHook)(dependency, unsigned),
                     void (*updateHook)(dependency, unsigned, unsigned));

// The registered tables in set-up order.
const std::vector<TableRegistration>& registeredTables();

// Tells every registered table, in set-up order, that record id of `table` is going away: each
// deletes (or, by its own rules, unlinks) the records that depend on it.
void deleteEntryInDatabase(dependency table, unsigned id);

// Tells every registered table, in set-up order, that record oldId of `table` is now newId;
// with newId 0 the references are cleared.
void updateEntryInDatabase(dependency table, unsigned oldId, unsigned newId);

// Returns every registered table to its state before set-up (records destroyed, statics reset)
// and empties the registry. Tests call it so that no test sees another's tables.
void resetDatabaseTables();
