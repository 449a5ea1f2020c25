// What keeping the verb tables in step costs when a language's tense list is written back: one
// tense added and removed again over the irregular verbs and patterns of a language, by the
// language editor's refill (which matches columns by record), against appending and deleting
// the column on every verb directly (the least any way of keeping them in step must do).

#include <string>

#include <benchmark/benchmark.h>

#include "db/OrnQL_Custom.h"
#include "gui/GuiItemfield.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "screens/GrammarRefill.h"

namespace {

constexpr unsigned TENSES = 6;
constexpr unsigned PERSONS = 6;

struct Vocabulary {
    unsigned language = 0;
    GuiItemfield list{0, 0, 300, 300};

    explicit Vocabulary(int verbs) {
        Language::setup(D_LANGUAGE, false);
        Person::setup(D_PERSON, true);
        Tense::setup(D_TENSE, true);
        VerbPattern::setup(D_VERBPATTERN, true);
        Word::setup(D_WORD, false);
        IrregularVerb::setup(D_IRREGULARVERB, true);
        auto* german = new Language();
        german->set_name(L"German", true);
        language = Language::add(german);
        for (unsigned i = 0; i < PERSONS; ++i) {
            Person::add(new Person(L"person", language));
        }
        for (unsigned i = 0; i < TENSES; ++i) {
            Tense::add(new Tense(L"tense", language));
        }
        for (int i = 0; i < verbs; ++i) {
            auto* word = new Word(L"verb", L"", L"");
            word->setDependency(D_LANGUAGE, language);
            IrregularVerb::createAndAdd(language, Word::add(word));
        }
        for (int i = 0; i < verbs / 10; ++i) {
            VerbPattern::add(new VerbPattern(TENSES, PERSONS, language, 0));
        }
        populate<Tense>(list, language);
    }
    ~Vocabulary() { resetDatabaseTables(); }
};

void BM_RefillAddsAndRemovesATense(benchmark::State& state) {
    Vocabulary vocabulary(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        vocabulary.list.addItem(L"new tense");
        refill<Tense>(vocabulary.list, vocabulary.language);
        vocabulary.list.deleteLastItem();
        refill<Tense>(vocabulary.list, vocabulary.language);
    }
}

template <typename V>
void appendAndDeleteColumn() {
    for (auto it = V::begin(); it != V::end(); ++it) {
        it->addTense();
    }
    for (auto it = V::begin(); it != V::end(); ++it) {
        it->deleteTense(TENSES);
    }
}

void BM_AppendAndDeleteAColumnOnEveryVerb(benchmark::State& state) {
    Vocabulary vocabulary(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        appendAndDeleteColumn<IrregularVerb>();
        appendAndDeleteColumn<VerbPattern>();
    }
}

}  // namespace

BENCHMARK(BM_AppendAndDeleteAColumnOnEveryVerb)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefillAddsAndRemovesATense)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
