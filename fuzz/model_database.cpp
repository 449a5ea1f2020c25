// Replaces one table file of a small database with arbitrary bytes (the first byte chooses the
// file: the index or the first bound file of one of the tables) and loads the database as
// the program starts it. Whatever the bytes, the load must not crash or give up (status 2), no
// record may refer to a record that does not exist, and the database it leaves must load again
// with status 0.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzScratch.h"
#include "base/PosixFileSystem.h"
#include "model/AnswerBlock.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/DatabaseCatalogue.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"

namespace {

namespace fs = std::filesystem;

// A record of every kind, two of most: the references and links between them are what the
// load has to keep consistent.
void buildDatabase() {
    if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
        abort();
    }
    unsigned languages[2];
    unsigned words[4];
    for (unsigned i = 0; i < 2; ++i) {
        auto* language = new Language();
        language->set_name(i == 0 ? L"French" : L"English", true);
        languages[i] = Language::add(language);
        Article::add(new Article(L"le", languages[i]));
        Tense::add(new Tense(L"present", languages[i]));
        Person::add(new Person(L"je", languages[i]));
        VerbPattern::add(new VerbPattern(1, 1, languages[i], i));
        Lesson::add(new Lesson(L"lesson", static_cast<std::int32_t>(i)));
        Category::add(new Category(L"category"));
    }
    for (unsigned i = 0; i < 4; ++i) {
        auto* word = new Word(i % 2 == 0 ? L"chien" : L"dog", L"", L"");
        word->setDependency(D_LANGUAGE, languages[i % 2]);
        word->setDependency(D_ARTICLE, i % 2 == 0 ? 1 : 0);
        words[i] = Word::add(word);
    }
    IrregularVerb::createAndAdd(languages[0], words[2]);
    for (unsigned i = 0; i < 2; ++i) {
        const unsigned meaning = Meaning::add(new Meaning(static_cast<int>(2 + i)));
        M_W::add(new M_W(meaning, words[i]));
        M_W::add(new M_W(meaning, words[i + 2]));
        C_M::add(new C_M(1 + i, meaning));
        auto* card = new Flashcard(true, 0);
        card->setDependency(D_WORD, words[i]);
        card->setDependency(D_LESSON, 1 + i);
        F_W::add(new F_W(Flashcard::add(card), words[i + 1]));
    }
    // Two answers: one with an article, one with a verb table.
    Answer answer;
    answer.card = 1;
    answer.language = languages[0];
    answer.time = 1700000000;
    answer.article = ArticleJudgement::Right;
    answer.articleId = 1;
    AnswerBlock::record(answer);
    answer.article = ArticleJudgement::NotAsked;
    answer.verbLayout = VerbLayout{{1}, {1}};
    answer.cellsRight = {false};
    AnswerBlock::record(answer);
    if (saveDatabaseExternal(0) != 0) {
        abort();
    }
    resetDatabase();
}

// Whether every reference of every record of T names a record that exists.
template <typename T>
bool referencesHold() {
    for (auto it = T::begin(); it != T::end(); ++it) {
        for (int d = 0; d < D_ENDTAG; ++d) {
            const unsigned id = (*it)->getDependency(static_cast<dependency>(d));
            if (id != 0 && !recordExists(static_cast<dependency>(d), id)) {
                return false;
            }
        }
    }
    return true;
}

bool noDanglingReference() {
    return referencesHold<Article>() && referencesHold<Tense>() && referencesHold<Person>() &&
           referencesHold<VerbPattern>() && referencesHold<Word>() && referencesHold<IrregularVerb>() &&
           referencesHold<Flashcard>() && referencesHold<Meaning>() && referencesHold<Category>() &&
           referencesHold<Lesson>() && referencesHold<Level>() && referencesHold<Language>() &&
           referencesHold<C_M>() && referencesHold<M_W>() && referencesHold<F_W>();
}

// The real file system with every sync left out (each counts as done).
class SyncsLeftOut : public PosixFileSystem {
public:
    int sync(int) override { return 0; }
    int syncData(int) override { return 0; }
};

// The database lives in the scratch directory, which is the working directory while an input
// runs; the fuzzer's own paths (its corpus) are relative to the directory it started in.
class InScratchDirectory {
public:
    InScratchDirectory() : previous(fs::current_path()) { fs::current_path(FuzzScratch::directory()); }
    ~InScratchDirectory() { fs::current_path(previous); }

private:
    fs::path previous;
};

const std::string& pristine() {
    static const std::string copy = [] {
        // Thousands of saves; what survives a power loss is not asked.
        static SyncsLeftOut withoutSyncs;
        useFileSystem(&withoutSyncs);
        buildDatabase();
        fs::copy(DATA_DIR, "Pristine", fs::copy_options::recursive);
        return std::string("Pristine");
    }();
    return copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    InScratchDirectory inScratch;
    const std::string& saved = pristine();
    resetDatabase();
    std::error_code ignored;
    fs::remove_all(DATA_DIR, ignored);
    fs::copy(saved, DATA_DIR, fs::copy_options::recursive);

    const auto table = static_cast<dependency>(data[0] % D_ENDTAG);
    const std::string file = std::string(tablePath(table)) + (data[0] / D_ENDTAG % 2 == 0 ? ".dat" : "0.dat");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);  // below the scratch directory
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }

    if (loadDatabase(D_ENDTAG) == LOAD_FATAL || !noDanglingReference()) {
        abort();
    }
    resetDatabase();
    if (loadDatabase(D_ENDTAG) != LOAD_DONE || !noDanglingReference()) {
        abort();
    }
    resetDatabase();
    return 0;
}
