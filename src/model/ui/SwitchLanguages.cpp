#include "model/ui/SwitchLanguages.h"

#include "db/OrnQL_Extra.h"
#include "gui/GuiLanguageSwitch.h"
#include "model/DataPaths.h"
#include "model/Language.h"

namespace modelui {

bool switchLanguageOf(unsigned languageId, SwitchLanguage& found) {
    const Language* language = Language::getById(languageId);
    if (language == nullptr) {
        return false;
    }
    found.keyboardLocalID = language->get_keyboardLocalID();
    found.flagPicture = picturePath(languageId, FLAG_IMAGE_DIR);
    found.keyboardPicture = picturePath(languageId, KEYBOARD_IMAGE_DIR);
    return true;
}

}  // namespace modelui
