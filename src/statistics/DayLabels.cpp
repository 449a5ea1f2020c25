#include "statistics/DayLabels.h"

#include <string_view>

#include "screens/DueDate.h"

namespace {

std::wstring twoDigits(unsigned value) { return (value < 10 ? L"0" : L"") + std::to_wstring(value); }

// The length of the placeholder at the start of `rest` (which begins with '%'), or 0.
std::size_t placeholderLength(std::wstring_view rest) {
    for (std::wstring_view form : {L"%ls", L"%u", L"%d", L"%s"}) {
        if (rest.starts_with(form)) {
            return form.size();
        }
    }
    return 0;
}

}  // namespace

std::wstring isoDate(std::int32_t day) {
    const CalendarDate date = calendarDateOf(day);
    return std::to_wstring(date.year) + L"-" + twoDigits(date.month) + L"-" + twoDigits(date.day);
}

std::wstring monthAndDay(std::int32_t day) {
    const CalendarDate date = calendarDateOf(day);
    return twoDigits(date.month) + L"-" + twoDigits(date.day);
}

unsigned monthOf(std::int32_t day) { return calendarDateOf(day).month; }

std::wstring fillIn(const wchar_t* text, std::initializer_list<std::wstring> values) {
    std::wstring filled;
    if (text == nullptr) {
        return filled;
    }
    auto next = values.begin();
    const std::wstring_view all(text);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == L'%' && i + 1 < all.size() && all[i + 1] == L'%') {
            filled += L'%';
            ++i;
            continue;
        }
        const std::size_t length = all[i] == L'%' ? placeholderLength(all.substr(i)) : 0;
        if (length == 0) {
            filled += all[i];
            continue;
        }
        if (next != values.end()) {
            filled += *next++;
        }
        i += length - 1;
    }
    return filled;
}

std::wstring fillIn(const wchar_t* text, unsigned value) { return fillIn(text, {std::to_wstring(value)}); }

std::wstring fillIn(const wchar_t* text, unsigned first, unsigned second) {
    return fillIn(text, {std::to_wstring(first), std::to_wstring(second)});
}

std::wstring percentText(std::optional<unsigned> percent) {
    return percent ? std::to_wstring(*percent) + L" %" : L"\u2013";
}
