#include "model/ProvisionalRecords.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <vector>

#include "base/AtomicFile.h"
#include "db/OrnQL_Stream.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/IrregularVerb.h"
#include "model/Word.h"

namespace {

using Note = ProvisionalRecord;

struct Notes {
    std::vector<Note> notes;
    // The notes a start-up could not save away: their records are gone from memory, but perhaps
    // not from the disk.
    bool removalPending = false;
};

std::optional<Notes> held;

std::vector<Note> readNotesFile() {
    std::vector<Note> notes;
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
    if (!file.commit()) {
        return false;
    }
    // The note must be on the disk before the record it names is saved, power failure included.
    syncDirectoryOf(PROVISIONAL_RECORDS_FILE);
    return true;
}

bool isNoted(const std::vector<Note>& notes, const Note& note) {
    return std::find(notes.begin(), notes.end(), note) != notes.end();
}

template <typename T>
bool removeRecord(unsigned id) {
    if (T::getById(id) == nullptr) {
        return false;
    }
    T::deleteEntry(id);
    return true;
}

// Nothing but the word refers to its irregular verb, so it goes with the word.
bool removeWord(unsigned id) {
    const Word* word = Word::getById(id);
    if (word == nullptr) {
        return false;
    }
    const unsigned irregularVerbId = word->getDependency(D_IRREGULARVERB);
    removeRecord<Word>(id);
    removeRecord<IrregularVerb>(irregularVerbId);
    return true;
}

bool removeRecordOf(const Note& note) {
    switch (note.table) {
    case D_WORD:
        return removeWord(note.id);
    case D_FLASHCARD:
        return removeRecord<Flashcard>(note.id);
    default:
        return false;
    }
}

// Saves the records a start-up removed from memory only; true when nothing is pending any more.
bool finishPendingRemoval(Notes& notes) {
    if (!notes.removalPending) {
        return true;
    }
    if (saveDatabaseExternal(0) != 0 || !writeNotesFile({})) {
        return false;
    }
    notes.notes.clear();
    notes.removalPending = false;
    return true;
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
    Notes& notes = notesHeld();
    if (!finishPendingRemoval(notes)) {
        return false;
    }
    std::vector<Note> noted = notes.notes;
    for (const ProvisionalRecord& record : records) {
        if (!isNoted(noted, record)) {
            noted.push_back(record);
        }
    }
    if (noted.size() == notes.notes.size()) {
        return true;
    }
    if (!writeNotesFile(noted)) {
        return false;
    }
    notes.notes = std::move(noted);
    return true;
}

bool forgetProvisionalRecord(dependency table, unsigned id) { return forgetProvisionalRecords({{table, id}}); }

bool forgetProvisionalRecords(const std::vector<ProvisionalRecord>& records) {
    Notes& notes = notesHeld();
    std::vector<Note> remaining;
    for (const Note& note : notes.notes) {
        if (!isNoted(records, note)) {
            remaining.push_back(note);
        }
    }
    if (remaining.size() == notes.notes.size()) {
        return true;
    }
    if (!writeNotesFile(remaining)) {
        return false;
    }
    notes.notes = std::move(remaining);
    return true;
}

bool isProvisionalRecord(dependency table, unsigned id) { return isNoted(notesHeld().notes, Note{table, id}); }

bool removeAbandonedRecords() {
    Notes& notes = notesHeld();
    bool removedAny = false;
    for (const Note& note : notes.notes) {
        removedAny = removeRecordOf(note) || removedAny;
    }
    notes.removalPending = !notes.notes.empty();
    if (removedAny && saveDatabaseExternal(0) != 0) {
        return false;
    }
    if (!writeNotesFile({})) {
        return false;
    }
    notes.notes.clear();
    notes.removalPending = false;
    return true;
}

void resetProvisionalRecords() { held.reset(); }
