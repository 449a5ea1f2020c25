#include "model/Database.h"

#include <cstdarg>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

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

struct CatalogueEntry {
    dependency table;
    const char* path;
    bool weak;
    void (*setup)(const CatalogueEntry& entry);
    void (*load)(const char* path, dependency d);
    void (*save)(const char* path, dependency d);
    unsigned (*droppedLinks)();
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

template <typename A>
unsigned droppedLinks() {
    return A::droppedOnLoad();
}

const CatalogueEntry catalogue[] = {
    {D_LANGUAGE, LANGUAGE_PATH, false, setupTable<Language>, loadTable<Language>, saveTable<Language>, nullptr},
    {D_LESSON, LESSON_PATH, true, setupTable<Lesson>, loadTable<Lesson>, saveTable<Lesson>, nullptr},
    {D_LEVEL, LEVEL_PATH, true, setupTable<Level>, loadTable<Level>, saveTable<Level>, nullptr},
    {D_CATEGORY, CATEGORY_PATH, false, setupTable<Category>, loadTable<Category>, saveTable<Category>, nullptr},
    {D_PERSON, PERSON_PATH, true, setupTable<Person>, loadTable<Person>, saveTable<Person>, nullptr},
    {D_TENSE, TENSE_PATH, true, setupTable<Tense>, loadTable<Tense>, saveTable<Tense>, nullptr},
    {D_ARTICLE, ARTICLE_PATH, true, setupTable<Article>, loadTable<Article>, saveTable<Article>, nullptr},
    {D_VERBPATTERN, VERBPATTERN_PATH, true, setupTable<VerbPattern>, loadTable<VerbPattern>, saveTable<VerbPattern>,
     nullptr},
    {D_WORD, WORD_PATH, false, setupTable<Word>, loadTable<Word>, saveTable<Word>, nullptr},
    {D_IRREGULARVERB, IRREGULARVERB_PATH, true, setupTable<IrregularVerb>, loadedWithTheWords,
     saveTable<IrregularVerb>, nullptr},
    {D_FLASHCARD, FLASHCARD_PATH, false, setupTable<Flashcard>, loadTable<Flashcard>, saveTable<Flashcard>, nullptr},
    {D_ASSO_F_W, F_W_PATH, true, setupLinks<F_W>, loadTable<F_W>, saveTable<F_W>, droppedLinks<F_W>},
    {D_MEANING, MEANING_PATH, false, setupTable<Meaning>, loadTable<Meaning>, saveTable<Meaning>, nullptr},
    {D_ASSO_M_W, M_W_PATH, true, setupLinks<M_W>, loadTable<M_W>, saveTable<M_W>, droppedLinks<M_W>},
    {D_ASSO_C_M, C_M_PATH, true, setupLinks<C_M>, loadTable<C_M>, saveTable<C_M>, droppedLinks<C_M>},
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

// Keeps every file the recovery of `failed` would remove or rewrite.
bool backUpForRecovery(std::size_t failed) {
    DatabaseBackup backup;
    for (std::size_t i = 0; i < CATALOGUE_SIZE; ++i) {
        // Tables before the failed one are written back as loaded, unless loading changed them
        // (an enforced side purged when its links could not be read), so they are copied.
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

int recoverFrom(dependency failedTable) {
    const std::size_t failed = positionOf(failedTable);
    if (failed < CATALOGUE_SIZE && !backUpForRecovery(failed)) {
        return LOAD_FATAL;
    }
    return saveOrFatal(D_ENDTAG, LOAD_RESET);
}

// Saves the link tables that dropped dangling links on loading; LOAD_DONE if there were none.
int saveRepairedLinks() {
    int status = LOAD_DONE;
    for (const CatalogueEntry& entry : catalogue) {
        if (entry.droppedLinks != nullptr && entry.droppedLinks() > 0) {
            status = saveOrFatal(entry.table, LOAD_RESET);
            if (status == LOAD_FATAL) {
                return status;
            }
        }
    }
    return status;
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
        setupTables();
        std::error_code error;
        if (!std::filesystem::exists(DATA_DIR, error) && !error) {
            return createFreshDatabase();
        }
        const dependency failed = loadTables(d);
        if (failed != D_ENDTAG) {
            return recoverFrom(failed);
        }
        return saveRepairedLinks();
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
