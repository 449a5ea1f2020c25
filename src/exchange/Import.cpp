#include "exchange/Import.h"

namespace exchange {

namespace {

// Rows between two looks at the clock.
constexpr unsigned ROWS_PER_CLOCK = 16;

bool pastDeadline(unsigned rows, Deadline until) {
    return rows % ROWS_PER_CLOCK == 0 && until != noDeadline() && std::chrono::steady_clock::now() >= until;
}

}  // namespace

void countFate(ImportCounts& counts, RowFate fate) {
    switch (fate) {
    case RowFate::New: ++counts.added; break;
    case RowFate::Updated: ++counts.updated; break;
    case RowFate::Skipped: ++counts.skipped; break;
    case RowFate::Merged: ++counts.merged; break;
    case RowFate::Refused: ++counts.refused; break;
    }
}

Import::Import(std::unique_ptr<RowSource> source, ImportOptions options, LanguageTarget foreign,
               LanguageTarget known)
    : source_(std::move(source)),
      options_(std::move(options)),
      foreign_(std::move(foreign)),
      known_(std::move(known)),
      preparation_(options_, foreign_) {}

bool Import::previewSome(Deadline until) {
    if (!previewStarted_) {
        previewStarted_ = true;
        source_->restart();
        builder_ = std::make_unique<RecordBuilder>(options_, foreign_, known_, undo_);
    }
    for (unsigned rows = 1; !previewed_; ++rows) {
        if (!source_->next(row_)) {
            previewed_ = true;
            builder_.reset();
            break;
        }
        PreviewRow seen;
        seen.refusal = preparation_.prepare(row_, seen.row);
        seen.fate = seen.refusal.kind == RefusalKind::None ? builder_->foresee(seen.row) : RowFate::Refused;
        countFate(preview_.counts, seen.fate);
        if (seen.fate == RowFate::Refused && preview_.refusals.size() < ImportPreview::REFUSALS_KEPT) {
            preview_.refusals.push_back(seen.refusal);
        }
        if (preview_.first.size() < ImportPreview::FIRST_ROWS) {
            preview_.first.push_back(std::move(seen));
        }
        if (pastDeadline(rows, until)) {
            break;
        }
    }
    return previewed_;
}

bool Import::storeSome(Deadline until) {
    if (!previewed_) {
        return false;
    }
    if (!storeStarted_) {
        storeStarted_ = true;
        source_->restart();
        builder_ = std::make_unique<RecordBuilder>(options_, foreign_, known_, undo_);
    }
    for (unsigned rows = 1; !stored_; ++rows) {
        if (!source_->next(row_)) {
            stored_ = true;
            builder_.reset();
            break;
        }
        const Refusal refusal = preparation_.prepare(row_, prepared_);
        countFate(storedCounts_, refusal.kind == RefusalKind::None ? builder_->store(prepared_) : RowFate::Refused);
        if (pastDeadline(rows, until)) {
            break;
        }
    }
    return stored_;
}

void Import::takeBack() {
    undo_.undo();
    foreign_.unmake();
    known_.unmake();
    builder_.reset();
    storeStarted_ = false;
    stored_ = false;
    storedCounts_ = ImportCounts();
}

}  // namespace exchange
