#include "program/ScreenWiring.h"

#include "practice/dayTester.h"
#include "practice/statePractice.h"
#include "screens/stateCategory.h"
#include "screens/stateExport.h"
#include "screens/stateImport.h"
#include "screens/stateFlashcard.h"
#include "screens/stateFlashcardMenu.h"
#include "screens/stateLanguage.h"
#include "screens/stateLesson.h"
#include "screens/stateLevel.h"
#include "screens/stateMeaning.h"
#include "screens/stateVerbPattern.h"
#include "screens/stateWord.h"
#include "states/ScreenRegistry.h"
#include "statistics/StatisticsState.h"

// Each screen of an upper layer wires itself in here, with one line, once it exists; until then
// its button is not on the screen. The lines to add, by button:
//
//   linkScreen(LinkedScreen::Practice, createPracticeState);              welcome   "Practice"
//   linkScreen(LinkedScreen::Categories, createCategoryState);            settings  "Categories"
//   linkScreen(LinkedScreen::FlashcardMenu, createFlashcardMenuState);    settings  "Flashcards"
//   linkScreen(LinkedScreen::Languages, createLanguageState);             settings  "Languages"
//   linkScreen(LinkedScreen::Lessons, createLessonState);                 settings  "Lessons"
//   linkScreen(LinkedScreen::Levels, createLevelState);                   settings  "Levels"
//   linkScreen(LinkedScreen::Meanings, createMeaningState);               settings  "Meanings"
//   linkScreen(LinkedScreen::VerbPatterns, createVerbPatternState);       settings  "Verb Patterns"
//   linkScreen(LinkedScreen::Words, createWordState);                     settings  "Words"
//   linkScreen(LinkedScreen::ClassicFlashcards, createFlashcardState);    feed      "Classic Flashcards"
//   linkScreen(LinkedScreen::Import, createImportState);                  settings  "Import", welcome
//   linkScreen(LinkedScreen::Export, createExportState);                  settings  "Export"
//   linkScreen(LinkedScreen::SampleCollection, createSampleImportState);  welcome, practice
//   linkScreen(LinkedScreen::Statistics, createStatisticsState);          welcome   "Statistics" (and
//                                                                         the end of a practice run)
void wireScreens() {
    linkDailyCheck(testDay);
    linkScreen(LinkedScreen::Categories, createCategoryState);
    linkScreen(LinkedScreen::Lessons, createLessonState);
    linkScreen(LinkedScreen::Levels, createLevelState);
    linkScreen(LinkedScreen::Meanings, createMeaningState);
    linkScreen(LinkedScreen::Languages, createLanguageState);
    linkScreen(LinkedScreen::VerbPatterns, createVerbPatternState);
    linkScreen(LinkedScreen::Words, createWordState);
    linkScreen(LinkedScreen::Practice, createPracticeState);
    linkScreen(LinkedScreen::FlashcardMenu, createFlashcardMenuState);
    linkScreen(LinkedScreen::ClassicFlashcards, createFlashcardState);
    linkScreen(LinkedScreen::Import, createImportState);
    linkScreen(LinkedScreen::Export, createExportState);
    linkScreen(LinkedScreen::SampleCollection, createSampleImportState);
    linkScreen(LinkedScreen::Statistics, createStatisticsState);
}
