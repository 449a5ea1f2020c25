#pragma once

#include <string>
#include <string_view>

#include "db/OrnQL_Template.h"
#include "model/WordIndex.h"

// One written form in one language, with its pronunciation (IPA) and a mnemonic text shown as a
// hint. Links: D_LANGUAGE (always set), D_ARTICLE, D_VERBPATTERN and D_IRREGULARVERB (0 = none;
// at most one of the two verb links is set). Meanings link to words through M_W, flashcards to
// their known words through F_W; a word's mnemonic picture is named by its id in
// MNEMONIC_IMAGE_DIR.
//
// Stored fields, after the record header: text, ipaPronounciation, mnemonic (three wide texts).
//
// The table keeps an index of its words by language and text beside it (model/WordIndex.h):
// add puts a word in, its destructor takes it out, and set_text, load and a change of the
// language link update it. Records entering the table another way (the loader) are taken in
// when the index is next asked for and holds fewer words than the table.
class Word : public OrnQL_Template<Word> {
public:
    enum Attribute { ATTR_TEXT = 0, ATTR_IPAPRONOUNCIATION = 1, ATTR_MNEMONIC = 2 };

    Word() = default;
    Word(const wchar_t* text, const wchar_t* ipaPronounciation, const wchar_t* mnemonic);
    // When the word goes by deletion from its table, its mnemonic picture goes with the next save
    // (a later word given the same id must not show it). The word leaves the index.
    ~Word() override;

    // Stores the word as OrnQL_Template::add does and enters it in the index.
    static const unsigned& add(Word* word);
    // As OrnQL_Template::setDependency; a new language is noted in the index.
    void setDependency(dependency d, unsigned dependencyId) override;

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    const void* getData(int attribute) override;
    // Copies the three texts.
    Word& operator=(const Word& other) override;

    const wchar_t* get_text() const { return text.c_str(); }
    // The same text with its length, for code that copies many texts and need not measure them.
    std::wstring_view textView() const { return text; }
    void set_text(const wchar_t* value, bool save);
    const wchar_t* get_ipaPronounciation() const { return ipaPronounciation.c_str(); }
    void set_ipaPronounciation(const wchar_t* value, bool save);
    const wchar_t* get_mnemonic() const { return mnemonic.c_str(); }
    void set_mnemonic(const wchar_t* value, bool save);

    // TEXT, IPAPRONOUNCIATION, MNEMONIC (wide texts); 0 for other names.
    static int type(const wchar_t* attribute, int* id);

    // The word of that language whose text equals `text` exactly (case-sensitive), the one with
    // the least id if there are several; null if none. Found through the index: the word table's
    // selection, which a caller may be walking, stays as it is.
    static Word* getWord(unsigned languageId, const wchar_t* text);
    // Whether a word of that language other than word `exceptId` reads exactly `text`.
    static bool textInUse(unsigned languageId, std::wstring_view text, unsigned exceptId);
    // Every word of the table by id, language and text, for lists of many words; valid until a
    // word is next added, deleted or changed.
    static const WordIndex& textIndex();

    // The descriptions of the categories reached through the word's meanings, joined by ", ".
    std::wstring categoriesText();
    // The same text in one buffer shared by all words, valid until the next call.
    const wchar_t* giveCategories();

    // Loads the words, then the irregular verbs (IRREGULARVERB_PATH); the two always load
    // together. If the irregular verbs cannot be loaded, every word loses its irregular verb link
    // and an InvalidFileException naming the irregular verb table is thrown (also for damage
    // such as an out-of-range or duplicate id). Errors of the word table pass unchanged.
    static void loadAll(const char* path, dependency d);

    // Deletes the word (with its cascades) and its irregular verb, which nothing but the word
    // refers to. False, deleting nothing, when there is no such word.
    static bool deleteWithIrregularVerb(unsigned id);

    // Cascade hook: a deleted article, verb pattern or irregular verb only clears the words'
    // link to it; for every other table the words depending on the record are deleted.
    static void deleteEntriesWithDependency(dependency d, unsigned id);

private:
    // The one index of the table; made on first use and never destroyed, like the table.
    static WordIndex& index();
    // Notes the word's language and text in the index when it is in there.
    void updateIndex();

    bool indexed = false;  // this record (not just a record with its id) is in the index
    std::wstring text;
    std::wstring ipaPronounciation;
    std::wstring mnemonic;
};
