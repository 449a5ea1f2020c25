#pragma once

// The named rows of the statistics: articles, tenses and persons with their counts, and the
// description of a card. Deleted records cannot be named; what was counted for them goes into
// one row with id 0 and no name, last.

#include <cstdint>

#include "statistics/IdCounts.h"
#include "statistics/Statistics.h"

// For one language: a row for each of its articles (tenses, persons) in ascending id, also
// those never asked. For all languages: a row for each that was asked, named "text (language)".
std::vector<GrammarRow> articleRows(std::uint32_t language, const IdCounts<ShareCount>& counts);
std::vector<GrammarRow> tenseRows(std::uint32_t language, const IdCounts<ShareCount>& counts);
std::vector<GrammarRow> personRows(std::uint32_t language, const IdCounts<ShareCount>& counts);

// The card's foreign word and its known words (", " between them), with the count.
HardCard describeCard(std::uint32_t card, std::uint32_t wrong);
