#include "states/SaveTables.h"

#include <vector>

#include "model/Database.h"
#include "model/InterfaceText.h"
#include "platform/Platform.h"

bool saveTablesOrWarn(std::initializer_list<dependency> tables) {
    if (saveDatabaseTables(std::vector<dependency>(tables)) == 0) {
        return true;
    }
    platform::current().messageBox(interfaceText(String_ERROR_SAVE_DB), interfaceText(String_INFORMATION),
                                   platform::MessageIcon::Error, platform::MessageButtons::Ok);
    return false;
}
