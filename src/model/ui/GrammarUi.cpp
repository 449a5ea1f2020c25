// The article list of selection fields (and, with the same rule, persons and tenses).

#include "gui/GuiSelectionfield.h"
#include "model/Grammar.h"
#include "model/InterfaceText.h"
#include "model/ui/LanguageRecords.h"

template <typename T>
void Grammar::prepareSelection(unsigned languageId, GuiSelectionfield* field) {
    if (field == nullptr) {
        return;
    }
    field->clearField();
    // Id 0 is "no entry": a word without an article links to nothing.
    field->addItem(interfaceText(String_N_A));
    field->setLastId(0);
    for (const T* entry : modelui::recordsOfLanguage<T>(languageId)) {
        field->addItem(entry->get_text());
        field->setLastId(entry->getId());
    }
}

template void Grammar::prepareSelection<Article>(unsigned, GuiSelectionfield*);
template void Grammar::prepareSelection<Person>(unsigned, GuiSelectionfield*);
template void Grammar::prepareSelection<Tense>(unsigned, GuiSelectionfield*);
