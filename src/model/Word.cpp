#include "model/Word.h"

#include <cwchar>

#include "model/Category.h"
#include "model/DataPaths.h"
#include "model/IrregularVerb.h"

Word::Word(const wchar_t* wordText, const wchar_t* pronunciation, const wchar_t* mnemonicText) {
    set_text(wordText, true);
    set_ipaPronounciation(pronunciation, true);
    set_mnemonic(mnemonicText, true);
}

Word::~Word() {
    if (indexed) {
        index().erase(id);
    }
    if (deletionFlag) {
        deleteImageFile(MNEMONIC_IMAGE_DIR);
    }
}

WordIndex& Word::index() {
    static WordIndex* words = new WordIndex;  // lives for the whole run, as the table does
    return *words;
}

void Word::updateIndex() {
    if (indexed) {
        index().insert(id, getDependency(D_LANGUAGE), text);
    }
}

const unsigned& Word::add(Word* word) {
    const unsigned& newId = OrnQL_Template<Word>::add(word);
    word->indexed = true;
    word->updateIndex();
    return newId;
}

void Word::setDependency(dependency d, unsigned dependencyId) {
    OrnQL_Template<Word>::setDependency(d, dependencyId);
    if (d == D_LANGUAGE) {
        updateIndex();
    }
}

// Words the loader put in the table are not in the index yet; every other way in and out keeps
// the counts equal (a word leaves the index only through its destructor).
const WordIndex& Word::textIndex() {
    WordIndex& words = index();
    if (words.size() != elementTree().size()) {
        words.clear();
        std::size_t characters = 0;
        for (DATAITERATOR it = begin(); it != end(); ++it) {
            characters += it->text.size();
        }
        words.reserve(elementTree().size(), characters);
        for (DATAITERATOR it = begin(); it != end(); ++it) {
            it->indexed = true;
            it->updateIndex();
        }
    }
    return words;
}

bool Word::deleteWithIrregularVerb(unsigned id) {
    const Word* word = getById(id);
    if (word == nullptr) {
        return false;
    }
    const unsigned irregularVerbId = word->getDependency(D_IRREGULARVERB);
    deleteEntry(id);
    if (IrregularVerb::getById(irregularVerbId) != nullptr) {
        IrregularVerb::deleteEntry(irregularVerbId);
    }
    return true;
}

void Word::load(std::istream& in) {
    loadText(text, in);
    loadText(ipaPronounciation, in);
    loadText(mnemonic, in);
    updateIndex();
}

void Word::save(std::ostream& out) {
    saveText(text, out);
    saveText(ipaPronounciation, out);
    saveText(mnemonic, out);
}

const void* Word::getData(int attribute) {
    switch (attribute) {
    case ATTR_TEXT:
        return text.c_str();
    case ATTR_IPAPRONOUNCIATION:
        return ipaPronounciation.c_str();
    case ATTR_MNEMONIC:
        return mnemonic.c_str();
    default:
        return nullptr;
    }
}

Word& Word::operator=(const Word& other) {
    text = other.text;
    ipaPronounciation = other.ipaPronounciation;
    mnemonic = other.mnemonic;
    updateIndex();
    return *this;
}

namespace {

void assign(std::wstring& field, const wchar_t* value) {
    field = value == nullptr ? L"" : value;
}

}  // namespace

void Word::set_text(const wchar_t* value, bool save) {
    assign(text, value);
    updateIndex();
    if (save) {
        saveRequest();
    }
}

void Word::set_ipaPronounciation(const wchar_t* value, bool save) {
    assign(ipaPronounciation, value);
    if (save) {
        saveRequest();
    }
}

void Word::set_mnemonic(const wchar_t* value, bool save) {
    assign(mnemonic, value);
    if (save) {
        saveRequest();
    }
}

int Word::type(const wchar_t* attribute, int* id) {
    struct Entry {
        const wchar_t* name;
        Attribute id;
    };
    static const Entry entries[] = {
        {L"TEXT", ATTR_TEXT}, {L"IPAPRONOUNCIATION", ATTR_IPAPRONOUNCIATION}, {L"MNEMONIC", ATTR_MNEMONIC}};
    for (const Entry& entry : entries) {
        if (std::wcscmp(attribute, entry.name) == 0) {
            *id = entry.id;
            return QUERY_UNICODE;
        }
    }
    return QUERY_INVALID;
}

Word* Word::getWord(unsigned languageId, const wchar_t* wordText) {
    const unsigned found = textIndex().find(languageId, wordText == nullptr ? L"" : wordText);
    return found == 0 ? nullptr : getById(found);
}

bool Word::textInUse(unsigned languageId, std::wstring_view wordText, unsigned exceptId) {
    return textIndex().find(languageId, wordText, exceptId) != 0;
}

const wchar_t* Word::giveCategories() {
    static std::wstring categories;
    const std::wstring text = categoriesText();
    categories.assign(text);  // a copy into the buffer the last result used
    return categories.c_str();
}

std::wstring Word::categoriesText() {
    std::wstring categories;
    RelationTree& reached = sTR(D_CATEGORY);
    bool first = true;
    for (auto it = Category::begin(reached); it != Category::end(reached); ++it) {
        if (!first) {
            categories += L", ";
        }
        categories += (*it)->get_description();
        first = false;
    }
    return categories;
}

namespace {

// Every word that refers to an irregular verb loses that link.
void clearIrregularVerbLinks() {
    for (Word::DATAITERATOR it = Word::begin(); it != Word::end(); ++it) {
        if ((*it)->getDependency(D_IRREGULARVERB) != 0) {
            (*it)->setDependency(D_IRREGULARVERB, 0);
        }
    }
}

}  // namespace

void Word::loadAll(const char* path, dependency d) {
    OrnQL_Template<Word>::loadAll(path, d);
    textIndex();  // takes the loaded words in now rather than at the first lookup
    try {
        IrregularVerb::loadAll(IRREGULARVERB_PATH, d);
    } catch (const InvalidFileException&) {
        clearIrregularVerbLinks();
        throw;
    } catch (const FileDamage&) {
        // A damaged table (an id outside its bound, a duplicate) is handled like a missing one;
        // any other failure passes unchanged.
        clearIrregularVerbLinks();
        throw InvalidFileException(std::string(IRREGULARVERB_PATH) + ".dat", D_IRREGULARVERB);
    }
}

void Word::deleteEntriesWithDependency(dependency d, unsigned id) {
    if (d != D_ARTICLE && d != D_VERBPATTERN && d != D_IRREGULARVERB) {
        OrnQL_Template<Word>::deleteEntriesWithDependency(d, id);
        return;
    }
    if (!hasHeldDependency(d)) {
        return;
    }
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        if ((*it)->getDependency(d) == id) {
            (*it)->setDependency(d, 0);
        }
    }
}
