#include "gui/GuiLanguageSwitch.h"

#include <array>

#include "gui/GuiItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "shell/framework.h"

GuiLanguageSwitch::GuiLanguageSwitch(char mode, SwitchLanguageLookup lookup)
    : GuiElement(ALL_CONDITIONS), mode(mode), lookup(lookup) {}

std::array<GuiBitmap*, 3> GuiLanguageSwitch::shownPictures() const {
    return {shows(SHOW_KEYBOARD) ? bitmapKeyboard.get() : nullptr,
            shows(SHOW_KNOWN_FLAG) ? bitmapKnownFlag.get() : nullptr,
            shows(SHOW_FOREIGN_FLAG) ? bitmapForeignFlag.get() : nullptr};
}

void GuiLanguageSwitch::render(const RECT& rc) {
    for (GuiBitmap* picture : shownPictures()) {
        if (picture != nullptr) {
            picture->render(rc);
        }
    }
}

// Every shown picture hears each pointer event; the results are combined.
bool GuiLanguageSwitch::click(int x, int y) {
    bool concerned = false;
    for (GuiBitmap* picture : shownPictures()) {
        concerned = (picture != nullptr && picture->click(x, y)) || concerned;
    }
    return concerned;
}

bool GuiLanguageSwitch::unclick(int x, int y) {
    bool concerned = false;
    for (GuiBitmap* picture : shownPictures()) {
        concerned = (picture != nullptr && picture->unclick(x, y)) || concerned;
    }
    return concerned;
}

bool GuiLanguageSwitch::hover(int x, int y) {
    bool concerned = false;
    for (GuiBitmap* picture : shownPictures()) {
        concerned = (picture != nullptr && picture->hover(x, y)) || concerned;
    }
    return concerned;
}

void GuiLanguageSwitch::reRender() {
    for (GuiBitmap* picture : shownPictures()) {
        if (picture != nullptr) {
            picture->reRender();
        }
    }
}

void GuiLanguageSwitch::setForeign(unsigned languageId) { changeLanguage(foreignSide(), languageId); }

void GuiLanguageSwitch::setKnown(unsigned languageId) { changeLanguage(knownSide(), languageId); }

bool GuiLanguageSwitch::lookUp(unsigned languageId, SwitchLanguage& found) const {
    return languageId != 0 && lookup != nullptr && lookup(languageId, found);
}

void GuiLanguageSwitch::changeLanguage(const Side& side, unsigned languageId) {
    if (languageId == side.id) {
        return;
    }
    SwitchLanguage found;
    const bool exists = lookUp(languageId, found);
    side.id = exists ? languageId : 0;
    if (shows(side.flagBit)) {
        replacePicture(side.flag, exists ? found.flagPicture : std::string(), side.flagPlace);
    }
    if (currentlyActive == side.name) {
        // The keyboard picture and the layout follow the language being typed.
        currentlyActive.clear();
        switchLanguage(side.name);
    }
    if (side.updateTag != nullptr && curState != nullptr && curState->updateFunc != nullptr) {
        curState->updateFunc(side.updateTag);
    }
}

void GuiLanguageSwitch::switchLanguage(const char* target) {
    if (target == nullptr || currentlyActive == target) {
        return;
    }
    currentlyActive = target;
    unsigned languageId = 0;
    if (currentlyActive == FOREIGN) {
        languageId = foreignId;
    } else if (currentlyActive == KNOWN) {
        languageId = knownId;
    } else {
        return;
    }
    SwitchLanguage found;
    const bool exists = lookUp(languageId, found);
    if (shows(SHOW_KEYBOARD)) {
        replacePicture(bitmapKeyboard, exists ? found.keyboardPicture : std::string(), keyboardPlace);
    }
    setKL(exists ? found.keyboardLocalID.c_str() : preApplicationKeyboard);
}

void GuiLanguageSwitch::replacePicture(std::unique_ptr<GuiBitmap>& picture, const std::string& path,
                                       const Placement& place) {
    if (picture) {
        // Where the old picture was, the background shows again.
        framewRepaint(picture->getX(), picture->getY(), picture->getWidth(), picture->getHeight(), true, false);
        picture.reset();
    }
    if (!path.empty()) {
        // A missing file gives no picture; a picture found requests its own repaint.
        picture.reset(createGuiBitmap(place.centreX, place.centreY, place.width, place.height, path.c_str()));
    }
}

void GuiLanguageSwitch::place(std::unique_ptr<GuiBitmap>& picture, Placement& stored, const Placement& wanted) {
    stored = wanted;
    if (picture) {
        picture->repositionElement(wanted.centreX - wanted.width / 2, wanted.centreY - wanted.height / 2, wanted.width,
                                   wanted.height);
    }
}

void GuiLanguageSwitch::setKeyboardPosition(int centreX, int centreY, int width, int height) {
    place(bitmapKeyboard, keyboardPlace, {centreX, centreY, width, height});
}

void GuiLanguageSwitch::setForeignFlagPosition(int centreX, int centreY, int width, int height) {
    place(bitmapForeignFlag, foreignFlagPlace, {centreX, centreY, width, height});
}

void GuiLanguageSwitch::setKnownFlagPosition(int centreX, int centreY, int width, int height) {
    place(bitmapKnownFlag, knownFlagPlace, {centreX, centreY, width, height});
}

void GuiLanguageSwitch::switchLanguage(const void* voidSwitch, const void* target) {
    if (voidSwitch != nullptr) {
        static_cast<GuiLanguageSwitch*>(const_cast<void*>(voidSwitch))->switchLanguage(static_cast<const char*>(target));
    }
}

void GuiLanguageSwitch::changeForeignLanguage(const void* voidSwitch, const void* field) {
    if (voidSwitch != nullptr) {
        static_cast<GuiLanguageSwitch*>(const_cast<void*>(voidSwitch))
            ->setForeign(evalLanguageId(static_cast<const GuiElement*>(field)));
    }
}

void GuiLanguageSwitch::changeKnownLanguage(const void* voidSwitch, const void* field) {
    if (voidSwitch != nullptr) {
        static_cast<GuiLanguageSwitch*>(const_cast<void*>(voidSwitch))
            ->setKnown(evalLanguageId(static_cast<const GuiElement*>(field)));
    }
}

unsigned GuiLanguageSwitch::evalLanguageId(const GuiElement* element) {
    if (const auto* selection = dynamic_cast<const GuiSelectionfield*>(element)) {
        return selection->getActiveId();
    }
    if (const auto* list = dynamic_cast<const GuiItemfield*>(element)) {
        return list->getActiveId();
    }
    return 0;
}
