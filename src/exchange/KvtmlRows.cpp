#include "exchange/KvtmlRows.h"

namespace exchange {

KvtmlRows::KvtmlRows(KvtmlReader& reader, int foreignIdentifier, int knownIdentifier)
    : reader_(reader), foreign_(foreignIdentifier), known_(knownIdentifier) {}

double KvtmlRows::progress() const {
    return reader_.size() == 0 ? 1.0 : static_cast<double>(reader_.bytesRead()) / static_cast<double>(reader_.size());
}

std::string KvtmlRows::failure() const {
    const KvtmlError* error = reader_.error();
    return error == nullptr ? std::string() : error->describe();
}

bool KvtmlRows::next(ImportRow& row) {
    const KvtmlHead& head = reader_.head();
    while (reader_.next(entry_)) {
        const KvtmlTranslation* foreign = entry_.translation(foreign_);
        const KvtmlTranslation* known = entry_.translation(known_);
        if ((foreign == nullptr || foreign->text.empty()) && (known == nullptr || known->text.empty())) {
            continue;
        }
        row = ImportRow();
        row.line = entry_.line;
        if (foreign != nullptr) {
            row.foreign = foreign->text;
            row.pronunciation = foreign->pronunciation;
            row.mnemonic = foreign->comment;
            row.gender = head.genderOf(*foreign);
            row.categories = foreign->usages;
            for (const KvtmlConjugation& conjugation : foreign->conjugations) {
                row.conjugations.push_back({conjugation.tense, conjugation.forms});
            }
        }
        if (known != nullptr && !known->text.empty()) {
            row.known.push_back(known->text);
        }
        if (auto lesson = head.lessonOfEntry.find(entry_.id); lesson != head.lessonOfEntry.end()) {
            row.lesson = head.lessons[lesson->second];
        }
        return true;
    }
    return false;
}

}  // namespace exchange
