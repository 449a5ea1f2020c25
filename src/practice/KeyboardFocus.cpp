#include "practice/KeyboardFocus.h"

#include <cstring>
#include <string>

#include "gui/GuiBitmap.h"
#include "model/DataPaths.h"
#include "model/Language.h"
#include "practice/CardFacts.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeScreen.h"
#include "shell/framework.h"

namespace {

unsigned prevL = 0;  // the language whose keyboard was activated last

Language* languageOfSide(const char* side) {
    const Practice_container* head = practiceRun.pQ.get();
    if (head == nullptr || side == nullptr) {
        return nullptr;
    }
    if (std::strcmp(side, FOREIGN_SIDE) == 0) {
        return getFLang(*head);
    }
    if (std::strcmp(side, KNOWN_SIDE) == 0) {
        return getKLang(*head);
    }
    return nullptr;
}

}  // namespace

void activateLanguage(const void* tag) {
    const Language* language = languageOfSide(static_cast<const char*>(tag));
    if (language == nullptr || language->getId() == prevL) {
        return;
    }
    prevL = language->getId();
    setKL(language->get_keyboardLocalID());
    if (practiceScreen.bitmapKeybrd != nullptr) {
        const std::string picture = std::string(KEYBOARD_IMAGE_DIR) + std::to_string(prevL) + ".bmp";
        practiceScreen.bitmapKeybrd->changeFile(picture.c_str());
    }
}

void forgetActivatedLanguage() { prevL = 0; }
