#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "DatabaseTestSupport.h"

namespace modeltest {
namespace {

// Every record's relation trees as counts: "table/id fTR|sTR table" -> (id -> relationCount).
using RelationCounts = std::map<std::string, std::map<unsigned, unsigned>>;

std::map<unsigned, unsigned> counts(OrnQL_Base::RelationTree& tree) {
    std::map<unsigned, unsigned> result;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        result[(*it)->getId()] = it.node()->relationCount;
    }
    return result;
}

template <typename T>
void collect(RelationCounts& all) {
    for (auto it = T::begin(); it != T::end(); ++it) {
        for (dependency d : {D_WORD, D_MEANING, D_CATEGORY, D_FLASHCARD}) {
            const std::string key = std::to_string(T::getOwnEntry()) + "/" + std::to_string(it->getId()) + " to " +
                                    std::to_string(d);
            all[key + " first"] = counts(it->fTR(d));
            all[key + " second"] = counts(it->sTR(d));
        }
    }
}

RelationCounts relationCounts() {
    RelationCounts all;
    collect<Word>(all);
    collect<Meaning>(all);
    collect<Category>(all);
    collect<Flashcard>(all);
    return all;
}

// Loading links every loaded link in one pass; what it builds must be exactly what linking them
// one at a time built, in whatever order the links were made and however their ids interleave.
TEST_F(DatabaseTest, LoadedLinksGiveTheRelationsTheLinksMadeOneByOneGave) {
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    const unsigned language = addLanguage(L"French");
    std::vector<unsigned> words, meanings, categories, cards;
    for (unsigned i = 0; i < 40; ++i) {
        words.push_back(addWord(language, (L"w" + std::to_wstring(i)).c_str()));
    }
    for (unsigned i = 0; i < 25; ++i) {
        meanings.push_back(Meaning::add(new Meaning(1)));
    }
    for (unsigned i = 0; i < 6; ++i) {
        categories.push_back(Category::add(new Category((L"c" + std::to_wstring(i)).c_str())));
    }
    for (unsigned i = 0; i < 12; ++i) {
        auto* card = new Flashcard(false, 0);
        card->setDependency(D_WORD, words[i]);
        cards.push_back(Flashcard::add(card));
    }
    std::mt19937 random(7);
    auto any = [&random](const std::vector<unsigned>& ids) { return ids[random() % ids.size()]; };
    for (unsigned meaning : meanings) {  // every meaning keeps a word: it would go without one
        M_W::add(new M_W(meaning, any(words)));
    }
    for (unsigned i = 0; i < 120; ++i) {
        M_W::add(new M_W(any(meanings), any(words)));
        C_M::add(new C_M(any(categories), any(meanings)));
        F_W::add(new F_W(any(cards), any(words)));
    }
    for (unsigned i = 0; i < 30; ++i) {  // freed link ids are reused by later links
        C_M::deleteEntry(C_M::begin()->getId());
        C_M::add(new C_M(any(categories), any(meanings)));
    }
    const RelationCounts made = relationCounts();
    ASSERT_EQ(saveDatabaseExternal(0), 0);

    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(relationCounts(), made);
}

}  // namespace
}  // namespace modeltest
