#pragma once

// Builders of filter texts: preString, one blank, then the value, for example
// ctq(L"NAME ==", L"New York") gives "NAME == New York". The result lives in one buffer that the
// next ctq call replaces; copy it to keep it.

const wchar_t* ctq(const wchar_t* preString, const char* value);      // the 8-bit text widened
const wchar_t* ctq(const wchar_t* preString, const wchar_t* value);   // the text as it is
const wchar_t* ctq(const wchar_t* preString, int value);              // signed decimal
const wchar_t* ctq(const wchar_t* preString, long value);
const wchar_t* ctq(const wchar_t* preString, unsigned int value);     // unsigned decimal
const wchar_t* ctq(const wchar_t* preString, unsigned long value);
const wchar_t* ctq(const wchar_t* preString, double value);           // fixed, six decimals
const wchar_t* ctq(const wchar_t* preString, bool value);             // TRUE or FALSE
