#pragma once

// The statistics screen: where the learner stands, from the cards and the answer history. The
// welcome screen and the end of a practice run open it; it is kept in the traceback with its line
// drawn, so the flashcard editor it opens returns to it.
//
// Pages: 1 a plot, 2 the table of that plot's numbers. Elements in the order they are added (also
// the Tab order):
//
//   element              tag                      where                        pages  action
//   label "Language"                              centre (60, 55), 100 x 30    1, 2
//   language             "SELECTION_LANGUAGE"     centre (215, 55), 190 x 30   1, 2   all languages
//                                                                                     or one
//   label "Lesson"                                centre (375, 55), 100 x 30   1, 2
//   lesson               "SELECTION_LESSON"       centre (530, 55), 190 x 30   1, 2   all lessons,
//                                                                                     none, or one
//   "Table" / "Plots"    "BUTTON_VIEW"            centre (720, 55), BUTTON3    1, 2   the other page
//   "Save picture"                                centre (870, 55), BUTTON3    1, 2   the plot as PNG
//                                                                                     or SVG
//   a button per plot                             centres (72, 110 + 36 i)     1, 2   that plot
//   the plot             "PLOT"                   top-left (150, 80), 840x410  1      a row of the
//                                                                                     hardest cards
//                                                                                     opens the card
//   the table            "TABLE"                  top-left (150, 80), 840x410  2      likewise
//   back button                                   (80, 430)                    1, 2
//
// The figures are worked out when the screen opens, when a filter changes and when the flashcard
// editor it opened returns; "today" is the UTC day of the practice clock.

class State;

inline constexpr long STATISTICS_PLOT_PAGE = 1;
inline constexpr long STATISTICS_TABLE_PAGE = 2;

inline constexpr const char* TAG_STATISTICS_LANGUAGE = "SELECTION_LANGUAGE";
inline constexpr const char* TAG_STATISTICS_LESSON = "SELECTION_LESSON";
inline constexpr const char* TAG_STATISTICS_VIEW = "BUTTON_VIEW";
inline constexpr const char* TAG_STATISTICS_PLOT = "PLOT";
inline constexpr const char* TAG_STATISTICS_TABLE = "TABLE";

// The id the lesson selection gives "All lessons" (0 is "n/a", the cards without a lesson).
inline constexpr unsigned ALL_LESSONS_ID = 0xFFFFFFFFu;

State* createStatisticsState();
