#pragma once

// The flashcard editor: one foreign word with its pronunciation, article, verb form, mnemonic and
// hint picture, the known words that translate it, the meanings the card uses, its lesson and,
// for a stored card, its levels. The flashcard menu opens it for a new or a stored card, the feed
// screen's "Classic Flashcards" for new cards. It is stacked on the screen that opened it and
// returns there on Close (and on Save of a stored card).
//
// Pages: 1 no known word yet; 2 with known words and their meanings; 16 the verb page; 32 shown
// instead of the others while no language is stored (it offers the language editor). Elements
// in the order they are added (also the Tab order); labels are centred 90 x 30 at x 45:
//
//   element                    tag                       where                     pages  action
//   "Add a language"                                     centre (500, 150)         32
//   "Languages"                                          centre (500, 250)         32     language editor
//   language switch            (flags, keyboard picture) flags (320, 70) and       1, 2
//                                                        (670, 70), keyboard
//                                                        (500, 450)
//   label "Level(s)"                                     y 30                      1, 2
//   level selections                                     centres (150, 30),        1, 2   a stored
//                                                        (285, 30), 125 x 30              card only
//   "Practice in both          "CHECK_OPP"               centre (525, 30), 345x30  1, 2   shows or hides
//    directions"                                                                          the 2nd level
//   label "Foreign"                                      y 70                      1, 2
//   foreign language           "FOREIGN_LANGUAGE"        centre (185, 70), 190x30  1, 2   (fixed for a
//   (text in its place)                                                                   stored card)
//   label "Known"                                        centre (395, 70)          1, 2
//   known language             "KNOWN_LANGUAGE"          centre (535, 70), 190x30  1      (a text on 2)
//   foreign word               "WORD_FIELD"              centre (178, 110), 340x30 1, 2
//   three panels                                         (710, 0), (355, 150),     1, 2
//                                                        (635, 90)
//   known word                 "TEXTFIELD_KNOWN"         centre (500, 110), 260x30 1, 2
//   "»"                                                  centre (670, 110)         1, 2   adds the known word
//   pronunciation              "PRONUNCIATION_FIELD"     centre (178, 150), 340x30 1, 2
//   label "Lesson", lesson     "SELECTIONFIELD_LESSON"   centre (150, 190), 120x30 1, 2
//   "Lessons"                                            centre (285, 190)         1, 2   lesson editor
//   verb toggle                "Irregular verb" / ""     centre (175, 230), 340x30 1, 2
//   verb pattern               "PATTERN_FIELD"           centre (283, 230), 130x30 1, 2
//   label "Article", article   "ARTICLE_FIELD"           centre (219, 270), 258x30 1, 2
//   label "Categories", text   "TEXT_CATEGORY"           centre (219, 310), 258x30 1, 2
//   label "Mnemonic", hint     "HINT_FIELD"              centre (178, 370), 340x30 1, 2
//   "Add picture", its path    "HINT_PICT_PATH"          centre (70, 430), (70, 460) 1, 2
//   "Speak", its status        "SPEAKER_BUTTON"          centre (430, 440), (430, 467) 1, 2  speaks the foreign
//                                                                                         word with its article
//                                                                                         (with a voice only; F5)
//   known words                "ITEMFIELD_KNOWN_WORDS"   top-left (720, 10), 270x195 1, 2
//   "Remove »"                                           centre (670, 190)         2      removes the known word
//   "Meanings"                                           centre (432, 190)         2      meaning editor
//   "New connection"                                     centre (567, 190)         2      its connection page
//   Use / Don't use            "ITEMFIELD_USE", "..."    centre (675, 300), 620x170 2     the meanings
//   "Save and next" / "Save"                             centre (925, 460)         2      stores the card
//   "Close"                                              centre (775, 460)         1, 2, 32
//   verb heading (the word)                              centre (333, 40), 666x70  16
//   "Back", "Save", "Close"                              centres (700|800|900, 40) 16
//   hint picture               "HINT_PICT"               centre (215, 445), 150x110 1, 2  (once chosen)
//
// The foreign side (language selection, foreign word) types in the foreign language's layout,
// everything else in the known language's; the keyboard picture follows.
//
// Known words: "»" looks the typed text up among the known language's words and adds that word,
// or creates it at once (it is kept only if the card is stored: Close, Remove, and the next
// start after a crash take it away again). The Use list holds the meanings of the highlighted
// known word that the card uses; the categories text shows the categories of every used meaning.
//
// Storing: a foreign word carried by another card is refused; a regular verb with a pattern may
// be checked on the verb page first, an irregular verb is always typed there. The card, its
// foreign word, the links to its known words and to the used meanings are saved together: a
// kill part-way leaves none of it. "Save and next" stays for the next card (languages kept);
// Save of a stored card returns to the menu. A save that fails keeps the editor as it was.

class Flashcard;
class State;

// The card the menu opens the editor for; null for a new card. Set before createFlashcardState.
extern Flashcard* editFlashcard;

inline constexpr long FLASHCARD_FIRST_PAGE = 1;
inline constexpr long FLASHCARD_KNOWN_PAGE = 2;
inline constexpr long FLASHCARD_VERB_PAGE = 16;
inline constexpr long FLASHCARD_NO_LANGUAGE_PAGE = 32;

// Tags of the elements a user works with.
inline constexpr const char* TAG_FLASHCARD_WORD = "WORD_FIELD";
inline constexpr const char* TAG_FLASHCARD_KNOWN = "TEXTFIELD_KNOWN";
inline constexpr const char* TAG_FLASHCARD_PRONUNCIATION = "PRONUNCIATION_FIELD";
inline constexpr const char* TAG_FLASHCARD_HINT = "HINT_FIELD";
inline constexpr const char* TAG_FLASHCARD_FOREIGN_LANGUAGE = "FOREIGN_LANGUAGE";
inline constexpr const char* TAG_FLASHCARD_KNOWN_LANGUAGE = "KNOWN_LANGUAGE";
inline constexpr const char* TAG_FLASHCARD_LESSON = "SELECTIONFIELD_LESSON";
inline constexpr const char* TAG_FLASHCARD_PATTERN = "PATTERN_FIELD";
inline constexpr const char* TAG_FLASHCARD_ARTICLE = "ARTICLE_FIELD";
inline constexpr const char* TAG_FLASHCARD_CATEGORY = "TEXT_CATEGORY";
inline constexpr const char* TAG_FLASHCARD_INVERTED = "CHECK_OPP";
inline constexpr const char* TAG_FLASHCARD_KNOWN_WORDS = "ITEMFIELD_KNOWN_WORDS";
inline constexpr const char* TAG_FLASHCARD_USE = "ITEMFIELD_USE";
inline constexpr const char* TAG_FLASHCARD_DONT_USE = "ITEMFIELD_DONT_USE";
inline constexpr const char* TAG_FLASHCARD_HINT_PICTURE = "HINT_PICT";

// Loads editFlashcard into the editor; a menu queues it for the editor it built for that card.
inline constexpr const char* UPDATE_EDIT_FLASHCARD = "EDIT_FLASHCARD";

// Builds the editor for editFlashcard (or a new card); the state machine owns it once handed
// over.
State* createFlashcardState();
