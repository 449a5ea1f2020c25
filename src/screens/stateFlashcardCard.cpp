// The flashcard editor's fields of the card itself: the levels of a stored card, the lesson,
// the hint picture, and loading a stored card into the editor.

#include <algorithm>
#include <string>
#include <vector>

#include "db/OrnQL_Extra.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiLanguageSwitch.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/DataPaths.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/Lesson.h"
#include "model/Level.h"
#include "model/Meaning.h"
#include "model/Word.h"
#include "screens/EditorFocus.h"
#include "screens/stateFlashcard.h"
#include "screens/stateFlashcardScreen.h"
#include "shell/framework.h"
#include "states/ImageOpener.h"

namespace flashcard_editor {

namespace {

// Where the hint picture is shown.
constexpr int HINT_X = 215;
constexpr int HINT_Y = 445;
constexpr int HINT_WIDTH = 150;
constexpr int HINT_HEIGHT = 110;

// An empty first entry (id 0), then every level by number, each with its number as id.
void fillLevelSelection(GuiSelectionfield& field) {
    std::vector<Level*> levels;
    for (auto it = Level::begin(); it != Level::end(); ++it) {
        levels.push_back(*it);
    }
    std::stable_sort(levels.begin(), levels.end(),
                     [](const Level* a, const Level* b) { return a->get_level() < b->get_level(); });
    field.clearField();
    field.addItem(L"");
    field.setLastId(0);
    for (Level* level : levels) {
        field.addItem(level->get_description());
        field.setLastId(level->get_level());
    }
}

// Level 0 has id 0 like the empty entry: the levels are looked for after it.
void showLevel(GuiSelectionfield& field, unsigned number) {
    const GuiItemfield& items = field.getItemfield();
    for (int position = 1; position < items.getNumberOfCurrentElements(); ++position) {
        if (items.getEntryId(position) == number) {
            field.setActivePosition(position);
            return;
        }
    }
}

// The card's known words in the order they were linked.
std::vector<Word*> knownWordsOf(const Flashcard& card) {
    std::vector<Word*> words;
    for (auto it = F_W::begin(); it != F_W::end(); ++it) {
        if (it->getDependency(D_FLASHCARD) == card.getId()) {
            if (Word* word = Word::getById(it->getDependency(D_WORD))) {
                words.push_back(word);
            }
        }
    }
    return words;
}

void setMeaningsUsed(Word& word, bool used) {
    OrnQL_Base::RelationTree& meanings = word.fTR(D_MEANING);
    for (auto it = Meaning::begin(meanings); it != Meaning::end(meanings); ++it) {
        it->set_usedForFlashcard(used);
    }
}

// Only the meanings the foreign word shares with its known words start in Use.
void loadKnownWords(const Flashcard& card, Word& foreignWord) {
    const std::vector<Word*> known = knownWordsOf(card);
    if (!known.empty()) {
        screen.selectionKnownLanguage->setActiveToId(known.front()->getDependency(D_LANGUAGE));
        changeKnownLanguage();
    }
    for (Word* word : known) {
        addKnownWord(*word, false);
        setMeaningsUsed(*word, false);
    }
    setMeaningsUsed(foreignWord, true);
}

// Shows the picture at `path` as the hint picture; false (and the picture shown before stays)
// when it is no picture.
bool showHintPicture(const char* path) {
    GuiBitmap* picture = path == nullptr ? nullptr : createGuiBitmap(HINT_X, HINT_Y, HINT_WIDTH, HINT_HEIGHT, path);
    if (picture == nullptr) {
        return false;
    }
    releaseElementFromState(screen.state, TAG_FLASHCARD_HINT_PICTURE);
    picture->setConditions(CARD_PAGES);
    picture->setTag(TAG_FLASHCARD_HINT_PICTURE);
    addElementToState(screen.state, picture);
    // Pictures are drawn only in intense paints.
    framewRepaint();
    return true;
}

// The foreign language of a stored card cannot change: its name stands in place of the selection.
void fixForeignLanguage(unsigned languageId) {
    screen.selectionForeignLanguage->setActiveToId(languageId);
    changeForeignLanguage();
    screen.selectionForeignLanguage->setConAndRepaint(HIDDEN);
    screen.textForeignLanguage->setText(languageName(languageId));
    screen.textForeignLanguage->resetConditions(CARD_PAGES);
}

void loadForeignWord(Word& word) {
    screen.textfieldWord->setText(word.get_text());
    screen.textfieldPronunciation->setText(word.get_ipaPronounciation());
    screen.textfieldHint->setText(word.get_mnemonic());
    const bool irregular = irregularVerbOf(&word) != nullptr;
    screen.toggleVerb->setRightOn(!irregular);
    if (!irregular) {
        screen.selectionVerbPattern->setActiveToId(word.getDependency(D_VERBPATTERN));
    }
    screen.selectionArticle->setActiveToId(word.getDependency(D_ARTICLE));
    showHintPicture(createPathById(word.getId(), MNEMONIC_IMAGE_DIR));
}

}  // namespace

void changeCheckInverted(bool checked) {
    if (screen.selectionLevelInverted != nullptr && screen.openedForCard) {
        screen.selectionLevelInverted->setConAndRepaint(checked ? CARD_PAGES : HIDDEN);
    }
}

void setupLevels() {
    fillLevelSelection(*screen.selectionLevel);
    fillLevelSelection(*screen.selectionLevelInverted);
    if (!screen.openedForCard) {
        screen.textLevel->resetConditions(HIDDEN);
        screen.selectionLevel->setConAndRepaint(HIDDEN);
        screen.selectionLevelInverted->setConAndRepaint(HIDDEN);
    }
}

// "n/a", then every lesson in table order. The lesson chosen before stays chosen while it exists.
void refreshLessons() {
    GuiSelectionfield& lessons = *screen.selectionLesson;
    const unsigned chosen = lessons.getActiveId();
    lessons.clearField();
    lessons.addItem(interfaceText(String_N_A));
    lessons.setLastId(0);
    for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
        lessons.addItem(it->get_title());
        lessons.setLastId(it->getId());
    }
    lessons.setActiveToId(chosen);
    activateLanguage(GuiLanguageSwitch::FOREIGN);
}

void addHintPictureButton() {
    const char* shown = screen.textHintPicturePath->getTextA();
    const std::string previous = shown == nullptr ? std::string() : std::string(shown);
    const GuiText* chosen = imageOpener(TAG_HINT_PICT_PATH);
    if (chosen != nullptr && !showHintPicture(chosen->getTextA())) {
        // Not a picture: what was chosen before stays.
        screen.textHintPicturePath->setText(previous.c_str());
    }
}

void loadEditedCard() {
    Flashcard* card = editedCard();
    Word* foreignWord = card == nullptr ? nullptr : Word::getById(card->getDependency(D_WORD));
    if (foreignWord == nullptr) {
        return;
    }
    loadKnownWords(*card, *foreignWord);
    screen.selectionLesson->setActiveToId(card->getDependency(D_LESSON));
    fixForeignLanguage(card->getDependency(D_LANGUAGE));
    loadForeignWord(*foreignWord);
    showLevel(*screen.selectionLevel, card->get_primaryLevel());
    showLevel(*screen.selectionLevelInverted, card->get_invertedLevel());
    if (!card->get_useInverted()) {
        screen.checkInverted->setCheck(false);
    }
    giveFocusTo(screen.textfieldWord);
}

}  // namespace flashcard_editor
