#pragma once

// One cell of a GuiTable: a rectangle holding one element (a label, a text field, another table)
// that it owns and keeps on its own rectangle. The cell's focus flag means "selected"; a focusable
// content follows it (its focus is managed by the cell, not by the screen), and only a selected
// cell passes typed keys on.

#include <memory>

#include "gui/FocusElement.h"
#include "gui/StateMachine.h"

class GuiTable;

class GuiTableCell : public FocusElement {
public:
    // An empty cell over (x, y, width, height), top-left based.
    GuiTableCell(int x, int y, int width, int height);
    ~GuiTableCell() override;

    // Moves the cell and its content.
    void repositionElement(int x, int y, int width, int height) override;
    void render(const RECT& rc) override;
    // Remembers the press and hands it to the content.
    bool click(int x, int y) override;
    // Hands the release to the content; the cell is selected exactly when this release completes
    // a click on it. Returns the selection.
    bool unclick(int x, int y) override;
    bool hover(int x, int y) override;
    // Selects or deselects the cell; a focusable content follows.
    void changeFocus(bool nFocus) override;
    // Passed to the content while the cell is selected and the content focusable.
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

    // Takes ownership of `nContent` (may be null), destroying the previous content, and moves it
    // onto the cell's rectangle.
    void setContent(GuiElement* nContent);
    GuiElement* getContent() const { return content.get(); }
    // The end of a drag over the table: the cell is selected exactly when its rectangle overlaps
    // `rc` (right and bottom exclusive); a nested table sees the drag as its own press and release.
    void cellUnclick(const RECT& rc);

    GuiTableCell* nextCell = nullptr;  // the next cell of the table, column by column

private:
    bool selected() const { return focused; }

    std::unique_ptr<GuiElement> content;
    FocusElement* fContent = nullptr;  // the content when it can take the focus
    GuiTable* contentTable = nullptr;  // the content when it is a nested table
    POINT mouseDown;
};
