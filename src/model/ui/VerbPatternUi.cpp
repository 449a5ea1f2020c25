// Verb patterns on screen: the pattern list of selection fields, checking the rules typed into a
// verb table and showing the forms a pattern makes of an infinitive.

#include <algorithm>
#include <string>
#include <vector>

#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "model/Grammar.h"
#include "model/VerbPattern.h"
#include "model/ui/LanguageRecords.h"
#include "model/ui/SelectionItems.h"
#include "model/ui/VerbTableCells.h"

// Ordered as the query "ASC PATTERNID" orders them (ties by id), without replacing the pattern
// table's current selection.
void VerbPattern::prepareSelection(unsigned languageId, GuiSelectionfield* field) {
    if (field == nullptr) {
        return;
    }
    modelui::restartWithNotApplicable(*field);
    std::vector<VerbPattern*> patterns = languageId == 0 ? modelui::allRecords<VerbPattern>()
                                                         : modelui::recordsOfLanguage<VerbPattern>(languageId);
    std::stable_sort(patterns.begin(), patterns.end(), [](const VerbPattern* a, const VerbPattern* b) {
        return a->get_patternId() < b->get_patternId();
    });
    for (const VerbPattern* pattern : patterns) {
        modelui::addEntry(*field, pattern->get_description(), pattern->getId());
    }
}

bool VerbPattern::checkPatternTable(GuiTable* table, unsigned languageId) {
    if (table == nullptr) {
        return false;
    }
    const std::size_t personCount = modelui::recordsOfLanguage<Person>(languageId).size();
    const std::size_t tenseCount = modelui::recordsOfLanguage<Tense>(languageId).size();
    for (unsigned y = 0; y < personCount; ++y) {
        for (unsigned x = 0; x < tenseCount; ++x) {
            const std::wstring rule = modelui::cellText(*table, modelui::lineOfPerson(y), modelui::columnOfTense(x));
            if (!checkPatternString(rule.c_str())) {
                return false;
            }
        }
    }
    return true;
}

// The forms are labels, not fields: a conjugated form may be longer than a text field holds, and
// it is shown whole.
void VerbPattern::convertFillTable(GuiTable* table, const wchar_t* infinitive) {
    if (table == nullptr) {
        return;
    }
    for (unsigned y = 0; y < persons; ++y) {
        for (unsigned x = 0; x < tenses; ++x) {
            std::wstring form = infinitive == nullptr ? L"" : infinitive;
            convertWithPattern(content[x][y].c_str(), form);
            const int line = modelui::lineOfPerson(y);
            const int column = modelui::columnOfTense(x);
            const GuiTableCell* cell = table->getCell(line, column);
            const int width = cell == nullptr ? 0 : cell->getWidth();
            const int height = cell == nullptr ? 0 : cell->getHeight();
            table->setContent(line, column, new GuiText(form.c_str(), 0, 0, width, height, FONT1, TEXT_CENTRE));
        }
    }
}
