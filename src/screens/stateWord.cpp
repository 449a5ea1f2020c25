#include "screens/stateWord.h"

#include <string>
#include <vector>

#include "db/OrnQL_Extra.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiButton.h"
#include "gui/GuiLanguageSwitch.h"
#include "gui/GuiRect.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/InterfaceText.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Meaning.h"
#include "model/ProvisionalRecords.h"
#include "model/Word.h"
#include "model/ui/SwitchLanguages.h"
#include "screens/EditorBoxes.h"
#include "screens/EditorList.h"
#include "screens/WordScreen.h"
#include "screens/stateMeaning.h"
#include "shell/framework.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

WordScreen wordScreen;

namespace {

constexpr const char* UPDATE_LANGUAGE_CHANGE = "LANGUAGE_CHANGE";
constexpr const char* UPDATE_MEANINGS_BUTTON = "MEANINGS_BUTTON";
constexpr const char* UPDATE_NEW_CONNECTION = "NEW_CONNECTION";
constexpr const char* UPDATE_CATEGORY = "UPDATE_CATEGORY";
constexpr const char* UPDATE_NEXT_PRESSED = "NEXT_PRESSED";
constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";
constexpr const char* UPDATE_CLOSE_PRESSED = "CLOSE_PRESSED";
constexpr const char* UPDATE_ADD_PICTURE_PRESSED = "ADD_PICTURE_PRESSED";

constexpr const char* TAG_HINT_PICT_PATH = "HINT_PICT_PATH";

const wchar_t* text(framew_strings which) { return interfaceText(which); }

// --- the list -----------------------------------------------------------------------------------

// The words of the filter's language (of every language for "All languages") in id order, and
// the keyboard that language is typed with, so the search types in it too.
void fillWordList() {
    const unsigned languageId = wordScreen.selectionLanguageFront->getActiveId();
    // From the index, not the records: the list has a hundred thousand words in a large
    // collection, and it is handed to the search list in one step.
    const WordIndex& index = Word::textIndex();
    SearchList words;
    words.reserve(index.size(), index.textLength());
    index.forEach([&](const WordIndex::Entry& word) {
        if (languageId == 0 || word.language == languageId) {
            words.append(word.text, word.id);
        }
    });
    wordScreen.itemfieldWords->setEntries(std::move(words));
    const Language* language = Language::getById(languageId);
    setKL(language != nullptr ? language->get_keyboardLocalID() : preApplicationKeyboard);
    if (!wordScreen.temporaryWord) {
        wordScreen.editWordId = 0;
        wordScreen.irregularVerbId = 0;
    }
}

// --- the word page ------------------------------------------------------------------------------

void showCategoriesAndMeanings() {
    Word* word = editedWord();
    if (word == nullptr) {
        return;
    }
    const std::wstring categories = word->categoriesText();
    wordScreen.textCategory->setText(categories.empty() ? text(String_AUTOMATED) : categories.c_str());
    GuiItemfield& meanings = *wordScreen.itemfieldMeanings;
    meanings.clearField();
    OrnQL_Base::RelationTree& linked = word->fTR(D_MEANING);
    for (auto it = Meaning::begin(linked); it != Meaning::end(linked); ++it) {
        addListEntry(meanings, it->descriptionText().c_str(), it->getId());
    }
}

// What New and Edit set alike, from the texts of a word (empty ones show their placeholders).
void showWordTexts(const wchar_t* wordText, const wchar_t* pronunciation, const wchar_t* mnemonic) {
    wordScreen.textfieldWord->setText(wordText);
    wordScreen.textfieldPronunciation->setText(pronunciation[0] != L'\0' ? pronunciation
                                                                         : text(String_PRONUNCIATION));
    wordScreen.textfieldHint->setText(mnemonic[0] != L'\0' ? mnemonic : text(String_HINT));
    wordScreen.textCategory->setText(text(String_AUTOMATED));
    wordScreen.itemfieldMeanings->clearField();
    wordScreen.textHintPicturePath->setText("");
}

void selectById(GuiSelectionfield& field, unsigned id) {
    field.setActivePosition(0);
    field.setActiveToId(id);
}

// The word is made at once, so that meanings can be linked to it before its first Save, and is
// noted as provisional before it can reach the disk.
unsigned createTemporaryWord(unsigned languageId) {
    auto* word = new Word(L"", L"", L"");
    word->setDependency(D_LANGUAGE, languageId);
    const unsigned id = Word::add(word);
    if (!noteProvisionalRecord(D_WORD, id)) {
        Word::deleteEntry(id);
        refuseSave(String_ERROR_SAVE_DB);
        return 0;
    }
    return id;
}

void startNewWord() {
    GuiSelectionfield& language = *wordScreen.selectionLanguageBack;
    if (language.getNumberOfCurrentElements() == 0) {
        // A word belongs to a language: there must be one first.
        askUser(String_ADD_LANG, platform::MessageIcon::Information, platform::MessageButtons::Ok);
        return;
    }
    language.setActivePosition(0);
    const unsigned id = createTemporaryWord(language.getActiveId());
    if (id == 0) {
        return;
    }
    wordScreen.textLanguageReplacement->setConditions(HIDDEN);
    language.setConditions(WORD_PAGE);
    showWordTexts(L"", L"", L"");
    wordScreen.toggleVerb->setRightOn(true);
    wordScreen.selectionVerbPattern->setActivePosition(0);
    wordScreen.selectionArticle->setActivePosition(0);
    wordScreen.bitmapHintPicture->changeFile("");
    changedLanguage();
    verbToggle(wordScreen.toggleVerb->getRightOn());
    wordScreen.editWordId = id;
    wordScreen.temporaryWord = true;
    wordScreen.irregularVerbId = 0;
    nextCondition = WORD_PAGE;
}

void editActiveWord() {
    const Word* word = Word::getById(wordScreen.itemfieldWords->getActiveId());
    if (word == nullptr) {
        return;
    }
    wordScreen.editWordId = word->getId();
    wordScreen.temporaryWord = false;
    const unsigned languageId = word->getDependency(D_LANGUAGE);
    const Language* language = Language::getById(languageId);
    wordScreen.textLanguageReplacement->setText(language != nullptr ? language->get_name() : L"");
    wordScreen.textLanguageReplacement->setConditions(WORD_PAGE);
    wordScreen.selectionLanguageBack->setConditions(HIDDEN);
    selectById(*wordScreen.selectionLanguageBack, languageId);
    changedLanguage();
    showWordTexts(word->get_text(), word->get_ipaPronounciation(), word->get_mnemonic());
    const unsigned irregularVerbId = word->getDependency(D_IRREGULARVERB);
    const bool irregular = IrregularVerb::getById(irregularVerbId) != nullptr;
    wordScreen.irregularVerbId = irregular ? irregularVerbId : 0;
    wordScreen.toggleVerb->setRightOn(!irregular);
    selectById(*wordScreen.selectionVerbPattern, irregular ? 0 : word->getDependency(D_VERBPATTERN));
    selectById(*wordScreen.selectionArticle, word->getDependency(D_ARTICLE));
    wordScreen.bitmapHintPicture->changeFile(picturePath(word->getId(), MNEMONIC_IMAGE_DIR).c_str());
    verbToggle(wordScreen.toggleVerb->getRightOn());
    showCategoriesAndMeanings();
    nextCondition = WORD_PAGE;
}

// Deleting a word takes its flashcards, its links and the meanings left without words with it,
// and their categories' links with those: every table is saved.
void deleteActiveWord() {
    GuiSearchItemfield& list = *wordScreen.itemfieldWords;
    if (list.getNumberOfCurrentElements() == 0) {
        return;
    }
    const unsigned id = list.getActiveId();
    if (Word::getById(id) == nullptr ||
        !askUser(String_DELETE_WORD_QUESTION, platform::MessageIcon::Warning, platform::MessageButtons::OkCancel)) {
        return;
    }
    Word::deleteWithIrregularVerb(id);
    saveTablesOrWarn({});
    fillWordList();
}

// The meaning editor goes on top of this screen for the word. A new word reaches the disk first,
// so that the links saved there never name a missing word.
void openMeanings(long page) {
    Word* word = editedWord();
    if (word == nullptr) {
        return;
    }
    if (wordScreen.temporaryWord) {
        word->set_text(wordScreen.textfieldWord->visibleText().c_str(), true);
        word->setDependency(D_LANGUAGE, chosenLanguageId());
        if (!saveTablesOrWarn({D_WORD})) {
            return;
        }
    }
    // Waits in this screen's queue until the user comes back.
    addUpdate(UPDATE_CATEGORY, wordScreen.state);
    openMeaningEditorForWord(word, page);
}

void openMeaningList() { openMeanings(MEANING_LIST_PAGE); }
void openConnectionPage() { openMeanings(MEANING_CONNECTION_PAGE); }

// A word made by New and never saved goes again; its removal and the removal of its note are
// saved as one unit. The user is told when that cannot be saved; at the end of the program nobody
// is there to tell, and the next start removes from the disk what is left of the word.
void discardTemporaryWord(bool tellUser) {
    if (!wordScreen.temporaryWord) {
        return;
    }
    wordScreen.temporaryWord = false;
    const unsigned id = wordScreen.editWordId;
    Word::deleteWithIrregularVerb(id);
    SaveSession session({}, tellUser ? SaveSession::Report::ERROR_BOX : SaveSession::Report::SILENT);
    session.saveTables({});
    session.include(forgetProvisionalRecord(D_WORD, id));
    session.finish();
}

void closeWordPage() {
    discardTemporaryWord(true);
    wordScreen.editWordId = 0;
    wordScreen.irregularVerbId = 0;
    forgetVerbTable();
    nextCondition = WORD_LIST_PAGE;
}

void endOfProgram() { discardTemporaryWord(false); }

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillWordList},
    {UPDATE_NEW_PRESSED, startNewWord},
    {UPDATE_EDIT_PRESSED, editActiveWord},
    {UPDATE_DELETE_PRESSED, deleteActiveWord},
    {UPDATE_LANGUAGE_CHANGE, fillLanguageSelections},
    {UPDATE_MEANINGS_BUTTON, openMeaningList},
    {UPDATE_NEW_CONNECTION, openConnectionPage},
    {UPDATE_CATEGORY, showCategoriesAndMeanings},
    {UPDATE_NEXT_PRESSED, showVerbPage},
    {UPDATE_SAVE_PRESSED, saveWord},
    {UPDATE_CLOSE_PRESSED, closeWordPage},
    {UPDATE_ADD_PICTURE_PRESSED, addHintPictureButton},
    {FORCED_EXIT_TAG, endOfProgram},
};

void update(const char* tag) {
    // The globals describe the newest word editor; an update only ever reaches the current screen.
    if (wordScreen.state == nullptr || wordScreen.state != curState) {
        return;
    }
    dispatchUpdate(updateHandlers, tag == nullptr ? UPDATE_INIT : tag);
}

// --- building -----------------------------------------------------------------------------------

template <typename Element>
Element* add(Element* element) {
    return addConditionElementToState(element);
}

GuiText* label(framew_strings caption, int centerX, int centerY, int width, int height) {
    return add(new GuiText(text(caption), centerX, centerY, width, height, FONT1, TEXT_CENTRE));
}

// The language selection and the word field type in the word's language; whatever follows in
// the known language, which this screen does not set: the layout active at start.
void addWordColumn() {
    WordScreen& s = wordScreen;
    s.languageSwitch = add(new GuiLanguageSwitch(GuiLanguageSwitch::SHOW_KEYBOARD | GuiLanguageSwitch::SHOW_FOREIGN_FLAG,
                                                 modelui::switchLanguageOf));
    s.languageSwitch->setForeignFlagPosition(395, 115, 60, 30);
    s.languageSwitch->setUpdateForeign(UPDATE_LANGUAGE_CHANGE);
    setFocusFunc(GuiLanguageSwitch::switchLanguage, s.languageSwitch, GuiLanguageSwitch::FOREIGN);
    s.selectionLanguageBack = add(new GuiSelectionfield(225, 115, 200, 30));
    Language::prepareSelection(s.selectionLanguageBack);
    s.selectionLanguageBack->setSpecFunc(changedLanguage);
    s.textLanguageReplacement = add(new GuiText(L"", 225, 115, 200, 30, FONT1, TEXT_CENTRE));
    s.textLanguageReplacement->setConditions(HIDDEN);
    s.textfieldWord = add(new GuiTextfield(275, 165, L"", false, 300, 30));
    setFocusFunc(GuiLanguageSwitch::switchLanguage, s.languageSwitch, GuiLanguageSwitch::KNOWN);
    s.textfieldPronunciation = add(new GuiTextfield(275, 215, text(String_PRONUNCIATION), false, 300, 30));
    s.toggleVerb = add(new GuiToggle(text(String_IRREGULAR_VERB), L"", true, 275, 265, 300, 30, verbToggle));
    s.selectionVerbPattern = add(new GuiSelectionfield(375, 265, 100, 30));
    s.selectionVerbPattern->setSpecFunc(changedVerb);
    label(String_ARTICLE, 175, 315, 90, 30);
    s.selectionArticle = add(new GuiSelectionfield(325, 315, 200, 30));
    label(String_CATEGORIES, 175, 365, 90, 30);
    add(new GuiRect(colours[WHITE_RGB], 225, 350, 200, 30, PEN_SOLID));
    s.textCategory = label(String_AUTOMATED, 325, 365, 200, 30);
}

void addMeaningAndHintColumn() {
    WordScreen& s = wordScreen;
    add(new GuiButton(BUTTON3, 638, 115, text(String_MEANINGS), UPDATE_MEANINGS_BUTTON));
    add(new GuiButton(BUTTON3, 638, 165, text(String_NEW_CONNECTION), UPDATE_NEW_CONNECTION));
    s.itemfieldMeanings = add(new GuiItemfield(725, 100, 150, 180));
    label(String_MNEMONIC, 625, 285, 100, 30);
    s.textfieldHint = add(new GuiTextfield(725, 315, text(String_HINT), false, 300, 30));
    // The chooser opens from the update function, once the click has been handed out.
    add(new GuiButton(BUTTON3, 638, 365, text(String_ADD_PICTURE), UPDATE_ADD_PICTURE_PRESSED));
    s.textHintPicturePath =
        addConTagedElTState(new GuiText("", 683, 390, 125, 18, FONT1, TEXT_CENTRE), TAG_HINT_PICT_PATH);
    s.bitmapHintPicture = add(createPermanentGuiBitmap(850, 425, 205, 150, nullptr));
    add(new GuiButton(BUTTON2, 700, 40, text(String_CLOSE), UPDATE_CLOSE_PRESSED));
    s.buttonSave = add(new GuiButton(BUTTON2, 834, 40, text(String_SAVE), UPDATE_SAVE_PRESSED));
    s.buttonNext = add(new GuiButton(BUTTON2, 834, 40, text(String_NEXT), UPDATE_NEXT_PRESSED));
    s.buttonNext->setConditions(HIDDEN);
    unsetFocusFuncs();
}

void addVerbPage(State* state) {
    setConditional(state, VERB_PAGE);
    wordScreen.textTitleVerb = add(new GuiText(L"", 333, 40, 666, 70, FONT1, TEXT_CENTRE));
    add(new GuiButton(BUTTON2, 834, 40, text(String_SAVE), UPDATE_SAVE_PRESSED));
    add(new GuiButton(BUTTON2, 700, 40, text(String_BACK), WORD_PAGE));
}

}  // namespace

Word* editedWord() { return wordScreen.editWordId == 0 ? nullptr : Word::getById(wordScreen.editWordId); }

IrregularVerb* editedIrregularVerb() {
    return wordScreen.irregularVerbId == 0 ? nullptr : IrregularVerb::getById(wordScreen.irregularVerbId);
}

unsigned chosenLanguageId() { return wordScreen.selectionLanguageBack->getActiveId(); }

void returnToList() {
    wordScreen.editWordId = 0;
    wordScreen.temporaryWord = false;
    wordScreen.irregularVerbId = 0;
    forgetVerbTable();
    addUpdate(UPDATE_INIT, wordScreen.state);
    nextCondition = WORD_LIST_PAGE;
}

State* createWordState() {
    wordScreen = WordScreen{};
    State* state = createListState(text(String_WORDS), text(String_WORD), LIST_LANGUAGE_FILTER | LIST_SEARCHABLE);
    wordScreen.state = state;
    wordScreen.itemfieldWords = getElementByTag<GuiSearchItemfield>(TAG_ITEMLIST, state);
    wordScreen.selectionLanguageFront = getElementByTag<GuiSelectionfield>(TAG_SELECTION_LANGUAGE, state);
    wordScreen.selectionLanguageFront->setSpecUpdate(UPDATE_INIT);
    setConditional(state, WORD_PAGE);
    addWordColumn();
    addMeaningAndHintColumn();
    addVerbPage(state);
    state->traceback = TRACEBACK_FIRST_PAGE;
    state->updateFunc = update;
    return state;
}
