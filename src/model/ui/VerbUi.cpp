// Verb tables on screen: building the empty grid of a language, filling it from a verb, reading
// it back and judging what the user typed.

#include <vector>

#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "model/Grammar.h"
#include "model/Language.h"
#include "model/Verb.h"
#include "model/ui/LanguageRecords.h"
#include "model/ui/VerbTableCells.h"

namespace {

// Where every verb table sits on the canvas, and the size its text fields are made with before
// the cells lay them out.
constexpr int TABLE_X = 10;
constexpr int TABLE_Y = 80;
constexpr int TABLE_WIDTH = 980;
constexpr int TABLE_HEIGHT = 400;
constexpr int FIELD_WIDTH = 333;
constexpr int FIELD_HEIGHT = 62;

GuiText* caption(const wchar_t* text) {
    return new GuiText(text, 0, 0, FIELD_WIDTH, FIELD_HEIGHT, FONT1, TEXT_CENTRE);
}

GuiTextfield* textField(const wchar_t* text, bool rightToLeft) {
    return new GuiTextfield(0, 0, text, rightToLeft, FIELD_WIDTH, FIELD_HEIGHT);
}

}  // namespace

GuiTable* Verb::createEmptyTable(unsigned languageId) {
    const std::vector<Person*> personList = modelui::recordsOfLanguage<Person>(languageId);
    const std::vector<Tense*> tenseList = modelui::recordsOfLanguage<Tense>(languageId);
    if (personList.empty() || tenseList.empty()) {
        return nullptr;
    }
    const Language* language = Language::getById(languageId);
    const bool rightToLeft = language != nullptr && language->get_rightToLeft();
    const int columns = static_cast<int>(tenseList.size()) + 1;
    const int lines = static_cast<int>(personList.size()) + 1;
    auto* table = new GuiTable(TABLE_X, TABLE_Y, TABLE_WIDTH, TABLE_HEIGHT, columns, lines);
    for (unsigned y = 0; y < personList.size(); ++y) {
        table->setContent(modelui::lineOfPerson(y), 0, caption(personList[y]->get_text()));
    }
    for (unsigned x = 0; x < tenseList.size(); ++x) {
        table->setContent(0, modelui::columnOfTense(x), caption(tenseList[x]->get_text()));
    }
    for (unsigned x = 0; x < tenseList.size(); ++x) {
        for (unsigned y = 0; y < personList.size(); ++y) {
            table->setContent(modelui::lineOfPerson(y), modelui::columnOfTense(x), textField(L"", rightToLeft));
        }
    }
    return table;
}

void Verb::addContent(GuiTable* table) {
    if (table == nullptr) {
        return;
    }
    for (unsigned x = 0; x < tenses; ++x) {
        for (unsigned y = 0; y < persons; ++y) {
            if (modelui::cellField(*table, modelui::lineOfPerson(y), modelui::columnOfTense(x)) != nullptr) {
                addContent(modelui::cellText(*table, modelui::lineOfPerson(y), modelui::columnOfTense(x)).c_str(), x, y);
            }
        }
    }
}

// A new field keeps the writing direction of the field it replaces, which the table got from its
// language when it was built.
void Verb::fillTable(GuiTable* table) {
    if (table == nullptr) {
        return;
    }
    for (unsigned y = 0; y < persons; ++y) {
        for (unsigned x = 0; x < tenses; ++x) {
            const int line = modelui::lineOfPerson(y);
            const int column = modelui::columnOfTense(x);
            const GuiTextfield* previous = modelui::cellField(*table, line, column);
            const bool rightToLeft = previous != nullptr && previous->getRightToLeft();
            table->setContent(line, column, textField(content[x][y].c_str(), rightToLeft));
        }
    }
}

bool Verb::checkTableSubmission(GuiTable* table, const wchar_t* infinitive, std::vector<bool>* cellsRight) {
    if (table == nullptr) {
        return false;
    }
    if (cellsRight != nullptr) {
        cellsRight->assign(static_cast<std::size_t>(tenses) * persons, false);
    }
    bool result = true;
    for (unsigned y = 0; y < persons; ++y) {
        for (unsigned x = 0; x < tenses; ++x) {
            const int line = modelui::lineOfPerson(y);
            const int column = modelui::columnOfTense(x);
            const bool ok = checkOn(x, y, modelui::cellText(*table, line, column).c_str(), infinitive);
            table->setColour(line, column, colours[ok ? WHITE_RGB : INCORRECT_RGB]);
            if (cellsRight != nullptr) {
                (*cellsRight)[static_cast<std::size_t>(x) * persons + y] = ok;
            }
            result = result && ok;
        }
    }
    return result;
}

void Verb::setTableEditable(GuiTable* table, bool editable) {
    if (table == nullptr) {
        return;
    }
    for (unsigned y = 0; y < persons; ++y) {
        for (unsigned x = 0; x < tenses; ++x) {
            if (GuiTextfield* field = modelui::cellField(*table, modelui::lineOfPerson(y), modelui::columnOfTense(x))) {
                field->setEditable(editable);
            }
        }
    }
}
