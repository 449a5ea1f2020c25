#pragma once

#include <fstream>
#include <string>
#include <vector>

class GuiTable;

// A verb table: one cell per tense and person of the verb's language. content[x][y] is the cell
// of tense index x and person index y, where an index is the position of the tense (person) among
// the language's tenses (persons) in ascending record id. Every cell is a text (a new cell is
// empty); the table grows and shrinks with the language's grammar tables (addTense, deleteTense,
// addPerson, deletePerson).
//
// A mix-in of VerbPattern and IrregularVerb: the record class forwards saveRequest to its table,
// so that every change here marks the record for saving.
class Verb {
public:
    // Cells indexed tense first, then person.
    using Cells = std::vector<std::vector<std::wstring>>;

    // A stored table larger than this in either direction is damaged, never an allocation.
    static constexpr unsigned MAX_DIMENSION = 4096;

    Verb(unsigned tenses, unsigned persons);
    virtual ~Verb() = default;
    virtual void saveRequest() = 0;
    // Whether `submission` is the form of tense t and person p (of `infinitive`, for patterns).
    virtual bool checkOn(unsigned t, unsigned p, const wchar_t* submission, const wchar_t* infinitive) = 0;

    // An empty table for the current counts / no cells at all.
    void initalize();
    void terminate();
    // Empty table of the new shape; if newContent is given (same shape, tense first), every cell
    // is copied and the record marked for saving, otherwise nothing is marked.
    void reinitialize(unsigned newTenses, unsigned newPersons, const Cells* newContent);

    // Replaces a cell and marks for saving; indices out of range are ignored.
    void addContent(const wchar_t* text, unsigned x, unsigned y);
    // The cell, or null when out of range.
    const wchar_t* get_content(unsigned x, unsigned y) const;

    // Append a column of empty cells (new last tense) / an empty cell to every column (new last
    // person); delete a column / row, shifting the later ones. Each marks for saving; a deletion
    // out of range does nothing.
    void addTense();
    void addPerson();
    void deleteTense(unsigned x);
    void deletePerson(unsigned y);

    unsigned get_tenses() const { return tenses; }
    unsigned get_persons() const { return persons; }
    const Cells& cells() const { return content; }

    // Verb tables on screen (defined with the element toolkit).
    void addContent(GuiTable* table);
    void fillTable(GuiTable* table);
    // Judges and colours every cell; `cellsRight`, when given, receives each cell's judgement,
    // tense by tense (cell of tense x and person y at x * persons + y).
    bool checkTableSubmission(GuiTable* table, const wchar_t* infinitive, std::vector<bool>* cellsRight = nullptr);
    void setTableEditable(GuiTable* table, bool editable);
    static GuiTable* createEmptyTable(unsigned languageId);

protected:
    // Stored as: tenses (4 bytes), persons (4 bytes) ... then, written by saveCells after any
    // fields of the record class, every cell as a wide text, tense by tense, persons in order.
    // A count above MAX_DIMENSION throws OrnQLException_Custom (a damaged table).
    void loadCounts(std::istream& in);
    void saveCounts(std::ostream& out) const;
    // Reads the cells of the shape loadCounts read, without marking for saving. A table cut short
    // keeps the complete columns it could read.
    void loadCells(std::istream& in);
    void saveCells(std::ostream& out) const;

    unsigned tenses = 0;
    unsigned persons = 0;
    Cells content;
};
