#pragma once

// A focusable element for state machine tests: writes the events that concern it into a shared
// journal ("A:click", "B:focus+", "A:key 37 shift", ...), counts every pointer event handed to
// it, hit or not, and draws its name.

#include <string>
#include <vector>

#include "gui/FocusElement.h"
#include "shell/frameworkPainter.h"

namespace mernolex::test {

class ProbeElement : public FocusElement {
public:
    ProbeElement(std::string name, std::vector<std::string>& journal, int x, int y, int width = 50,
                 int height = 20, long conditions = -1, bool intenseOnly = false)
        : FocusElement(x, y, width, height, conditions),
          name(std::move(name)),
          journal(journal),
          intenseOnly(intenseOnly) {}
    ~ProbeElement() override { log("destroyed"); }

    void render(const RECT& rc) override {
        if (confirmRender(rc, intenseOnly)) {
            framewPaintRect(x, y, width, height, bgrnd, focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
            const std::wstring caption(name.begin(), name.end());
            framewPaintTextW(x, y, width, height, FONT1, caption.c_str(), TEXT_CENTRE, 0);
        }
    }
    bool click(int px, int py) override {
        ++presses;
        lastX = px;
        lastY = py;
        const bool inside = clickPos(px, py);
        if (inside) {
            log("click");
            if (takesFocusOnClick) {
                requireFocus();
            }
            if (onClick != nullptr) {
                onClick(*this);
            }
        }
        return inside;
    }
    bool unclick(int px, int py) override {
        ++releases;
        const bool complete = unclickPos(px, py);
        if (complete) {
            log("unclick");
        }
        return complete;
    }
    bool hover(int px, int py) override {
        ++moves;
        const bool inside = hoverPos(px, py);
        if (inside) {
            log("hover");
        }
        return inside;
    }
    void changeFocus(bool newFocus) override {
        if (newFocus != focused) {
            log(newFocus ? "focus+" : "focus-");
        }
        FocusElement::changeFocus(newFocus);
    }
    void unicode(wchar_t key) override { log("char " + std::to_string(static_cast<int>(key))); }
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override {
        log("key " + std::to_string(key) + (shiftDown ? " shift" : "") + (ctrlDown ? " ctrl" : ""));
    }

    std::string name;
    std::vector<std::string>& journal;
    bool intenseOnly;
    bool takesFocusOnClick = false;
    int presses = 0;  // every press handed to the element, hit or not
    int releases = 0;
    int moves = 0;
    int lastX = 0;  // where the last press was handed to it
    int lastY = 0;
    void (*onClick)(ProbeElement&) = nullptr;

private:
    void log(const std::string& what) { journal.push_back(name + ":" + what); }
};

}  // namespace mernolex::test
