// The plots over days and weeks: the due forecast, the answers per day, the first tries per week
// and the calendar.

#include <algorithm>
#include <sstream>

#include "model/InterfaceText.h"
#include "shell/frameworkPainter.h"
#include "statistics/DayLabels.h"
#include "statistics/Plots.h"

namespace {

// Day labels under a row of day bars: every `every`-th bar counted back from the last.
bool labelledDay(int index, int count, int every) { return (count - 1 - index) % every == 0; }

std::wstring dayLabel(const Statistics& statistics, std::int32_t day) {
    return day == statistics.today ? interfaceText2(String2_TODAY) : monthAndDay(day);
}

// The weekday names of the interface text, split at blanks ("Mo Tu ...").
std::vector<std::wstring> weekdayNames() {
    std::wistringstream words(interfaceText2(String2_WEEKDAYS));
    std::vector<std::wstring> names;
    std::wstring name;
    while (names.size() < 7 && words >> name) {
        names.push_back(name);
    }
    names.resize(7);
    return names;
}

// The month over the first week that starts in it ("2026-01" in January and over the first week,
// "02" otherwise); a label that would run into the one before is left out.
void paintCalendarMonths(const Statistics& statistics, const PlotFrame& grid, int cell) {
    unsigned shownMonth = 0;
    int free = grid.x;
    for (int week = 0; week < Statistics::CALENDAR_WEEKS; ++week) {
        const std::int32_t monday = statistics.calendarStart + 7 * week;
        const unsigned month = monthOf(monday);
        if (month == shownMonth) {
            continue;
        }
        const bool withYear = shownMonth == 0 || month == 1;
        shownMonth = month;
        const int x = grid.x + week * cell;
        const int width = withYear ? 4 * cell : 2 * cell;
        if (x < free) {
            continue;
        }
        std::wstring label = isoDate(monday).substr(0, 7);  // "2026-01"
        if (!withYear) {
            label = label.substr(5);
        }
        paintLabel(x, grid.y - LABEL_HEIGHT - 2, width, LABEL_HEIGHT, label, TEXT_LEFT, plotcolour::muted());
        free = x + width + 2;
    }
}

}  // namespace

void paintForecast(const Statistics& statistics, const PlotFrame& area) {
    if (statistics.directions == 0) {
        paintMessage(area, interfaceText2(String2_NO_CARDS));
        return;
    }
    const PlotFrame chart = chartArea(area);
    const ValueAxis axis = roundAxis(*std::max_element(statistics.forecast.begin(), statistics.forecast.end()));
    paintGrid(chart, axis, false);
    std::vector<Bar> bars;
    for (int i = 0; i < Statistics::FORECAST_DAYS; ++i) {
        const std::uint32_t due = statistics.forecast[static_cast<std::size_t>(i)];
        Bar bar{static_cast<double>(due), plotcolour::bar(), due > 0 ? std::to_wstring(due) : L"", L"", L""};
        if (i % 5 == 0) {
            bar.under = dayLabel(statistics, statistics.today + i);
        }
        bars.push_back(bar);
    }
    paintBars(chart, axis, bars);
}

void paintAnswers(const Statistics& statistics, const PlotFrame& area) {
    std::uint32_t largest = 0;
    for (const VerdictCounts& day : statistics.answersPerDay) {
        largest = std::max(largest, day.total());
    }
    if (largest == 0) {
        paintMessage(area, interfaceText2(statistics.answers == 0 ? String2_NO_ANSWERS : String2_NO_ANSWERS_IN_PERIOD));
        return;
    }
    paintLegend(area, {{plotcolour::correct(), interfaceText(String_CORRECT)},
                       {plotcolour::minor(), interfaceText(String_MINOR)},
                       {plotcolour::wrong(), interfaceText(String_WRONG)}});
    const PlotFrame chart = chartArea(area);
    const ValueAxis axis = roundAxis(largest);
    paintGrid(chart, axis, false);
    const int bottom = chart.y + chart.height;
    for (int i = 0; i < Statistics::ANSWER_DAYS; ++i) {
        const VerdictCounts& day = statistics.answersPerDay[static_cast<std::size_t>(i)];
        const PlotFrame slot = barSlot(chart, static_cast<std::size_t>(i), Statistics::ANSWER_DAYS);
        const int width = std::max(1, slot.width - 2);
        int stacked = 0;
        for (const auto& [count, colour] : {std::pair{day.correct, plotcolour::correct()},
                                            std::pair{day.minor, plotcolour::minor()},
                                            std::pair{day.wrong, plotcolour::wrong()}}) {
            const int top = barHeight(chart, axis, static_cast<double>(stacked + count));
            const int below = barHeight(chart, axis, static_cast<double>(stacked));
            paintBox(slot.x + 1, bottom - top, width, top - below, colour);
            stacked += static_cast<int>(count);
        }
        if (labelledDay(i, Statistics::ANSWER_DAYS, 15)) {
            paintLabel(slot.x + slot.width / 2 - 30, bottom + 4, 60, LABEL_HEIGHT,
                       dayLabel(statistics, statistics.answerDay(i)), TEXT_CENTRE);
        }
    }
}

void paintFirstTry(const Statistics& statistics, const PlotFrame& area) {
    const auto weeksWithAnswers = std::count_if(statistics.firstTryWeeks.begin(), statistics.firstTryWeeks.end(),
                                                [](const ShareCount& week) { return week.asked > 0; });
    if (weeksWithAnswers == 0) {
        paintMessage(area, interfaceText2(statistics.answers == 0 ? String2_NO_ANSWERS : String2_NO_FIRST_TRIES));
        return;
    }
    if (weeksWithAnswers == 1) {
        paintLabel(area.x, area.y, area.width, LABEL_HEIGHT, interfaceText2(String2_ONE_WEEK_ONLY), TEXT_LEFT,
                   plotcolour::muted());
    }
    const PlotFrame chart = chartArea(area);
    paintGrid(chart, percentAxis(), true);
    std::vector<Bar> bars;
    for (int i = 0; i < Statistics::WEEKS; ++i) {
        const ShareCount& week = statistics.firstTryWeeks[static_cast<std::size_t>(i)];
        const std::optional<unsigned> percent = week.percent();
        Bar bar{static_cast<double>(percent.value_or(0)), plotcolour::correct(), percent ? percentText(percent) : L"", L"",
                L""};
        if (labelledDay(i, Statistics::WEEKS, 4)) {
            bar.under = monthAndDay(statistics.weekStart(i));
        }
        bars.push_back(bar);
    }
    paintBars(chart, percentAxis(), bars);
}

void paintCalendar(const Statistics& statistics, const PlotFrame& area) {
    const int cell = std::min((area.width - 60) / Statistics::CALENDAR_WEEKS, (area.height - 110) / 7);
    const PlotFrame grid{area.x + 40 + (area.width - 60 - cell * Statistics::CALENDAR_WEEKS) / 2, area.y + 30,
                         cell * Statistics::CALENDAR_WEEKS, cell * 7};
    const std::uint32_t most = statistics.calendar.empty()
                                   ? 0
                                   : *std::max_element(statistics.calendar.begin(), statistics.calendar.end());
    paintCalendarMonths(statistics, grid, cell);
    const std::vector<std::wstring> weekdays = weekdayNames();
    for (int weekday = 0; weekday < 7; ++weekday) {
        paintLabel(grid.x - 36, grid.y + weekday * cell, 32, cell, weekdays[static_cast<std::size_t>(weekday)],
                   TEXT_RIGHT, plotcolour::muted());
    }
    std::uint32_t days = 0;
    std::uint64_t answers = 0;
    for (std::size_t i = 0; i < statistics.calendar.size(); ++i) {
        const std::uint32_t count = statistics.calendar[i];
        days += count > 0 ? 1 : 0;
        answers += count;
        const int week = static_cast<int>(i / 7);
        const int weekday = static_cast<int>(i % 7);
        paintBox(grid.x + week * cell + 1, grid.y + weekday * cell + 1, cell - 2, cell - 2,
                 plotcolour::calendarShade(count, most));
    }
    const int below = grid.y + grid.height + 12;
    if (answers == 0) {
        paintLabel(area.x, below, area.width, 24, interfaceText2(String2_NO_ANSWERS), TEXT_CENTRE, plotcolour::muted());
        return;
    }
    paintLabel(area.x, below, area.width, 24, fillIn(interfaceText2(String2_STREAK), statistics.streak), TEXT_CENTRE);
    paintLabel(area.x, below + 28, area.width, 20,
               fillIn(interfaceText2(String2_DAYS_PRACTISED), days, static_cast<unsigned>(answers)), TEXT_CENTRE,
               plotcolour::muted());
}
