#pragma once

#include "base/Utf8.h"
#include "db/QueryText.h"

// Member definitions of OrnQL_Template: the query language; included by OrnQL_Template.h.
//
// A filter is "ATTRIBUTE operator value", for example NAME == French or LEVEL > 3; the value is
// the whole rest of the text after the operator and its one blank (NAME == New York compares
// with "New York"; "NAME ==" with the empty text). Operators: == < <= > >= != CONTAINS !CONTAINS.
// An ordering is "ASC ATTRIBUTE" or "DESC ATTRIBUTE". Attribute names come from T::type
// (case-sensitive), their values from getData.

template <typename T>
void OrnQL_Template<T>::setupQuery(const wchar_t* text) {
    std::wstring attribute;
    std::wstring op;
    std::wstring value;
    if (!query_text::splitFilter(text == nullptr ? L"" : text, attribute, op, value)) {
        throw OrnQLException_Template("OrnQLException: Could not fetch all three strings for query!");
    }
    // The old filter is gone from here on; until this one is complete the table has none.
    queryType = QUERY_INVALID;
    queryElement = QueryValue{};

    int attributeId = 0;
    const int type = T::type(attribute.c_str(), &attributeId);
    if (type == QUERY_INVALID) {
        throw OrnQLException_Template("OrnQLException: Query element not found!");
    }
    const int mask = query_text::operatorMask(op);
    if (mask == 0) {
        throw OrnQLException_Template("OrnQLException: Unable to fetch comparison operator!");
    }
    QueryValue parsed;
    switch (type) {
    case QUERY_STRING:
        parsed.narrow = utf8::encode(value);  // 8-bit attribute values are plain ASCII in practice
        break;
    case QUERY_UNICODE:
        parsed.wide = value;
        break;
    case QUERY_NUMBER:
        if (!query_text::parseNumber(value, parsed.number)) {
            throw OrnQLException_Template("OrnQLException: Unable to fetch long integer from query!");
        }
        break;
    case QUERY_FLOAT:
        if (!query_text::parseReal(value, parsed.real)) {
            throw OrnQLException_Template("OrnQLException: Unable to fetch double from query!");
        }
        break;
    case QUERY_BOOL:
        if (!query_text::parseBool(value, parsed.flag)) {
            throw OrnQLException_Template("OrnQLException: Unable to fetch boolean value from query!");
        }
        break;
    default:
        throw OrnQLException_Template("Fatal OrnQLException: Query Type is out of range!");
    }
    queryId = attributeId;
    queryComparison = mask;
    queryElement = std::move(parsed);
    queryType = static_cast<QueryType>(type);
}

template <typename T>
void OrnQL_Template<T>::setupOrderQuery(const wchar_t* text) {
    std::wstring keyword;
    std::wstring attribute;
    if (!query_text::splitOrdering(text == nullptr ? L"" : text, keyword, attribute)) {
        throw OrnQLException_Template("OrnQLException: Could not fetch all two strings for query!");
    }
    int attributeId = 0;
    const int type = T::type(attribute.c_str(), &attributeId);
    if (type <= QUERY_INVALID || type > QUERY_BOOL) {
        compareQueryType = QUERY_INVALID;
        throw OrnQLException_Template("OrnQLException: Query element not found!");
    }
    compareQueryType = static_cast<QueryType>(type);
    compareQueryId = attributeId;
    if (keyword == L"ASC") {
        compareQueryDesc = false;
    } else if (keyword == L"DESC") {
        compareQueryDesc = true;
    } else {
        throw OrnQLException_Template("OrnQLException: Order keyword is not ASC or DESC!");
    }
}

template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::query(const wchar_t* text, bool full, ELEMENTTREE& tree) {
    setupQuery(text);
    tree.reduce(applyQuery, full);
    return beginSel(tree);
}

template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::orderQuery(const wchar_t* text, bool full,
                                                                      ELEMENTTREE& tree) {
    setupOrderQuery(text);
    tree.order(applyCompareQuery, full);
    return beginSel(tree);
}

template <typename T>
T* OrnQL_Template<T>::getByQuery(const wchar_t* text, bool full, ELEMENTTREE& tree) {
    setupQuery(text);
    typename ELEMENTTREE::Node* found = tree.findFirst(applyQuery, full);
    return found == nullptr ? nullptr : static_cast<T*>(found->val);
}
