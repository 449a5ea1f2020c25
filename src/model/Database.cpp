#include "model/Database.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <exception>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "base/FileTransaction.h"
#include "db/FileReadAhead.h"
#include "db/OrnQL_Template.h"
#include "db/PictureRemovals.h"
#include "model/DataPaths.h"
#include "model/DatabaseBackup.h"
#include "model/DatabaseCatalogue.h"
#include "model/DatabaseSaveInSteps.h"
#include "model/Level.h"

namespace {

void setupTables() {
    for (const CatalogueEntry& entry : catalogue()) {
        entry.setup(entry);
    }
}

// After a load that failed for another reason than the files, the tables may be half loaded:
// saving them would overwrite good files with a part of their records.
bool savingRefused = false;

// The table whose files could not be read or are damaged, or D_ENDTAG when every table loaded.
// Any other failure propagates: it says nothing about the files, which must stay as they are.
dependency loadTables(dependency d) {
    std::vector<const char*> paths;
    for (const CatalogueEntry& entry : catalogue()) {
        paths.push_back(entry.path);
    }
    // No table file changes while the tables load. Loads that read on one thread only (tests
    // that count allocations) list the directories on it too.
    const bool wholeDatabase = d == D_ENDTAG;
    table_files::SharedListings listings(paths, wholeDatabase && FileReadAhead::policyForLoading().threads > 0);
    std::optional<table_files::SharedReadAhead> files;
    if (wholeDatabase) {
        files.emplace(paths);
    }
    for (const CatalogueEntry& entry : catalogue()) {
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

// Makes a directory and the missing ones above it, noting each made one's parent, whose new
// entry must be synced.
bool makeDirectories(const std::filesystem::path& directory, std::set<std::string>& parents) {
    if (directory.empty() || pathExists(directory.string())) {
        return true;
    }
    const std::filesystem::path parent = directory.parent_path();
    if (!makeDirectories(parent, parents)) {
        return false;
    }
    if (fileSystem().makeDirectory(directory.c_str(), 0777) != 0 && errno != EEXIST) {
        return false;
    }
    parents.insert(parent.string());
    return true;
}

// The tree of a first start; made durable before the first save, whose files go into it.
bool createDirectoryTree() {
    // Each named by a path that ends in the directory's last component (a picture directory's
    // "/" makes the last component empty).
    std::vector<std::filesystem::path> directories{FRAMEWORK_DIR,
                                                   std::filesystem::path(FLAG_IMAGE_DIR).parent_path(),
                                                   std::filesystem::path(KEYBOARD_IMAGE_DIR).parent_path(),
                                                   std::filesystem::path(MNEMONIC_IMAGE_DIR).parent_path()};
    for (const CatalogueEntry& entry : catalogue()) {
        directories.push_back(std::filesystem::path(entry.path).parent_path());
    }
    std::set<std::string> parents;
    for (const std::filesystem::path& directory : directories) {
        if (!makeDirectories(directory, parents)) {
            return false;
        }
    }
    return std::all_of(parents.begin(), parents.end(), syncDirectory);
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

// Makes every reference name a record that exists, as if each missing record had been deleted
// just now: references to a record of a weak table are cleared, records that depend on a record
// of any other table are deleted (with their cascades). Everything changed is marked for saving.
// A load finds such references only in damaged files, or after a recovery reset the tables they
// point into; left alone, a new record would reuse the missing id and inherit them.
void repairDanglingReferences() {
    // The cascades delete dependants whole, so a second pass finds nothing; the bound only keeps
    // a surprise from looping.
    for (unsigned pass = 0; pass < D_ENDTAG; ++pass) {
        std::set<Reference> missing;
        for (const CatalogueEntry& entry : catalogue()) {
            if (entry.collectDangling != nullptr) {
                entry.collectDangling(missing);
            }
        }
        if (missing.empty()) {
            return;
        }
        for (const Reference& reference : missing) {
            if (catalogue()[cataloguePosition(reference.table)].weak) {
                updateEntryInDatabase(reference.table, reference.id, 0);
            } else {
                deleteEntryInDatabase(reference.table, reference.id);
            }
        }
    }
}

// The pictures of the records a repair deleted go with the repair's save.
bool backUpPicturesToRemove(DatabaseBackup& backup) {
    for (const std::string& picture : pictureRemovals::pending()) {
        if (!backup.copyFileIfPresent(picture)) {
            return false;
        }
    }
    return true;
}

// Moves or copies into the backup every file the recovery of `failed` would remove or rewrite.
bool keepForRecovery(std::size_t failed, DatabaseBackup& backup) {
    if (!backUpPicturesToRemove(backup)) {
        return false;
    }
    for (std::size_t i = 0; i < D_ENDTAG; ++i) {
        // Tables before the failed one are written back as loaded, unless loading changed them
        // (an enforced side purged when its links could not be read, references repaired), so
        // they are copied.
        const char* path = catalogue()[i].path;
        const bool kept = i < failed ? backup.copyTableFiles(path) : backup.moveTableFiles(path);
        if (!kept) {
            return false;
        }
    }
    if (catalogue()[failed].table == D_LANGUAGE &&
        (!backup.moveDirectoryFiles(FLAG_IMAGE_DIR) || !backup.moveDirectoryFiles(KEYBOARD_IMAGE_DIR))) {
        return false;
    }
    return failed > cataloguePosition(D_WORD) || backup.moveDirectoryFiles(MNEMONIC_IMAGE_DIR);
}

// Keeps every file the recovery of `failed` would remove or rewrite, durably.
bool backUpForRecovery(std::size_t failed) {
    DatabaseBackup backup;
    return keepForRecovery(failed, backup) && backup.makeDurable();
}

int recoverFrom(dependency failedTable, dependency loaded) {
    const std::size_t failed = cataloguePosition(failedTable);
    // Repaired first (in memory only), so that the backup also keeps the pictures it lets go.
    if (loaded == D_ENDTAG) {
        repairDanglingReferences();
    }
    if (failed < D_ENDTAG && !backUpForRecovery(failed)) {
        savingRefused = true;
        return LOAD_FATAL;
    }
    return saveOrFatal(D_ENDTAG, LOAD_RESET);
}

// Copies the files that the marked bounds will rewrite or remove, with each such table's index.
bool keepMarkedFiles(DatabaseBackup& backup) {
    if (!backUpPicturesToRemove(backup)) {
        return false;
    }
    for (const CatalogueEntry& entry : catalogue()) {
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

bool backUpMarkedFiles() {
    DatabaseBackup backup;
    return keepMarkedFiles(backup) && backup.makeDurable();
}

// A clean load leaves nothing marked for saving. Whatever the load repaired (dangling links and
// references, values out of range, a ladder out of order) is marked: those files are copied into
// the backup, then saved as one unit.
int saveRepairs(dependency loaded) {
    if (loaded == D_ENDTAG) {
        repairDanglingReferences();
    }
    bool anyMarked = false;
    for (const CatalogueEntry& entry : catalogue()) {
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
    for (const CatalogueEntry& entry : catalogue()) {
        directories.insert(directoryOf(entry.path));
    }
    for (const std::string& directory : directories) {
        removeStrayTemporaries(directory);
    }
}

// Removes the stray temporaries on a thread of its own while the tables load: listing every
// directory (one of them holds tens of thousands of files) would otherwise hold up the load, and
// no temporary is a table file. Loads that read on one thread only remove them at once.
// Finished before anything is written, so that no temporary of a save is taken for a stray one.
class StrayTemporaryRemoval {
public:
    StrayTemporaryRemoval() {
        if (FileReadAhead::policyForLoading().threads > 0) {
            try {
                worker = std::thread([this] {
                    try {
                        removeStrayTemporaryFiles();
                    } catch (...) {
                        failure = std::current_exception();
                    }
                });
                return;
            } catch (...) {
                // no thread: below, on this one
            }
        }
        removeStrayTemporaryFiles();
    }
    ~StrayTemporaryRemoval() {
        if (worker.joinable()) {
            worker.join();
        }
    }
    StrayTemporaryRemoval(const StrayTemporaryRemoval&) = delete;
    StrayTemporaryRemoval& operator=(const StrayTemporaryRemoval&) = delete;

    // Waits for the removal; throws what it threw.
    void finish() {
        if (worker.joinable()) {
            worker.join();
        }
        if (failure) {
            std::rethrow_exception(failure);
        }
    }

private:
    std::thread worker;
    std::exception_ptr failure;
};

// A damaged transaction log, and every file its replay would overwrite, copied into a backup.
bool keepCopies(const std::vector<std::string>& paths) {
    DatabaseBackup backup;
    for (const std::string& path : paths) {
        if (!backup.copyFileIfPresent(path)) {
            return false;
        }
    }
    return backup.makeDurable();
}

// The load once the log is finished: the first start's tree, or the tables with their repairs.
int loadFinishedFiles(dependency d) {
    // Only now: the interrupted commit that recovery finished needed its temporary files.
    StrayTemporaryRemoval strayTemporaries;
    setupTables();
    std::error_code error;
    if (!std::filesystem::exists(DATA_DIR, error) && !error) {
        strayTemporaries.finish();
        return createFreshDatabase();
    }
    const dependency failed = loadTables(d);
    strayTemporaries.finish();
    if (failed != D_ENDTAG) {
        return recoverFrom(failed, d);
    }
    return saveRepairs(d);
}

}  // namespace

int loadDatabase(dependency d) {
    try {
        // Records of an earlier load still hold links into each other; set-up clears the tables'
        // link bookkeeping, after which those links would look dangling.
        resetDatabase();
        const FileTransaction::Recovery recovered = FileTransaction::recover(TRANSACTION_JOURNAL, keepCopies);
        if (recovered == FileTransaction::Recovery::FAILED) {
            savingRefused = true;
            return LOAD_FATAL;  // the files are half way through a save: read none of them
        }
        const int status = loadFinishedFiles(d);
        return recovered == FileTransaction::Recovery::DAMAGE_KEPT ? std::max(status, int(LOAD_RESET)) : status;
    } catch (...) {
        savingRefused = true;
        return LOAD_FATAL;
    }
}

bool savingAllowed() {
    return !savingRefused;
}

void saveDatabase(dependency d) {
    if (savingRefused) {
        throw InvalidFileException(DATA_DIR, d);
    }
    FileTransaction unit(TRANSACTION_JOURNAL);
    for (const CatalogueEntry& entry : catalogue()) {
        entry.save(entry.path, d);
    }
    pictureRemovals::stageInActiveTransaction();
    if (unit.commit() == FileTransaction::Outcome::NOTHING_CHANGED) {
        throw InvalidFileException(TRANSACTION_JOURNAL, d);
    }
}

SaveResult saveTablesAsUnit(const std::vector<dependency>& tables) {
    FileTransaction unit(TRANSACTION_JOURNAL);
    try {
        for (dependency table : tables) {
            saveDatabase(table);
        }
        if (tables.empty()) {
            saveDatabase(D_ENDTAG);
        }
    } catch (const std::exception&) {
        return SaveResult::NOTHING_SAVED;
    }
    return saveResultOf(unit.commit());
}

int saveDatabaseTables(const std::vector<dependency>& tables) {
    return saveTablesAsUnit(tables) == SaveResult::NOTHING_SAVED ? 1 : 0;
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
    const std::size_t position = cataloguePosition(d);
    return position < D_ENDTAG ? catalogue()[position].path : nullptr;
}

bool checkpointDatabase() {
    return FileTransaction::checkpoint();
}

void resetDatabase() {
    resetDatabaseTables();
    pictureRemovals::clear();
    Level::resetTable();
    savingRefused = false;
}
