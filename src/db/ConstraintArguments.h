#pragma once

#include <cstdlib>
#include <type_traits>
#include <utility>

#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"

// The typed arguments of constrain, getByConstrain and getAsTally: pairs (table, id). Read
// through a C variadic list, an id passed as size_t or long, or a pair too few, is undefined
// behaviour that no compiler reports; passed to the variadic templates of OrnQL_Template they are
// checked instead. Wrong types do not compile (a table is a dependency or an integer, an id an
// integer, never a bool, a floating-point number or a pointer); an id that no unsigned id can
// hold, a table number that names no table and a count that does not match the pairs throw
// OrnQLException_Template before the constraint list changes.
namespace constraint_args {

template <typename T>
inline constexpr bool isInteger = std::is_integral_v<T> && !std::is_same_v<T, bool>;

template <typename T>
inline constexpr bool isTableArgument = std::is_same_v<T, dependency> || isInteger<T>;

template <typename... Args>
struct ArePairs : std::false_type {};

template <>
struct ArePairs<> : std::true_type {};

template <typename Table, typename Id, typename... Rest>
struct ArePairs<Table, Id, Rest...>
    : std::bool_constant<isTableArgument<Table> && isInteger<Id> && ArePairs<Rest...>::value> {};

template <typename... Args>
concept ConstraintPairs = ArePairs<Args...>::value;

template <typename Table>
dependency checkedTable(Table table) {
    if constexpr (std::is_same_v<Table, dependency>) {
        if (isTable(table)) {
            return table;
        }
    } else if (std::in_range<int>(table) && isTable(static_cast<int>(table))) {
        return static_cast<dependency>(table);
    }
    throw OrnQLException_Template("Fatal OrnQLException: Constraint names no table!");
}

template <typename Id>
unsigned checkedId(Id id) {
    if (!std::in_range<unsigned>(id)) {
        throw OrnQLException_Template("Fatal OrnQLException: Constraint id is out of range!");
    }
    return static_cast<unsigned>(id);
}

inline void appendPairs(Constrainer&) {}

template <typename Table, typename Id, typename... Rest>
void appendPairs(Constrainer& list, Table table, Id id, Rest... rest) {
    list.conTable.push_back(checkedTable(table));
    list.conId.push_back(checkedId(id));
    appendPairs(list, rest...);
}

// The constraint list of n (its sign chooses all-of or none-of) and the pairs.
template <typename... Args>
    requires ConstraintPairs<Args...>
Constrainer makeList(int n, Args... args) {
    if (2 * std::llabs(static_cast<long long>(n)) != static_cast<long long>(sizeof...(Args))) {
        throw OrnQLException_Template("Fatal OrnQLException: Constraint count does not match its pairs!");
    }
    Constrainer list;
    list.num = n;
    appendPairs(list, args...);
    return list;
}

}  // namespace constraint_args
