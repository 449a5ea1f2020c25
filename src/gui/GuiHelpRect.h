#pragma once

// A rectangle of the virtual canvas that can be hit, pressed, hovered and repainted: the root of
// every interface element.
//
// Hit tests include all four edges (an element at x 100 with width 50 is hit at x 100 and 150);
// paint tests treat the right and bottom edges as exclusive, so an element that only touches the
// update area is not repainted. A complete click is a press and a release both inside.

#include "shell/framework.h"
#include "resources/frameworkFileManager.h"

class GuiHelpRect {
public:
    GuiHelpRect(int x, int y, int width, int height);
    // Leaves the geometry at zero for a subclass that computes it.
    GuiHelpRect();
    GuiHelpRect(const GuiHelpRect&) = delete;
    GuiHelpRect& operator=(const GuiHelpRect&) = delete;

    // Moves the element; both the old and the new rectangle are repainted intensely.
    virtual void repositionElement(int x, int y, int width, int height);
    // Stores the colour (the fill, or the text colour of texts) and repaints intensely.
    virtual void setBackgroundColour(COLORREF colour);
    virtual ~GuiHelpRect() = default;

    // Whether the point lies in the rectangle, edges included.
    bool checkPos(int posX, int posY) const;
    // A press: clicked = the press landed inside; hovered cleared. Returns clicked.
    bool clickPos(int x, int y);
    // A move: hovered = the pointer is inside; clicked cleared. Returns hovered.
    bool hoverPos(int x, int y);
    // A release: hovered = the pointer is inside; returns whether the click was complete (pressed
    // and released inside); clicked is cleared.
    bool unclickPos(int x, int y);
    // Whether the element must paint in this paint: never for intense-only elements in a light
    // paint or while the current screen has a superior element; otherwise when the rectangle and
    // `rc` overlap by more than an edge.
    bool confirmRender(const RECT& rc, bool intenseOnly) const;
    // Whether the rectangle and `rc` overlap by more than an edge (right and bottom exclusive).
    bool overlaps(const RECT& rc) const;
    // Requests an intense repaint of the rectangle.
    void inval() const;
    // Moves the rectangle without requesting any repaint: for containers that lay their children
    // out inside their own area and repaint that area themselves.
    void place(int newX, int newY, int newWidth, int newHeight);

    int getX() const { return x; }
    int getY() const { return y; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool isClicked() const { return clicked; }
    bool isHovered() const { return hovered; }
    COLORREF getBackgroundColour() const { return bgrnd; }

protected:
    // Requests a light repaint of the rectangle: the feedback of hovering, pressing and editing,
    // which need not redraw pictures.
    void lightRepaint() const;

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool clicked = false;
    bool hovered = false;
    COLORREF bgrnd = 0;
};
