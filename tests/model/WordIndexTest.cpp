#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/WordIndex.h"

namespace {

using Recorded = std::map<unsigned, std::pair<unsigned, std::wstring>>;  // id -> language, text

// What find must answer: the least id of that language and text, other than exceptId.
unsigned plainFind(const Recorded& words, unsigned language, const std::wstring& text, unsigned exceptId) {
    for (const auto& [id, word] : words) {
        if (id != exceptId && word.first == language && word.second == text) {
            return id;
        }
    }
    return 0;
}

void expectSameAs(const WordIndex& index, const Recorded& words) {
    using Listed = std::vector<std::pair<unsigned, std::pair<unsigned, std::wstring>>>;
    Listed listed;
    index.forEach([&](const WordIndex::Entry& entry) {
        listed.push_back({entry.id, {entry.language, std::wstring(entry.text)}});
    });
    ASSERT_EQ(Listed(words.begin(), words.end()), listed);  // every word, in id order
    ASSERT_EQ(words.size(), index.size());
    std::size_t characters = 0;
    for (const auto& [id, word] : words) {
        characters += word.second.size();
    }
    ASSERT_EQ(characters, index.textLength());
}

// Random inserts, renames, moves to another language and erasures against a plain map: the
// lookups, the id-ordered walk and the counts always agree, also across the rewrites that
// thousands of erasures cause. Few distinct texts, so many words share a text.
TEST(WordIndexTest, AgreesWithAPlainMapThroughEveryChange) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto someText = [&] { return L"w" + std::to_wstring(random() % 40); };

    WordIndex index;
    Recorded words;
    for (int step = 0; step < 20000; ++step) {
        const unsigned id = 1 + random() % 3000;
        const unsigned language = 1 + random() % 3;
        if (random() % 3 == 0) {
            index.erase(id);
            words.erase(id);
        } else {
            const std::wstring text = someText();
            index.insert(id, language, text);
            words[id] = {language, text};
        }
        const std::wstring wanted = someText();
        const unsigned except = random() % 2 == 0 ? 0 : 1 + random() % 3000;
        ASSERT_EQ(plainFind(words, language, wanted, except), index.find(language, wanted, except))
            << "step " << step;
        ASSERT_EQ(words.count(id) == 1, index.contains(id));
        if (step % 1000 == 0) {
            expectSameAs(index, words);
        }
    }
    // Emptied one by one, as a table reset does, then used again.
    for (unsigned id = 1; id <= 3000; ++id) {
        index.erase(id);
    }
    words.clear();
    expectSameAs(index, words);
    index.insert(7, 1, L"again");
    EXPECT_EQ(7u, index.find(1, L"again"));
    EXPECT_EQ(0u, index.find(2, L"again")) << "another language";
    EXPECT_EQ(0u, index.find(1, L"Again")) << "case-sensitive";
}

}  // namespace
