#include "shell/framework.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <deque>

#include "resources/SecondStrings.h"
#include "resources/frameworkFileManager.h"

int targetWidth = 0;
int targetHeight = 0;
// Until the first paint measures the window, pixels and virtual units are taken as equal.
double ratioX = 1.0;
double ratioY = 1.0;
double ratioMin = 1.0;
platform::Painter* hdc = nullptr;
RECT updateArea;
bool intenseUpdate = false;
bool forceIntenseUpdate = false;
bool sizeMoveFlag = false;
bool preventBackground = false;
bool bitmapRepaint = false;
char preApplicationKeyboard[9] = {};
KeyboardLayout* firstKL = nullptr;

namespace {

// Owns the layout records; a deque never moves its elements, so the list links stay valid.
std::deque<KeyboardLayout> layoutRecords;

// The window to work on; null before any is set up, when the framework's requests have no
// window to go to.
platform::Platform* window() { return platform::hasCurrent() ? &platform::current() : nullptr; }

int toVirtual(int pixel, double ratio) { return ratio == 0.0 ? 0 : framewTruncate(pixel / ratio); }

void copyIdentifier(char (&target)[9], const char* source) {
    std::strncpy(target, source, 8);
    target[8] = '\0';
}

KeyboardLayout* findLayout(const char* id) {
    for (KeyboardLayout* layout = firstKL; layout != nullptr; layout = layout->nextLayout) {
        if (std::strcmp(layout->keyboardLocalID, id) == 0) {
            return layout;
        }
    }
    return nullptr;
}

void appendLayout(const char* id, const std::string& handle) {
    KeyboardLayout& record = layoutRecords.emplace_back();
    copyIdentifier(record.keyboardLocalID, id);
    record.hKeyboardLayout = handle;
    if (layoutRecords.size() == 1) {
        firstKL = &record;
    } else {
        layoutRecords[layoutRecords.size() - 2].nextLayout = &record;
    }
}

}  // namespace

void framewInit(int width, int height) {
    targetWidth = width;
    targetHeight = height;
    bitmapRepaint = true;
    loadValues();
    loadSecondStrings();
}

void framewUpdate(platform::Platform* window) { platform::setCurrent(window); }

// --- coordinates ---

int framewTruncate(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

int framewFarEdge(int origin, int extent) {
    const long long sum = static_cast<long long>(origin) + extent;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

platform::PixelRect framewPixelRect(int x, int y, int width, int height) {
    return {realX(x), realY(y), realX(framewFarEdge(x, width)), realY(framewFarEdge(y, height))};
}

int virtualX(int x) { return toVirtual(x, ratioX); }
int virtualY(int y) { return toVirtual(y, ratioY); }
int realX(int x) { return framewTruncate(x * ratioX); }
int realY(int y) { return framewTruncate(y * ratioY); }

// --- paints ---

void framewBeginPaint() {
    platform::Platform* target = window();
    if (target == nullptr) {
        return;
    }
    std::optional<platform::PixelRect> update = target->updateRect();
    const platform::PixelSize client = target->clientSize();
    platform::PixelRect area = update.value_or(platform::PixelRect{0, 0, client.width, client.height});
    if (!update) {
        intenseUpdate = true;
    }
    hdc = &target->beginPaint();
    ratioX = targetWidth > 0 ? static_cast<double>(client.width) / targetWidth : 0.0;
    ratioY = targetHeight > 0 ? static_cast<double>(client.height) / targetHeight : 0.0;
    ratioMin = ratioX < ratioY ? ratioX : ratioY;
    updateArea = {virtualX(area.left), virtualY(area.top), virtualX(area.right), virtualY(area.bottom)};
}

void framewEndPaint() {
    forceIntenseUpdate = false;
    intenseUpdate = !sizeMoveFlag;
    bitmapRepaint = true;
    if (platform::Platform* target = window()) {
        target->endPaint();
    }
    hdc = nullptr;
}

void framewRepaint() {
    intenseUpdate = true;
    forceIntenseUpdate = true;
    bitmapRepaint = false;
    preventBackground = false;
    if (platform::Platform* target = window()) {
        target->invalidateAll();
    }
}

void framewRepaint(int x, int y, int width, int height, bool intense, bool bitRepaint) {
    const platform::PixelRect pixels = framewPixelRect(x, y, width, height);
    if (intense) {
        forceIntenseUpdate = true;
        intenseUpdate = true;
    } else if (!forceIntenseUpdate) {
        intenseUpdate = false;
    }
    if (!bitRepaint) {
        bitmapRepaint = false;
        preventBackground = false;
    }
    if (platform::Platform* target = window()) {
        target->invalidate(pixels);
    }
}

void framewPreventBackground(bool p) { preventBackground = bitmapRepaint ? p : false; }

void sizeMoveLoop(bool b) {
    sizeMoveFlag = b;
    if (b) {
        intenseUpdate = false;
    } else {
        framewRepaint();
    }
}

// --- keyboard layouts ---

void setKL(const char* keyLocalID) {
    platform::Platform* target = window();
    if (keyLocalID == nullptr || target == nullptr) {
        return;
    }
    char id[9];
    copyIdentifier(id, keyLocalID);
    platform::KeyboardLayouts& layouts = target->keyboardLayouts();
    if (KeyboardLayout* known = findLayout(id)) {
        layouts.activate(known->hKeyboardLayout);
        return;
    }
    // A layout that cannot be loaded is remembered with no handle, so activating it later
    // changes nothing either.
    const bool loaded = layouts.activate(id);
    appendLayout(id, loaded ? std::string(id) : std::string());
}

void getKL(char* keyLocalID) {
    if (keyLocalID == nullptr) {
        return;
    }
    platform::Platform* target = window();
    char id[9] = {};
    if (target != nullptr) {
        copyIdentifier(id, target->keyboardLayouts().activeLayout().c_str());
    }
    std::memcpy(keyLocalID, id, sizeof id);
    if (target != nullptr && findLayout(id) == nullptr) {
        appendLayout(id, id);
    }
}

void framewReset() {
    targetWidth = 0;
    targetHeight = 0;
    ratioX = ratioY = ratioMin = 1.0;
    platform::setCurrent(nullptr);
    hdc = nullptr;
    updateArea = {};
    intenseUpdate = forceIntenseUpdate = sizeMoveFlag = preventBackground = bitmapRepaint = false;
    std::memset(preApplicationKeyboard, 0, sizeof preApplicationKeyboard);
    firstKL = nullptr;
    layoutRecords.clear();
    framewResetResources();
}
