// The import screen's preview page. Elements in the order they are added (also the Tab order):
//
//   element                 centre / top-left     content
//   file title              500,22 980x36         the file's name
//   label, text field       50,65 / 215,65        "Foreign", the foreign language's name
//   text                    365,65                "(new)" when no language has that name
//   label, text field       450,65 / 615,65       "Known", the known language's name
//   text                    765,65                "(new)"
//   button                  910,65                "Preview"
//   toggle                  230,105 440x30        update / skip duplicates
//   check box               720,105 380x30        split off a leading article
//   role fields             85+165i,145 155x30    delimited text: the role of the first 6 columns
//   labels, selections      90/260, 480/650 ,145  KVTML: the identifiers of the two sides
//   list                    10,170 620x240        the first rows as they will be stored
//   label, list             815,180 / 640,195     the refused rows
//   text                    500,425 980x26        the counts
//   progress bar            10,442 980x6          while the preview reads the file
//   buttons                 775,475 / 925,475     Cancel, Import (or "Import the rest")

#include <filesystem>
#include <string>

#include "base/Utf8.h"
#include "exchange/ExchangeText.h"
#include "exchange/ExportSet.h"
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/InterfaceText.h"
#include "model/Language.h"
#include "platform/Platform.h"
#include "screens/ImportScreen.h"

namespace import_screen {

using namespace exchange;

namespace {

constexpr const char* UPDATE_CHOICE = "CHOICE_CHANGED";
constexpr const char* UPDATE_PREVIEW = "PREVIEW_PRESSED";
constexpr const char* UPDATE_IMPORT = "IMPORT_PRESSED";
constexpr const char* UPDATE_CANCEL = "CANCEL_PRESSED";

template <typename Element>
Element* add(Element* element) {
    return addConditionElementToState(element);
}

GuiText* label(const std::wstring& text, int centerX, int centerY, int width, int height,
               unsigned format = TEXT_CENTRE) {
    return add(new GuiText(text.c_str(), centerX, centerY, width, height, FONT1, format));
}

void choiceChanged(bool) { addUpdate(UPDATE_CHOICE, screen.state); }

std::wstring roleCaption(ColumnRole role) {
    switch (role) {
    case ColumnRole::Foreign: return text2(String2_ROLE_FOREIGN);
    case ColumnRole::Known: return text2(String2_ROLE_KNOWN);
    case ColumnRole::Article: return text2(String2_ROLE_ARTICLE);
    case ColumnRole::Pronunciation: return text2(String2_ROLE_PRONUNCIATION);
    case ColumnRole::Mnemonic: return text2(String2_ROLE_MNEMONIC);
    case ColumnRole::Lesson: return text2(String2_ROLE_LESSON);
    case ColumnRole::Category: return text2(String2_ROLE_CATEGORY);
    case ColumnRole::Tags: return text2(String2_ROLE_TAGS);
    case ColumnRole::Ignore: return text2(String2_ROLE_SKIP);
    }
    return {};
}

GuiSelectionfield* selection(int centerX, int centerY, int width) {
    auto* field = add(new GuiSelectionfield(centerX, centerY, width, 30));
    field->setSpecUpdate(UPDATE_CHOICE);
    return field;
}

void addChoiceRows() {
    label(interfaceText(String_FOREIGN), 50, 65, 90, 30);
    screen.foreignField = add(new GuiTextfield(215, 65, L"", false, 230, 30));
    screen.foreignNew = label(L"", 365, 65, 60, 30);
    label(interfaceText(String_KNOWN), 450, 65, 90, 30);
    screen.knownField = add(new GuiTextfield(615, 65, L"", false, 230, 30));
    screen.knownNew = label(L"", 765, 65, 60, 30);
    add(new GuiButton(BUTTON3, 910, 65, text2(String2_PREVIEW).c_str(), UPDATE_PREVIEW));
    screen.duplicates = add(new GuiToggle(text2(String2_UPDATE_DUPLICATES).c_str(),
                                          text2(String2_SKIP_DUPLICATES).c_str(), false, 230, 105, 440, 30,
                                          choiceChanged));
    screen.splitArticles =
        add(new GuiCheckBox(text2(String2_SPLIT_ARTICLES).c_str(), 720, 105, 380, 30, false, choiceChanged));
    screen.roles.clear();
    for (std::size_t i = 0; i < ROLE_FIELDS; ++i) {
        GuiSelectionfield* field = selection(85 + 165 * static_cast<int>(i), 145, 155);
        for (ColumnRole role : ALL_ROLES) {
            field->addItem(roleCaption(role).c_str());
            field->setLastId(static_cast<unsigned>(role));
        }
        screen.roles.push_back(field);
    }
    screen.foreignFrom = label(text2(String2_FOREIGN_FROM), 90, 145, 160, 30);
    screen.foreignIdentifier = selection(260, 145, 200);
    screen.knownFrom = label(text2(String2_KNOWN_FROM), 480, 145, 160, 30);
    screen.knownIdentifier = selection(650, 145, 200);
}

std::wstring joined(const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (const std::wstring& part : parts) {
        text += (text.empty() ? L"" : L"; ") + part;
    }
    return text;
}

std::wstring fateName(RowFate fate) {
    switch (fate) {
    case RowFate::New: return text2(String2_FATE_NEW);
    case RowFate::Updated: return text2(String2_FATE_UPDATED);
    case RowFate::Skipped: return text2(String2_FATE_SKIPPED);
    case RowFate::Merged: return text2(String2_FATE_MERGED);
    case RowFate::Refused: return text2(String2_FATE_REFUSED);
    }
    return {};
}

std::wstring rowLine(const PreviewRow& row) {
    std::wstring line = std::to_wstring(row.refusal.line != 0 ? row.refusal.line : row.row.line) + L":  ";
    if (row.fate == RowFate::Refused) {
        return line + fateName(row.fate);
    }
    line += withArticle(row.row.article, row.row.foreign) + L"  \u2192  " + joined(row.row.known);
    if (!row.row.pronunciation.empty()) {
        line += L"  [" + row.row.pronunciation + L"]";
    }
    if (!row.row.lesson.empty()) {
        line += L"  \u00B7 " + row.row.lesson;
    }
    return line + L"  \u00B7 " + fateName(row.fate);
}

void showLanguages() {
    screen.foreignField->setText(screen.choices.foreignLanguage.c_str());
    screen.knownField->setText(screen.choices.knownLanguage.c_str());
}

void showRoles(bool delimited) {
    for (std::size_t i = 0; i < screen.roles.size(); ++i) {
        GuiSelectionfield* field = screen.roles[i];
        const bool used = delimited && i < screen.choices.roles.size();
        field->setConAndRepaint(used ? PREVIEW_PAGE : HIDDEN);
        if (used) {
            field->setActiveToId(static_cast<unsigned>(screen.choices.roles[i]));
        }
    }
}

void showIdentifiers(bool kvtml) {
    for (GuiText* text : {screen.foreignFrom, screen.knownFrom}) {
        text->setConditions(kvtml ? PREVIEW_PAGE : HIDDEN);
    }
    for (GuiSelectionfield* field : {screen.foreignIdentifier, screen.knownIdentifier}) {
        field->setConAndRepaint(kvtml ? PREVIEW_PAGE : HIDDEN);
        field->clearField();
    }
    if (!kvtml) {
        return;
    }
    const KvtmlHead& head = screen.file->kvtml().head();
    for (const KvtmlIdentifier& identifier : head.identifiers) {
        for (GuiSelectionfield* field : {screen.foreignIdentifier, screen.knownIdentifier}) {
            field->addItem(identifierLanguageName(head, identifier.id).c_str());
            field->setLastId(static_cast<unsigned>(identifier.id));
        }
    }
    screen.foreignIdentifier->setActiveToId(static_cast<unsigned>(screen.choices.foreignIdentifier));
    screen.knownIdentifier->setActiveToId(static_cast<unsigned>(screen.choices.knownIdentifier));
}

// A side whose identifier changed takes that identifier's name as its language.
void followIdentifiers() {
    if (screen.file->format() != FileFormat::Kvtml) {
        return;
    }
    const KvtmlHead& head = screen.file->kvtml().head();
    const int foreign = static_cast<int>(screen.foreignIdentifier->getActiveId());
    const int known = static_cast<int>(screen.knownIdentifier->getActiveId());
    if (foreign != screen.choices.foreignIdentifier) {
        screen.choices.foreignIdentifier = foreign;
        screen.foreignField->setText(identifierLanguageName(head, foreign).c_str());
    }
    if (known != screen.choices.knownIdentifier) {
        screen.choices.knownIdentifier = known;
        screen.knownField->setText(identifierLanguageName(head, known).c_str());
    }
}

}  // namespace

void addPreviewPage() {
    setConditional(screen.state, PREVIEW_PAGE);
    screen.fileTitle = label(L"", 500, 22, 980, 36);
    addChoiceRows();
    screen.rows = add(new GuiItemfield(10, 170, 620, 240));
    label(text2(String2_REFUSED_ROWS), 815, 180, 350, 20);
    screen.refused = add(new GuiItemfield(640, 195, 350, 215));
    screen.counts = label(L"", 500, 425, 980, 26);
    screen.previewBar = add(new GuiProgressBar(10, 442, 980, 6));
    add(new GuiButton(BUTTON3, 775, 475, interfaceText(String_CANCEL), UPDATE_CANCEL));
    screen.importButton = add(new GuiButton(BUTTON3, 925, 475, text2(String2_IMPORT_WORDS).c_str(), UPDATE_IMPORT));
}

void showChoices() {
    const std::string name = std::filesystem::path(screen.path).filename().string();
    screen.fileTitle->setText(utf8::decode(name).c_str());
    const bool kvtml = screen.file->format() == FileFormat::Kvtml;
    if (!kvtml) {
        // A delimited list goes where most cards are, when there are any.
        const std::vector<LanguagePair> pairs = languagePairs();
        if (!pairs.empty()) {
            screen.choices.foreignLanguage = Language::getById(pairs.front().foreign)->get_name();
            screen.choices.knownLanguage = Language::getById(pairs.front().known)->get_name();
        }
    }
    showLanguages();
    screen.duplicates->setRightOn(false);
    showRoles(!kvtml);
    showIdentifiers(kvtml);
}

void readChoices() {
    ImportChoices& choices = screen.choices;
    followIdentifiers();
    choices.foreignLanguage = screen.foreignField->visibleText();
    choices.knownLanguage = screen.knownField->visibleText();
    choices.options.duplicates = screen.duplicates->getRightOn() ? DuplicateRule::Skip : DuplicateRule::Update;
    choices.options.splitLeadingArticle = screen.splitArticles->getCheck();
    for (std::size_t i = 0; i < screen.roles.size() && i < choices.roles.size(); ++i) {
        choices.roles[i] = static_cast<ColumnRole>(screen.roles[i]->getActiveId());
    }
}

bool startPreview(bool quietly) {
    readChoices();
    screen.rows->clearField();
    screen.refused->clearField();
    screen.counts->setText(L"");
    screen.previewBar->setDone(0);
    std::wstring problem;
    screen.import = prepareImport(*screen.file, screen.choices, problem);
    if (screen.import == nullptr) {
        screen.phase = Phase::Idle;
        if (quietly) {
            screen.counts->setText(problem.c_str());
        } else {
            tell(problem);
        }
        return false;
    }
    screen.phase = Phase::Previewing;
    return true;
}

void showPreview() {
    const ImportPreview& preview = screen.import->preview();
    screen.rows->clearField();
    for (const PreviewRow& row : preview.first) {
        screen.rows->addItem(rowLine(row).c_str());
    }
    screen.refused->clearField();
    for (const Refusal& refusal : preview.refusals) {
        screen.refused->addItem(describe(refusal).c_str());
    }
    const ImportCounts& counts = preview.counts;
    screen.counts->setText(fillIn(text2(String2_IMPORT_COUNTS),
                                  {std::to_wstring(counts.rows()), std::to_wstring(counts.added),
                                   std::to_wstring(counts.updated), std::to_wstring(counts.skipped),
                                   std::to_wstring(counts.merged), std::to_wstring(counts.refused)})
                               .c_str());
    screen.importButton->setText(text2(counts.refused > 0 ? String2_IMPORT_REST : String2_IMPORT_WORDS).c_str());
    const std::wstring isNew = text2(String2_NEW_LANGUAGE);
    screen.foreignNew->setText(screen.import->foreignLanguage().isNew() ? isNew.c_str() : L"");
    screen.knownNew->setText(screen.import->knownLanguage().isNew() ? isNew.c_str() : L"");
    screen.previewBar->setDone(1);
}

void showProgress() {
    if (screen.import == nullptr) {
        return;
    }
    if (screen.phase == Phase::Previewing) {
        screen.previewBar->setDone(screen.import->progress());
        screen.previewBar->reRender();
        screen.progressBar->setDone(screen.import->progress() / 2);
        screen.progressBar->reRender();
        return;
    }
    const unsigned total = screen.import->preview().counts.rows();
    const unsigned done = screen.import->storedCounts().rows();
    screen.progressBar->setDone(total == 0 ? 1.0 : (screen.sample ? 0.5 + 0.5 * done / total : 1.0 * done / total));
    screen.progressBar->reRender();
    screen.progressText->setText(fillIn(text2(String2_ROWS_OF), {std::to_wstring(done), std::to_wstring(total)}).c_str());
}

void tell(const std::wstring& text) {
    platform::current().messageBox(text, interfaceText(String_INFORMATION), platform::MessageIcon::Information,
                                   platform::MessageButtons::Ok);
}

}  // namespace import_screen
