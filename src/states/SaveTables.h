#pragma once

// The one way a screen saves. The rule of every save: it has failed exactly when nothing of it
// reached the transaction log (base/FileTransaction.h). Once the log holds it, it is saved for
// good: the files that could not be written yet (a disk too full) are brought up to date by the
// next save, checkpoint or start, so the change stays in memory and on screen. Only a save that
// failed is reported, in an error box ("Fatal database error! ..." captioned "Information"); the
// screen then stays as the user left it, so nothing typed is lost and Save can be pressed again.

#include <functional>
#include <initializer_list>

#include "base/FileTransaction.h"
#include "db/OrnQL_Types.h"

// How a screen's save ended.
enum class SaveOutcome {
    NOTHING_CHANGED,    // nothing reached the log: the error box was shown
    DONE,               // saved, every file written
    DONE_FILES_PENDING  // saved; some files are written again from the log later
};

// What one action of a screen saves, as one unit: the tables it changed and whatever else it
// stores (the notes of provisional records, model/ProvisionalRecords.h). The edit is made in
// memory first; `takeBack` undoes it, and runs exactly when nothing of the unit reached the log,
// so that memory matches the disk again while the page keeps what was typed: a retry makes the
// edit afresh, and a discard leaves nothing behind that a later save could store.
class SaveSession {
public:
    enum class Report { ERROR_BOX, SILENT };

    explicit SaveSession(std::function<void()> takeBack = {}, Report report = Report::ERROR_BOX);
    SaveSession(const SaveSession&) = delete;
    SaveSession& operator=(const SaveSession&) = delete;

    // Adds the named tables (every table for an empty list) to the unit, in the order given.
    void saveTables(std::initializer_list<dependency> tables);
    // Adds something the action stored into the unit by itself; `staged` false means it could
    // not, and nothing of the unit is saved.
    void include(bool staged);
    // Saves the unit (once); then reports and takes back as described above.
    SaveOutcome finish();

private:
    FileTransaction unit;
    std::function<void()> takeBack;
    Report report;
    bool spoiled = false;
};

// A session of the named tables alone.
SaveOutcome saveEdit(std::initializer_list<dependency> tables, std::function<void()> takeBack = {});

// The box of a save that failed (nothing of it reached the log), for a screen that saves in
// steps (model/DatabaseSaveInSteps.h) and so cannot go through a session.
void warnSaveFailed();

// saveEdit with nothing to take back: true when the save is done (its files may still be
// pending), false when nothing of it reached the log and the error box was shown.
bool saveTablesOrWarn(std::initializer_list<dependency> tables);
