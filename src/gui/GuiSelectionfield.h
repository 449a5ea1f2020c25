#pragma once

// A drop-down: a one-line field showing the active entry and a downward triangle, which unfolds a
// list below itself. While unfolded it is the screen's superior element: it alone receives input
// and is drawn on top, so any click, on the list or elsewhere, closes it again.
//
//   state     input                               effect
//   folded    complete click on the field         unfolds (only when editable)
//   folded    Space / Enter                       unfolds (only when editable)
//   folded    Up / Down                           previous / next entry shown (when editable)
//   unfolded  click on an entry                   that entry shown; folds
//   unfolded  click anywhere else                 folds; the shown entry stays
//   unfolded  Space / Enter                       folds
//   unfolded  Up / Down                           previous / next entry shown
//
// The special function runs only when the shown entry really changes (updateActive).

#include <memory>

#include "gui/FocusElement.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiText.h"
#include "gui/SpecFuncElement.h"

class GuiSelectionfield : public FocusElement, public SpecFuncElement {
public:
    static constexpr int UNFOLDED_LINE_HEIGHT = 30;

    // Centred at (centerX, centerY), w x h, on every page; folded, editable, empty.
    GuiSelectionfield(int centerX, int centerY, int w, int h);

    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;
    bool hover(int x, int y) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;
    void setSpecFuncToFunc() override;

    // Delegated to the list; those that can change the active entry then run updateActive.
    void addItem(const wchar_t* t);
    void setLastId(unsigned i);
    void clearField();
    void setActiveToId(unsigned id);
    void setActivePosition(int n);
    const wchar_t* getActiveEntry() const { return guiItemfield->getActiveEntry(); }
    int getActivePosition() const { return guiItemfield->getActivePosition(); }
    unsigned getActiveId() const { return guiItemfield->getActiveId(); }
    int getNumberOfCurrentElements() const { return guiItemfield->getNumberOfCurrentElements(); }
    void setColourId(unsigned i, COLORREF colour) { guiItemfield->setColourId(i, colour); }

    // A field that is not editable never unfolds and ignores keys.
    void setEditable(bool edit) { editable = edit; }
    bool isEditable() const { return editable; }
    // Sets the page mask and repaints.
    void setConAndRepaint(long mask);
    bool isUnfolded() const { return superior; }
    // The text the field shows.
    const wchar_t* getShownText() const;
    const GuiItemfield& getItemfield() const { return *guiItemfield; }

    // Runs the special function when the shown text differs from the active entry, then shows
    // the active entry ("" for an empty list).
    void updateActive();
    // Unfolds the list below the field (one 30-unit row per entry, never below the canvas) or
    // folds it to height 0.
    void unfoldItemfield(bool unfold);

private:
    void open();
    void close();

    std::unique_ptr<GuiItemfield> guiItemfield;
    std::unique_ptr<GuiText> guiText;
    std::unique_ptr<GuiText> triangle;
    bool superior = false;
    bool editable = true;
};
