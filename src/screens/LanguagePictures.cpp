#include "screens/LanguagePictures.h"

#include <string>

#include "db/OrnQL_Extra.h"
#include "gui/BmpPicture.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "shell/framework.h"
#include "states/ImageOpener.h"

namespace {

constexpr int PICTURE_X = 400;
constexpr int PICTURE_WIDTH = 60;
constexpr int PICTURE_HEIGHT = 40;

GuiText* pathText(const LanguagePictureSlot& slot) {
    return getElementByTag<GuiText>(slot.pathTag, curState);
}

std::string chosenPath(const LanguagePictureSlot& slot) {
    const GuiText* text = pathText(slot);
    const char* path = text == nullptr ? nullptr : text->getTextA();
    return path == nullptr ? std::string() : std::string(path);
}

// Puts the picture at `path` into the slot; false (and the slot as it was) when it is no picture.
bool showPicture(const LanguagePictureSlot& slot, const char* path) {
    GuiBitmap* picture = createGuiBitmap(PICTURE_X, slot.centerY, PICTURE_WIDTH, PICTURE_HEIGHT, path);
    if (picture == nullptr) {
        return false;
    }
    releaseElementFromState(curState, slot.pictureTag);
    picture->setConditions(slot.pages);
    picture->setTag(slot.pictureTag);
    addElementToState(curState, picture);
    // Pictures are drawn only in intense paints.
    framewRepaint();
    return true;
}

}  // namespace

void imageControl(const LanguagePictureSlot& slot) {
    const std::string previous = chosenPath(slot);
    const GuiText* chosen = imageOpener(slot.pathTag);
    if (chosen == nullptr) {
        return;
    }
    if (!showPicture(slot, chosen->getTextA())) {
        if (GuiText* text = pathText(slot)) {
            text->setText(previous.c_str());
        }
    }
}

void imageSet(const LanguagePictureSlot& slot, unsigned languageId) {
    releaseElementFromState(curState, slot.pictureTag);
    showPicture(slot, createPathById(languageId, slot.directory));
}

void imageClear(const LanguagePictureSlot& slot) {
    releaseElementFromState(curState, slot.pictureTag);
    if (GuiText* text = pathText(slot)) {
        text->setText("");
    }
}

bool imageStore(const LanguagePictureSlot& slot, unsigned languageId) {
    const std::string path = chosenPath(slot);
    if (path.empty() || !readBmpFile(path)) {
        return true;
    }
    return copyBitmap(path.c_str(), slot.directory, languageId) != COPY_NO_DESTINATION;
}
