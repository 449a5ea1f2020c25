#include "screens/GrammarRefill.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/GuiItemfield.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/VerbPattern.h"
#include "model/ui/LanguageRecords.h"

namespace {

// Which side of the verb tables follows a grammar table.
enum class VerbAxis { None, Persons, Tenses };

template <typename T>
constexpr VerbAxis axisOf = VerbAxis::None;
template <>
constexpr VerbAxis axisOf<Person> = VerbAxis::Persons;
template <>
constexpr VerbAxis axisOf<Tense> = VerbAxis::Tenses;

// The place of a record that did not exist before.
constexpr int NEW_RECORD = -1;

struct ListEntry {
    std::wstring text;
    unsigned id;
};

std::vector<ListEntry> entriesOf(const GuiItemfield& list) {
    std::vector<ListEntry> entries;
    for (int position = 0; position < list.getNumberOfCurrentElements(); ++position) {
        entries.push_back({list.getEntry(position), list.getEntryId(position)});
    }
    return entries;
}

void appendEntry(GuiItemfield& list, const wchar_t* text, unsigned id) {
    list.addItem(text);
    list.setLastId(id);
}

// Gives the entries their records' ids, keeping texts, order and the active entry.
void relabel(GuiItemfield& list, const std::vector<ListEntry>& entries) {
    bool changed = false;
    for (std::size_t position = 0; position < entries.size(); ++position) {
        changed = changed || list.getEntryId(static_cast<int>(position)) != entries[position].id;
    }
    if (!changed) {
        return;
    }
    const int active = list.getActivePosition();
    list.clearField();
    for (const ListEntry& entry : entries) {
        appendEntry(list, entry.text.c_str(), entry.id);
    }
    list.setActivePosition(active);
}

const ListEntry* entryWithId(const std::vector<ListEntry>& entries, unsigned id) {
    const auto found = std::find_if(entries.begin(), entries.end(), [id](const ListEntry& e) { return e.id == id; });
    return found == entries.end() ? nullptr : &*found;
}

template <typename T>
std::vector<unsigned> idsOfLanguage(unsigned languageId) {
    std::vector<unsigned> ids;
    for (const T* record : modelui::recordsOfLanguage<T>(languageId)) {
        ids.push_back(record->getId());
    }
    return ids;
}

bool contains(const std::vector<unsigned>& ids, unsigned id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// For each record now in the table, where it stood before, or NEW_RECORD. A new record may
// carry the id of one deleted a moment ago, so new records are told apart by being in `added`.
std::vector<int> earlierPositions(const std::vector<unsigned>& before, const std::vector<unsigned>& after,
                                  const std::vector<unsigned>& added) {
    std::vector<int> positions;
    for (unsigned id : after) {
        const auto found = std::find(before.begin(), before.end(), id);
        const bool old = found != before.end() && !contains(added, id);
        positions.push_back(old ? static_cast<int>(found - before.begin()) : NEW_RECORD);
    }
    return positions;
}

bool keepsEverything(const std::vector<int>& from, unsigned count) {
    if (from.size() != count) {
        return false;
    }
    for (std::size_t position = 0; position < from.size(); ++position) {
        if (from[position] != static_cast<int>(position)) {
            return false;
        }
    }
    return true;
}

// The cells at `position` of `line`, or an empty one where the verb had none (a new record, or
// a table that was already out of step with its language).
template <typename Cell>
Cell takenFrom(const std::vector<Cell>& line, int position, const Cell& empty) {
    const bool present = position != NEW_RECORD && static_cast<std::size_t>(position) < line.size();
    return present ? line[static_cast<std::size_t>(position)] : empty;
}

// Rebuilds the verb's rows (persons) or columns (tenses): new line i is the old line from[i].
void reshape(Verb& verb, VerbAxis axis, const std::vector<int>& from) {
    const unsigned count = axis == VerbAxis::Persons ? verb.get_persons() : verb.get_tenses();
    if (keepsEverything(from, count)) {
        return;
    }
    const Verb::Cells& old = verb.cells();
    Verb::Cells cells;
    unsigned tenses = verb.get_tenses();
    unsigned persons = verb.get_persons();
    if (axis == VerbAxis::Persons) {
        persons = static_cast<unsigned>(from.size());
        for (const std::vector<std::wstring>& column : old) {
            std::vector<std::wstring> reshaped;
            for (int position : from) {
                reshaped.push_back(takenFrom(column, position, std::wstring()));
            }
            cells.push_back(std::move(reshaped));
        }
    } else {
        tenses = static_cast<unsigned>(from.size());
        for (int position : from) {
            cells.push_back(takenFrom(old, position, std::vector<std::wstring>(persons)));
        }
    }
    verb.reinitialize(tenses, persons, &cells);
}

template <typename V>
void reshapeVerbsOfLanguage(unsigned languageId, VerbAxis axis, const std::vector<int>& from) {
    for (V* verb : modelui::recordsOfLanguage<V>(languageId)) {
        reshape(*verb, axis, from);
    }
}

}  // namespace

template <typename T>
void populate(GuiItemfield& list, unsigned languageId) {
    list.clearField();
    for (const T* record : modelui::recordsOfLanguage<T>(languageId)) {
        appendEntry(list, record->get_text(), record->getId());
    }
}

template <typename T>
void refill(GuiItemfield& list, unsigned languageId) {
    const std::vector<unsigned> before = idsOfLanguage<T>(languageId);
    std::vector<ListEntry> entries = entriesOf(list);
    for (unsigned id : before) {
        T* record = T::getById(id);
        const ListEntry* entry = entryWithId(entries, id);
        if (record == nullptr) {
            continue;
        }
        if (entry == nullptr) {
            T::deleteEntry(record);
        } else if (entry->text != record->get_text()) {
            record->set_text(entry->text.c_str(), true);
        }
    }
    std::vector<unsigned> added;
    for (ListEntry& entry : entries) {
        if (contains(before, entry.id)) {
            continue;
        }
        auto record = std::make_unique<T>(entry.text.c_str(), languageId);
        entry.id = T::add(record.get());
        record.release();  // the table owns it now
        added.push_back(entry.id);
    }
    if constexpr (axisOf<T> != VerbAxis::None) {
        const std::vector<int> from = earlierPositions(before, idsOfLanguage<T>(languageId), added);
        reshapeVerbsOfLanguage<VerbPattern>(languageId, axisOf<T>, from);
        reshapeVerbsOfLanguage<IrregularVerb>(languageId, axisOf<T>, from);
    }
    relabel(list, entries);
}

template void populate<Article>(GuiItemfield&, unsigned);
template void populate<Person>(GuiItemfield&, unsigned);
template void populate<Tense>(GuiItemfield&, unsigned);
template void refill<Article>(GuiItemfield&, unsigned);
template void refill<Person>(GuiItemfield&, unsigned);
template void refill<Tense>(GuiItemfield&, unsigned);
