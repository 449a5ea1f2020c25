#pragma once

// The word editor: lists the words, all of them or those of one language (the filter also
// switches the keyboard to that language's layout), and creates, edits and deletes a word: its
// text and language (fixed once the word exists), pronunciation, article, whether it is a regular
// verb following a pattern or an irregular verb with its own forms, its mnemonic text and hint
// picture, and the meanings that tie it to words of other languages. Opened from the settings
// screen's "Words" button.
//
// Page 1 is the list screen (states/ListState.h) with the language filter and a search list:
// "Words", New / Edit / Delete Word. Page 2, the word page, in the order its elements are added
// (also the Tab order):
//
//   element                 caption / content               where                      action
//   language switch         flag and keyboard picture       flag (395, 115), 60 x 30;  keyboard layout
//                                                            keyboard (500, 450)
//   language selection      every language by name          centre (225, 115), 200x30  word's language
//   language name           (an existing word's language)   centre (225, 115), 200x30
//   word field                                              centre (275, 165), 300x30
//   pronunciation field     "Pronunciation"                 centre (275, 215), 300x30
//   "Speak", its status     (a language with a voice only)  centre (500, 165), (500, 190) speaks the word
//                                                                                      with its article; F5
//   "Suggest"                                               centre (500, 215)          the word's IPA
//   verb toggle             "Irregular verb" / regular      centre (275, 265), 300x30  verb page or not
//   pattern selection       "n/a", the language's patterns  centre (375, 265), 100x30  Save or Next
//   label "Article"                                         centre (175, 315), 90x30
//   article selection       "n/a", the language's articles  centre (325, 315), 200x30
//   label "Categories"                                      centre (175, 365), 90x30
//   white background                                        top-left (225, 350), 200x30
//   categories              "Automated" or the word's       centre (325, 365), 200x30
//   "Meanings"                                              centre (638, 115)          meaning editor
//   "New connection"                                        centre (638, 165)          connect a meaning
//   meanings list           the word's meanings             top-left (725, 100), 150x180
//   label "Mnemonic"                                        centre (625, 285), 100x30
//   hint field              "Hint"                          centre (725, 315), 300x30
//   "Add picture"                                           centre (638, 365)          picture chooser
//   picture path            "HINT_PICT_PATH"                centre (683, 390), 125x18
//   hint picture                                            centre (850, 425), 205x150
//   "Close"                                                 centre (700, 40)           back to the list
//   "Save"                                                  centre (834, 40)           store the word
//   "Next"                  (in Save's place)               centre (834, 40)           the verb page
//
// The language selection and the word field type in the word's language (its layout and keyboard
// picture); every later field in the layout that was active when the program started. A regular
// verb without a pattern is saved from the word page; one with a pattern and an irregular verb go
// through page 4, the verb page: the word as its heading, its conjugation table (the pattern's
// forms, or fields for the irregular forms), "Save" and "Back".
//
// New creates the word at once, so that meanings can be connected before the first Save; until
// that Save it is provisional (model/ProvisionalRecords.h): Close removes it again, and so does
// the next start when the program ends before either. A failed save keeps the page as the user
// left it.

class State;

// The editor's screen on its list page, with the list about to be filled. The caller hands it to
// the state machine.
State* createWordState();
