#pragma once

// An element of a screen: a rectangle with a place in the screen's element list, the pages it
// takes part on and a tag by which the screen finds it again.
//
// Event contract: the state machine hands every mouse event to every element that takes part,
// topmost first, without capture; each element decides with the hit tests of GuiHelpRect whether
// the event concerns it. Keyboard events go to the focused element only (see FocusElement).
// Elements never paint from an event; they request repaints and draw in render().

#include <string>

#include "gui/GuiHelpRect.h"

// The page mask of an element that takes part on every page.
constexpr long ALL_CONDITIONS = -1;

class GuiElement : public GuiHelpRect {
public:
    explicit GuiElement(long conditions);
    GuiElement(int x, int y, int width, int height, long conditions);

    // Draws the element inside a paint; `rc` is the paint's update area in virtual units.
    virtual void render(const RECT& rc) = 0;
    // A press, a release and a move of the pointer (virtual coordinates). The results report
    // whether the event concerned the element; unclick's is true for a complete click.
    virtual bool click(int x, int y);
    virtual bool unclick(int x, int y);
    virtual bool hover(int x, int y);
    // Requests the element's repaint after a change of its look.
    virtual void reRender();

    long getConditions() const { return conditions; }
    void setConditions(long mask) { conditions = mask; }
    // Stores the mask and repaints.
    void resetConditions(long mask);

    // Stores the pointer: the text must outlive the element (a literal, usually).
    void setTag(const char* newTag);
    // Copies the text, for tags built at run time in a modifiable buffer.
    void setTag(char* newTag);
    // Never null; "" until a tag is set.
    const char* getTag() const { return tag; }

    // Links of the screen's element list; only the state machine changes them.
    GuiElement* nextElement = nullptr;
    GuiElement* prevElement = nullptr;

protected:
    long conditions;

private:
    const char* tag = "";
    std::string fleetingTag;  // the copy `tag` points at after setTag(char*)
};
