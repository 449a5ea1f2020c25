// The language list of selection fields.

#include <algorithm>
#include <cwchar>
#include <vector>

#include "gui/GuiSelectionfield.h"
#include "model/Language.h"
#include "model/ui/LanguageRecords.h"

// Ordered as the query "ASC NAME" orders them (wide-character comparison, ties by id), without
// replacing the language table's current selection.
void Language::prepareSelection(GuiSelectionfield* field) {
    if (field == nullptr) {
        return;
    }
    std::vector<Language*> languages = modelui::allRecords<Language>();
    std::stable_sort(languages.begin(), languages.end(), [](const Language* a, const Language* b) {
        return std::wcscmp(a->get_name(), b->get_name()) < 0;
    });
    for (const Language* language : languages) {
        field->addItem(language->get_name());
        field->setLastId(language->getId());
    }
}
