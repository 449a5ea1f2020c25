#include "exchange/Libxml2Library.h"

#include "base/SharedLibrary.h"

namespace exchange {

namespace {

Libxml2Library load() {
    static const SharedLibrary library("libxml2.so.2");
    Libxml2Library functions;
    functions.loaded = library.bind(functions.createPushParser, "xmlCreatePushParserCtxt") &&
                       library.bind(functions.useOptions, "xmlCtxtUseOptions") &&
                       library.bind(functions.parseChunk, "xmlParseChunk") &&
                       library.bind(functions.stopParser, "xmlStopParser") &&
                       library.bind(functions.freeDoc, "xmlFreeDoc") &&
                       library.bind(functions.freeParser, "xmlFreeParserCtxt") &&
                       library.bind(functions.lineNumber, "xmlSAX2GetLineNumber") &&
                       library.bind(functions.columnNumber, "xmlSAX2GetColumnNumber") &&
                       library.bind(functions.predefinedEntity, "xmlGetPredefinedEntity");
    if (!functions.loaded) {
        functions.failure = library.isOpen() ? "libxml2 lacks a function the reader needs" : library.failure();
    }
    return functions;
}

}  // namespace

const Libxml2Library& libxml2Library() {
    static const Libxml2Library functions = load();
    return functions;
}

}  // namespace exchange
