#include "screens/stateLesson.h"

#include <cstdint>
#include <string>
#include <vector>

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/Lesson.h"
#include "screens/DueDate.h"
#include "screens/EditorBoxes.h"
#include "screens/EditorList.h"
#include "shell/framework.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

namespace {

// The date fields wear this mask, which no condition of this screen has, while no date is wanted.
constexpr long DATE_HIDDEN = 4;

constexpr const char* TAG_HEADING = "TITLETEXT_ADD_EDIT_LESSON";
constexpr const char* TAG_TITLE = "TEXTFIELD_NEWLESSON";
constexpr const char* TAG_DUE = "CHECK_DUE";
constexpr const char* TAG_DAY = "TEXTFIELD_DAY";
constexpr const char* TAG_MONTH = "TEXTFIELD_MONTH";
constexpr const char* TAG_YEAR = "TEXTFIELD_YEAR";
constexpr const char* dateFieldTags[] = {TAG_DAY, TAG_MONTH, TAG_YEAR};

constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";

// The area of the date fields, repainted when they show or hide.
constexpr int DATE_AREA_X = 350;
constexpr int DATE_AREA_Y = 290;
constexpr int DATE_AREA_WIDTH = 500;
constexpr int DATE_AREA_HEIGHT = 200;

// The lesson on the edit page; null for a new one.
Lesson* editLesson = nullptr;

// --- the date fields --------------------------------------------------------------------------

void setDateFieldMask(long mask) {
    for (const char* tag : dateFieldTags) {
        if (auto* field = onScreen<GuiTextfield>(tag)) {
            field->resetConditions(mask);
        }
    }
}

void writeDateFields(const wchar_t* day, const wchar_t* month, const wchar_t* year) {
    const wchar_t* texts[] = {day, month, year};
    for (int i = 0; i < 3; ++i) {
        if (auto* field = onScreen<GuiTextfield>(dateFieldTags[i])) {
            field->setText(texts[i]);
        }
    }
}

// The fields keep their text while hidden, so ticking the box again brings the date back.
void dueCheckFunction(bool checked) {
    setDateFieldMask(checked ? LESSON_EDIT_PAGE : DATE_HIDDEN);
    framewRepaint(DATE_AREA_X, DATE_AREA_Y, DATE_AREA_WIDTH, DATE_AREA_HEIGHT, true, false);
}

void setDateFormat(std::int32_t dayNumber) {
    const CalendarDate date = calendarDateOf(dayNumber);
    writeDateFields(std::to_wstring(date.day).c_str(), std::to_wstring(date.month).c_str(),
                    std::to_wstring(date.year).c_str());
    setDateFieldMask(LESSON_EDIT_PAGE);
}

unsigned dateFieldNumber(const char* tag) {
    const auto* field = onScreen<GuiTextfield>(tag);
    return field != nullptr ? field->getNumber() : 0;
}

enum class DateCheck { Valid, Invalid, Past };

// Reads the three fields into `dayNumber`. Empty or non-numeric fields read as 0, so they are
// invalid; numbers too large for a field read as the largest number and are invalid as well.
DateCheck checkDateFormat(std::int32_t& dayNumber) {
    const CalendarDate date{dateFieldNumber(TAG_YEAR), dateFieldNumber(TAG_MONTH), dateFieldNumber(TAG_DAY)};
    if (!valid_date(date.year, date.month, date.day)) {
        return DateCheck::Invalid;
    }
    dayNumber = dayNumberOf(date);
    return dayNumber < todayDayNumber() ? DateCheck::Past : DateCheck::Valid;
}

// --- the handlers -----------------------------------------------------------------------------

void fillList() {
    if (GuiItemfield* list = editorList()) {
        list->clearField();
        for (auto it = Lesson::begin(); it != Lesson::end(); ++it) {
            addListEntry(*list, it->get_title(), it->getId());
        }
    }
    nextCondition = LIST_PAGE;
}

bool getLesson() {
    editLesson = activeListRecord<Lesson>();
    return editLesson != nullptr;
}

void openEditPage(const wchar_t* heading, const wchar_t* title, bool due) {
    auto* headingText = onScreen<GuiText>(TAG_HEADING);
    auto* titleField = onScreen<GuiTextfield>(TAG_TITLE);
    auto* dueBox = onScreen<GuiCheckBox>(TAG_DUE);
    if (headingText == nullptr || titleField == nullptr || dueBox == nullptr) {
        return;
    }
    headingText->setText(heading);
    titleField->setText(title);
    writeDateFields(L"", L"", L"");
    dueBox->setCheck(due);
    nextCondition = LESSON_EDIT_PAGE;
}

void startNewLesson() {
    editLesson = nullptr;
    openEditPage(interfaceText(String_ADD_LESSON), L"", true);
}

void editActiveLesson() {
    if (!getLesson()) {
        return;
    }
    const bool due = editLesson->get_due() >= 0;
    openEditPage(editLesson->get_title(), editLesson->get_title(), due);
    if (due) {
        setDateFormat(editLesson->get_due());
    }
}

// Collected first: deleting a card runs cascades over the card table, which may disturb a
// selection walked at the same time.
std::vector<unsigned> cardsOfLesson(unsigned lessonId) {
    std::vector<unsigned> ids;
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        if (it->getDependency(D_LESSON) == lessonId) {
            ids.push_back(it->getId());
        }
    }
    return ids;
}

// The question promises that the lesson's flashcards go with it. The lesson table itself only
// clears the cards' link to a deleted lesson, so the cards are deleted here first.
void deleteLessonWithCards(unsigned lessonId) {
    for (unsigned cardId : cardsOfLesson(lessonId)) {
        if (Flashcard::getById(cardId) != nullptr) {
            Flashcard::deleteEntry(cardId);
        }
    }
    if (Lesson::getById(lessonId) != nullptr) {
        Lesson::deleteEntry(lessonId);
    }
}

void deleteActiveLesson() {
    if (!getLesson()) {
        return;
    }
    const unsigned id = editLesson->getId();
    const std::wstring title = editLesson->get_title();
    editLesson = nullptr;
    if (!askUser(String_DELETE_LESSON_WARNING, platform::MessageIcon::Warning, platform::MessageButtons::YesNo,
                 title.c_str())) {
        return;
    }
    deleteLessonWithCards(id);
    saveTablesOrWarn({D_LESSON, D_FLASHCARD, D_ASSO_F_W});
    fillList();
}

// The due date to store, or false after telling the user why there is none. A lesson that
// already has a date may keep it although it has passed.
bool readDueDate(std::int32_t& due) {
    const auto* dueBox = onScreen<GuiCheckBox>(TAG_DUE);
    if (dueBox == nullptr || !dueBox->getCheck()) {
        due = Lesson::NO_DUE_DATE;
        return true;
    }
    switch (checkDateFormat(due)) {
    case DateCheck::Invalid:
        refuseSave(String_WRONG_DATE_FORMAT_ERROR);
        return false;
    case DateCheck::Past:
        if (editLesson != nullptr && editLesson->get_due() == due) {
            return true;
        }
        refuseSave(String_DATE_IN_PAST_ERROR);
        return false;
    case DateCheck::Valid:
        break;
    }
    return true;
}

// Both fields go through their setters so that the lesson's bound is marked for saving. A save
// that fails takes the edit back (states/SaveTables.h): a new lesson leaves the table again.
void saveLesson() {
    const auto* titleField = onScreen<GuiTextfield>(TAG_TITLE);
    std::int32_t due = Lesson::NO_DUE_DATE;
    if (titleField == nullptr || !readDueDate(due)) {
        return;
    }
    const std::wstring title = titleField->visibleText();
    Lesson* lesson = editLesson;
    const std::wstring titleBefore = lesson != nullptr ? lesson->get_title() : L"";
    const std::int32_t dueBefore = lesson != nullptr ? lesson->get_due() : Lesson::NO_DUE_DATE;
    if (lesson != nullptr) {
        lesson->set_title(title.c_str(), true);
        lesson->set_due(due, true);
    } else {
        lesson = new Lesson(title.c_str(), due);
        Lesson::add(lesson);
    }
    const bool isNew = editLesson == nullptr;
    const SaveOutcome saved = saveEdit({D_LESSON}, [lesson, isNew, &titleBefore, dueBefore] {
        if (isNew) {
            Lesson::deleteEntry(lesson->getId());
        } else {
            lesson->set_title(titleBefore.c_str(), true);
            lesson->set_due(dueBefore, true);
        }
    });
    if (saved == SaveOutcome::NOTHING_CHANGED) {
        return;
    }
    editLesson = nullptr;
    fillList();
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewLesson},
    {UPDATE_EDIT_PRESSED, editActiveLesson},
    {UPDATE_DELETE_PRESSED, deleteActiveLesson},
    {UPDATE_SAVE_PRESSED, saveLesson},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

void forgetEditedLesson() { editLesson = nullptr; }

// --- building ---------------------------------------------------------------------------------

GuiTextfield* newDateField(int centerX, int width) {
    auto* field = new GuiTextfield(centerX, 340, L"", false, width, 50);
    field->setNumeric(true);
    return field;
}

void addEditPage(State* state) {
    setConditional(state, LESSON_EDIT_PAGE);
    addConTagedElTState(new GuiTitleText(L"", 0), TAG_HEADING);
    addConditionElementToState(new GuiText(interfaceText(String_LESSON), 300, 200, 200, 50, FONT1, TEXT_CENTRE));
    addConTagedElTState(new GuiTextfield(600, 200, L"", false, 333, 62), TAG_TITLE);
    // (the box tells dueCheckFunction its first state before the date fields exist; it finds
    // no fields on the current screen then and only repaints)
    addConTagedElTState(new GuiCheckBox(interfaceText(String_DUE_ON), 600, 270, 300, 50, true, dueCheckFunction),
                        TAG_DUE);
    addConTagedElTState(newDateField(475, 60), TAG_DAY);
    addConTagedElTState(newDateField(550, 60), TAG_MONTH);
    addConTagedElTState(newDateField(700, 120), TAG_YEAR);
    addConditionElementToState(new GuiButton(BUTTON1, 300, 450, interfaceText(String_DISCARD_CHANGES), LIST_PAGE));
    addConditionElementToState(new GuiButton(BUTTON1, 700, 450, interfaceText(String_SAVE), UPDATE_SAVE_PRESSED));
}

}  // namespace

State* createLessonState() {
    State* state = createListState(interfaceText(String_LESSONS), interfaceText(String_LESSON), LIST_SEARCHABLE);
    addEditPage(state);
    editLesson = nullptr;
    state->updateFunc = update;
    state->terminateFunc = forgetEditedLesson;
    return state;
}
