#pragma once

// The libxml2 functions the KVTML reader calls, from libxml2 opened at first use
// (base/SharedLibrary.h): libxml2 brings ICU, and a start that imports nothing does not load them.

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <string>

namespace exchange {

struct Libxml2Library {
    decltype(&xmlCreatePushParserCtxt) createPushParser = nullptr;
    decltype(&xmlCtxtUseOptions) useOptions = nullptr;
    decltype(&xmlParseChunk) parseChunk = nullptr;
    decltype(&xmlStopParser) stopParser = nullptr;
    decltype(&xmlFreeDoc) freeDoc = nullptr;
    decltype(&xmlFreeParserCtxt) freeParser = nullptr;
    decltype(&xmlSAX2GetLineNumber) lineNumber = nullptr;
    decltype(&xmlSAX2GetColumnNumber) columnNumber = nullptr;
    decltype(&xmlGetPredefinedEntity) predefinedEntity = nullptr;

    // True when the library was opened and has every function above; otherwise why not.
    bool loaded = false;
    std::string failure;
};

// Opened on the first call (from any thread; once).
const Libxml2Library& libxml2Library();

}  // namespace exchange
