#pragma once

// Records that an editor creates ahead of the user's first Save, so that other records can be
// linked to them before it (a new word gets its meanings, a new flashcard its known words), and
// that must leave no trace if the program ends before that Save, by a kill or a crash as much as
// by Close.
//
// Each such record is noted in a small file before it first reaches the disk, and the note goes
// once the record is kept for good (its Save is done) or removed again (and that is saved). At
// the next start, before any screen is built, every record still noted is deleted with its
// cascades and the tables are saved, so nothing half-made shows in any list and no link names a
// missing record. Taking the note away is the moment a Save commits: a kill between the save of
// the record and the removal of its note loses that Save as a whole, never half of it.
//
// How an editor uses it:
//   New:    add the record to its table; noteProvisionalRecord (on false: take the record out of
//           the table again and report the failed save); save the record's table whenever
//           something else is to be linked to it.
//   Save:   save the tables; then forgetProvisionalRecord (on false: report the failed save, the
//           record stays provisional and the user can retry).
//   Close:  delete the record, save; then forgetProvisionalRecord. Should that save fail, the
//           note stays and the next start removes what the disk still holds.
//
// The notes file, PROVISIONAL_RECORDS_FILE, replaced whole at every change (base/AtomicFile.h) and
// removed when no record is noted:
//   offset 8 * n       size 4   the table (dependency number), little-endian
//   offset 8 * n + 4   size 4   the record id, little-endian
// for each note n in the order noted. A note of a table that cannot hold provisional records, with
// id 0, or cut short, is ignored.

#include <vector>

#include "db/OrnQL_Types.h"

inline constexpr const char* PROVISIONAL_RECORDS_FILE = "Data/provisional.dat";

// One record of a table, as the notes name it.
struct ProvisionalRecord {
    dependency table;
    unsigned id;
    bool operator==(const ProvisionalRecord&) const = default;
};

// Whether records of the table can be noted: words and flashcards.
bool canBeProvisional(dependency table);

// Notes record `id` of `table` (once; a second note of it changes nothing). True when the note is
// on disk; false when it could not be written or the table cannot hold provisional records.
// Records a start-up could not save away (see removeAbandonedRecords) are saved first, so that
// their ids, free again, are never noted twice; if that save fails, nothing is noted.
bool noteProvisionalRecord(dependency table, unsigned id);
// Notes several records with one write of the notes file: all of them or, on false, none. False
// also when one of them cannot be noted (a table that cannot hold provisional records, id 0).
bool noteProvisionalRecords(const std::vector<ProvisionalRecord>& records);

// The record was kept or removed: its note goes. True when the disk no longer names it (also when
// it was never noted); false when the notes file could not be written, and then it stays noted.
bool forgetProvisionalRecord(dependency table, unsigned id);
// The records were kept together (one Save made all of them): their notes go with one write of
// the notes file, so a kill never keeps some of them and removes the others. False when the
// notes file could not be written, and then all of them stay noted.
bool forgetProvisionalRecords(const std::vector<ProvisionalRecord>& records);

bool isProvisionalRecord(dependency table, unsigned id);

// For the start-up, once the database is loaded: deletes every noted record that exists, with its
// cascades (a word also with its irregular verb, which only the word refers to), and saves every
// table; then the notes go. Returns false when the save or the removal of the notes failed: the
// records are gone from memory all the same, and the notes stay on disk (and in memory, see
// noteProvisionalRecord) for the next start.
bool removeAbandonedRecords();

// Forgets the notes held in memory, so that the next call reads the notes file again, as a new
// process does (tests).
void resetProvisionalRecords();
