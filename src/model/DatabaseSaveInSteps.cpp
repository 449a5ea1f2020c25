#include "model/DatabaseSaveInSteps.h"

#include <exception>

#include "base/FileTransaction.h"
#include "db/PictureRemovals.h"
#include "model/DataPaths.h"

namespace {

TableSaveSteps stepsOf(const CatalogueEntry& entry) {
    if (entry.saveInSteps != nullptr) {
        return entry.saveInSteps(entry.path, D_ENDTAG);
    }
    return [&entry](DatabaseSaveInSteps::Clock::time_point) {
        entry.save(entry.path, D_ENDTAG);
        return true;
    };
}

}  // namespace

DatabaseSaveInSteps::DatabaseSaveInSteps() {
    if (!savingAllowed()) {
        result = SaveResult::NOTHING_SAVED;
        table = catalogue().size();
        return;
    }
    // Whatever needs the file system before the outcome stages the rest at once.
    unit = FileTransaction::beginStreamed(TRANSACTION_JOURNAL, [this] {
        if (stageUntil(Clock::time_point::max())) {
            unit->commitInBackground();
        }
    });
}

DatabaseSaveInSteps::~DatabaseSaveInSteps() {
    if (unit != nullptr && !result) {
        unit->cancelStreamed();
    }
    unit.reset();  // waits for an append that has begun
}

std::optional<SaveResult> DatabaseSaveInSteps::step(Clock::time_point deadline) {
    if (result) {
        return result;
    }
    if (unit == nullptr) {
        finishWithoutSteps();
        return result;
    }
    if (!staged() && stageUntil(deadline)) {
        unit->commitInBackground();
    }
    if (const std::optional<FileTransaction::Outcome> outcome = unit->streamedOutcome()) {
        result = saveResultOf(*outcome);
    }
    return result;
}

// True when every table is in the unit; a table that cannot be saved cancels the unit.
bool DatabaseSaveInSteps::stageUntil(Clock::time_point deadline) {
    if (staged()) {
        return false;
    }
    FileTransaction::StagingScope scope(*unit);
    try {
        while (table < catalogue().size()) {
            if (!tableSteps) {
                tableSteps = stepsOf(catalogue()[table]);
            }
            if (!tableSteps(deadline)) {
                return false;
            }
            tableSteps = nullptr;
            ++table;
            if (table < catalogue().size() && Clock::now() >= deadline) {
                return false;
            }
        }
        pictureRemovals::stageInActiveTransaction();
    } catch (const std::exception&) {
        table = catalogue().size();
        unit->cancelStreamed();
        return false;
    }
    return true;
}

void DatabaseSaveInSteps::finishWithoutSteps() {
    table = catalogue().size();
    result = saveTablesAsUnit({});
}

double DatabaseSaveInSteps::progress() const {
    return static_cast<double>(table) / static_cast<double>(catalogue().size());
}

void DatabaseSaveInSteps::cancel() {
    if (result) {
        return;
    }
    if (unit == nullptr) {
        result = SaveResult::NOTHING_SAVED;
        table = catalogue().size();
        return;
    }
    unit->cancelStreamed();
    table = catalogue().size();
}

SaveResult DatabaseSaveInSteps::wait() {
    if (!result && unit == nullptr) {
        finishWithoutSteps();
    }
    if (!result) {
        if (stageUntil(Clock::time_point::max())) {
            unit->commitInBackground();
        }
        result = saveResultOf(unit->commit());  // waits for the append
    }
    return *result;
}

SaveResult saveResultOf(FileTransaction::Outcome outcome) {
    switch (outcome) {
    case FileTransaction::Outcome::DONE:
        return SaveResult::SAVED;
    case FileTransaction::Outcome::PENDING:
        return SaveResult::SAVED_FILES_PENDING;
    case FileTransaction::Outcome::NOTHING_CHANGED:
        break;
    }
    return SaveResult::NOTHING_SAVED;
}
