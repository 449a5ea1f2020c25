// The article list of selection fields (and, with the same rule, persons and tenses).

#include "model/Grammar.h"
#include "model/ui/LanguageRecords.h"
#include "model/ui/SelectionItems.h"

template <typename T>
void Grammar::prepareSelection(unsigned languageId, GuiSelectionfield* field) {
    if (field == nullptr) {
        return;
    }
    modelui::restartWithNotApplicable(*field);
    for (const T* entry : modelui::recordsOfLanguage<T>(languageId)) {
        modelui::addEntry(*field, entry->get_text(), entry->getId());
    }
}

template void Grammar::prepareSelection<Article>(unsigned, GuiSelectionfield*);
template void Grammar::prepareSelection<Person>(unsigned, GuiSelectionfield*);
template void Grammar::prepareSelection<Tense>(unsigned, GuiSelectionfield*);
