#pragma once

// Every number a plot shows, as a table of text: the statistics screen's table page, for reading
// without seeing colours, and what the tests compare with numbers of their own.
//
//   plot        columns
//   Forecast    Date | Due
//   Levels      Level | Break days | Directions
//   Answers     Date | Correct | Minor | Wrong | Total        (all 90 days)
//   FirstTry    Week of | First tries | Right | Share          (all 26 weeks)
//   Articles    Article | Asked | Right | Share
//   Verbs       Kind (Tenses / Persons) | name | Cells | Right | Share
//   Hardest     Foreign | Known | Wrong answers                 (each row names its card)
//   Calendar    Date | Answers                                  (the days with answers), then
//               the streak
// A plot with nothing to show gives one row with its message.

#include <cstdint>
#include <string>
#include <vector>

#include "statistics/Plots.h"

struct TableData {
    std::vector<std::wstring> headers;
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::uint32_t> rowCards;  // per row: the card it names, 0 for none
};

TableData tableOf(PlotKind kind, const Statistics& statistics);
