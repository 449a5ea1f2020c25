#pragma once

// The record list of an editor's list screen (states/ListState.h), as the editor's update
// handlers reach it: they run while their screen is the current one.

#include <string>

#include "gui/GuiItemfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "states/ListState.h"

// The element of the current screen tagged `tag`, of the expected kind; null when there is none.
template <typename Element>
Element* onScreen(const char* tag) {
    return getElementByTag<Element>(tag, curState);
}

// The current screen's record list; null when the screen has none.
inline GuiItemfield* editorList() { return onScreen<GuiItemfield>(TAG_ITEMLIST); }

// Appends an entry showing a copy of `text` that stands for record `id`.
inline void addListEntry(GuiItemfield& list, const wchar_t* text, unsigned id) {
    list.addItem(text);
    list.setLastId(id);
}

// The record the list's highlighted entry stands for; null when the list is empty or the record
// is gone.
template <typename Record>
Record* activeListRecord() {
    const GuiItemfield* list = editorList();
    if (list == nullptr || list->getNumberOfCurrentElements() == 0) {
        return nullptr;
    }
    return Record::getById(list->getActiveId());
}
