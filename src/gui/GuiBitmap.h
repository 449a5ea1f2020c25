#pragma once

// A picture read from a 24-bit BMP file (a flag, a keyboard image, a hint picture), scaled to the
// element's rectangle. Scaling happens pixel by pixel at every paint, so the picture is drawn only
// in intense paints and never while a superior element (an unfolded list) lies over the screen.
//
// A file that cannot be opened, or that is no picture (gui/BmpPicture.h), counts as a missing
// picture: nothing is drawn and nothing is reported.

#include <string>
#include <vector>

#include "gui/GuiElement.h"

class GuiBitmap : public GuiElement {
public:
    // An empty bitmap (no picture) centred at (centerX, centerY), on every page.
    GuiBitmap(int centerX, int centerY, int theWidth, int theHeight);

    void render(const RECT& rc) override;

    // Drops the current picture and loads the one at `p`; false (and empty) when it is missing.
    // Repaints the rectangle intensely either way.
    bool changeFile(const char* p);
    // Drops the picture and its path.
    void unloadFile();
    // Equal when both show the file of the same path (byte comparison), or both show none.
    bool operator==(const GuiBitmap& other) const;

    bool isValid() const { return valid; }
    // The path of the loaded picture; null while none is loaded.
    const char* getPath() const { return valid ? path.c_str() : nullptr; }
    unsigned long getPixelWidth() const { return pixelWidth; }
    unsigned long getPixelHeight() const { return pixelHeight; }
    // The colour (0x00BBGGRR) at a pixel of the picture, which must exist.
    COLORREF pixelAt(unsigned long column, unsigned long row) const { return bit[column * pixelHeight + row]; }

private:
    // Loads the picture at `p` unless one is already loaded; false when it is missing.
    bool loadFile(const char* p);

    std::string path;
    bool valid = false;
    unsigned long pixelWidth = 0;
    unsigned long pixelHeight = 0;
    std::vector<COLORREF> bit;  // column after column, row 0 at the top
};

// A bitmap showing the picture at `path`, or null (no element at all) when it is missing. The
// caller owns the result (and hands it to a screen, usually).
GuiBitmap* createGuiBitmap(int centerX, int centerY, int theWidth, int theHeight, const char* path);
// A bitmap that loads the picture at `path` when the path is not empty (null counts as empty); it
// may stay empty and receive a picture later. Never null; the caller owns it.
GuiBitmap* createPermanentGuiBitmap(int centerX, int centerY, int theWidth, int theHeight, const char* path);
