// The settings screen. Elements in the order they are added (also the Tab order):
//
//   element          centre       caption                 opens
//   title            (500, 100)   "Settings ✎"
//   button           (320, 190)   "Categories"            category editor
//   button           (320, 270)   "Flashcards"            flashcard menu
//   button           (320, 350)   "Languages"             language editor
//   button           (320, 430)   "Lessons"               lesson editor
//   button           (680, 190)   "Levels"                level editor
//   button           (680, 270)   "Meanings"              meaning editor
//   button           (680, 350)   "Verb Patterns"         verb pattern editor
//   button           (680, 430)   "Words"                 word editor
//   small button     (920, 190)   "Import"                import screen
//   small button     (920, 270)   "Export"                export screen
//   back button      (80, 430)    "⋘"                     the screen before
//
// An editor's button appears once the program links the editor in (program/ScreenWiring.cpp).

#include "states/SettingsState.h"

#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/State.h"
#include "resources/SecondStrings.h"
#include "states/NavigationScreen.h"

namespace {

struct EditorButton {
    framew_strings caption;
    int centerX;
    int centerY;
    LinkedScreen editor;
};

constexpr EditorButton editorButtons[] = {
    {String_CATEGORIES, 320, 190, LinkedScreen::Categories},
    {String_FLASHCARDS, 320, 270, LinkedScreen::FlashcardMenu},
    {String_LANGUAGES, 320, 350, LinkedScreen::Languages},
    {String_LESSONS, 320, 430, LinkedScreen::Lessons},
    {String_LEVELS, 680, 190, LinkedScreen::Levels},
    {String_MEANINGS, 680, 270, LinkedScreen::Meanings},
    {String_VERB_PATTERNS, 680, 350, LinkedScreen::VerbPatterns},
    {String_WORDS, 680, 430, LinkedScreen::Words},
};

}  // namespace

State* createSettingsState() {
    State* state = createNavigationState(String_SETTINGS_TITLE, String_SETTINGS_TITLE);
    for (const EditorButton& button : editorButtons) {
        addLinkedScreenButton(state, button.caption, button.centerX, button.centerY, button.editor);
    }
    addLinkedScreenButton(state, interfaceText2(String2_IMPORT), BUTTON3, 920, 190, LinkedScreen::Import);
    addLinkedScreenButton(state, interfaceText2(String2_EXPORT), BUTTON3, 920, 270, LinkedScreen::Export);
    addElementToState(state, new GuiBackButton());
    return state;
}
