#include "gui/GuiItemfield.h"

#include <algorithm>

#include "platform/KeyCodes.h"
#include "shell/frameworkPainter.h"

GuiItemfield::GuiItemfield(int x, int y, int width, int height)
    : FocusElement(x, y, width, height, ALL_CONDITIONS),
      currentLineHeight(std::min(height, MAX_LINE_HEIGHT)) {}

void GuiItemfield::repositionElement(int newX, int newY, int newWidth, int newHeight) {
    FocusElement::repositionElement(newX, newY, newWidth, newHeight);
    resizeField(true);
}

void GuiItemfield::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    framewPaintRect(x, y, width, height, bgrnd, focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        GuiText& entry = *entries[i];
        if (i == active) {
            framewPaintRect(entry.getX(), entry.getY(), entry.getWidth(), entry.getHeight(),
                            colours[MARKED_RGB], PEN_SOLID, 0, 0);
        }
        entry.render(rc);
    }
}

bool GuiItemfield::unclick(int posX, int posY) {
    if (!unclickPos(posX, posY)) {
        return false;
    }
    if (!focused) {
        requireFocus();
    }
    lightRepaint();
    if (entries.empty()) {
        return true;
    }
    int hit = -1;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        entries[i]->click(posX, posY);
        if (entries[i]->unclick(posX, posY) && hit < 0) {
            hit = i;
        }
    }
    // Below the last entry there is nothing to hit: the last entry is the nearest choice.
    activate(hit >= 0 ? hit : static_cast<int>(entries.size()) - 1);
    triggerSpecFunc();
    return true;
}

void GuiItemfield::unicode(wchar_t) {}

void GuiItemfield::sysKey(unsigned key, bool, bool) {
    if (entries.size() <= 1) {
        return;
    }
    int target = active;
    if (key == platform::key::Up && active > 0) {
        target = active - 1;
    } else if (key == platform::key::Down && active + 1 < static_cast<int>(entries.size())) {
        target = active + 1;
    }
    if (target == active) {
        return;
    }
    activate(target);
    triggerSpecFunc();
    lightRepaint();
}

void GuiItemfield::addItem(const wchar_t* nStr) {
    ++version;
    const int row = static_cast<int>(entries.size());
    // Constructed around the centre of its row, which puts its top-left corner exactly on the row.
    entries.push_back(std::make_unique<GuiText>(nStr != nullptr ? nStr : L"", x + width / 2,
                                                y + row * currentLineHeight + currentLineHeight / 2, width,
                                                currentLineHeight, FONT1, TEXT_CENTRE));
    ids.push_back(0);
    if (active < 0) {
        active = 0;
    }
    resizeField(false);
    lightRepaint();
}

void GuiItemfield::changeItem(const wchar_t* nStr) {
    ++version;
    if (active >= 0) {
        entries[active]->setText(nStr != nullptr ? nStr : L"");
    }
}

void GuiItemfield::deleteItem() {
    ++version;
    if (active < 0) {
        return;
    }
    entries.erase(entries.begin() + active);
    ids.erase(ids.begin() + active);
    const int remaining = static_cast<int>(entries.size());
    if (remaining == 0) {
        active = -1;
    } else {
        active = std::min(active, remaining - 1);
        resizeField(true);
    }
    lightRepaint();
}

void GuiItemfield::deleteLastItem() {
    ++version;
    if (entries.empty()) {
        return;
    }
    entries.pop_back();
    ids.pop_back();
    active = std::min(active, static_cast<int>(entries.size()) - 1);
    lightRepaint();  // the removed row must vanish from the screen
}

void GuiItemfield::clearField() {
    ++version;
    entries.clear();
    ids.clear();
    active = -1;
    lightRepaint();
}

void GuiItemfield::setSpecFuncToFunc() { internalSpecFuncToFunc(this); }

void GuiItemfield::setLastId(unsigned i) {
    ++version;
    if (!ids.empty()) {
        ids.back() = i;
    }
}

const wchar_t* GuiItemfield::getEntry(int entryPos) const {
    if (entryPos < 0 || entryPos >= static_cast<int>(entries.size())) {
        return L"";
    }
    const wchar_t* text = entries[entryPos]->getTextW();
    return text != nullptr ? text : L"";
}

unsigned GuiItemfield::getEntryId(int entryPos) const {
    return entryPos >= 0 && entryPos < static_cast<int>(ids.size()) ? ids[entryPos] : 0;
}

COLORREF GuiItemfield::getEntryColour(int entryPos) const {
    return entryPos >= 0 && entryPos < static_cast<int>(entries.size()) ? entries[entryPos]->getBackgroundColour()
                                                                         : 0;
}

void GuiItemfield::setActivePosition(int nPosition) {
    if (nPosition < 0 || nPosition >= static_cast<int>(entries.size())) {
        return;
    }
    activate(nPosition);
    lightRepaint();
}

void GuiItemfield::setActiveToId(unsigned id) {
    const auto found = std::find(ids.begin(), ids.end(), id);
    if (found != ids.end()) {
        activate(static_cast<int>(found - ids.begin()));
    }
    lightRepaint();
}

const wchar_t* GuiItemfield::getActiveEntry() const { return getEntry(active); }

unsigned GuiItemfield::getActiveId() const { return getEntryId(active); }

bool GuiItemfield::containsId(unsigned i) const { return std::find(ids.begin(), ids.end(), i) != ids.end(); }

void GuiItemfield::setColourId(unsigned i, COLORREF newColour) {
    ++version;
    for (std::size_t n = 0; n < ids.size(); ++n) {
        if (ids[n] == i) {
            entries[n]->setBackgroundColour(newColour);
        }
    }
}

void GuiItemfield::setConAndRepaint(long mask) {
    setConditions(mask);
    lightRepaint();
}

void GuiItemfield::resizeField(bool force) {
    if (entries.empty()) {
        return;
    }
    const int lineHeight = std::min(height / static_cast<int>(entries.size()), MAX_LINE_HEIGHT);
    if (lineHeight == currentLineHeight && !force) {
        return;
    }
    currentLineHeight = lineHeight;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        placeEntry(i);
    }
}

void GuiItemfield::activate(int position) { active = position; }

void GuiItemfield::placeEntry(int position) {
    entries[position]->place(x, y + position * currentLineHeight, width, currentLineHeight);
}
