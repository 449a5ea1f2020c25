// The language list of selection fields.

#include <algorithm>
#include <cwchar>
#include <vector>

#include "model/Language.h"
#include "model/ui/LanguageRecords.h"
#include "model/ui/SelectionItems.h"

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
        modelui::addEntry(*field, language->get_name(), language->getId());
    }
}
