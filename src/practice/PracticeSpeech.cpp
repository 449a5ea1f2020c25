#include "practice/PracticeSpeech.h"

#include <string>

#include "gui/GuiCheckBox.h"
#include "gui/State.h"
#include "model/Grammar.h"
#include "model/InterfaceText.h"
#include "model/Word.h"
#include "platform/Platform.h"
#include "practice/CardFacts.h"
#include "practice/PracticePages.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "resources/ProgramSettings.h"
#include "resources/SecondStrings.h"
#include "states/SpeechControl.h"

namespace {

namespace page = practicepage;

// The pages a judged answer is shown on, where the button has room beside the word.
constexpr long JUDGED_PAGES = page::RESULTS | page::ARTICLE_RESULT | page::OVERVIEW;

// The foreign word of the card shown, with its article.
SpokenWord judgedWord() {
    if (practiceRun.pQ == nullptr) {
        return {};
    }
    const Word* word = foreignWord(*practiceRun.pQ);
    if (word == nullptr) {
        return {};
    }
    const Article* article = Article::getById(word->getDependency(D_ARTICLE));
    return {langId(*practiceRun.pQ), withArticle(article != nullptr ? article->get_text() : L"", word->get_text())};
}

constexpr SpeakerSource judgedWordSpeaker{judgedWord};

void speakAfterJudgingFlip(bool on) {
    if (on == programSettings().speakAfterJudging) {
        return;  // the box telling its first state
    }
    if (!setSpeakAfterJudging(on)) {
        // Holds for this run; the user learns that it will not be remembered.
        platform::current().messageBox(interfaceText(String_ERROR_SAVE_DB), interfaceText(String_INFORMATION),
                                       platform::MessageIcon::Error, platform::MessageButtons::Ok);
    }
}

}  // namespace

void addPracticeSpeech(State* state) {
    // The status line goes under the hint picture: the hint text sits right under the button.
    practiceScreen.speaker = addSpeakerButton(state, {226, 160, 226, 360}, 0, &judgedWordSpeaker);
    auto* box = addElementToState(state, new GuiCheckBox(interfaceText2(String2_SPEAK_AFTER_JUDGING), 750, 405, 400,
                                                         36, programSettings().speakAfterJudging,
                                                         speakAfterJudgingFlip));
    box->setConditions(page::START);
}

void answerJudged() {
    const SpokenWord word = judgedWord();
    showSpeakerFor(practiceScreen.speaker, word.languageId, JUDGED_PAGES);
    if (programSettings().speakAfterJudging) {
        speakWord(word);
    }
}
