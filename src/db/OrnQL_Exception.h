#pragma once

#include <exception>
#include <string>

#include "db/OrnQL_Types.h"

// The engine reports every failure with one of these objects, thrown by value. Each carries a
// fixed message; a message beginning with "Fatal" marks a state the engine cannot go on from.
class OrnQLException : public std::exception {
public:
    explicit OrnQLException(std::string text) : description(std::move(text)) {}
    const char* what() const noexcept override { return description.c_str(); }

    std::string description;
};

// Tree, iterator, lookup and selection-heap errors.
class OrnQLException_AVLtree : public OrnQLException {
    using OrnQLException::OrnQLException;
};

// Heap compare-function errors.
class OrnQLException_Heap : public OrnQLException {
    using OrnQLException::OrnQLException;
};

// Table errors: same-class dependency, file id out of range, query parsing, enforced relation.
class OrnQLException_Template : public OrnQLException {
    using OrnQLException::OrnQLException;
};

// Association errors.
class OrnQLException_Association : public OrnQLException {
    using OrnQLException::OrnQLException;
};

// Invalid query type and directory clean-up errors.
class OrnQLException_Base : public OrnQLException {
    using OrnQLException::OrnQLException;
};

// Rule violations raised by the record classes.
class OrnQLException_Custom : public OrnQLException {
    using OrnQLException::OrnQLException;
};

// A table file that cannot be read or written: names the file (or, for a bound file that cannot
// be created, the table's path prefix) and the table it belongs to.
class InvalidFileException : public std::exception {
public:
    InvalidFileException(std::string file, dependency table)
        : description(std::move(file)), perpetrator(table) {}
    const char* what() const noexcept override { return description.c_str(); }
    dependency who() const noexcept { return perpetrator; }

    std::string description;
    dependency perpetrator;
};
