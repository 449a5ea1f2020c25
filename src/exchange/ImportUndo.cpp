#include "exchange/ImportUndo.h"

#include "model/C_M.h"
#include "model/Category.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/Word.h"

namespace exchange {

namespace {

// A record may already have gone with an earlier deletion's cascade (a meaning left without
// words, a card left without known words).
template <typename T>
void deleteIfPresent(unsigned id) {
    if (T::getById(id) != nullptr) {
        T::deleteEntry(id);
    }
}

void deleteRecord(dependency table, unsigned id) {
    switch (table) {
    case D_LANGUAGE: deleteIfPresent<Language>(id); break;
    case D_ARTICLE: deleteIfPresent<Article>(id); break;
    case D_TENSE: deleteIfPresent<Tense>(id); break;
    case D_PERSON: deleteIfPresent<Person>(id); break;
    case D_WORD: deleteIfPresent<Word>(id); break;
    case D_IRREGULARVERB: deleteIfPresent<IrregularVerb>(id); break;
    case D_MEANING: deleteIfPresent<Meaning>(id); break;
    case D_CATEGORY: deleteIfPresent<Category>(id); break;
    case D_FLASHCARD: deleteIfPresent<Flashcard>(id); break;
    case D_LESSON: deleteIfPresent<Lesson>(id); break;
    case D_ASSO_C_M: deleteIfPresent<C_M>(id); break;
    case D_ASSO_M_W: deleteIfPresent<M_W>(id); break;
    case D_ASSO_F_W: deleteIfPresent<F_W>(id); break;
    default: break;
    }
}

}  // namespace

void ImportUndo::created(dependency table, unsigned id) {
    made_.push_back({table, id});
}

void ImportUndo::changing(const Word& word) {
    if (words_.contains(word.getId())) {
        return;
    }
    words_.emplace(word.getId(), WordFields{word.get_text(), word.get_ipaPronounciation(), word.get_mnemonic(),
                                            word.getDependency(D_ARTICLE), word.getDependency(D_VERBPATTERN),
                                            word.getDependency(D_IRREGULARVERB)});
}

void ImportUndo::changing(const Flashcard& card) {
    if (cards_.contains(card.getId())) {
        return;
    }
    cards_.emplace(card.getId(), CardFields{card.getDependency(D_LESSON), card.get_useInverted()});
}

void ImportUndo::changing(const IrregularVerb& verb) {
    if (verbs_.contains(verb.getId())) {
        return;
    }
    verbs_.emplace(verb.getId(), verb.cells());
}

void ImportUndo::deleteMade() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
        deleteRecord(it->table, it->id);
    }
}

void ImportUndo::restoreChanged() {
    for (const auto& [id, fields] : words_) {
        if (Word* word = Word::getById(id)) {
            word->set_text(fields.text.c_str(), true);
            word->set_ipaPronounciation(fields.pronunciation.c_str(), true);
            word->set_mnemonic(fields.mnemonic.c_str(), true);
            word->setDependency(D_ARTICLE, Article::getById(fields.article) != nullptr ? fields.article : 0);
            word->setDependency(D_VERBPATTERN, fields.pattern);
            word->setDependency(D_IRREGULARVERB,
                                IrregularVerb::getById(fields.irregularVerb) != nullptr ? fields.irregularVerb : 0);
        }
    }
    for (const auto& [id, fields] : cards_) {
        if (Flashcard* card = Flashcard::getById(id)) {
            card->setDependency(D_LESSON, Lesson::getById(fields.lesson) != nullptr ? fields.lesson : 0);
            card->set_useInverted(fields.useInverted, true);
        }
    }
    for (const auto& [id, cells] : verbs_) {
        if (IrregularVerb* verb = IrregularVerb::getById(id)) {
            verb->reinitialize(static_cast<unsigned>(cells.size()),
                               cells.empty() ? 0 : static_cast<unsigned>(cells.front().size()), &cells);
        }
    }
}

void ImportUndo::undo() {
    deleteMade();
    restoreChanged();
    clear();
}

void ImportUndo::clear() {
    made_.clear();
    words_.clear();
    cards_.clear();
    verbs_.clear();
}

}  // namespace exchange
