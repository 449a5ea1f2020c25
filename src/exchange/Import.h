#pragma once

// One import, in two passes over the file's rows, each done in pieces so that a window can keep
// painting between them:
//   preview  every row prepared and its fate foreseen, nothing stored: the counts, the first
//            rows as they will be stored, the refused rows with their lines and reasons;
//   store    the rows stored in memory (refused rows left out), everything noted so that it can
//            be taken back.
// The caller then saves all tables in one save (one unit of the transaction log), and calls
// kept() after it, or takeBack() when the save failed or the user cancelled: then the
// collection in memory is exactly as before, and nothing reached the disk.
//
// Memory: the rows are read from the file as they are needed, never held all at once; what an
// import keeps besides the records it makes is one entry per foreign word and per record made.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "exchange/ImportOptions.h"
#include "exchange/ImportRow.h"
#include "exchange/ImportUndo.h"
#include "exchange/LanguageTarget.h"
#include "exchange/RecordBuilder.h"
#include "exchange/RowPreparation.h"

namespace exchange {

using Deadline = std::chrono::steady_clock::time_point;
inline Deadline noDeadline() { return Deadline::max(); }

struct ImportCounts {
    unsigned added = 0;
    unsigned updated = 0;
    unsigned skipped = 0;
    unsigned merged = 0;
    unsigned refused = 0;

    unsigned rows() const { return added + updated + skipped + merged + refused; }
    unsigned stored() const { return added + updated + merged; }
};

struct PreviewRow {
    PreparedRow row;
    RowFate fate = RowFate::New;
    Refusal refusal;
};

struct ImportPreview {
    static constexpr std::size_t FIRST_ROWS = 20;
    static constexpr std::size_t REFUSALS_KEPT = 1000;

    ImportCounts counts;
    std::vector<PreviewRow> first;   // the first rows, refused ones included
    std::vector<Refusal> refusals;   // the first REFUSALS_KEPT refused rows
};

class Import {
public:
    Import(std::unique_ptr<RowSource> source, ImportOptions options, LanguageTarget foreign, LanguageTarget known);

    // Previews rows until the deadline; true once every row is previewed.
    bool previewSome(Deadline until);
    bool previewed() const { return previewed_; }
    const ImportPreview& preview() const { return preview_; }

    // Stores rows until the deadline (after the preview); true once every row is stored.
    bool storeSome(Deadline until);
    bool storedAll() const { return stored_; }
    const ImportCounts& storedCounts() const { return storedCounts_; }

    // How far the current pass is, 0 to 1.
    double progress() const { return source_->progress(); }
    // Why the file could not be read to its end (a malformed KVTML file); empty otherwise.
    std::string failure() const { return source_->failure(); }

    // The one save is done: the records stay.
    void kept() { undo_.clear(); }
    // Everything stored goes again (the save failed, or the user cancelled).
    void takeBack();

    const LanguageTarget& foreignLanguage() const { return foreign_; }
    const LanguageTarget& knownLanguage() const { return known_; }

private:
    std::unique_ptr<RowSource> source_;
    ImportOptions options_;
    LanguageTarget foreign_;
    LanguageTarget known_;
    ImportUndo undo_;
    RowPreparation preparation_;
    std::unique_ptr<RecordBuilder> builder_;
    ImportPreview preview_;
    ImportCounts storedCounts_;
    ImportRow row_;
    PreparedRow prepared_;
    bool previewStarted_ = false;
    bool previewed_ = false;
    bool storeStarted_ = false;
    bool stored_ = false;
};

void countFate(ImportCounts& counts, RowFate fate);

}  // namespace exchange
