#pragma once

// The rows of a KVTML file: one per entry, the foreign word from the translation of one
// identifier, the known words from another's. The foreign translation gives text,
// pronunciation, comment (the mnemonic), the gender of a noun, usages (categories) and
// conjugations; the entry's lesson is the container that names it. Entries with neither
// translation are passed over. Not read: sounds, images, examples, paraphrases, antonyms,
// synonyms, false friends, comparisons, multiple choice, grades and the practice flags.

#include "exchange/ImportRow.h"
#include "exchange/KvtmlReader.h"

namespace exchange {

class KvtmlRows : public RowSource {
public:
    // `reader` has read its head.
    KvtmlRows(KvtmlReader& reader, int foreignIdentifier, int knownIdentifier);

    bool next(ImportRow& row) override;
    void restart() override { reader_.restart(); }
    double progress() const override;
    std::string failure() const override;

private:
    KvtmlReader& reader_;
    int foreign_;
    int known_;
    KvtmlEntry entry_;
};

}  // namespace exchange
