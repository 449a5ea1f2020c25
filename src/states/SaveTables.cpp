#include "states/SaveTables.h"

#include <vector>

#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/InterfaceText.h"
#include "platform/Platform.h"

SaveSession::SaveSession(std::function<void()> takeBackEdit, Report reportTo)
    : unit(TRANSACTION_JOURNAL), takeBack(std::move(takeBackEdit)), report(reportTo) {}

void SaveSession::saveTables(std::initializer_list<dependency> tables) {
    include(saveTablesAsUnit(std::vector<dependency>(tables)) != SaveResult::NOTHING_SAVED);
}

void SaveSession::include(bool staged) {
    spoiled = spoiled || !staged;
}

SaveOutcome SaveSession::finish() {
    FileTransaction::Outcome committed = FileTransaction::Outcome::NOTHING_CHANGED;
    if (!spoiled) {
        committed = unit.commit();
    }
    spoiled = true;  // a second finish saves nothing
    switch (committed) {
    case FileTransaction::Outcome::DONE:
        return SaveOutcome::DONE;
    case FileTransaction::Outcome::PENDING:
        return SaveOutcome::DONE_FILES_PENDING;
    case FileTransaction::Outcome::NOTHING_CHANGED:
        break;
    }
    if (report == Report::ERROR_BOX) {
        warnSaveFailed();
    }
    if (takeBack) {
        takeBack();
    }
    return SaveOutcome::NOTHING_CHANGED;
}

void warnSaveFailed() {
    platform::current().messageBox(interfaceText(String_ERROR_SAVE_DB), interfaceText(String_INFORMATION),
                                   platform::MessageIcon::Error, platform::MessageButtons::Ok);
}

SaveOutcome saveEdit(std::initializer_list<dependency> tables, std::function<void()> takeBack) {
    SaveSession session(std::move(takeBack));
    session.saveTables(tables);
    return session.finish();
}

bool saveTablesOrWarn(std::initializer_list<dependency> tables) {
    return saveEdit(tables) != SaveOutcome::NOTHING_CHANGED;
}
