// The database side of the first-hour journey test, run in the program's data directory:
//   journey_data state      what is stored, one record a line (below); the test compares lines
//   journey_data yesterday  moves the day stamp back by one day, as if the program had last
//                           started yesterday, so that the next start rolls the due days over
//
// Lines of "state" (names joined by blanks, "-" for none):
//   language <name> <layout> articles <...> persons <...> tenses <...>
//   pattern <description> <rule of each person and tense, person by person>
//   word <language> <text> article <article> pattern <description> categories <...>
//   card <word> known <...> primary <level>/<due> inverted <level>/<due>
//   level <number> breakdays <days>
// Reading changes nothing, so the test can look while the program runs.

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "model/Category.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/Language.h"
#include "model/Level.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "practice/dayTester.h"
#include "resources/frameworkFileManager.h"

namespace {

std::string utf8Of(const wchar_t* text) { return text == nullptr || *text == L'\0' ? "-" : utf8::encode(text); }

std::string joined(const std::vector<std::string>& parts) {
    std::string line;
    for (const std::string& part : parts) {
        line += " " + part;
    }
    return line.empty() ? " -" : line;
}

template <typename Record>
std::string grammarOf(unsigned languageId) {
    std::vector<std::string> texts;
    for (auto it = Record::begin(); it != Record::end(); ++it) {
        if (it->getDependency(D_LANGUAGE) == languageId) {
            texts.push_back(utf8Of(it->get_text()));
        }
    }
    return joined(texts);
}

void printLanguages() {
    for (auto it = Language::begin(); it != Language::end(); ++it) {
        const unsigned id = it->getId();
        std::printf("language %s %s articles%s persons%s tenses%s\n", utf8Of(it->get_name()).c_str(),
                    it->get_keyboardLocalID(), grammarOf<Article>(id).c_str(), grammarOf<Person>(id).c_str(),
                    grammarOf<Tense>(id).c_str());
    }
}

void printPatterns() {
    for (auto it = VerbPattern::begin(); it != VerbPattern::end(); ++it) {
        std::vector<std::string> rules;
        for (unsigned y = 0; y < it->get_persons(); ++y) {
            for (unsigned x = 0; x < it->get_tenses(); ++x) {
                rules.push_back(utf8Of(it->get_content(x, y)));
            }
        }
        std::printf("pattern %s%s\n", utf8Of(it->get_description()).c_str(), joined(rules).c_str());
    }
}

std::string articleOf(const Word& word) {
    const Article* article = Article::getById(word.getDependency(D_ARTICLE));
    return article == nullptr ? "-" : utf8Of(article->get_text());
}

std::string patternOf(const Word& word) {
    const VerbPattern* pattern = VerbPattern::getById(word.getDependency(D_VERBPATTERN));
    return pattern == nullptr ? "-" : utf8Of(pattern->get_description());
}

void printWords() {
    for (auto it = Word::begin(); it != Word::end(); ++it) {
        const Language* language = Language::getById(it->getDependency(D_LANGUAGE));
        const std::wstring categories = it->categoriesText();
        std::printf("word %s %s article %s pattern %s categories %s\n",
                    language == nullptr ? "-" : utf8Of(language->get_name()).c_str(), utf8Of(it->get_text()).c_str(),
                    articleOf(**it).c_str(), patternOf(**it).c_str(), utf8Of(categories.c_str()).c_str());
    }
}

void printCards() {
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        const Word* foreign = Word::getById(it->getDependency(D_WORD));
        std::vector<std::string> known;
        OrnQL_Base::RelationTree& words = it->fTR(D_WORD);
        for (auto word = Word::begin(words); word != Word::end(words); ++word) {
            known.push_back(utf8Of(word->get_text()));
        }
        std::printf("card %s known%s primary %u/%d inverted %u/%d\n",
                    foreign == nullptr ? "-" : utf8Of(foreign->get_text()).c_str(), joined(known).c_str(),
                    it->get_primaryLevel(), it->get_primaryNextDue(), it->get_invertedLevel(),
                    it->get_invertedNextDue());
    }
}

void printLevels() {
    for (auto it = Level::begin(); it != Level::end(); ++it) {
        std::printf("level %u breakdays %u\n", it->get_level(), it->get_breakDays());
    }
}

int printState() {
    printLanguages();
    printPatterns();
    printWords();
    printCards();
    printLevels();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: journey_data state | yesterday\n");
        return 2;
    }
    if (std::strcmp(argv[1], "yesterday") == 0) {
        writeTimestamp(static_cast<std::int32_t>(std::time(nullptr) - SECONDS_PER_DAY));
        return 0;
    }
    loadDefaults();
    if (std::strcmp(argv[1], "state") != 0 || loadDatabase(D_ENDTAG) == LOAD_FATAL) {
        std::fprintf(stderr, "journey_data: no state to show (%s)\n", argv[1]);
        resetDatabase();
        return 1;
    }
    const int status = printState();
    resetDatabase();
    return status;
}
