#include "gui/GuiBitmap.h"

#include <memory>

#include "gui/BmpPicture.h"
#include "shell/frameworkPainter.h"

GuiBitmap::GuiBitmap(int centerX, int centerY, int theWidth, int theHeight)
    : GuiElement(centerX - theWidth / 2, centerY - theHeight / 2, theWidth, theHeight, ALL_CONDITIONS) {}

void GuiBitmap::render(const RECT& rc) {
    if (!confirmRender(rc, true) || !valid) {
        return;
    }
    framewPaintBitmapFull(BitmapPixels{bit.data(), pixelWidth, pixelHeight}, x, y, width, height);
}

bool GuiBitmap::changeFile(const char* p) {
    inval();
    unloadFile();
    return loadFile(p);
}

void GuiBitmap::unloadFile() {
    bit.clear();
    bit.shrink_to_fit();
    path.clear();
    pixelWidth = 0;
    pixelHeight = 0;
    valid = false;
}

bool GuiBitmap::operator==(const GuiBitmap& other) const {
    return valid == other.valid && path == other.path;
}

bool GuiBitmap::loadFile(const char* p) {
    if (valid) {
        return true;
    }
    if (p == nullptr) {
        return false;
    }
    std::optional<BmpPicture> picture = readBmpFile(p);
    if (!picture) {
        return false;
    }
    pixelWidth = picture->pixelWidth;
    pixelHeight = picture->pixelHeight;
    bit = std::move(picture->bit);
    path = p;
    valid = true;
    return true;
}

GuiBitmap* createGuiBitmap(int centerX, int centerY, int theWidth, int theHeight, const char* path) {
    auto bitmap = std::make_unique<GuiBitmap>(centerX, centerY, theWidth, theHeight);
    if (!bitmap->changeFile(path)) {
        return nullptr;
    }
    return bitmap.release();
}

GuiBitmap* createPermanentGuiBitmap(int centerX, int centerY, int theWidth, int theHeight, const char* path) {
    auto* bitmap = new GuiBitmap(centerX, centerY, theWidth, theHeight);
    if (path != nullptr && path[0] != '\0') {
        bitmap->changeFile(path);
    }
    return bitmap;
}
