#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Parsing helpers of the query language: words, operators and values. Locale-independent, so a
// query means the same whatever locale the interface sets.
namespace query_text {

// Blank, tab and line breaks: what separates the words of a query.
bool isBlank(wchar_t c);

// Splits "attribute operator value". The value is the whole rest of the text after the operator
// and its one separating blank, so it may contain blanks ("NAME == New York"); a missing value is
// the empty text. False when the attribute or the operator is missing.
bool splitFilter(std::wstring_view text, std::wstring& attribute, std::wstring& op, std::wstring& value);
// Splits "keyword attribute"; false when either is missing.
bool splitOrdering(std::wstring_view text, std::wstring& keyword, std::wstring& attribute);

// The bit mask of an operator word (case-sensitive); 0 for anything else.
int operatorMask(std::wstring_view op);

// A signed decimal number at the start of the value (after blanks), saturated to 32 bits; a
// value of blanks only is 0. False when there is no number.
bool parseNumber(std::wstring_view value, std::int32_t& number);
// A decimal floating number at the start of the value (after blanks); blanks only give 0.
bool parseReal(std::wstring_view value, double& real);
// Exactly TRUE or FALSE.
bool parseBool(std::wstring_view value, bool& flag);

}  // namespace query_text
