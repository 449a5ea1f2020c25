#pragma once

// A list box of text entries, each paired with a record id (0 until set), one of which is active
// (highlighted). Screens fill it with addItem followed by setLastId and read the user's choice with
// getActiveId. The rectangle is given by its top-left corner.
//
// Invariants:
//   - entries and ids run in parallel, one id per entry;
//   - `active` is -1 exactly when the list is empty, else a valid position;
//   - entry i lies at (x, y + i * currentLineHeight, width, currentLineHeight) once resizeField
//     has run; the line height is the list height over the number of entries, at most 30.
//
// The special function (SpecFuncElement) runs on every click in the list, also when the active
// entry is clicked again, and on every Up or Down that moves the active entry.
//
//   input                              effect
//   click on an entry                  that entry becomes active; special function
//   click below the last entry         the last entry becomes active; special function
//   click on an empty list             focus only
//   Up / Down                          previous / next entry becomes active; special function
//                                      (nothing at the first / last entry or with one entry)

#include <memory>
#include <string>
#include <vector>

#include "gui/FocusElement.h"
#include "gui/GuiText.h"
#include "gui/SpecFuncElement.h"

using ShiftFunc = void (*)();

class GuiItemfield : public FocusElement, public SpecFuncElement {
public:
    static constexpr int MAX_LINE_HEIGHT = 30;

    // An empty list over (x, y, width, height), on every page.
    GuiItemfield(int x, int y, int width, int height);

    // Moves the list and lays its entries out again.
    void repositionElement(int x, int y, int width, int height) override;
    void render(const RECT& rc) override;
    bool unclick(int x, int y) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

    // Appends an entry (a copy of `nStr`) with id 0; the first entry becomes active.
    virtual void addItem(const wchar_t* nStr);
    // Replaces the text of the active entry; nothing on an empty list.
    virtual void changeItem(const wchar_t* nStr);
    // Removes the active entry; the next one becomes active, or the previous one when it was last.
    virtual void deleteItem();
    // Removes the last entry; the active one stays active (its predecessor when it was the last).
    virtual void deleteLastItem();
    virtual void clearField();
    // The special function becomes a call of this list's own focus function.
    void setSpecFuncToFunc() override;
    // Sets the id of the last entry; nothing on an empty list.
    virtual void setLastId(unsigned i);

    // Text and id at a position (0-based); "" and 0 for a position that does not exist.
    const wchar_t* getEntry(int entryPos) const;
    unsigned getEntryId(int entryPos) const;
    // The colour the entry's text is drawn in; 0 for a position that does not exist.
    COLORREF getEntryColour(int entryPos) const;
    // -1 when the list is empty.
    int getActivePosition() const { return active; }
    // Ignored when out of range.
    void setActivePosition(int nPosition);
    // Activates the first entry with that id; an id no entry has leaves the active entry as it is.
    void setActiveToId(unsigned id);
    // "" and 0 when the list is empty.
    const wchar_t* getActiveEntry() const;
    unsigned getActiveId() const;
    bool containsId(unsigned i) const;
    // Every entry with id `i` is drawn in `newColour`.
    void setColourId(unsigned i, COLORREF newColour);

    int getNumberOfCurrentElements() const { return static_cast<int>(entries.size()); }
    int getCurrentLineHeight() const { return currentLineHeight; }
    // Called after a shift button moved an entry into or out of this list (see guiShiftfield).
    void setShiftFunc(ShiftFunc p) { shiftFunc = p; }
    ShiftFunc getShiftFunc() const { return shiftFunc; }
    // Sets the page mask and repaints.
    void setConAndRepaint(long mask);
    // Recomputes the line height and, when it changed or `force` is set, lays the entries out.
    void resizeField(bool force);
    // Changes whenever an entry is added, removed, renamed, recoloured or given another id: a
    // list that shows part of a longer one (GuiSearchItemfield) knows from it that its page is
    // still the one it built.
    unsigned long contentVersion() const { return version; }

private:
    void activate(int position);
    void placeEntry(int position);

    std::vector<std::unique_ptr<GuiText>> entries;
    std::vector<unsigned> ids;
    int active = -1;
    int currentLineHeight;
    unsigned long version = 0;
    ShiftFunc shiftFunc = nullptr;
};
