#include <cstdint>
#include <cstring>
#include <cwchar>

#include "db/OrnQL_Base.h"
#include "db/OrnQL_Exception.h"

namespace {

// Outcome bits of a comparison; a filter's operator is a mask over them.
constexpr int OUTCOME_EQUAL = 1;
constexpr int OUTCOME_LESS = 2;
constexpr int OUTCOME_GREATER = 4;
constexpr int OUTCOME_CONTAINED = 8;
constexpr int OUTCOME_NOT_CONTAINED = 16;
// Operators below this mask compare; the others search.
constexpr int FIRST_SEARCH_MASK = 7;

[[noreturn]] void throwInvalidType() {
    throw OrnQLException_Base("Fatal OrnQLException: Invalid query type!");
}

int sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

int outcomeOfOrder(int order) {
    return order < 0 ? OUTCOME_LESS : (order > 0 ? OUTCOME_GREATER : OUTCOME_EQUAL);
}

template <typename Number>
int compareNumbers(Number a, Number b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A text attribute that is not set reads as the empty text.
const char* narrowText(const void* data) { return data == nullptr ? "" : static_cast<const char*>(data); }
const wchar_t* wideText(const void* data) { return data == nullptr ? L"" : static_cast<const wchar_t*>(data); }

int textOutcome(const char* data, const char* value, int mask) {
    if (mask < FIRST_SEARCH_MASK) {
        return outcomeOfOrder(std::strcmp(data, value));
    }
    return std::strstr(data, value) != nullptr ? OUTCOME_CONTAINED : OUTCOME_NOT_CONTAINED;
}

int textOutcome(const wchar_t* data, const wchar_t* value, int mask) {
    if (mask < FIRST_SEARCH_MASK) {
        return outcomeOfOrder(std::wcscmp(data, value));
    }
    return std::wcsstr(data, value) != nullptr ? OUTCOME_CONTAINED : OUTCOME_NOT_CONTAINED;
}

// An unset number or bool attribute matches no filter.
int valueOutcome(QueryType type, const void* data, const void* value) {
    if (data == nullptr || value == nullptr) {
        return 0;
    }
    switch (type) {
    case QUERY_NUMBER: {
        std::int32_t a;
        std::int32_t b;
        std::memcpy(&a, data, sizeof a);
        std::memcpy(&b, value, sizeof b);
        return outcomeOfOrder(compareNumbers(a, b));
    }
    case QUERY_FLOAT: {
        double a = *static_cast<const double*>(data);
        double b = *static_cast<const double*>(value);
        return a == b ? OUTCOME_EQUAL : (a < b ? OUTCOME_LESS : (a > b ? OUTCOME_GREATER : 0));
    }
    case QUERY_BOOL:
        return *static_cast<const bool*>(data) == *static_cast<const bool*>(value)
                   ? OUTCOME_EQUAL
                   : OUTCOME_LESS | OUTCOME_GREATER;
    default:
        throwInvalidType();
    }
}

}  // namespace

bool OrnQL_Base::applyQuery(OrnQL_Base* const& r) {
    const QueryType type = r->getQueryType();
    const int mask = r->getQueryComparison();
    const void* value = r->getQueryElement();
    int outcome = 0;
    switch (type) {
    case QUERY_STRING:
        outcome = textOutcome(narrowText(r->getData(r->getQueryId())), narrowText(value), mask);
        break;
    case QUERY_UNICODE:
        outcome = textOutcome(wideText(r->getData(r->getQueryId())), wideText(value), mask);
        break;
    case QUERY_NUMBER:
    case QUERY_FLOAT:
    case QUERY_BOOL:
        outcome = valueOutcome(type, r->getData(r->getQueryId()), value);
        break;
    default:
        throwInvalidType();
    }
    return (mask & outcome) != 0;
}

// Bools order true first; an unset number or bool orders before every set one.
int OrnQL_Base::applyCompareQuery(OrnQL_Base* const& a, OrnQL_Base* const& b) {
    const QueryType type = a->getCompareQueryType();
    const int attribute = a->getCompareQueryId();
    int order = 0;
    switch (type) {
    case QUERY_STRING:
        order = sign(std::strcmp(narrowText(a->getData(attribute)), narrowText(b->getData(attribute))));
        break;
    case QUERY_UNICODE:
        order = sign(std::wcscmp(wideText(a->getData(attribute)), wideText(b->getData(attribute))));
        break;
    case QUERY_NUMBER:
    case QUERY_FLOAT:
    case QUERY_BOOL: {
        const void* da = a->getData(attribute);
        const void* db = b->getData(attribute);
        if (da == nullptr || db == nullptr) {
            order = compareNumbers(da != nullptr, db != nullptr);
        } else if (type == QUERY_NUMBER) {
            std::int32_t x;
            std::int32_t y;
            std::memcpy(&x, da, sizeof x);
            std::memcpy(&y, db, sizeof y);
            order = compareNumbers(x, y);
        } else if (type == QUERY_FLOAT) {
            order = compareNumbers(*static_cast<const double*>(da), *static_cast<const double*>(db));
        } else {
            const bool x = *static_cast<const bool*>(da);
            const bool y = *static_cast<const bool*>(db);
            order = x == y ? 0 : (x ? -1 : 1);
        }
        break;
    }
    default:
        throwInvalidType();
    }
    return a->getCompareQueryDesc() ? -order : order;
}
