#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <cstddef>
#include <set>
#include <vector>

#include "db/AVLtree.h"
#include "db/OrnQL_Types.h"

class OrnQL_Base;

// The rows of the catalogue (model/Database.h describes the tables): for each table what the
// load, the save and the start-up repairs need, as functions of its record class. Internal to
// model/Database.

// A record of `table` that something refers to.
struct Reference {
    dependency table;
    unsigned id;
    bool operator<(const Reference& other) const {
        return table != other.table ? table < other.table : id < other.id;
    }
};

// A table's save in steps (OrnQL_Template::saveAllInSteps).
using TableSaveSteps = std::function<bool(std::chrono::steady_clock::time_point)>;

struct CatalogueEntry {
    dependency table;
    const char* path;
    bool weak;
    void (*setup)(const CatalogueEntry& entry);
    void (*load)(const char* path, dependency d);
    void (*save)(const char* path, dependency d);
    bool (*contains)(unsigned id);
    // Every record of the table, by id.
    const AVLtree<OrnQL_Base*>& (*records)();
    // Adds the records this table refers to that do not exist; null for the link tables, whose
    // loader drops such links itself (model/LinkTable.h).
    void (*collectDangling)(std::set<Reference>& missing);
    // The bounds marked for the next save.
    std::vector<unsigned> (*markedBounds)();
    // The save in steps of the tables an import fills (its thousands of files); null for the
    // others, which are saved in one step.
    TableSaveSteps (*saveInSteps)(const char* path, dependency d);
};

// The tables in catalogue order.
const std::array<CatalogueEntry, D_ENDTAG>& catalogue();

// The position of a table in catalogue order, or D_ENDTAG for a number that names no table.
std::size_t cataloguePosition(dependency d);

// Whether table d holds a record with that id.
bool recordExists(dependency d, unsigned id);
