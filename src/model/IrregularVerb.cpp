#include "model/IrregularVerb.h"

#include "model/Grammar.h"
#include "model/Word.h"

IrregularVerb::IrregularVerb() : Verb(0, 0) {}

IrregularVerb::IrregularVerb(unsigned tenseCount, unsigned personCount, unsigned wordId)
    : Verb(tenseCount, personCount) {
    setDependency(D_WORD, wordId);
}

void IrregularVerb::setDependency(dependency d, unsigned id) {
    if (d != D_WORD) {
        OrnQL_Template<IrregularVerb>::setDependency(d, id);
        return;
    }
    if (const Word* word = Word::getById(id)) {
        OrnQL_Template<IrregularVerb>::setDependency(D_LANGUAGE, word->getDependency(D_LANGUAGE));
    }
}

void IrregularVerb::load(std::istream& in) {
    loadCounts(in);
    loadCells(in);
}

void IrregularVerb::save(std::ostream& out) {
    saveCounts(out);
    saveCells(out);
}

const void* IrregularVerb::getData(int attribute) {
    switch (attribute) {
    case ATTR_TENSES:
        tempDataLong = static_cast<std::int32_t>(tenses);
        return &tempDataLong;
    case ATTR_PERSONS:
        tempDataLong = static_cast<std::int32_t>(persons);
        return &tempDataLong;
    default:
        return nullptr;
    }
}

IrregularVerb& IrregularVerb::operator=(const IrregularVerb& other) {
    if (this != &other) {
        const Cells copy = other.content;
        reinitialize(other.tenses, other.persons, &copy);
    }
    return *this;
}

bool IrregularVerb::checkOn(unsigned t, unsigned p, const wchar_t* submission, const wchar_t* /*infinitive*/) {
    const wchar_t* form = get_content(t, p);
    return form != nullptr && std::wstring(form) == (submission == nullptr ? L"" : submission);
}

IrregularVerb* IrregularVerb::createAndAdd(unsigned languageId, unsigned wordId) {
    Word* word = Word::getById(wordId);
    if (word == nullptr) {
        throw OrnQLException_Custom("OrnQLException: There is no word with the given id for the irregular verb!");
    }
    const unsigned tenseCount = Tense::getAsTally(1, D_LANGUAGE, languageId);
    const unsigned personCount = Person::getAsTally(1, D_LANGUAGE, languageId);
    auto* verb = new IrregularVerb(tenseCount, personCount, wordId);
    const unsigned verbId = add(verb);  // the table owns the verb from here on
    word->setDependency(D_IRREGULARVERB, verbId);
    word->setDependency(D_VERBPATTERN, 0);
    return verb;
}
