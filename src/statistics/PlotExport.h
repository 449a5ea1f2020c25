#pragma once

// "Save picture": the plot shown, written as PNG or SVG (by the name's extension; a name with
// neither gets ".png", and replaces a file of that name only when the user agrees) to a file the
// user picks, at twice the size it has on the canvas.

#include <string>

#include "statistics/Plots.h"

// The plot's size on the canvas, in virtual units, and the pixels per unit of the picture.
inline constexpr int PLOT_WIDTH = 840;
inline constexpr int PLOT_HEIGHT = 410;
inline constexpr double PICTURE_SCALE = 2.0;

// Asks for the file (a save dialog) and writes the picture; a failure is told in a box.
void savePlotPicture(PlotKind plot, const Statistics& statistics);

// Writes the picture to `path` without asking; false when it could not be written.
bool writePlotPicture(const std::string& path, PlotKind plot, const Statistics& statistics);
