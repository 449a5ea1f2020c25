#include "model/Database.h"

#include <cstdarg>
#include <exception>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/DataPaths.h"
#include "model/DatabaseBackup.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"

namespace {

// A record of `table` that something refers to.
struct Reference {
    dependency table;
    unsigned id;
    bool operator<(const Reference& other) const {
        return table != other.table ? table < other.table : id < other.id;
    }
};

struct CatalogueEntry {
    dependency table;
    const char* path;
    bool weak;
    void (*setup)(const CatalogueEntry& entry);
    void (*load)(const char* path, dependency d);
    void (*save)(const char* path, dependency d);
    bool (*contains)(unsigned id);
    // Adds the records this table refers to that do not exist; null for the link tables, whose
    // loader drops such links itself (model/LinkTable.h).
    void (*collectDangling)(std::set<Reference>& missing);
    // The bounds marked for the next save.
    std::vector<unsigned> (*markedBounds)();
};

template <typename T>
void setupTable(const CatalogueEntry& entry) {
    T::setup(entry.table, entry.weak);
}

template <typename A>
void setupLinks(const CatalogueEntry& entry) {
    A::setup(entry.table, A::ENFORCE_FROM, A::ENFORCE_TO, entry.weak);
}

template <typename T>
void loadTable(const char* path, dependency d) {
    T::loadAll(path, d);
}

// The irregular verbs are loaded by Word::loadAll, right after the words.
void loadedWithTheWords(const char*, dependency) {}

template <typename T>
void saveTable(const char* path, dependency d) {
    T::saveAll(path, d);
}

template <typename T>
bool containsRecord(unsigned id) {
    return T::getById(id) != nullptr;
}

bool recordExists(dependency table, unsigned id);

// One walk over the table, looking only at the kinds of reference its records have ever held.
template <typename T>
void collectDangling(std::set<Reference>& missing) {
    std::vector<dependency> held;
    for (int i = 0; i < D_ENDTAG; ++i) {
        if (T::hasHeldDependency(static_cast<dependency>(i))) {
            held.push_back(static_cast<dependency>(i));
        }
    }
    if (held.empty()) {
        return;
    }
    // Neighbouring records mostly name the same record (their language): found once, it is not
    // looked up again.
    std::vector<unsigned> lastFound(held.size(), 0);
    for (typename T::DATAITERATOR it = T::begin(); it != T::end(); ++it) {
        for (std::size_t i = 0; i < held.size(); ++i) {
            const unsigned id = (*it)->getDependency(held[i]);
            if (id == 0 || id == lastFound[i]) {
                continue;
            }
            if (recordExists(held[i], id)) {
                lastFound[i] = id;
            } else {
                missing.insert(Reference{held[i], id});
            }
        }
    }
}

template <typename T>
std::vector<unsigned> markedBounds() {
    std::vector<unsigned> bounds;
    for (auto it = T::requestTree().begin(); it != T::requestTree().end(); ++it) {
        bounds.push_back(*it);
    }
    return bounds;
}

// The catalogue row of a plain table and of a link table.
template <typename T>
constexpr CatalogueEntry plainTable(dependency table, const char* path, bool weak,
                                    void (*load)(const char*, dependency) = loadTable<T>) {
    return {table, path, weak, setupTable<T>, load, saveTable<T>, containsRecord<T>, collectDangling<T>,
            markedBounds<T>};
}

template <typename A>
constexpr CatalogueEntry linkTable(dependency table, const char* path) {
    return {table, path, true, setupLinks<A>, loadTable<A>, saveTable<A>, containsRecord<A>, nullptr,
            markedBounds<A>};
}

const CatalogueEntry catalogue[] = {
    plainTable<Language>(D_LANGUAGE, LANGUAGE_PATH, false),
    plainTable<Lesson>(D_LESSON, LESSON_PATH, true),
    plainTable<Level>(D_LEVEL, LEVEL_PATH, true),
    plainTable<Category>(D_CATEGORY, CATEGORY_PATH, false),
    plainTable<Person>(D_PERSON, PERSON_PATH, true),
    plainTable<Tense>(D_TENSE, TENSE_PATH, true),
    plainTable<Article>(D_ARTICLE, ARTICLE_PATH, true),
    plainTable<VerbPattern>(D_VERBPATTERN, VERBPATTERN_PATH, true),
    plainTable<Word>(D_WORD, WORD_PATH, false),
    plainTable<IrregularVerb>(D_IRREGULARVERB, IRREGULARVERB_PATH, true, loadedWithTheWords),
    plainTable<Flashcard>(D_FLASHCARD, FLASHCARD_PATH, false),
    linkTable<F_W>(D_ASSO_F_W, F_W_PATH),
    plainTable<Meaning>(D_MEANING, MEANING_PATH, false),
    linkTable<M_W>(D_ASSO_M_W, M_W_PATH),
    linkTable<C_M>(D_ASSO_C_M, C_M_PATH),
};

constexpr std::size_t CATALOGUE_SIZE = sizeof catalogue / sizeof catalogue[0];
static_assert(CATALOGUE_SIZE == D_ENDTAG, "every table is in the catalogue once");

// The position of a table in catalogue order, or CATALOGUE_SIZE.
std::size_t positionOf(dependency d) {
    for (std::size_t i = 0; i < CATALOGUE_SIZE; ++i) {
        if (catalogue[i].table == d) {
            return i;
        }
    }
    return CATALOGUE_SIZE;
}

void setupTables() {
    for (const CatalogueEntry& entry : catalogue) {
        entry.setup(entry);
    }
}

// After a load that failed for another reason than the files, the tables may be half loaded:
// saving them would overwrite good files with a part of their records.
bool savingRefused = false;

// The table whose files could not be read or are damaged, or D_ENDTAG when every table loaded.
// Any other failure propagates: it says nothing about the files, which must stay as they are.
dependency loadTables(dependency d) {
    table_files::SharedListings listings;  // no table file changes while the tables load
    for (const CatalogueEntry& entry : catalogue) {
        try {
            entry.load(entry.path, d);
        } catch (const InvalidFileException& failure) {
            return failure.who();
        } catch (const FileDamage&) {
            return entry.table;
        }
    }
    return D_ENDTAG;
}

bool createDirectoryTree() {
    std::vector<std::filesystem::path> directories{FRAMEWORK_DIR, FLAG_IMAGE_DIR, KEYBOARD_IMAGE_DIR,
                                                   MNEMONIC_IMAGE_DIR};
    for (const CatalogueEntry& entry : catalogue) {
        directories.push_back(std::filesystem::path(entry.path).parent_path());
    }
    for (const std::filesystem::path& directory : directories) {
        std::error_code error;
        std::filesystem::create_directories(directory, error);
        if (error) {
            return false;
        }
    }
    return true;
}

int saveOrFatal(dependency d, int status) {
    try {
        saveDatabase(d);
    } catch (const std::exception&) {
        return LOAD_FATAL;
    }
    return status;
}

// The tables in memory are empty and the level ladder not loaded, so the save writes an empty
// database with the default ladder.
int createFreshDatabase() {
    if (!createDirectoryTree()) {
        return LOAD_FATAL;
    }
    return saveOrFatal(D_ENDTAG, LOAD_DONE);
}

bool recordExists(dependency table, unsigned id) {
    const std::size_t position = positionOf(table);
    return position < CATALOGUE_SIZE && catalogue[position].contains(id);
}

// Makes every reference name a record that exists, as if each missing record had been deleted
// just now: references to a record of a weak table are cleared, records that depend on a record
// of any other table are deleted (with their cascades). Everything changed is marked for saving.
// A load finds such references only in damaged files, or after a recovery reset the tables they
// point into; left alone, a new record would reuse the missing id and inherit them.
void repairDanglingReferences() {
    for (unsigned pass = 0; pass < CATALOGUE_SIZE; ++pass) {
        std::set<Reference> missing;
        for (const CatalogueEntry& entry : catalogue) {
            if (entry.collectDangling != nullptr) {
                entry.collectDangling(missing);
            }
        }
        if (missing.empty()) {
            return;
        }
        for (const Reference& reference : missing) {
            if (catalogue[positionOf(reference.table)].weak) {
                updateEntryInDatabase(reference.table, reference.id, 0);
            } else {
                deleteEntryInDatabase(reference.table, reference.id);
            }
        }
    }
}

// Keeps every file the recovery of `failed` would remove or rewrite.
bool backUpForRecovery(std::size_t failed) {
    DatabaseBackup backup;
    for (std::size_t i = 0; i < CATALOGUE_SIZE; ++i) {
        // Tables before the failed one are written back as loaded, unless loading changed them
        // (an enforced side purged when its links could not be read, references repaired), so
        // they are copied.
        const bool kept = i < failed ? backup.copyTableFiles(catalogue[i].path) : backup.moveTableFiles(catalogue[i].path);
        if (!kept) {
            return false;
        }
    }
    if (catalogue[failed].table == D_LANGUAGE &&
        (!backup.moveDirectoryFiles(FLAG_IMAGE_DIR) || !backup.moveDirectoryFiles(KEYBOARD_IMAGE_DIR))) {
        return false;
    }
    return failed > positionOf(D_WORD) || backup.moveDirectoryFiles(MNEMONIC_IMAGE_DIR);
}

int recoverFrom(dependency failedTable, dependency loaded) {
    const std::size_t failed = positionOf(failedTable);
    if (failed < CATALOGUE_SIZE && !backUpForRecovery(failed)) {
        return LOAD_FATAL;
    }
    if (loaded == D_ENDTAG) {
        repairDanglingReferences();
    }
    return saveOrFatal(D_ENDTAG, LOAD_RESET);
}

// Copies the files that the marked bounds will rewrite or remove, with each such table's index.
bool backUpMarkedFiles() {
    DatabaseBackup backup;
    for (const CatalogueEntry& entry : catalogue) {
        const std::vector<unsigned> bounds = entry.markedBounds();
        if (bounds.empty()) {
            continue;
        }
        if (!backup.copyFileIfPresent(std::string(entry.path) + ".dat")) {
            return false;
        }
        for (unsigned bound : bounds) {
            if (!backup.copyFileIfPresent(std::string(entry.path) + std::to_string(bound) + ".dat")) {
                return false;
            }
        }
    }
    return true;
}

// A clean load leaves nothing marked for saving. Whatever the load repaired (dangling links and
// references, values out of range, a ladder out of order) is marked: those files are copied into
// the backup, then saved as one unit.
int saveRepairs(dependency loaded) {
    if (loaded == D_ENDTAG) {
        repairDanglingReferences();
    }
    bool anyMarked = false;
    for (const CatalogueEntry& entry : catalogue) {
        anyMarked = anyMarked || !entry.markedBounds().empty();
    }
    if (!anyMarked) {
        return LOAD_DONE;
    }
    if (!backUpMarkedFiles()) {
        savingRefused = true;  // the repairs must not reach the files without their backup
        return LOAD_FATAL;
    }
    return saveOrFatal(D_ENDTAG, LOAD_RESET);
}

// Temporary files that a save interrupted before its commit point left behind, in every directory
// the program writes to.
void removeStrayTemporaryFiles() {
    std::set<std::string> directories{DATA_DIR, FRAMEWORK_DIR, FLAG_IMAGE_DIR, KEYBOARD_IMAGE_DIR, MNEMONIC_IMAGE_DIR};
    for (const CatalogueEntry& entry : catalogue) {
        directories.insert(directoryOf(entry.path));
    }
    for (const std::string& directory : directories) {
        removeStrayTemporaries(directory);
    }
}

}  // namespace

int loadDatabase(dependency d) {
    try {
        // Records of an earlier load still hold links into each other; set-up clears the tables'
        // link bookkeeping, after which those links would look dangling.
        resetDatabase();
        if (!FileTransaction::recover(TRANSACTION_JOURNAL)) {
            return LOAD_FATAL;  // the files are half way through a save: read none of them
        }
        // Only now: the interrupted commit that recovery finished needed its temporary files.
        removeStrayTemporaryFiles();
        setupTables();
        std::error_code error;
        if (!std::filesystem::exists(DATA_DIR, error) && !error) {
            return createFreshDatabase();
        }
        const dependency failed = loadTables(d);
        if (failed != D_ENDTAG) {
            return recoverFrom(failed, d);
        }
        return saveRepairs(d);
    } catch (...) {
        savingRefused = true;
        return LOAD_FATAL;
    }
}

void saveDatabase(dependency d) {
    if (savingRefused) {
        throw InvalidFileException(DATA_DIR, d);
    }
    FileTransaction unit(TRANSACTION_JOURNAL);
    for (const CatalogueEntry& entry : catalogue) {
        entry.save(entry.path, d);
    }
    if (unit.commit() != FileTransaction::Outcome::DONE) {
        throw InvalidFileException(TRANSACTION_JOURNAL, d);
    }
}

int saveDatabaseTables(const std::vector<dependency>& tables) {
    FileTransaction unit(TRANSACTION_JOURNAL);
    try {
        for (dependency table : tables) {
            saveDatabase(table);
        }
        if (tables.empty()) {
            saveDatabase(D_ENDTAG);
        }
    } catch (const std::exception&) {
        return 1;
    }
    return unit.commit() == FileTransaction::Outcome::DONE ? 0 : 1;
}

int saveDatabaseExternal(unsigned count, ...) {
    std::vector<dependency> tables;
    va_list args;
    va_start(args, count);
    for (unsigned i = 0; i < count; ++i) {
        tables.push_back(static_cast<dependency>(va_arg(args, int)));
    }
    va_end(args);
    return saveDatabaseTables(tables);
}

const char* tablePath(dependency d) {
    const std::size_t position = positionOf(d);
    return position < CATALOGUE_SIZE ? catalogue[position].path : nullptr;
}

void resetDatabase() {
    resetDatabaseTables();
    Level::resetTable();
    savingRefused = false;
}
