#include "model/ProvisionalRecords.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <vector>

#include "db/AtomicFile.h"
#include "db/OrnQL_Stream.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/Word.h"

namespace {

struct Note {
    dependency table;
    unsigned id;
    bool operator==(const Note&) const = default;
};

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
    return file.commit();
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

bool noteProvisionalRecord(dependency table, unsigned id) {
    if (!canBeProvisional(table) || id == 0) {
        return false;
    }
    Notes& notes = notesHeld();
    if (!finishPendingRemoval(notes)) {
        return false;
    }
    const Note note{table, id};
    if (std::find(notes.notes.begin(), notes.notes.end(), note) != notes.notes.end()) {
        return true;
    }
    notes.notes.push_back(note);
    if (!writeNotesFile(notes.notes)) {
        notes.notes.pop_back();
        return false;
    }
    return true;
}

bool forgetProvisionalRecord(dependency table, unsigned id) {
    Notes& notes = notesHeld();
    const auto found = std::find(notes.notes.begin(), notes.notes.end(), Note{table, id});
    if (found == notes.notes.end()) {
        return true;
    }
    std::vector<Note> remaining = notes.notes;
    remaining.erase(remaining.begin() + (found - notes.notes.begin()));
    if (!writeNotesFile(remaining)) {
        return false;
    }
    notes.notes = std::move(remaining);
    return true;
}

bool isProvisionalRecord(dependency table, unsigned id) {
    const Notes& notes = notesHeld();
    return std::find(notes.notes.begin(), notes.notes.end(), Note{table, id}) != notes.notes.end();
}

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
