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

// Marks an error as damage found in a table file (an id outside its bound, an id twice, a count
// the file cannot hold), as opposed to a failure of the machine or the program (an allocation
// that failed, a plain bug). Only damage, and table files that cannot be read, may start the
// start-up recovery that resets tables; everything else must leave the files alone. Thrown as
// Damaged<ErrorClass>, so whoever catches the error class still catches it.
class FileDamage {
public:
    virtual ~FileDamage() = default;
};

template <typename Error>
class Damaged : public Error, public FileDamage {
public:
    using Error::Error;
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
