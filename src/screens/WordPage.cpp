// The word editor's word page and verb page: which of Save and Next is offered, the conjugation
// table behind Next, the hint picture, and storing the word.

#include <string>

#include "db/OrnQL_Extra.h"
#include "gui/BmpPicture.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiButton.h"
#include "gui/GuiLanguageSwitch.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/DataPaths.h"
#include "model/Grammar.h"
#include "model/InterfaceText.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/ProvisionalRecords.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "screens/EditorBoxes.h"
#include "screens/WordScreen.h"
#include "states/ImageOpener.h"
#include "states/SaveTables.h"

namespace {

constexpr const char* TAG_HINT_PICT_PATH = "HINT_PICT_PATH";

bool isRegular() { return wordScreen.toggleVerb->getRightOn(); }

// Save and Next share their place; one of them is offered.
void offerNext(bool next) {
    wordScreen.buttonNext->setConditions(next ? WORD_PAGE : HIDDEN);
    wordScreen.buttonSave->setConditions(next ? HIDDEN : WORD_PAGE);
}

std::string hintPicturePath() {
    const char* path = wordScreen.textHintPicturePath->getTextA();
    return path == nullptr ? std::string() : std::string(path);
}

// An empty word would be an empty line in every list; a word twice in a language is refused.
bool refusedText(const std::wstring& text, unsigned languageId, unsigned editedId) {
    if (text.empty()) {
        refuseSave(String_ENTER_VALUE);
        return true;
    }
    // A word is unique within its language, the edited word excepted.
    if (Word::textInUse(languageId, text, editedId)) {
        askUser(String_WORD_ALREADY_IN_USE, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return true;
    }
    return false;
}

// Copies a chosen picture under the word's id. A path that is no readable picture copies
// nothing; false only when the picture could not be written (and the user has been told).
bool storeHintPicture(unsigned wordId) {
    const std::string path = hintPicturePath();
    if (path.empty() || !readBmpFile(path)) {
        return true;
    }
    if (copyBitmap(path.c_str(), MNEMONIC_IMAGE_DIR, wordId) == COPY_NO_DESTINATION) {
        refuseSave(String_ERROR_SAVE_DB);
        return false;
    }
    return true;
}

// A placeholder left as it is stores nothing; a field the user emptied stores the empty text.
std::wstring unlessPlaceholder(const GuiTextfield& field, framew_strings placeholder, const wchar_t* stored) {
    const std::wstring typed = field.visibleText();
    return typed == interfaceText(placeholder) ? std::wstring(stored) : typed;
}

void storeRegularVerb(Word& word) {
    if (IrregularVerb* verb = editedIrregularVerb()) {
        IrregularVerb::deleteEntry(verb->getId());
        wordScreen.irregularVerbId = 0;
    }
    word.setDependency(D_IRREGULARVERB, 0);
    word.setDependency(D_VERBPATTERN, wordScreen.selectionVerbPattern->getActiveId());
}

// The forms typed on the verb page. A verb made for another language (a new word whose language
// was changed after a failed save) is made again in the word's language.
void storeIrregularVerb(Word& word, unsigned languageId) {
    IrregularVerb* verb = editedIrregularVerb();
    if (verb != nullptr && verb->getDependency(D_LANGUAGE) != languageId) {
        IrregularVerb::deleteEntry(verb->getId());
        verb = nullptr;
    }
    if (verb == nullptr) {
        verb = IrregularVerb::createAndAdd(languageId, word.getId());
        wordScreen.irregularVerbId = verb->getId();
    }
    word.setDependency(D_VERBPATTERN, 0);
    verb->addContent(wordScreen.tableVerb);
}

void storeFields(Word& word, const std::wstring& text, unsigned languageId) {
    word.setDependency(D_LANGUAGE, languageId);
    word.set_text(text.c_str(), true);
    word.set_ipaPronounciation(
        unlessPlaceholder(*wordScreen.textfieldPronunciation, String_PRONUNCIATION, word.get_ipaPronounciation()).c_str(),
        true);
    if (isRegular()) {
        storeRegularVerb(word);
    } else {
        storeIrregularVerb(word, languageId);
    }
    word.setDependency(D_ARTICLE, wordScreen.selectionArticle->getActiveId());
    word.set_mnemonic(unlessPlaceholder(*wordScreen.textfieldHint, String_HINT, word.get_mnemonic()).c_str(), true);
}

// The word's tables and, for a new word, the removal of its note are saved as one unit: after a
// crash the next start finds the word kept or, if new, removed, never kept and removed again.
bool storeWord(unsigned wordId) {
    SaveSession session;
    session.saveTables({D_WORD, D_IRREGULARVERB});
    if (wordScreen.temporaryWord) {
        session.include(forgetProvisionalRecord(D_WORD, wordId));
    }
    return session.finish() != SaveOutcome::NOTHING_CHANGED;
}

}  // namespace

void forgetVerbTable() { releaseElementFromState(wordScreen.state, &wordScreen.tableVerb); }

void verbToggle(bool positionRight) {
    forgetVerbTable();
    wordScreen.selectionVerbPattern->setConditions(positionRight ? WORD_PAGE : HIDDEN);
    changedVerb();
}

// An irregular verb and a pattern's forms are shown on the verb page before they are saved.
void changedVerb() {
    forgetVerbTable();
    offerNext(!isRegular() || wordScreen.selectionVerbPattern->getActiveId() != 0);
}

void changedLanguage() {
    GuiLanguageSwitch::changeForeignLanguage(wordScreen.languageSwitch,
                                             static_cast<const GuiElement*>(wordScreen.selectionLanguageBack));
    forgetVerbTable();
}

void fillLanguageSelections() {
    const unsigned languageId = chosenLanguageId();
    const Language* language = Language::getById(languageId);
    wordScreen.textfieldWord->changeDirection(language != nullptr && language->get_rightToLeft());
    VerbPattern::prepareSelection(languageId, wordScreen.selectionVerbPattern);
    Grammar::prepareSelection<Article>(languageId, wordScreen.selectionArticle);
}

// A pattern's forms follow the word, so a changed word gets a new table. Irregular forms do
// not depend on it: what the user typed there stays, and only the heading follows.
void showVerbPage() {
    const std::wstring text = wordScreen.textfieldWord->visibleText();
    const wchar_t* heading = wordScreen.textTitleVerb->getTextW();
    if (wordScreen.tableVerb != nullptr && isRegular() && (heading == nullptr || text != heading)) {
        forgetVerbTable();
    }
    if (wordScreen.tableVerb == nullptr) {
        GuiTable* table = Verb::createEmptyTable(chosenLanguageId());
        if (table == nullptr) {
            askUser(String_NO_PERSONS_OR_TENSES_YET, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
            return;
        }
        table->setConditions(VERB_PAGE);
        wordScreen.tableVerb = addElementToState(wordScreen.state, table);
        if (!isRegular()) {
            if (IrregularVerb* verb = editedIrregularVerb()) {
                verb->fillTable(table);
            }
        } else if (VerbPattern* pattern = VerbPattern::getById(wordScreen.selectionVerbPattern->getActiveId())) {
            pattern->convertFillTable(table, text.c_str());
        }
    }
    // The forms are typed (or read) in the word's language.
    wordScreen.languageSwitch->switchLanguage(GuiLanguageSwitch::FOREIGN);
    wordScreen.textTitleVerb->setText(text.c_str());
    nextCondition = VERB_PAGE;
}

// Nothing is stored unless all of it can be: the checks come first, and a failed save leaves the
// page as the user left it (a new word stays provisional) so that Save can be pressed again.
void saveWord() {
    Word* word = editedWord();
    if (word == nullptr) {
        returnToList();
        return;
    }
    const unsigned languageId = chosenLanguageId();
    const std::wstring text = wordScreen.textfieldWord->visibleText();
    if (refusedText(text, languageId, word->getId())) {
        return;
    }
    if (!isRegular() && wordScreen.tableVerb == nullptr) {
        showVerbPage();  // the irregular forms come from the verb page
        return;
    }
    if (!storeHintPicture(word->getId())) {
        return;
    }
    storeFields(*word, text, languageId);
    if (storeWord(word->getId())) {
        returnToList();
    }
}

// The picture is shown at once and copied on Save. A file that is no readable picture is not
// taken: the path and picture chosen before stay.
void addHintPictureButton() {
    const std::string previousPath = hintPicturePath();
    const char* shown = wordScreen.bitmapHintPicture->getPath();
    const std::string previousPicture = shown == nullptr ? std::string() : std::string(shown);
    GuiText* chosen = imageOpener(TAG_HINT_PICT_PATH);
    if (chosen == nullptr) {
        return;
    }
    if (!wordScreen.bitmapHintPicture->changeFile(chosen->getTextA())) {
        chosen->setText(previousPath.c_str());
        wordScreen.bitmapHintPicture->changeFile(previousPicture.c_str());
    }
}
