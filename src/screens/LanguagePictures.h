#pragma once

// The flag and keyboard pictures of the language editor: chosen with the picture chooser, shown
// at once as a small picture beside their button, and copied into the language's picture
// directory when the language is saved.

// Where a picture is shown (centre x 400 and the given centre y, 60 x 40) and on which pages.
struct LanguagePictureSlot {
    const char* pathTag;     // the text element showing the chosen path
    const char* pictureTag;  // the picture element
    const char* directory;   // where the language's picture is stored, ending with '/'
    int centerY;
    long pages;
};

// Lets the user choose a picture file for the slot. A file that reads as a picture replaces the
// picture shown and its path is kept for the save. On cancel nothing changes; a file that is no
// readable picture is not taken: the path and picture chosen before it stay.
void imageControl(const LanguagePictureSlot& slot);

// Shows the stored picture of the language in the slot, or none when it has no picture.
void imageSet(const LanguagePictureSlot& slot, unsigned languageId);

// Removes the slot's picture and chosen path from the screen.
void imageClear(const LanguagePictureSlot& slot);

// Copies the picture whose path the slot shows into the slot's directory as the picture of the
// language. Nothing is copied, and an earlier picture of the language stays, when no path was
// chosen or the file is no longer a readable picture. Returns false only when the picture could
// not be written.
bool imageStore(const LanguagePictureSlot& slot, unsigned languageId);
