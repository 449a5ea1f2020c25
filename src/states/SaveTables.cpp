#include "states/SaveTables.h"

#include "model/Database.h"
#include "model/InterfaceText.h"
#include "platform/Platform.h"

namespace {

bool saveAll(std::initializer_list<dependency> tables) {
    if (tables.size() == 0) {
        return saveDatabaseExternal(0) == 0;
    }
    for (dependency table : tables) {
        if (saveDatabaseExternal(1, table) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool saveTablesOrWarn(std::initializer_list<dependency> tables) {
    if (saveAll(tables)) {
        return true;
    }
    platform::current().messageBox(interfaceText(String_ERROR_SAVE_DB), interfaceText(String_INFORMATION),
                                   platform::MessageIcon::Error, platform::MessageButtons::Ok);
    return false;
}
