#pragma once

// The picture chooser of the editors: the user picks a picture file in the platform's file
// dialog, and its full path is written into a text element of the current screen, from where the
// editor copies the picture when it saves.

class GuiText;

// Opens the file dialog (filters "Bitmap (only 24 Bit Depth Bitmaps work correctly)" *.bmp and
// "All files" *.*). On a choice, writes the chosen file's full path, of any length, as the 8-bit
// text of the current screen's element tagged `stringTag` and returns that element. Returns null
// and changes nothing when the user cancels, or when the current screen has no text element with
// that tag once the dialog has closed. The working directory, against which every data path of
// the program is resolved, is the same afterwards whatever folder the user browsed.
GuiText* imageOpener(const char* stringTag);
