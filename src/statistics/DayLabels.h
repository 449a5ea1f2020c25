#pragma once

// Day numbers as the statistics write them: ISO dates in UTC ("2026-12-29"), short ones on the
// axes ("12-29"); and the interface texts with their numbers filled in.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

std::wstring isoDate(std::int32_t day);
std::wstring monthAndDay(std::int32_t day);
// The month (1 to 12) of a day.
unsigned monthOf(std::int32_t day);

// The text with its placeholders (%u, %d, %s, %ls) replaced in order by the values; a
// placeholder without a value becomes empty, "%%" a percent sign. Texts come from a file the
// user may edit, so nothing here trusts their placeholders to match the values.
std::wstring fillIn(const wchar_t* text, std::initializer_list<std::wstring> values);
std::wstring fillIn(const wchar_t* text, unsigned value);
std::wstring fillIn(const wchar_t* text, unsigned first, unsigned second);
// "72 %", or "–" for nothing asked.
std::wstring percentText(std::optional<unsigned> percent);
