#include "statistics/RowNames.h"

#include <algorithm>

#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/Language.h"
#include "model/Word.h"
#include "practice/CardFacts.h"

namespace {

template <typename T>
std::wstring nameOf(const T& record, bool withLanguage) {
    std::wstring name = record.get_text();
    if (withLanguage) {
        if (const Language* language = Language::getById(record.getDependency(D_LANGUAGE))) {
            name += L" (" + std::wstring(language->get_name()) + L")";
        }
    }
    return name;
}

template <typename T>
std::vector<GrammarRow> grammarRows(std::uint32_t language, const IdCounts<ShareCount>& counts) {
    const bool allLanguages = language == StatisticsFilter::ALL_LANGUAGES;
    std::vector<GrammarRow> rows;
    for (auto it = T::begin(); it != T::end(); ++it) {
        if (allLanguages || it->getDependency(D_LANGUAGE) == language) {
            rows.push_back(GrammarRow{it->getId(), nameOf(**it, allLanguages), ShareCount{}});
        }
    }
    GrammarRow deleted;
    counts.forEach([&](std::uint32_t id, const ShareCount& count) {
        auto found = std::lower_bound(rows.begin(), rows.end(), id,
                                      [](const GrammarRow& row, std::uint32_t wanted) { return row.id < wanted; });
        ShareCount& into = found != rows.end() && found->id == id ? found->count : deleted.count;
        into.asked += count.asked;
        into.right += count.right;
    });
    if (allLanguages) {
        std::erase_if(rows, [](const GrammarRow& row) { return row.count.asked == 0; });
    }
    if (deleted.count.asked > 0) {
        rows.push_back(deleted);
    }
    return rows;
}

}  // namespace

std::vector<GrammarRow> articleRows(std::uint32_t language, const IdCounts<ShareCount>& counts) {
    return grammarRows<Article>(language, counts);
}

std::vector<GrammarRow> tenseRows(std::uint32_t language, const IdCounts<ShareCount>& counts) {
    return grammarRows<Tense>(language, counts);
}

std::vector<GrammarRow> personRows(std::uint32_t language, const IdCounts<ShareCount>& counts) {
    return grammarRows<Person>(language, counts);
}

HardCard describeCard(std::uint32_t cardId, std::uint32_t wrong) {
    HardCard described{cardId, L"", L"", wrong};
    Flashcard* card = Flashcard::getById(cardId);
    if (card == nullptr) {
        return described;
    }
    if (const Word* word = Word::getById(card->getDependency(D_WORD))) {
        described.foreignWord = word->get_text();
    }
    for (const Word* known : knownWords(*card)) {
        if (!described.knownWords.empty()) {
            described.knownWords += L", ";
        }
        described.knownWords += known->get_text();
    }
    return described;
}
