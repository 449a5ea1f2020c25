#include "exchange/RecordBuilder.h"

#include <algorithm>
#include <cwctype>

#include "model/C_M.h"
#include "model/Category.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/IrregularVerb.h"
#include "model/Lesson.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/Word.h"

namespace exchange {

namespace {

// A new meaning's niveau, as the meaning editor starts it.
constexpr int NEW_MEANING_NIVEAU = Meaning::LOWEST_NIVEAU;

bool startsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    if (prefix.empty() || text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(text[i])) != std::towlower(static_cast<wint_t>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// Files often give a form with its pronoun ("du schwimmst"); the verb table's row names the
// person already, so the cell holds the form alone. A person text "er/sie/es" stands for each of
// its parts.
std::wstring withoutPronoun(const std::wstring& form, const std::wstring& person) {
    std::size_t start = 0;
    while (start <= person.size()) {
        const std::size_t slash = std::min(person.find(L'/', start), person.size());
        const std::wstring pronoun = person.substr(start, slash - start) + L" ";
        if (pronoun.size() > 1 && form.size() > pronoun.size() && startsWithIgnoringCase(form, pronoun)) {
            return form.substr(pronoun.size());
        }
        start = slash + 1;
    }
    return form;
}

}  // namespace

RecordBuilder::RecordBuilder(const ImportOptions& options, LanguageTarget& foreign, LanguageTarget& known,
                             ImportUndo& undo)
    : options_(options), foreign_(foreign), known_(known), undo_(undo) {}

// The cards are collected only when a row names a word that exists: a list of new words (the
// usual import) never walks the whole card table, which a large collection makes the costliest
// part of a preview.
void RecordBuilder::collectCards() {
    if (cardsCollected_) {
        return;
    }
    cardsCollected_ = true;
    cardOfWord_.reserve(Flashcard::elementTree().size());
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        cardOfWord_.emplace(it->getDependency(D_WORD), it->getId());  // a word's first card, as before
    }
}

const unsigned* RecordBuilder::cardOf(const Word& word) {
    collectCards();
    const auto found = cardOfWord_.find(word.getId());
    return found == cardOfWord_.end() ? nullptr : &found->second;
}

void RecordBuilder::collectNames() {
    if (namesCollected_) {
        return;
    }
    namesCollected_ = true;
    for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
        lessons_.emplace(it->get_title(), it->getId());
    }
    for (auto it = Category::begin(); it != Category::end(); ++it) {
        categories_.emplace(it->get_description(), it->getId());
    }
}

RowFate RecordBuilder::foresee(const PreparedRow& row) {
    const auto [seen, first] = foreseenWords_.emplace(row.foreign, RowFate::New);
    if (!first) {
        return seen->second == RowFate::Skipped ? RowFate::Skipped : RowFate::Merged;
    }
    const Word* found = foreign_.isNew() ? nullptr : Word::getWord(foreign_.id(), row.foreign.c_str());
    if (found != nullptr && cardOf(*found) != nullptr) {
        seen->second = options_.duplicates == DuplicateRule::Update ? RowFate::Updated : RowFate::Skipped;
    }
    return seen->second;
}

unsigned RecordBuilder::add(dependency table, unsigned id) {
    undo_.created(table, id);
    return id;
}

RowFate RecordBuilder::store(const PreparedRow& row) {
    foreign_.make(undo_);
    known_.make(undo_);
    Word* found = Word::getWord(foreign_.id(), row.foreign.c_str());
    const unsigned* card = found == nullptr ? nullptr : cardOf(*found);
    const bool repeated = found != nullptr && storedWords_.contains(found->getId());
    RowFate fate = RowFate::New;
    Flashcard* target = nullptr;
    if (card != nullptr) {
        if (!repeated && options_.duplicates == DuplicateRule::Skip) {
            return RowFate::Skipped;
        }
        fate = repeated ? RowFate::Merged : RowFate::Updated;
        target = Flashcard::getById(*card);
    }
    Word& word = foreignWordFor(row, found);
    writeWordFields(word, row);
    writeConjugations(word, row);
    if (target == nullptr) {
        target = &newCard(word, row);
    } else if (!row.lesson.empty()) {
        undo_.changing(*target);
        target->setDependency(D_LESSON, lessonId(row.lesson));
    }
    std::vector<Word*> known;
    for (const std::wstring& text : row.known) {
        known.push_back(&knownWord(text));
    }
    linkKnownWords(*target, known);
    Meaning& meaning = sharedMeaning(word, known);
    for (const std::wstring& category : row.categories) {
        const unsigned id = categoryId(category);
        if (!meaning.isLinkedTo(D_CATEGORY, id)) {
            add(D_ASSO_C_M, C_M::add(new C_M(id, meaning.getId())));
        }
    }
    storedWords_.insert(word.getId());
    return fate;
}

Word& RecordBuilder::foreignWordFor(const PreparedRow& row, Word* found) {
    if (found != nullptr) {
        undo_.changing(*found);
        return *found;
    }
    auto* word = new Word(row.foreign.c_str(), L"", L"");
    word->setDependency(D_LANGUAGE, foreign_.id());
    add(D_WORD, Word::add(word));
    return *word;
}

void RecordBuilder::writeWordFields(Word& word, const PreparedRow& row) {
    if (!row.pronunciation.empty()) {
        word.set_ipaPronounciation(row.pronunciation.c_str(), true);
    }
    if (!row.mnemonic.empty()) {
        word.set_mnemonic(row.mnemonic.c_str(), true);
    }
    if (!row.article.empty()) {
        word.setDependency(D_ARTICLE, foreign_.articleId(row.article));
    }
}

// The forms go into the cells of the language's tenses and persons; forms of tenses it does not
// have, or of persons beyond its own, are left out. A word without an irregular verb gets one
// (its pattern link goes, as when the editor makes it irregular).
void RecordBuilder::writeConjugations(Word& word, const PreparedRow& row) {
    struct Cell {
        unsigned tense;
        unsigned person;
        std::wstring form;
    };
    std::vector<Cell> cells;
    const PersonLayout& layout = foreign_.layout();
    for (const RowConjugation& conjugation : row.conjugations) {
        const std::optional<unsigned> tense = foreign_.tenseIndex(conjugation.tense);
        for (std::size_t person = 0; tense && person < foreign_.persons() && person < layout.slots.size(); ++person) {
            std::wstring form = layout.formAt(conjugation.forms, person);
            if (person < foreign_.personTexts().size()) {
                form = withoutPronoun(form, foreign_.personTexts()[person]);
            }
            if (!form.empty()) {
                cells.push_back({*tense, static_cast<unsigned>(person), std::move(form)});
            }
        }
    }
    if (cells.empty()) {
        return;
    }
    IrregularVerb* verb = IrregularVerb::getById(word.getDependency(D_IRREGULARVERB));
    if (verb == nullptr) {
        verb = IrregularVerb::createAndAdd(foreign_.id(), word.getId());
        add(D_IRREGULARVERB, verb->getId());
    } else {
        undo_.changing(*verb);
    }
    for (const Cell& cell : cells) {
        verb->addContent(cell.form.c_str(), cell.tense, cell.person);
    }
}

Flashcard& RecordBuilder::newCard(Word& word, const PreparedRow& row) {
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, word.getId());
    card->set_useInverted(options_.useInverted, true);
    card->setDependency(D_LESSON, row.lesson.empty() ? 0 : lessonId(row.lesson));
    const unsigned id = add(D_FLASHCARD, Flashcard::add(card));
    if (cardsCollected_) {
        cardOfWord_[word.getId()] = id;  // uncollected, the collection finds it in the table
    }
    return *card;
}

Word& RecordBuilder::knownWord(const std::wstring& text) {
    if (Word* found = Word::getWord(known_.id(), text.c_str())) {
        return *found;
    }
    auto* word = new Word(text.c_str(), L"", L"");
    word->setDependency(D_LANGUAGE, known_.id());
    add(D_WORD, Word::add(word));
    return *word;
}

void RecordBuilder::linkKnownWords(Flashcard& card, const std::vector<Word*>& known) {
    for (Word* word : known) {
        if (!card.isLinkedTo(D_WORD, word->getId())) {
            add(D_ASSO_F_W, F_W::add(new F_W(card.getId(), word->getId())));
        }
    }
}

Meaning& RecordBuilder::sharedMeaning(Word& foreign, const std::vector<Word*>& known) {
    Meaning* meaning = nullptr;
    for (OrnQL_Base* candidate : foreign.partnersOf(D_MEANING)) {
        for (const Word* word : known) {
            if (meaning == nullptr && word->isLinkedTo(D_MEANING, candidate->getId())) {
                meaning = static_cast<Meaning*>(candidate);
            }
        }
    }
    if (meaning == nullptr) {
        meaning = new Meaning(NEW_MEANING_NIVEAU);
        add(D_MEANING, Meaning::add(meaning));
    }
    link(*meaning, foreign);
    for (Word* word : known) {
        link(*meaning, *word);
    }
    return *meaning;
}

void RecordBuilder::link(Meaning& meaning, Word& word) {
    if (!word.isLinkedTo(D_MEANING, meaning.getId())) {
        add(D_ASSO_M_W, M_W::add(new M_W(meaning.getId(), word.getId())));
    }
}

unsigned RecordBuilder::lessonId(const std::wstring& title) {
    collectNames();
    if (const auto found = lessons_.find(title); found != lessons_.end()) {
        return found->second;
    }
    const unsigned id = add(D_LESSON, Lesson::add(new Lesson(title.c_str(), Lesson::NO_DUE_DATE)));
    lessons_.emplace(title, id);
    return id;
}

unsigned RecordBuilder::categoryId(const std::wstring& description) {
    collectNames();
    if (const auto found = categories_.find(description); found != categories_.end()) {
        return found->second;
    }
    const unsigned id = add(D_CATEGORY, Category::add(new Category(description.c_str())));
    categories_.emplace(description, id);
    return id;
}

}  // namespace exchange
