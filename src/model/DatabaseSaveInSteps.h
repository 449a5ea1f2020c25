#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>

#include "base/FileTransaction.h"
#include "model/Database.h"
#include "model/DatabaseCatalogue.h"

// A save of every table as one unit (saveTablesAsUnit({})) in steps the window paints between,
// for an import, whose save of thousands of files stopped the window for well over the 50 ms
// after which it feels stuck. The tables are walked into the unit in slices (a table's bound
// files at a time), each file going to the unit's spool as it is made; then the unit is appended
// to the log and synced on a thread of its own (base/FileTransaction.h, beginStreamed), and its
// outcome is what saveTablesAsUnit would have returned. Nothing of the tables may change until
// the outcome is known. Anything that uses the file system meanwhile finishes the save first.
// Without a place for a streamed unit (another transaction active) the first step saves in one
// call.
class DatabaseSaveInSteps {
public:
    using Clock = std::chrono::steady_clock;

    DatabaseSaveInSteps();
    // A save without its outcome is cancelled (and waited for, when its append runs).
    ~DatabaseSaveInSteps();
    DatabaseSaveInSteps(const DatabaseSaveInSteps&) = delete;
    DatabaseSaveInSteps& operator=(const DatabaseSaveInSteps&) = delete;

    // Walks tables into the unit until `deadline`, or looks whether the append has ended; the
    // outcome once it is known.
    std::optional<SaveResult> step(Clock::time_point deadline);
    // True once every table is in the unit (the append runs, or the outcome is known).
    bool staged() const { return table >= catalogue().size(); }
    // The part of the tables walked into the unit, 0 to 1.
    double progress() const;
    // Stops the save before its commit point; past it the save is done. step() then tells which.
    void cancel();
    // Finishes the save now (whatever is not staged yet at once) and waits for its outcome.
    SaveResult wait();

private:
    bool stageUntil(Clock::time_point deadline);
    void finishWithoutSteps();

    std::unique_ptr<FileTransaction> unit;
    std::size_t table = 0;
    TableSaveSteps tableSteps;  // of catalogue()[table], once begun
    std::optional<SaveResult> result;
};

// What a unit's commit means to the one who saved: done, done with files still to be written in
// place, or nothing saved.
SaveResult saveResultOf(FileTransaction::Outcome outcome);
