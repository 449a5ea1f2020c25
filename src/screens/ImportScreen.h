#pragma once

// What the import screen's files share: its pages, its elements and the import in progress.
//
// Pages:
//   FILE      the title, what can be imported, "Choose a file"
//   PREVIEW   the choices, the first rows as they will be stored, the counts and refused rows,
//             Cancel and Import (or "Import the rest")
//   PROGRESS  the progress bar while the rows are stored and then saved, Cancel
//   DONE      what was stored; Practice and Done
//
// The work goes in slices from the screen's alive function, which runs after every message while
// nothing else is pending; each slice asks for a repaint of the bar, whose paint message brings
// the next slice, so the window keeps painting and taking input between them. Everything touches
// the database on the window's thread only. The save is made in slices too (model/
// DatabaseSaveInSteps.h): the tables are walked into the unit between paints, then the unit is
// written to the log on a thread of its own while the page waits; Cancel before the commit point
// leaves the collection as it was.

#include <memory>
#include <string>
#include <vector>

#include "exchange/ImportChoices.h"
#include "model/DatabaseSaveInSteps.h"

class State;
class GuiText;
class GuiTextfield;
class GuiSelectionfield;
class GuiItemfield;
class GuiButton;
class GuiToggle;
class GuiCheckBox;
class GuiProgressBar;

namespace import_screen {

inline constexpr long FILE_PAGE = 1;
inline constexpr long PREVIEW_PAGE = 2;
inline constexpr long PROGRESS_PAGE = 4;
inline constexpr long DONE_PAGE = 8;
inline constexpr long HIDDEN = 0x40000000;

// The columns of delimited text that get a role field on the preview page.
inline constexpr std::size_t ROLE_FIELDS = 6;

enum class Phase { Idle, Previewing, Previewed, Storing, Saving, Done };

struct ImportScreen {
    State* state = nullptr;
    bool sample = false;
    std::string path;
    std::unique_ptr<exchange::ImportFile> file;
    exchange::ImportChoices choices;
    std::unique_ptr<exchange::Import> import;
    Phase phase = Phase::Idle;
    std::unique_ptr<DatabaseSaveInSteps> save;  // while Saving
    bool saveCancelled = false;                 // Cancel was pressed while Saving

    GuiText* fileTitle = nullptr;
    GuiTextfield* foreignField = nullptr;
    GuiTextfield* knownField = nullptr;
    GuiText* foreignNew = nullptr;
    GuiText* knownNew = nullptr;
    GuiToggle* duplicates = nullptr;
    GuiCheckBox* splitArticles = nullptr;
    GuiText* foreignFrom = nullptr;
    GuiText* knownFrom = nullptr;
    GuiSelectionfield* foreignIdentifier = nullptr;
    GuiSelectionfield* knownIdentifier = nullptr;
    std::vector<GuiSelectionfield*> roles;
    GuiItemfield* rows = nullptr;
    GuiItemfield* refused = nullptr;
    GuiText* counts = nullptr;
    GuiProgressBar* previewBar = nullptr;
    GuiButton* importButton = nullptr;
    GuiProgressBar* progressBar = nullptr;
    GuiText* progressText = nullptr;
    GuiText* doneText = nullptr;
};

extern ImportScreen screen;

// --- the preview page (ImportPreviewPage.cpp) ---
void addPreviewPage();
// Shows the choices of a newly opened file (languages, columns or identifiers).
void showChoices();
// The choices as the page shows them.
void readChoices();
// Starts the preview again with the choices on the page; false when they make no import, which
// a box says, or, `quietly`, the line of the counts.
bool startPreview(bool quietly = false);
// Fills the lists and counts from the finished preview.
void showPreview();
// The progress of the running preview or store.
void showProgress();

// Tells the user in a box (information icon).
void tell(const std::wstring& text);

}  // namespace import_screen
