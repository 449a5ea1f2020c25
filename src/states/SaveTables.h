#pragma once

// The one way a screen saves: every editor stores its changes through saveTablesOrWarn and acts
// on its result, so no failed save passes for a successful one.

#include <initializer_list>

#include "db/OrnQL_Types.h"

// Saves the named tables in the order given (every table for an empty list) as one unit, as
// saveDatabaseExternal does: after a failure or a crash none of them is saved, so the files never
// hold half of an edit (a card without its links, a link to a word that was not stored). On failure tells the user in an error box ("Fatal database error! ..." captioned
// "Information"), once per call, and returns false; the screen then stays as the user left it,
// so nothing typed is lost and the save can be tried again. Returns true when all were saved.
bool saveTablesOrWarn(std::initializer_list<dependency> tables);
