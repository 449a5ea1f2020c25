// The database side of the flashcard end-to-end test, run in the program's working directory:
//   flashcard_data seed              German (with articles, persons and tenses) and English, the
//                                    English word "house" with a meaning, and a lesson
//   flashcard_data words <language>  the texts of the language's words stored on disk, one a line
//   flashcard_data cards             each stored card: its line, its known words, its foreign
//                                    word's article and irregular forms (person by person)
// It only reads what the program wrote (nothing is removed or repaired), so the test can watch
// the disk while the program runs and after it was killed.

#include <cstdio>
#include <cstring>
#include <string>

#include "model/Database.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/M_W.h"
#include "model/Meaning.h"
#include "model/Word.h"
#include "base/Utf8.h"
#include "resources/frameworkFileManager.h"

namespace {

std::string utf8(const wchar_t* text) { return utf8::encode(text); }

unsigned addLanguage(const wchar_t* name, const char* layout) {
    auto* language = new Language();
    language->set_name(name, true);
    language->set_keyboardLocalID(layout);
    return Language::add(language);
}

int seed() {
    const unsigned german = addLanguage(L"German", "00000407");
    const unsigned english = addLanguage(L"English", "00000409");
    for (const wchar_t* article : {L"der", L"die", L"das"}) {
        Article::add(new Article(article, german));
    }
    for (const wchar_t* person : {L"ich", L"du", L"er"}) {
        Person::add(new Person(person, german));
    }
    for (const wchar_t* tense : {L"Praesens", L"Praeteritum"}) {
        Tense::add(new Tense(tense, german));
    }
    auto* house = new Word(L"house", L"", L"");
    house->setDependency(D_LANGUAGE, english);
    const unsigned houseId = Word::add(house);
    M_W::add(new M_W(Meaning::add(new Meaning(2)), houseId));
    Lesson::add(new Lesson(L"Lektion 1", Lesson::NO_DUE_DATE));
    return saveDatabaseExternal(0) == 0 ? 0 : 1;
}

int words(const char* languageName) {
    for (auto language = Language::begin(); language != Language::end(); ++language) {
        if (utf8(language->get_name()) != languageName) {
            continue;
        }
        for (auto word = Word::begin(); word != Word::end(); ++word) {
            if (word->getDependency(D_LANGUAGE) == language->getId()) {
                std::printf("%s\n", utf8(word->get_text()).c_str());
            }
        }
    }
    return 0;
}

std::string formsOf(const IrregularVerb* verb) {
    std::string forms;
    for (unsigned y = 0; verb != nullptr && y < verb->get_persons(); ++y) {
        for (unsigned x = 0; x < verb->get_tenses(); ++x) {
            forms += (forms.empty() ? "" : ",") + utf8(verb->get_content(x, y));
        }
    }
    return forms;
}

int cards() {
    for (auto card = Flashcard::begin(); card != Flashcard::end(); ++card) {
        std::printf("%s:", utf8(card->get_text()).c_str());
        OrnQL_Base::RelationTree& known = card->fTR(D_WORD);
        for (auto word = Word::begin(known); word != Word::end(known); ++word) {
            std::printf(" %s", utf8(word->get_text()).c_str());
        }
        const Word* foreign = Word::getById(card->getDependency(D_WORD));
        const Article* article = foreign == nullptr ? nullptr : Article::getById(foreign->getDependency(D_ARTICLE));
        const IrregularVerb* verb = foreign == nullptr ? nullptr : IrregularVerb::getById(foreign->getDependency(D_IRREGULARVERB));
        std::printf(" | %s | %s\n", article == nullptr ? "" : utf8(article->get_text()).c_str(), formsOf(verb).c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    loadDefaults();
    if (loadDatabase(D_ENDTAG) == LOAD_FATAL) {
        std::fprintf(stderr, "flashcard_data: the database cannot be loaded\n");
        return 1;
    }
    int status = 2;
    if (argc == 2 && std::strcmp(argv[1], "seed") == 0) {
        status = seed();
    } else if (argc == 3 && std::strcmp(argv[1], "words") == 0) {
        status = words(argv[2]);
    } else if (argc == 2 && std::strcmp(argv[1], "cards") == 0) {
        status = cards();
    } else {
        std::fprintf(stderr, "usage: flashcard_data seed | words <language> | cards\n");
    }
    resetDatabase();
    return status;
}
