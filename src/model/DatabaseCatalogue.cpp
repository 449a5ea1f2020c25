#include "model/DatabaseCatalogue.h"

#include <cerrno>
#include <string>

#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "db/OrnQL_TemplateSaveSteps.h"
#include "db/RecordLookup.h"
#include "model/AnswerBlock.h"
#include "model/C_M.h"
#include "model/Category.h"
#include "model/DataPaths.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/LanguageVoice.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"

namespace {

template <typename T>
void setupTable(const CatalogueEntry& entry) {
    T::setup(entry.table, entry.weak);
}

template <typename A>
void setupLinks(const CatalogueEntry& entry) {
    A::setup(entry.table, A::ENFORCE_FROM, A::ENFORCE_TO, entry.weak);
}

template <typename T>
void loadTable(const char* path, dependency d) {
    T::loadAll(path, d);
}

// A table added after the first version of the files: a database made before it has neither its
// index nor any file of it (nor its directory), which is an empty table, not a lost one. An index
// missing beside files of the table is damage as for any other table. The load writes nothing.
template <typename T>
void loadAddedTable(const char* path, dependency d) {
    if ((d == D_ENDTAG || d == T::getOwnEntry()) && !pathExists(table_files::indexName(path)) &&
        table_files::unlistedBoundFile(path, {}).empty()) {
        return;
    }
    T::loadAll(path, d);
}

// Its first save makes its directory (durably: the entry in the directory above is synced) before
// the files are written there.
template <typename T>
void saveAddedTable(const char* path, dependency d) {
    const std::string directory = directoryOf(path);
    if ((d == D_ENDTAG || d == T::getOwnEntry()) && !pathExists(directory)) {
        const std::string parent = directoryOf(directory.substr(0, directory.size() - 1));
        if ((fileSystem().makeDirectory(directory.c_str(), 0777) != 0 && errno != EEXIST) || !syncDirectory(parent)) {
            throw InvalidFileException(path, T::getOwnEntry());
        }
    }
    T::saveAll(path, d);
}

// The irregular verbs are loaded by Word::loadAll, right after the words.
void loadedWithTheWords(const char*, dependency) {}

template <typename T>
void saveTable(const char* path, dependency d) {
    T::saveAll(path, d);
}

template <typename T>
TableSaveSteps saveTableInSteps(const char* path, dependency d) {
    return T::saveAllInSteps(path, d);
}

template <typename T>
bool containsRecord(unsigned id) {
    return T::getById(id) != nullptr;
}

template <typename T>
const AVLtree<OrnQL_Base*>& recordsOf() {
    return T::elementTree();
}

// One walk over the table, looking only at the kinds of reference its records have ever held.
template <typename T>
void collectDangling(std::set<Reference>& missing) {
    std::vector<dependency> held;
    for (int i = 0; i < D_ENDTAG; ++i) {
        if (T::hasHeldDependency(static_cast<dependency>(i))) {
            held.push_back(static_cast<dependency>(i));
        }
    }
    if (held.empty()) {
        return;
    }
    // Every record of the table is checked: one array look-up per reference instead of a walk
    // down the referred table's tree (a card names one of 100,000 words).
    std::vector<RecordLookup> referred;
    referred.reserve(held.size());
    for (dependency table : held) {
        referred.emplace_back(catalogue()[cataloguePosition(table)].records());
    }
    for (typename T::DATAITERATOR it = T::begin(); it != T::end(); ++it) {
        for (std::size_t i = 0; i < held.size(); ++i) {
            const unsigned id = (*it)->getDependency(held[i]);
            if (id != 0 && referred[i].find(id) == nullptr) {
                missing.insert(Reference{held[i], id});
            }
        }
    }
}

template <typename T>
std::vector<unsigned> markedBounds() {
    std::vector<unsigned> bounds;
    for (auto it = T::requestTree().begin(); it != T::requestTree().end(); ++it) {
        bounds.push_back(*it);
    }
    return bounds;
}

// The history flags the answers of deleted cards only when asked: a repair that deleted cards
// must see those blocks marked before it backs up what it will rewrite.
template <>
std::vector<unsigned> markedBounds<AnswerBlock>() {
    AnswerBlock::settleCardDeletions();
    std::vector<unsigned> bounds;
    for (auto it = AnswerBlock::requestTree().begin(); it != AnswerBlock::requestTree().end(); ++it) {
        bounds.push_back(*it);
    }
    return bounds;
}

// The catalogue row of a plain table and of a link table.
template <typename T>
constexpr CatalogueEntry plainTable(dependency table, const char* path, bool weak,
                                    void (*load)(const char*, dependency) = loadTable<T>,
                                    void (*save)(const char*, dependency) = saveTable<T>,
                                    TableSaveSteps (*saveInSteps)(const char*, dependency) = nullptr) {
    return {table, path, weak, setupTable<T>, load, save, containsRecord<T>, recordsOf<T>,
            collectDangling<T>, markedBounds<T>, saveInSteps};
}

// The row of a table added after the first version of the files.
template <typename T>
constexpr CatalogueEntry addedTable(dependency table, const char* path, bool weak) {
    return {table, path, weak, setupTable<T>, loadAddedTable<T>, saveAddedTable<T>, containsRecord<T>, recordsOf<T>,
            collectDangling<T>, markedBounds<T>, nullptr};
}

template <typename A>
constexpr CatalogueEntry linkTable(dependency table, const char* path) {
    return {table, path, true, setupLinks<A>, loadTable<A>, saveTable<A>, containsRecord<A>, recordsOf<A>,
            nullptr, markedBounds<A>, saveTableInSteps<A>};
}

const std::array<CatalogueEntry, D_ENDTAG> entries = {{
    plainTable<Language>(D_LANGUAGE, LANGUAGE_PATH, false),
    plainTable<Lesson>(D_LESSON, LESSON_PATH, true),
    plainTable<Level>(D_LEVEL, LEVEL_PATH, true),
    plainTable<Category>(D_CATEGORY, CATEGORY_PATH, false),
    plainTable<Person>(D_PERSON, PERSON_PATH, true),
    plainTable<Tense>(D_TENSE, TENSE_PATH, true),
    plainTable<Article>(D_ARTICLE, ARTICLE_PATH, true),
    plainTable<VerbPattern>(D_VERBPATTERN, VERBPATTERN_PATH, true),
    plainTable<Word>(D_WORD, WORD_PATH, false, loadTable<Word>, saveTable<Word>, saveTableInSteps<Word>),
    plainTable<IrregularVerb>(D_IRREGULARVERB, IRREGULARVERB_PATH, true, loadedWithTheWords),
    plainTable<Flashcard>(D_FLASHCARD, FLASHCARD_PATH, false, loadTable<Flashcard>, saveTable<Flashcard>,
                          saveTableInSteps<Flashcard>),
    linkTable<F_W>(D_ASSO_F_W, F_W_PATH),
    plainTable<Meaning>(D_MEANING, MEANING_PATH, false, loadTable<Meaning>, saveTable<Meaning>,
                        saveTableInSteps<Meaning>),
    linkTable<M_W>(D_ASSO_M_W, M_W_PATH),
    linkTable<C_M>(D_ASSO_C_M, C_M_PATH),
    addedTable<LanguageVoice>(D_VOICE, VOICE_PATH, true),
    // Last: a reset of any table before it resets the history too, and nothing depends on it.
    plainTable<AnswerBlock>(D_ANSWER, ANSWER_PATH, true, AnswerBlock::loadHistory, AnswerBlock::saveHistory),
}};

}  // namespace

const std::array<CatalogueEntry, D_ENDTAG>& catalogue() {
    return entries;
}

std::size_t cataloguePosition(dependency d) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].table == d) {
            return i;
        }
    }
    return D_ENDTAG;
}

bool recordExists(dependency table, unsigned id) {
    const std::size_t position = cataloguePosition(table);
    return position < D_ENDTAG && entries[position].contains(id);
}
