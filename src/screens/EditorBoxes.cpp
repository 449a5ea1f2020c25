#include "screens/EditorBoxes.h"

#include "model/InterfaceText.h"

bool askUser(framew_strings question, platform::MessageIcon icon, platform::MessageButtons buttons,
             const wchar_t* caption) {
    const wchar_t* shownCaption = caption != nullptr ? caption : interfaceText(String_INFORMATION);
    const platform::MessageResult answer =
        platform::current().messageBox(interfaceText(question), shownCaption, icon, buttons);
    return answer == platform::MessageResult::Yes || answer == platform::MessageResult::Ok;
}

void refuseSave(framew_strings reason) {
    platform::current().messageBox(interfaceText(reason), interfaceText(String_INFORMATION),
                                   platform::MessageIcon::Error, platform::MessageButtons::Ok);
}
