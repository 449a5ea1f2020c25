#include "screens/stateLevel.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "model/Flashcard.h"
#include "model/InterfaceText.h"
#include "model/Level.h"
#include "screens/EditorBoxes.h"
#include "screens/EditorList.h"
#include "states/SaveTables.h"
#include "states/UpdateTable.h"

Level* editLevel = nullptr;

namespace {

// The number fields of level 0 wear this mask, which no condition of this screen has.
constexpr long NUMBERS_HIDDEN = 16;

constexpr const char* TAG_LEVEL = "TEXTFIELD_LEVEL";
constexpr const char* TAG_BREAK_DAYS = "TEXTFIELD_BREAK_DAYS";
constexpr const char* TAG_FORCE_ANSWER = "CHECKBOX_FORCE_ANSWER";
constexpr const char* TAG_HINTS = "SELECTION_HINTS";

constexpr const char* UPDATE_SAVE_PRESSED = "SAVE_PRESSED";

// Break days become a card's due counter, a signed 32-bit number: more would wrap to a date in
// the past.
constexpr std::uint32_t MAX_BREAK_DAYS = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t MAX_LEVEL = std::numeric_limits<std::uint32_t>::max();

struct LevelFields {
    GuiTextfield* level;
    GuiTextfield* breakDays;
    GuiCheckBox* forceAnswer;
    GuiSelectionfield* hints;
    bool present() const { return level && breakDays && forceAnswer && hints; }
};

LevelFields levelFields() {
    return {onScreen<GuiTextfield>(TAG_LEVEL), onScreen<GuiTextfield>(TAG_BREAK_DAYS),
            onScreen<GuiCheckBox>(TAG_FORCE_ANSWER), onScreen<GuiSelectionfield>(TAG_HINTS)};
}

// The number typed into a digits-only field (empty reads as 0); nullopt when it is larger than
// `limit`, however many digits it has.
std::optional<std::uint32_t> typedNumber(const GuiTextfield& field, std::uint32_t limit) {
    std::uint64_t value = 0;
    for (wchar_t c : field.visibleText()) {
        if (c < L'0' || c > L'9') {
            break;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

// --- the handlers -----------------------------------------------------------------------------

void fillList() {
    GuiItemfield* list = editorList();
    if (list == nullptr) {
        return;
    }
    list->clearField();
    for (auto it = Level::orderQuery(L"ASC LEVEL", true); it != Level::endSel(); ++it) {
        addListEntry(*list, it->get_description(), it->getId());
    }
}

void openEditPage(const LevelFields& fields, Level* level) {
    const bool bottom = level != nullptr && level->get_level() == 0;
    fields.level->resetConditions(bottom ? NUMBERS_HIDDEN : LEVEL_EDIT_PAGE);
    fields.breakDays->resetConditions(bottom ? NUMBERS_HIDDEN : LEVEL_EDIT_PAGE);
    editLevel = level;
    nextCondition = LEVEL_EDIT_PAGE;
}

void startNewLevel() {
    const LevelFields fields = levelFields();
    if (!fields.present()) {
        return;
    }
    fields.level->setText(Level::getNextAvailableLevel());
    fields.breakDays->setText(L"");
    fields.forceAnswer->setCheck(true);
    fields.hints->setActivePosition(SHOWHINT);
    openEditPage(fields, nullptr);
}

void editActiveLevel() {
    const LevelFields fields = levelFields();
    Level* level = activeListRecord<Level>();
    if (!fields.present() || level == nullptr) {
        return;
    }
    fields.level->setText(level->get_level());
    fields.breakDays->setText(level->get_breakDays());
    fields.forceAnswer->setCheck(level->get_forceAnswerTyping());
    fields.hints->setActivePosition(level->get_hintHandling());
    openEditPage(fields, level);
}

void deleteActiveLevel() {
    const Level* level = activeListRecord<Level>();
    if (level == nullptr || level->get_level() == 0) {
        return;
    }
    const unsigned id = level->getId();
    if (!askUser(String_DELETE_LEVEL_QUESTION, platform::MessageIcon::Question, platform::MessageButtons::YesNo)) {
        return;
    }
    if (Level::getById(id) != nullptr) {
        Level::deleteEntry(id);
    }
    editLevel = nullptr;
    Flashcard::levelDeduct();
    saveTablesOrWarn({D_LEVEL, D_FLASHCARD});
    fillList();
}

struct LadderPlace {
    unsigned level = 0;
    unsigned breakDays = 0;
};

// The number and break days to store, or nullopt after telling the user what is wrong. Level 0
// keeps both. A new level may take any number up to one above the top; an existing one may move
// only within the ladder.
std::optional<LadderPlace> readLadderPlace(const LevelFields& fields) {
    if (editLevel != nullptr && editLevel->get_level() == 0) {
        return LadderPlace{0, editLevel->get_breakDays()};
    }
    const unsigned next = Level::getNextAvailableLevel();
    const std::optional<std::uint32_t> level = typedNumber(*fields.level, MAX_LEVEL);
    if (!level || *level < 1 || *level > next) {
        refuseSave(String_INVALID_LEVEL);
        return std::nullopt;
    }
    const std::optional<std::uint32_t> breakDays = typedNumber(*fields.breakDays, MAX_BREAK_DAYS);
    if (!breakDays || *breakDays < 1) {
        refuseSave(String_INVALID_BREAK_DAYS);
        return std::nullopt;
    }
    if (editLevel != nullptr && *level >= next) {
        refuseSave(String_INVALID_LEVEL);
        return std::nullopt;
    }
    return LadderPlace{*level, *breakDays};
}

// What a level held before an edit, to put back when its save fails.
struct LevelValues {
    unsigned level = 0;
    unsigned breakDays = 0;
    bool forceAnswer = true;
    HINTHANDLING hints = SHOWHINT;
};

LevelValues valuesOf(const Level& level) {
    return {level.get_level(), level.get_breakDays(), level.get_forceAnswerTyping(), level.get_hintHandling()};
}

void putBack(Level& level, const LevelValues& values) {
    if (values.level != 0) {
        level.set_level(values.level);
    }
    level.set_breakDays(values.breakDays, true);
    level.set_forceAnswerTyping(values.forceAnswer, true);
    level.set_hintHandling(values.hints, true);
}

// A new level joins the ladder at the top before it moves to its number. A save that fails takes
// the edit back (states/SaveTables.h): a new level leaves the ladder again, which moves the levels
// above it back down.
void saveLevel() {
    const LevelFields fields = levelFields();
    if (!fields.present()) {
        return;
    }
    const std::optional<LadderPlace> place = readLadderPlace(fields);
    if (!place) {
        return;
    }
    Level* level = editLevel;
    const std::optional<LevelValues> before = level != nullptr ? std::optional(valuesOf(*level)) : std::nullopt;
    if (level == nullptr) {
        level = new Level(0, true, SHOWHINT);
        Level::add(level);
    }
    putBack(*level, {place->level, place->breakDays, fields.forceAnswer->getCheck(),
                     static_cast<HINTHANDLING>(fields.hints->getActivePosition())});
    const SaveOutcome saved = saveEdit({D_LEVEL}, [level, &before] {
        if (before) {
            putBack(*level, *before);
        } else {
            Level::deleteEntry(level->getId());
        }
    });
    if (saved == SaveOutcome::NOTHING_CHANGED) {
        return;
    }
    editLevel = nullptr;
    fillList();
    nextCondition = LIST_PAGE;
}

constexpr UpdateHandler updateHandlers[] = {
    {UPDATE_INIT, fillList},
    {UPDATE_NEW_PRESSED, startNewLevel},
    {UPDATE_EDIT_PRESSED, editActiveLevel},
    {UPDATE_DELETE_PRESSED, deleteActiveLevel},
    {UPDATE_SAVE_PRESSED, saveLevel},
};

void update(const char* tag) { dispatchUpdate(updateHandlers, tag); }

void forgetEditedLevel() { editLevel = nullptr; }

// --- building ---------------------------------------------------------------------------------

void addLabel(framew_strings text, int centerX, int centerY, int width, int height) {
    addConditionElementToState(new GuiText(interfaceText(text), centerX, centerY, width, height, FONT1, TEXT_CENTRE));
}

// A digits-only field over a "0" that shows through while the field is hidden (level 0).
void addNumberField(int centerY, const char* tag) {
    addConditionElementToState(new GuiText(L"0", 720, centerY, 333, 50, FONT1, TEXT_CENTRE));
    auto* field = addConTagedElTState(new GuiTextfield(720, centerY, L"", false, 333, 50), tag);
    field->setNumeric(true);
}

void addHintSelection() {
    auto* hints = addConTagedElTState(new GuiSelectionfield(720, 380, 333, 50), TAG_HINTS);
    for (framew_strings text : {String_SHOW_HINTS, String_HIDE_HINTS, String_PUNISH_HINTS}) {
        hints->addItem(interfaceText(text));
    }
}

void addEditPage(State* state) {
    setConditional(state, LEVEL_EDIT_PAGE);
    addLabel(String_LEVEL, 500, 90, 772, 70);
    addLabel(String_LEVEL, 280, 170, 333, 50);
    addNumberField(180, TAG_LEVEL);
    addLabel(String_BREAK_DAYS, 280, 240, 333, 50);
    addNumberField(240, TAG_BREAK_DAYS);
    addConTagedElTState(
        new GuiCheckBox(interfaceText(String_FORCE_CORRECT_ANSWER), 500, 310, 772, 50, true, nullptr), TAG_FORCE_ANSWER);
    addLabel(String_HINTS, 280, 380, 333, 50);
    addHintSelection();
    addConditionElementToState(new GuiButton(BUTTON1, 280, 450, interfaceText(String_DISCARD_CHANGES), LIST_PAGE));
    addConditionElementToState(new GuiButton(BUTTON1, 720, 450, interfaceText(String_SAVE), UPDATE_SAVE_PRESSED));
}

}  // namespace

State* createLevelState() {
    State* state = createListState(interfaceText(String_LEVELS), interfaceText(String_LEVEL), 0);
    addEditPage(state);
    editLevel = nullptr;
    state->updateFunc = update;
    state->terminateFunc = forgetEditedLevel;
    return state;
}
