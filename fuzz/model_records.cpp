// Feeds arbitrary bytes to the loader of one of the record types as its first bound file (the
// first byte chooses the type). Whatever loads must not crash, and what a save writes must read
// back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <type_traits>

#include "FuzzScratch.h"
#include "model/AnswerBlock.h"
#include "model/Category.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"

namespace {

std::string readWhole(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each type loads as the program loads it, except that the words load without the irregular
// verbs that Word::loadAll brings along.
template <typename T>
void loadRecords(const std::string& prefix) {
    if constexpr (std::is_same_v<T, Word>) {
        OrnQL_Template<Word>::loadAll(prefix.c_str(), D_ENDTAG);
    } else {
        T::loadAll(prefix.c_str(), D_ENDTAG);
    }
}

template <typename T>
void loadTable(const std::string& prefix, dependency table) {
    T::resetTable();
    T::setup(table, false);
    try {
        loadRecords<T>(prefix);
    } catch (const OrnQLException&) {
        // damage is reported; the records read before it stay
    } catch (const InvalidFileException&) {
    }
}

// Saves the table afresh (no index: every bound is written) and returns its first bound file.
template <typename T>
std::string saveTable(const std::string& prefix) {
    std::remove((prefix + ".dat").c_str());
    std::remove((prefix + "0.dat").c_str());
    OrnQL_Template<T>::saveAll(prefix.c_str(), D_ENDTAG);
    return readWhole(prefix + "0.dat");
}

template <typename T>
void roundTrip(dependency table, const uint8_t* data, size_t size) {
    const std::string& dir = FuzzScratch::directory();
    FuzzScratch::writeFile("input.dat", reinterpret_cast<const unsigned char*>("\0\0\0\0"), 4);
    FuzzScratch::writeFile("input0.dat", data, size);
    loadTable<T>(dir + "/input", table);
    const std::string first = saveTable<T>(dir + "/copy");
    loadTable<T>(dir + "/copy", table);
    const std::string second = saveTable<T>(dir + "/copy");
    if (first != second) {
        abort();
    }
    T::resetTable();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    switch (data[0] % 12) {
    case 0: roundTrip<Language>(D_LANGUAGE, data + 1, size - 1); break;
    case 1: roundTrip<Article>(D_ARTICLE, data + 1, size - 1); break;
    case 2: roundTrip<Word>(D_WORD, data + 1, size - 1); break;
    case 3: roundTrip<Meaning>(D_MEANING, data + 1, size - 1); break;
    case 4: roundTrip<Category>(D_CATEGORY, data + 1, size - 1); break;
    case 5: roundTrip<VerbPattern>(D_VERBPATTERN, data + 1, size - 1); break;
    case 6: roundTrip<IrregularVerb>(D_IRREGULARVERB, data + 1, size - 1); break;
    case 7: roundTrip<Flashcard>(D_FLASHCARD, data + 1, size - 1); break;
    case 8: roundTrip<Lesson>(D_LESSON, data + 1, size - 1); break;
    case 9: roundTrip<Level>(D_LEVEL, data + 1, size - 1); break;
    case 11: roundTrip<AnswerBlock>(D_ANSWER, data + 1, size - 1); break;
    default: roundTrip<Tense>(D_TENSE, data + 1, size - 1); break;
    }
    return 0;
}
