#include "model/ProvisionalRecords.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "db/OrnQL_Stream.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/Word.h"

namespace {

using Note = ProvisionalRecord;

bool isNoted(const std::vector<Note>& notes, const Note& note) {
    return std::find(notes.begin(), notes.end(), note) != notes.end();
}

struct Notes {
    std::vector<Note> notes;
    // The notes a start-up could not save away: their records are gone from memory, but perhaps
    // not from the disk.
    bool removalPending = false;
};

std::optional<Notes> held;

std::vector<Note> readNotesFile() {
    std::vector<Note> notes;
    FileTransaction::finishPendingWork();
    std::ifstream in(PROVISIONAL_RECORDS_FILE, std::ios::binary);
    std::uint32_t table = 0;
    std::uint32_t id = 0;
    while (loadValue(in, table) && loadValue(in, id)) {
        const Note note{static_cast<dependency>(table), id};
        if (table < D_ENDTAG && canBeProvisional(note.table) && id != 0 &&
            std::find(notes.begin(), notes.end(), note) == notes.end()) {
            notes.push_back(note);
        }
    }
    return notes;
}

Notes& notesHeld() {
    if (!held) {
        // Whatever the file names was left by an earlier run, whose records are still in the
        // tables until removeAbandonedRecords takes them out.
        held = Notes{readNotesFile(), false};
    }
    return *held;
}

bool writeNotesFile(const std::vector<Note>& notes) {
    if (notes.empty()) {
        const bool removed = removeFileIfPresent(PROVISIONAL_RECORDS_FILE);
        syncDirectoryOf(PROVISIONAL_RECORDS_FILE);
        return removed;
    }
    AtomicFile file(PROVISIONAL_RECORDS_FILE);
    if (!file.isOpen()) {
        return false;
    }
    for (const Note& note : notes) {
        saveValue(file.stream(), static_cast<std::uint32_t>(note.table));
        saveValue(file.stream(), static_cast<std::uint32_t>(note.id));
    }
    return file.commit();
}

// Replaces the notes on disk by `notes`, as part of the transaction the caller has begun when
// there is one (a Save that keeps a record and takes its note away in one unit). The notes held
// in memory follow only once the files are in place, so a failed unit leaves both as they were.
bool storeNotes(const std::vector<Note>& notes, bool removalPending) {
    FileTransaction unit(TRANSACTION_JOURNAL);
    if (!writeNotesFile(notes)) {
        return false;
    }
    unit.afterCommit([notes, removalPending] { *held = Notes{notes, removalPending}; });
    return unit.commit() != FileTransaction::Outcome::NOTHING_CHANGED;
}

template <typename T>
bool removeRecord(unsigned id) {
    if (T::getById(id) == nullptr) {
        return false;
    }
    T::deleteEntry(id);
    return true;
}

bool removeRecordOf(const Note& note) {
    switch (note.table) {
    case D_WORD:
        return Word::deleteWithIrregularVerb(note.id);
    case D_FLASHCARD:
        return removeRecord<Flashcard>(note.id);
    default:
        return false;
    }
}

// Saves the removal of the records a start-up took out of memory only, together with the
// removal of their notes; true when nothing is pending any more.
bool finishPendingRemoval(const Notes& notes) {
    if (!notes.removalPending) {
        return true;
    }
    FileTransaction unit(TRANSACTION_JOURNAL);
    if (saveDatabaseTables({}) != 0) {
        return false;
    }
    return storeNotes({}, false) && unit.commit() != FileTransaction::Outcome::NOTHING_CHANGED;
}

}  // namespace

bool canBeProvisional(dependency table) {
    switch (table) {
    case D_WORD:
    case D_FLASHCARD:
        return true;
    default:
        return false;
    }
}

bool noteProvisionalRecord(dependency table, unsigned id) { return noteProvisionalRecords({{table, id}}); }

bool noteProvisionalRecords(const std::vector<ProvisionalRecord>& records) {
    for (const ProvisionalRecord& record : records) {
        if (!canBeProvisional(record.table) || record.id == 0) {
            return false;
        }
    }
    if (!finishPendingRemoval(notesHeld())) {
        return false;
    }
    std::vector<Note> noted = notesHeld().notes;
    for (const ProvisionalRecord& record : records) {
        if (!isNoted(noted, record)) {
            noted.push_back(record);
        }
    }
    if (noted.size() == notesHeld().notes.size()) {
        return true;
    }
    return storeNotes(noted, false);
}

bool forgetProvisionalRecord(dependency table, unsigned id) { return forgetProvisionalRecords({{table, id}}); }

bool forgetProvisionalRecords(const std::vector<ProvisionalRecord>& records) {
    const Notes& notes = notesHeld();
    std::vector<Note> remaining;
    std::copy_if(notes.notes.begin(), notes.notes.end(), std::back_inserter(remaining),
                 [&](const Note& note) { return !isNoted(records, note); });
    if (remaining.size() == notes.notes.size()) {
        return true;
    }
    return storeNotes(remaining, notes.removalPending);
}

bool isProvisionalRecord(dependency table, unsigned id) { return isNoted(notesHeld().notes, Note{table, id}); }

bool removeAbandonedRecords() {
    Notes& notes = notesHeld();
    std::error_code error;
    if (notes.notes.empty() && !std::filesystem::exists(PROVISIONAL_RECORDS_FILE, error)) {
        return true;
    }
    bool removedAny = false;
    for (const Note& note : notes.notes) {
        removedAny = removeRecordOf(note) || removedAny;
    }
    // From here until the removal is saved, the ids of the removed records may be handed out
    // again while the disk still holds the old records.
    notes.removalPending = !notes.notes.empty();
    FileTransaction unit(TRANSACTION_JOURNAL);
    if (removedAny && saveDatabaseTables({}) != 0) {
        return false;
    }
    return storeNotes({}, false) && unit.commit() != FileTransaction::Outcome::NOTHING_CHANGED;
}

void resetProvisionalRecords() { held.reset(); }
