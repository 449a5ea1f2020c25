#pragma once

// Where the program's data lives, relative to the working directory. Every table is stored under
// a path prefix (index file prefix + ".dat", bound files prefix + bound + ".dat"); pictures are
// one BMP per record id in a directory of their own (directory arguments end with '/').

inline constexpr const char* DATA_DIR = "Data";
inline constexpr const char* FRAMEWORK_DIR = "Data/Framework";
inline constexpr const char* BACKUP_DIR = "Data/Backup";
// The journal that makes one save of several files one unit (base/FileTransaction.h).
inline constexpr const char* TRANSACTION_JOURNAL = "Data/transaction.journal";

inline constexpr const char* LANGUAGE_PATH = "Data/Language/languages";
inline constexpr const char* LESSON_PATH = "Data/Lesson/lessons";
inline constexpr const char* LEVEL_PATH = "Data/Level/levels";
inline constexpr const char* CATEGORY_PATH = "Data/Category/categories";
inline constexpr const char* PERSON_PATH = "Data/Person/persons";
inline constexpr const char* TENSE_PATH = "Data/Tense/tenses";
inline constexpr const char* ARTICLE_PATH = "Data/Article/articles";
inline constexpr const char* VERBPATTERN_PATH = "Data/Verb/Pattern/verbpatterns";
inline constexpr const char* WORD_PATH = "Data/Word/words";
inline constexpr const char* IRREGULARVERB_PATH = "Data/Verb/Irregular/irregularverbs";
inline constexpr const char* FLASHCARD_PATH = "Data/Flashcard/flashcards";
inline constexpr const char* F_W_PATH = "Data/Relations/fw";
inline constexpr const char* MEANING_PATH = "Data/Meaning/meanings";
inline constexpr const char* M_W_PATH = "Data/Relations/mw";
inline constexpr const char* C_M_PATH = "Data/Relations/cm";
inline constexpr const char* VOICE_PATH = "Data/Voice/voices";
// The answer history (model/AnswerBlock.h). A collection saved before it existed has no such
// directory: it loads with an empty history, and the directory is made by the first save.
inline constexpr const char* ANSWER_PATH = "Data/History/answers";

inline constexpr const char* FLAG_IMAGE_DIR = "Data/LanguageImages/Flag/";
inline constexpr const char* KEYBOARD_IMAGE_DIR = "Data/LanguageImages/Keyboard/";
inline constexpr const char* MNEMONIC_IMAGE_DIR = "Data/WordImages/Mnemonic/";
