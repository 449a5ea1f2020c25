#include <iterator>

#include "resources/SecondStrings.h"

namespace {

// A backslash-n is a line break in the text. Unsized on purpose: the static_assert below catches
// an entry added to the enumeration without its text.
constexpr const wchar_t* kSecondStrings[] = {
    /* String2_IMPORT */ L"Import",
    /* String2_EXPORT */ L"Export",
    /* String2_STATISTICS */ L"Statistics",
    /* String2_PLOT_FORECAST */ L"Due forecast",
    /* String2_PLOT_LEVELS */ L"Levels",
    /* String2_PLOT_ANSWERS */ L"Answers",
    /* String2_PLOT_FIRST_TRY */ L"First try",
    /* String2_PLOT_ARTICLES */ L"Articles",
    /* String2_PLOT_VERBS */ L"Verbs",
    /* String2_PLOT_HARDEST */ L"Hardest cards",
    /* String2_PLOT_CALENDAR */ L"Calendar",
    /* String2_TITLE_FORECAST */ L"Card directions due in the next 30 days",
    /* String2_TITLE_LEVELS */ L"Card directions on each level",
    /* String2_TITLE_ANSWERS */ L"Answers per day, last 90 days",
    /* String2_TITLE_FIRST_TRY */ L"Right at the first try, per week (26 weeks)",
    /* String2_TITLE_ARTICLES */ L"Articles: how often asked and the share right",
    /* String2_TITLE_VERBS */ L"Verb tables: share of the cells right",
    /* String2_TITLE_HARDEST */ L"Answered wrong most often, last 30 days",
    /* String2_TITLE_CALENDAR */ L"Practice days of the last year",
    /* String2_ALL_LESSONS */ L"All lessons",
    /* String2_SHOW_TABLE */ L"Table",
    /* String2_SHOW_PLOTS */ L"Plots",
    /* String2_SAVE_PICTURE */ L"Save picture",
    /* String2_PICTURE_FILES */ L"Pictures (PNG, SVG)",
    /* String2_PICTURE_NOT_SAVED */ L"The picture could not be saved:\n%ls",
    /* String2_NO_CARDS */ L"No cards here yet: add flashcards, and their due days and levels show here.",
    /* String2_NO_ANSWERS */ L"No answers yet: practise, and your answers show here.",
    /* String2_NO_ANSWERS_IN_PERIOD */ L"No answers in this period: practise, and they show here.",
    /* String2_NO_FIRST_TRIES */ L"No first tries in the last 26 weeks yet.",
    /* String2_ONE_WEEK_ONLY */ L"Only one week of answers so far: the trend shows as more weeks follow.",
    /* String2_NO_ARTICLES_ASKED */ L"No article asked yet: practise cards whose words have an article.",
    /* String2_NO_VERBS_ASKED */ L"No verb table asked yet: practise cards of verbs with a table.",
    /* String2_NO_WRONG_ANSWERS */ L"No wrong answers in the last 30 days.",
    /* String2_TODAY */ L"Today",
    /* String2_DAYS */ L"%u days",
    /* String2_STREAK */ L"Streak: %u days in a row",
    /* String2_DAYS_PRACTISED */ L"%u practice days, %u answers in the last year",
    /* String2_DELETED */ L"Deleted",
    /* String2_DELETED_CARDS */ L"Deleted cards: %u answers, %u of them wrong in the last 30 days",
    /* String2_ASKED */ L"asked %u",
    /* String2_DATE */ L"Date",
    /* String2_DUE */ L"Due",
    /* String2_TOTAL */ L"Total",
    /* String2_WEEK_OF */ L"Week of",
    /* String2_FIRST_TRIES */ L"First tries",
    /* String2_RIGHT */ L"Right",
    /* String2_SHARE */ L"Share",
    /* String2_ASKED_HEADER */ L"Asked",
    /* String2_CELLS */ L"Cells",
    /* String2_WRONG_ANSWERS */ L"Wrong answers",
    /* String2_ANSWERS_HEADER */ L"Answers",
    /* String2_DIRECTIONS */ L"Directions",
    /* String2_WEEKDAYS */ L"Mo Tu We Th Fr Sa Su",
    /* String2_KIND */ L"Kind",
    /* String2_EDIT_CARD */ L"Edit card",
    /* String2_PAGE */ L"%u / %u",
    /* String2_REPLACE_PICTURE */ L"%ls already exists.\nReplace it?",
};
static_assert(std::size(kSecondStrings) == STRING2_ENDTAG);

}  // namespace

const wchar_t* defaultSecondString(int index) {
    return index >= 0 && index < STRING2_ENDTAG ? kSecondStrings[index] : nullptr;
}
