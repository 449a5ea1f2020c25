#pragma once

#include <string>

// Builders of filter texts: preString, one blank, then the value, for example
// queryText(L"NAME ==", L"New York") gives "NAME == New York".
std::wstring queryText(const wchar_t* preString, const char* value);      // the 8-bit text widened
std::wstring queryText(const wchar_t* preString, const wchar_t* value);   // the text as it is
std::wstring queryText(const wchar_t* preString, int value);              // signed decimal
std::wstring queryText(const wchar_t* preString, long value);
std::wstring queryText(const wchar_t* preString, unsigned int value);     // unsigned decimal
std::wstring queryText(const wchar_t* preString, unsigned long value);
std::wstring queryText(const wchar_t* preString, double value);           // fixed, six decimals
std::wstring queryText(const wchar_t* preString, bool value);             // TRUE or FALSE

// The same texts in one buffer that the next ctq call replaces (so two results cannot be held or
// compared at once; use queryText for that).
const wchar_t* ctq(const wchar_t* preString, const char* value);
const wchar_t* ctq(const wchar_t* preString, const wchar_t* value);
const wchar_t* ctq(const wchar_t* preString, int value);
const wchar_t* ctq(const wchar_t* preString, long value);
const wchar_t* ctq(const wchar_t* preString, unsigned int value);
const wchar_t* ctq(const wchar_t* preString, unsigned long value);
const wchar_t* ctq(const wchar_t* preString, double value);
const wchar_t* ctq(const wchar_t* preString, bool value);
