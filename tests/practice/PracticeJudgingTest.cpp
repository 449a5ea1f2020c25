#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PracticeFixture.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiText.h"
#include "gui/support/BmpBytes.h"
#include "model/DataPaths.h"
#include "practice/AnswerJudging.h"
#include "practice/PracticePages.h"

namespace {

using namespace practicetest;
namespace page = practicepage;

// The judges on their own, with elements made for the test.
class AnswerJudgingTest : public PracticeTest {
protected:
    int judgeTyped(unsigned cardId, const wchar_t* typed, GuiText* solution = nullptr) {
        Practice_container container(Flashcard::getById(cardId), false);
        GuiTextfield field(0, 0, L"", false, 242, 30);
        field.setText(typed);
        return judgeWord(container, field, solution);
    }
    // The answer list as the Add button fills it: each text with the id of the English word of
    // exactly that text, or 0.
    std::unique_ptr<GuiItemfield> answers(const std::vector<std::wstring>& texts) const {
        auto list = std::make_unique<GuiItemfield>(0, 0, 242, 205);
        for (const std::wstring& text : texts) {
            const Word* word = Word::getWord(v.english, text.c_str());
            list->addItem(text.c_str());
            list->setLastId(word == nullptr ? 0 : word->getId());
        }
        return list;
    }
    int judgeList(GuiItemfield& list, GuiItemfield* correction = nullptr) {
        Practice_container container(Flashcard::getById(speakTalk), true);
        return judgeInverted(container, list, correction);
    }
    static bool coloured(const GuiItemfield& list, int position) {
        return list.getEntryColour(position) == colours[INCORRECT_RGB];
    }

    unsigned speakTalk = 0;
};

TEST_F(AnswerJudgingTest, ThePrimaryDirectionComparesExactlyAndGivesMinorForASharedMeaning) {
    const unsigned id = card(v.chien, {v.dog});
    GuiText solution(L"", 0, 0, 242, 30, FONT1, TEXT_CENTRE);
    EXPECT_EQ(judgeTyped(id, L"chien", &solution), ANSWER_CORRECT);
    EXPECT_STREQ(solution.getTextW(), L"chien");
    EXPECT_EQ(judgeTyped(id, L"toutou"), ANSWER_MINOR);
    EXPECT_EQ(judgeTyped(id, L"chat"), ANSWER_WRONG);    // a French word of another meaning
    EXPECT_EQ(judgeTyped(id, L"chiot"), ANSWER_WRONG);   // no French word at all
    EXPECT_EQ(judgeTyped(id, L"Chien"), ANSWER_WRONG);   // case counts
    EXPECT_EQ(judgeTyped(id, L"chien "), ANSWER_WRONG);
    EXPECT_EQ(judgeTyped(id, L"dog"), ANSWER_WRONG);     // the English word is no French one
    EXPECT_EQ(judgeTyped(id, L""), ANSWER_WRONG);
}

TEST_F(AnswerJudgingTest, TheInvertedDirectionWantsEveryKnownWordAndColoursTheOthers) {
    speakTalk = card(v.parler, {v.speak, v.talk});
    EXPECT_EQ(judgeList(*answers({L"talk", L"speak"})), ANSWER_CORRECT);

    auto extra = answers({L"speak", L"house", L"talk", L"spek"});
    EXPECT_EQ(judgeList(*extra), ANSWER_MINOR);
    EXPECT_FALSE(coloured(*extra, 0));
    EXPECT_TRUE(coloured(*extra, 1));
    EXPECT_FALSE(coloured(*extra, 2));
    EXPECT_TRUE(coloured(*extra, 3));

    EXPECT_EQ(judgeList(*answers({L"speak"})), ANSWER_MINOR);
    EXPECT_EQ(judgeList(*answers({L"house"})), ANSWER_WRONG);
    EXPECT_EQ(judgeList(*answers({L"Speak"})), ANSWER_WRONG);

    GuiItemfield solution(0, 0, 242, 205);
    solution.addItem(L"left over");
    EXPECT_EQ(judgeList(*answers({}), &solution), ANSWER_WRONG);
    ASSERT_EQ(solution.getNumberOfCurrentElements(), 2);
    EXPECT_STREQ(solution.getEntry(0), L"speak");
    EXPECT_EQ(solution.getEntryId(1), v.talk);
}

TEST_F(AnswerJudgingTest, OverlappingMeaningsAreFoundInEitherOrder) {
    EXPECT_TRUE(overlappingMeaning(*Word::getById(v.toutou), *Word::getById(v.chien)));
    EXPECT_TRUE(overlappingMeaning(*Word::getById(v.dog), *Word::getById(v.toutou)));
    EXPECT_FALSE(overlappingMeaning(*Word::getById(v.chat), *Word::getById(v.chien)));
    const unsigned lonely = word(v.french, L"seul", 0);
    EXPECT_FALSE(overlappingMeaning(*Word::getById(lonely), *Word::getById(v.chien)));
}

// The judging of whole cards on the screen: word, article and verb table together.
class PracticeJudgingScreenTest : public PracticeTest {
protected:
    static std::wstring verdict() { return practiceScreen.textResultOverview->getTextW(); }
    std::size_t boxes() const { return window->dialogs().messageBoxes().size(); }
};

TEST_F(PracticeJudgingScreenTest, ARightWordWithAWrongArticleIsWrongAndTheArticlePageShowsTheTypedWord) {
    startAt(card(v.chien, {v.dog}), 2);
    type(L"chien");
    pressButton(L"Next");
    EXPECT_STREQ(practiceScreen.textWordArticle->getTextW(), L"chien");
    chooseArticle(L"la");
    pressButton(L"Submit");
    EXPECT_EQ(verdict(), L"Wrong");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::ARTICLE_RESULT);
    EXPECT_STREQ(practiceScreen.textCorrectArticle->getTextW(), L"le");
    const GuiItemfield& articles = practiceScreen.selectionArticle->getItemfield();
    EXPECT_EQ(articles.getEntryColour(articles.getActivePosition()), colours[INCORRECT_RGB]);
    EXPECT_FALSE(practiceScreen.selectionArticle->isEditable());
}

TEST_F(PracticeJudgingScreenTest, AMinorWordWithTheRightArticleAndTableStaysMinor) {
    const unsigned discuter = word(v.french, L"discuter", v.la);
    Word::getById(discuter)->setDependency(D_VERBPATTERN, v.er);
    M_W::add(new M_W(M_W::getByConstrain(true, 1, D_WORD, v.parler)->getDependency(D_MEANING), discuter));
    Word::getById(v.parler)->setDependency(D_ARTICLE, v.la);  // for the test: a verb with an article
    startAt(card(v.parler, {v.speak}), 2);
    type(L"discuter");
    pressButton(L"Next");
    EXPECT_STREQ(practiceScreen.textWordArticle->getTextW(), L"discuter");
    chooseArticle(L"la");
    pressButton(L"Next");
    EXPECT_STREQ(practiceScreen.textWordVerb->getTextW(), L"discuter");
    // The table is judged against the card's own verb.
    for (unsigned x = 0; x < 2; ++x) {
        for (unsigned y = 0; y < 2; ++y) {
            typeIntoVerbCell(x, y, verbForm(*Word::getById(v.parler), x, y));
        }
    }
    pressButton(L"Submit");
    EXPECT_EQ(verdict(), L"Minor");
    EXPECT_EQ(page(), page::RESULT_PRIMARY);
    EXPECT_FALSE(practiceScreen.textfieldFWord->isEditable());
}

TEST_F(PracticeJudgingScreenTest, AWrongCellMakesTheTableWrongAndTheSolutionShowsEveryForm) {
    startAt(card(v.etre, {v.be}), 2);
    type(L"être");
    pressButton(L"Next");
    typeIntoVerbCell(0, 0, L"suis");
    typeIntoVerbCell(0, 1, L"es");
    typeIntoVerbCell(1, 0, L"serai");
    typeIntoVerbCell(1, 1, L"sera");
    pressButton(L"Submit");
    EXPECT_EQ(verdict(), L"Wrong");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::VERB_RESULT);
    const GuiTable& submitted = *practiceScreen.tableVerb;
    EXPECT_EQ(submitted.getContent(2, 2)->getBackgroundColour(), colours[INCORRECT_RGB]);
    EXPECT_EQ(submitted.getContent(1, 2)->getBackgroundColour(), colours[WHITE_RGB]);
    pressButton(L"Next");
    ASSERT_EQ(page(), page::VERB_SOLUTION);
    EXPECT_TRUE(painted(L"seras"));
    EXPECT_TRUE(painted(L"suis"));
}

TEST_F(PracticeJudgingScreenTest, OnAPunishingLevelTheHintTurnsACorrectAnswerIntoAMinorOne) {
    Word::getById(v.maison)->set_ipaPronounciation(L"mɛzɔ̃", true);
    Word::getById(v.maison)->set_mnemonic(L"my son's house", true);
    startAt(card(v.maison, {v.house}), 5);
    repaintAll();
    EXPECT_FALSE(painted(L"my son's house"));
    EXPECT_FALSE(painted(L"mɛzɔ̃"));
    pressButton(L"Hint");
    EXPECT_TRUE(painted(L"my son's house"));
    EXPECT_TRUE(painted(L"mɛzɔ̃"));
    practiceScreen.textfieldFWord->setText(L"maison");
    pressButton(L"Next");
    chooseArticle(L"la");
    pressButton(L"Submit");
    EXPECT_EQ(verdict(), L"Minor");
}

TEST_F(PracticeJudgingScreenTest, OnAHidingLevelTheHintCostsNothingAndOnAShowingLevelItShowsAtOnce) {
    startAt(card(v.chien, {v.dog}), 3);
    pressButton(L"Hint");
    answerHeadCorrectly();
    EXPECT_EQ(verdict(), L"Correct");
    pressButton(L"Exit");

    Word::getById(v.chat)->set_mnemonic(L"a cat", true);
    card(v.chat, {v.cat});
    Flashcard::getById(1)->set_primaryNextDue(5, false);
    pressButton(L"Start");  // the chat card is on level 0, which shows hints
    EXPECT_TRUE(painted(L"a cat"));
}

TEST_F(PracticeJudgingScreenTest, AWrongAnswerForcesRetypingUntilEverythingIsRight) {
    const unsigned id = card(v.chien, {v.dog});
    startAt(id, 2);
    type(L"chat");
    pressButton(L"Next");
    chooseArticle(L"le");
    pressButton(L"Submit");
    pressButton(L"Next");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::OVERVIEW);
    pressButton(L"Continue");
    // Level 0 forces typing: the result pages with the forced pages between them.
    ASSERT_EQ(page(), page::RESULT_PRIMARY);
    pressButton(L"Next");
    ASSERT_EQ(page(), page::FORCED_PRIMARY);
    screenshot("forced-word");
    click(practiceScreen.textfieldForcedFWord->getX() + 5, practiceScreen.textfieldForcedFWord->getY() + 5);
    type(L"toutou");  // a minor error is not enough
    pressButton(L"Next");
    pressButton(L"Next");
    ASSERT_EQ(page(), page::ARTICLE_FORCED);
    EXPECT_STREQ(practiceScreen.textForcedWordArticle->getTextW(), L"chien");
    EXPECT_EQ(practiceScreen.textWordArticle->getConditions() & page::ARTICLE_FORCED, 0);
    pressButton(L"Submit");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(window->dialogs().messageBoxes()[0].text, curStrings[String_FORCED_INCORRECT]);
    EXPECT_EQ(page(), page::ARTICLE_FORCED);
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 0u);  // the wrong answer is stored already
}

TEST_F(PracticeJudgingScreenTest, AFullyCorrectForcedSubmissionSendsTheCardBackIntoTheQueue) {
    startAt(card(v.maison, {v.house}), 1);
    type(L"chien");
    pressButton(L"Next");
    pressButton(L"Submit");
    pressButton(L"Next");
    pressButton(L"Next");
    pressButton(L"Continue");
    pressButton(L"Next");
    click(practiceScreen.textfieldForcedFWord->getX() + 5, practiceScreen.textfieldForcedFWord->getY() + 5);
    type(L"maison");
    pressButton(L"Next");
    pressButton(L"Next");
    chooseArticle(L"la");
    pressButton(L"Submit");
    EXPECT_EQ(boxes(), 0u);
    EXPECT_EQ(page(), page::QUESTION_PRIMARY);  // the card, asked again
    EXPECT_EQ(typedForeignWord(), L"");
    EXPECT_TRUE(practiceScreen.textfieldFWord->isEditable());
}

TEST_F(PracticeJudgingScreenTest, TheFinalLevelStaysForAYearAndSaysSo) {
    const unsigned id = card(v.chat, {v.cat});
    startAt(id, 6);
    answerHeadCorrectly();
    pressButton(L"Continue");
    ASSERT_EQ(boxes(), 1u);
    const platform::MessageBoxRequest& box = window->dialogs().messageBoxes()[0];
    EXPECT_EQ(box.text, curStrings[String_FLASHCARD_FINAL_LEVEL]);
    EXPECT_EQ(box.caption, L"Information");
    EXPECT_EQ(box.icon, platform::MessageIcon::Warning);
    EXPECT_EQ(page(), page::ALL_DONE);
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(id)->get_primaryLevel(), 6u);
    EXPECT_EQ(Flashcard::getById(id)->get_primaryNextDue(), 365);
}

TEST_F(PracticeJudgingScreenTest, InTheInvertedDirectionTheLearnerAddsAndRemovesKnownWords) {
    const unsigned id = card(v.parler, {v.speak, v.talk}, true);
    Flashcard::getById(id)->set_primaryNextDue(2, false);
    startAt(id, 0);
    ASSERT_EQ(page(), page::QUESTION_INVERTED);
    EXPECT_STREQ(practiceScreen.textGivenFWord->getTextW(), L"parler");
    addKnown(L"speak");
    addKnown(L"spek");
    addKnown(L"");  // nothing typed, nothing added
    const GuiItemfield& list = *practiceScreen.itemfieldKWord;
    ASSERT_EQ(list.getNumberOfCurrentElements(), 2);
    EXPECT_EQ(list.getEntryId(0), v.speak);
    EXPECT_EQ(list.getEntryId(1), 0u);
    pressButton(L"Remove »");  // the active entry, the first
    addKnown(L"talk");
    screenshot("inverted-question");
    pressButton(L"Next");
    for (unsigned x = 0; x < 2; ++x) {
        for (unsigned y = 0; y < 2; ++y) {
            typeIntoVerbCell(x, y, verbForm(*Word::getById(v.parler), x, y));
        }
    }
    pressButton(L"Submit");
    EXPECT_EQ(verdict(), L"Minor");  // "spek" is no word of the card
    EXPECT_EQ(page(), page::RESULT_INVERTED);
    EXPECT_EQ(practiceScreen.itemfieldSolutionKWord->getNumberOfCurrentElements(), 2);
    screenshot("inverted-result");
}

TEST_F(PracticeJudgingScreenTest, ACardWithoutKnownWordsIsAskedForItsArticleAlone) {
    const unsigned id = card(v.chien, {});
    startAt(id, 0);
    ASSERT_EQ(page(), page::ARTICLE_QUESTION);
    EXPECT_STREQ(practiceScreen.textWordArticle->getTextW(), L"chien");
    EXPECT_EQ(practiceScreen.buttonSubmit->getConditions(), page::ARTICLE_QUESTION);
    pressButton(L"Submit");  // "le", the first article, is chosen
    EXPECT_EQ(verdict(), L"Correct");
    EXPECT_EQ(page(), page::ARTICLE_RESULT);
    pressButton(L"Next");
    pressButton(L"Continue");
    EXPECT_EQ(page(), page::ALL_DONE);
}

TEST_F(PracticeJudgingScreenTest, TheKeyboardFollowsTheSideTheLearnerTypesOn) {
    Language::getById(v.english)->set_keyboardLocalID("00000809");
    const std::string keyboardPicture = std::string(KEYBOARD_IMAGE_DIR) + std::to_string(v.french) + ".bmp";
    std::filesystem::create_directories(KEYBOARD_IMAGE_DIR);
    mernolex::test::writeBytes(keyboardPicture, mernolex::test::bmp24(4, 2, [](int, int) { return 0x0000FFu; }));
    startAt(card(v.chien, {v.dog}), 0);
    platform::KeyboardLayouts& layouts = window->keyboardLayouts();
    // The primary question starts in the foreign-word field.
    EXPECT_EQ(layouts.activeLayout(), "0000040C");
    ASSERT_NE(practiceScreen.bitmapKeybrd->getPath(), nullptr);
    EXPECT_EQ(practiceScreen.bitmapKeybrd->getPath(), keyboardPicture);
    // Another element of the foreign side changes nothing: that language was activated last.
    setKL("00000407");
    pressButton(L"Hint");
    EXPECT_EQ(layouts.activeLayout(), "00000407");
    // The known side, then the foreign side again.
    click(practiceScreen.itemfieldKWord->getX() + 5, practiceScreen.itemfieldKWord->getY() + 5);
    EXPECT_EQ(layouts.activeLayout(), "00000809");
    EXPECT_EQ(practiceScreen.bitmapKeybrd->getPath(), nullptr);  // English has no keyboard picture
    click(practiceScreen.textfieldFWord->getX() + 5, practiceScreen.textfieldFWord->getY() + 5);
    EXPECT_EQ(layouts.activeLayout(), "0000040C");
}

}  // namespace
