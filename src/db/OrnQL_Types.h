#pragma once

// Types shared by every part of the database engine and by the record classes built on it.

// Numbers the tables. Also indexes every per-table array of the engine (a record's dependency
// ids, its relation trees, a table's truth table and associators). D_ENDTAG is the number of
// tables and, given to a load or save function, stands for all of them.
enum dependency {
    D_LANGUAGE = 0,
    D_ARTICLE = 1,
    D_TENSE = 2,
    D_PERSON = 3,
    D_VERBPATTERN = 4,
    D_WORD = 5,
    D_IRREGULARVERB = 6,
    D_MEANING = 7,
    D_CATEGORY = 8,
    D_FLASHCARD = 9,
    D_LESSON = 10,
    D_LEVEL = 11,
    D_ASSO_C_M = 12,
    D_ASSO_M_W = 13,
    D_ASSO_F_W = 14,
    D_VOICE = 15,
    D_ANSWER = 16,  // the answer history; nothing depends on it
    D_ENDTAG = 17
};

// The kind of a queryable attribute and of a parsed query value. What a record's getData hands
// out for each kind: STRING a char const* (zero-terminated), UNICODE a wchar_t const*
// (zero-terminated), NUMBER an int32_t const*, FLOAT a double const*, BOOL a bool const*.
enum QueryType {
    QUERY_INVALID = 0,
    QUERY_STRING = 1,
    QUERY_UNICODE = 2,
    QUERY_NUMBER = 3,
    QUERY_FLOAT = 4,
    QUERY_BOOL = 5
};

// Records are stored in groups ("bounds") of this many consecutive ids, one file per group.
inline constexpr unsigned RECORDS_PER_BOUND = 10;

// Ids above this cannot be addressed by the int-keyed parts of the interface (operator[],
// bound ranges); getById answers null for them and the loader refuses them.
inline constexpr unsigned LARGEST_RECORD_ID = 0x7FFFFFFFu;

// True for the numbers that name one table (not D_ENDTAG, not out of range).
constexpr bool isTable(int d) { return d >= 0 && d < D_ENDTAG; }

// The tables a record can depend on: the first fifteen. Every stored record holds one dependency
// id for each of them, whatever table it belongs to, so this number is part of every table file's
// format. A table added later is numbered after them; its records may depend on the first fifteen,
// but nothing depends on it.
inline constexpr int STORED_DEPENDENCIES = 15;
static_assert(STORED_DEPENDENCIES <= D_ENDTAG);

// True for the tables a record can depend on.
constexpr bool isDependencyTable(int d) { return d >= 0 && d < STORED_DEPENDENCIES; }
