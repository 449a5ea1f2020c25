#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "DatabaseTestSupport.h"
#include "model/AnswerBlock.h"
#include "model/DatabaseCatalogue.h"
#include "model/LanguageVoice.h"

namespace modeltest {

// Every file below Data/ (but not the backups) with its bytes.
using Files = std::map<std::string, std::string>;

// The number of records of each table, indexed by dependency.
inline std::array<std::size_t, D_ENDTAG> tableSizes() {
    return {Language::elementTree().size(),    Article::elementTree().size(),  Tense::elementTree().size(),
            Person::elementTree().size(),      VerbPattern::elementTree().size(), Word::elementTree().size(),
            IrregularVerb::elementTree().size(), Meaning::elementTree().size(), Category::elementTree().size(),
            Flashcard::elementTree().size(),   Lesson::elementTree().size(),   Level::elementTree().size(),
            C_M::elementTree().size(),         M_W::elementTree().size(),      F_W::elementTree().size(),
            LanguageVoice::elementTree().size(),
            AnswerBlock::elementTree().size()};
}

// Every reference in memory that names a record which does not exist, as "table id -> d id".
template <typename T>
void addDanglingReferences(const char* table, std::vector<std::string>& found) {
    for (auto it = T::begin(); it != T::end(); ++it) {
        for (int d = 0; d < D_ENDTAG; ++d) {
            const unsigned id = (*it)->getDependency(static_cast<dependency>(d));
            if (id != 0 && !recordExists(static_cast<dependency>(d), id)) {
                found.push_back(std::string(table) + " " + std::to_string((*it)->getId()) + " -> " +
                                std::to_string(d) + " " + std::to_string(id));
            }
        }
    }
}

inline std::vector<std::string> danglingReferences() {
    std::vector<std::string> found;
    addDanglingReferences<Language>("language", found);
    addDanglingReferences<Article>("article", found);
    addDanglingReferences<Tense>("tense", found);
    addDanglingReferences<Person>("person", found);
    addDanglingReferences<VerbPattern>("verb pattern", found);
    addDanglingReferences<Word>("word", found);
    addDanglingReferences<IrregularVerb>("irregular verb", found);
    addDanglingReferences<Meaning>("meaning", found);
    addDanglingReferences<Category>("category", found);
    addDanglingReferences<Flashcard>("flashcard", found);
    addDanglingReferences<Lesson>("lesson", found);
    addDanglingReferences<Level>("level", found);
    addDanglingReferences<C_M>("category-meaning link", found);
    addDanglingReferences<M_W>("meaning-word link", found);
    addDanglingReferences<F_W>("flashcard-word link", found);
    addDanglingReferences<LanguageVoice>("language voice", found);
    return found;
}

class StorageTest : public DatabaseTest {
protected:
    static Files dataFiles() {
        Files found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(DATA_DIR)) {
            const std::string path = entry.path().generic_string();
            if (entry.is_regular_file() && path.rfind(std::string(BACKUP_DIR) + "/", 0) != 0) {
                found[path] = readFile(entry.path());
            }
        }
        return found;
    }

    // Throws the tables away, puts the files of `saved` (a copy of Data/) in place of Data/.
    static void restoreData(const std::string& saved) {
        resetDatabase();
        std::filesystem::remove_all(DATA_DIR);
        std::filesystem::copy(saved, DATA_DIR, std::filesystem::copy_options::recursive);
    }

    // A first-start database in which every table holds records in more than one bound file (ids
    // past 10), saved and thrown away: 12 languages each with an article, a tense, a person and
    // a verb pattern; 30 words (with articles, patterns and 11 irregular verbs); 12 meanings of
    // two words each, 12 categories, 12 lessons, 12 levels and 12 flashcards, with their links;
    // a flag and a mnemonic picture; a voice for each language;
    // and an answer history of 12 blocks, one answer each (an article asked, a verb table asked).
    static void buildRichSample() {
        EXPECT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
        constexpr unsigned N = 12;
        std::vector<unsigned> languages, words;
        for (unsigned i = 0; i < N; ++i) {
            const unsigned language = addLanguage((L"Language " + std::to_wstring(i)).c_str());
            languages.push_back(language);
            Article::add(new Article((L"art " + std::to_wstring(i)).c_str(), language));
            Tense::add(new Tense((L"tense " + std::to_wstring(i)).c_str(), language));
            Person::add(new Person((L"person " + std::to_wstring(i)).c_str(), language));
            VerbPattern::add(new VerbPattern(1, 1, language, i));
            Lesson::add(new Lesson((L"lesson " + std::to_wstring(i)).c_str(), static_cast<std::int32_t>(i)));
            Category::add(new Category((L"category " + std::to_wstring(i)).c_str()));
            LanguageVoice::assign(language, i % 2 == 0 ? "gmw/de" : "roa/fr");
        }
        for (unsigned i = 0; i < 5; ++i) {
            Level::add(new Level(100 + i, false, HIDEHINT));
        }
        for (unsigned i = 0; i < 30; ++i) {
            const unsigned word = addWord(languages[i % N], (L"word " + std::to_wstring(i)).c_str());
            words.push_back(word);
            if (i % 3 == 0) {
                Word::getById(word)->setDependency(D_ARTICLE, 1 + i % N);
            } else if (i % 3 == 1) {
                Word::getById(word)->setDependency(D_VERBPATTERN, 1 + i % N);
            }
        }
        for (unsigned i = 0; i < 11; ++i) {
            IrregularVerb::createAndAdd(languages[(2 + i * 2) % N], words[2 + i * 2]);
        }
        for (unsigned i = 0; i < N; ++i) {
            const unsigned meaning = Meaning::add(new Meaning(static_cast<int>(1 + i % 10)));
            M_W::add(new M_W(meaning, words[i]));
            M_W::add(new M_W(meaning, words[i + N]));
            C_M::add(new C_M(1 + i, meaning));
            auto* card = new Flashcard(i % 2 == 0, static_cast<std::int32_t>(i));
            card->setDependency(D_WORD, words[i + 1]);
            card->setDependency(D_LESSON, 1 + i);
            const unsigned cardId = Flashcard::add(card);
            F_W::add(new F_W(cardId, words[i + 2]));
        }
        for (unsigned i = 0; i < N; ++i) {
            Answer answer;
            answer.card = 1 + i;
            answer.language = languages[i];
            answer.time = 1700000000 + 86400 * static_cast<std::int64_t>(i);
            answer.verdict = static_cast<Verdict>(i % 3);
            answer.article = ArticleJudgement::Right;
            answer.articleId = 1 + i;
            answer.verbLayout = VerbLayout{{1 + i}, {1 + i}};
            answer.cellsRight = {i % 2 == 0};
            auto* block = new AnswerBlock();
            block->append(answer);
            AnswerBlock::add(block);
        }
        writeFile(std::string(FLAG_IMAGE_DIR) + "1.bmp", "BM flag");
        writeFile(std::string(MNEMONIC_IMAGE_DIR) + "1.bmp", "BM mnemonic");
        saveDatabase(D_ENDTAG);
        EXPECT_TRUE(checkpointDatabase());  // as the program ends
        resetDatabase();
    }
};

}  // namespace modeltest
