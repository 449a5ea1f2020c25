#pragma once

#include <type_traits>
#include <vector>

#include "db/OrnQL_Custom.h"
#include "db/OrnQL_Types.h"

// The catalogue of the program's tables: their record classes, path prefixes (DataPaths.h)
// and weak flags, and how the three association tables connect them. In catalogue order, which is
// the order of set-up, loading, saving and the cascades:
//
//   #  table             dependency       class          weak  association
//   1  languages         D_LANGUAGE       Language       no
//   2  lessons           D_LESSON         Lesson         yes
//   3  levels            D_LEVEL          Level          yes
//   4  categories        D_CATEGORY       Category       no
//   5  persons           D_PERSON         Person         yes
//   6  tenses            D_TENSE          Tense          yes
//   7  articles          D_ARTICLE        Article        yes
//   8  verb patterns     D_VERBPATTERN    VerbPattern    yes
//   9  words             D_WORD           Word           no
//  10  irregular verbs   D_IRREGULARVERB  IrregularVerb  yes   (loaded together with the words)
//  11  flashcards        D_FLASHCARD      Flashcard      no
//  12  flashcard-word    D_ASSO_F_W       F_W            yes   Flashcard -> Word, enforce from
//  13  meanings          D_MEANING        Meaning        no
//  14  meaning-word      D_ASSO_M_W       M_W            yes   Meaning -> Word, enforce from
//  15  category-meaning  D_ASSO_C_M       C_M            yes   Category -> Meaning
//  16  language voices   D_VOICE          LanguageVoice  yes   (depends on its language)
//  17  answer history    D_ANSWER         AnswerBlock    yes   (saved with the flashcards too;
//                                                              nothing depends on it)
//
// Weak: deleting a record clears the references to it instead of deleting the records that refer
// to it. The cascades themselves are deleteEntryInDatabase and updateEntryInDatabase
// (db/OrnQL_Custom.h), which reach every table set up here in catalogue order, the word table and
// the association tables through their own hooks.

// Results of loadDatabase.
enum LoadStatus {
    LOAD_DONE = 0,   // loaded (or, on the first start, created)
    LOAD_RESET = 1,  // some tables were reset (their files are in Data/Backup) or links dropped
    LOAD_FATAL = 2   // the reset tables could not be saved: the directory tree is not as it must be
};

// Throws every table away (as resetDatabase) and sets them all up again, finishes a save that a
// crash interrupted after its commit point, removes the temporary files of one interrupted before
// it, and loads table d (all for D_ENDTAG): a second load in one process gives exactly what a
// fresh process gives. A clean load writes nothing. Nothing but the status leaves it:
// - a transaction log with a damaged unit (base/TransactionLog.h): the log and every file its
//   replay would overwrite are copied into Data/Backup/<UTC date-time>/ first, only the units
//   after the damage are replayed (an older one could put back an older file over a newer one),
//   the load goes on, and the status is at least 1 (2 if the copies cannot be made);
// - a log that exists but cannot be read or replayed: 2, and nothing is read;
// - no Data directory (first start): the whole directory tree and a fresh database with the
//   default level ladder are created; 0 (2 if they cannot be written);
// - a table that cannot be read, or is damaged (db/OrnQL_TemplateFiles.h lists what counts): the
//   files of that table and of every table after it (and the pictures of the languages, when the
//   language table is among them, and of the words, when the word table is) are moved into
//   Data/Backup/<UTC date-time>/, the files of the tables before it are copied there, references
//   into the reset tables are repaired as below, then everything is saved (the tables after it
//   empty, the level table with the default ladder if it was not loaded); 1, or 2 if the backup
//   or the save fails;
// - anything the load repairs in tables that loaded (links or other references naming a record
//   that does not exist, values out of range): references to a missing record of a weak table
//   are cleared, records depending on a missing record of another table are deleted with their
//   cascades, as if that record had been deleted; the files this rewrites are copied into the
//   backup first, then saved as one unit; 1 (2 if the backup or the save fails);
// - any other failure (an allocation that failed, an interrupted save that cannot be finished, a
//   plain bug): 2, and every file stays where it is. The tables may then be half loaded, so
//   saving is refused until the next loadDatabase or resetDatabase.
// After a status of 0 or 1 no record refers to a record that does not exist.
int loadDatabase(dependency d);

// Saves table d (all for D_ENDTAG) in catalogue order as one unit (base/FileTransaction.h):
// after a crash the next start sees all of it or none of it. Only the bounds changed since the
// last save are rewritten. InvalidFileException and other errors propagate when nothing of the
// save reached the log; such a save leaves every changed bound marked, so the next save repeats
// it. A save that reached the log is saved, even when files are still to be brought up to date.
void saveDatabase(dependency d);

// How a save of tables as one unit ended. The rule of every save: it has failed exactly when
// nothing of it reached the transaction log.
enum class SaveResult {
    NOTHING_SAVED,       // nothing reached the log: the files are as before, the changes stay marked
    SAVED,               // in the log and every file written
    SAVED_FILES_PENDING  // in the log, so saved for good; some files are brought up to date only by
                         // the next save, checkpoint or start (a disk too full to write them now)
};

// The tables saved as one unit in the order given (all for an empty list).
SaveResult saveTablesAsUnit(const std::vector<dependency>& tables);

// False after a load that failed for another reason than the files: the tables may be half
// loaded, and a save would overwrite good files with a part of their records.
bool savingAllowed();

// The screens' save: count = 0 saves all tables; otherwise count dependency values follow and
// each named table is saved in the order given, all of them as one unit. 0 when the save is done
// (SAVED or SAVED_FILES_PENDING); 1 when nothing of it was saved (NOTHING_SAVED).
int saveDatabaseExternal(unsigned count, ...);

// What a call with tables gets: each must be a dependency (anything else does not compile) and
// count must be their number (1 without saving anything otherwise).
template <typename... Tables>
    requires(std::is_same_v<Tables, dependency> && ...)
int saveDatabaseExternal(unsigned count, Tables... tables);
template <typename... Tables>
int saveDatabaseExternal(unsigned count, Tables... tables) = delete;

// saveTablesAsUnit with 0 or 1 as saveDatabaseExternal gives them.
int saveDatabaseTables(const std::vector<dependency>& tables);

// The path prefix of a table, or null for a number that names no table.
const char* tablePath(dependency d);

// Returns every table and the level ladder to their state before set-up.
void resetDatabase();

// Makes every save of this run durable in place and removes the transaction log, which a start
// would otherwise read and write again (for the end of the program); false when a sync failed
// (the log then stays and the next start repeats it).
bool checkpointDatabase();

template <typename... Tables>
    requires(std::is_same_v<Tables, dependency> && ...)
int saveDatabaseExternal(unsigned count, Tables... tables) {
    if (count != sizeof...(Tables)) {
        return 1;
    }
    return saveDatabaseTables({tables...});
}
