#include "statistics/PlotExport.h"

#include <cctype>

#include "base/AtomicFile.h"
#include "base/Utf8.h"
#include "model/InterfaceText.h"
#include "platform/PictureFile.h"
#include "shell/frameworkPainter.h"
#include "statistics/DayLabels.h"

namespace {

// The names of the files suggested, by plot.
const char* const SUGGESTED_NAMES[PLOT_KINDS] = {
    "statistics-forecast.png", "statistics-levels.png",   "statistics-answers.png", "statistics-first-try.png",
    "statistics-articles.png", "statistics-verbs.png",    "statistics-hardest.png", "statistics-calendar.png",
};

bool endsWith(const std::string& text, const char* end) {
    const std::string tail(end);
    if (text.size() < tail.size()) {
        return false;
    }
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool writePlotPicture(const std::string& path, PlotKind plot, const Statistics& statistics) {
    const platform::PixelSize size{static_cast<int>(PLOT_WIDTH * PICTURE_SCALE), static_cast<int>(PLOT_HEIGHT * PICTURE_SCALE)};
    return platform::writePicture(path, platform::pictureFormatOf(path), size, [&](platform::Painter& painter) {
        framewPaintOffscreen(painter, PICTURE_SCALE,
                             [&] { paintPlot(plot, statistics, PlotFrame{0, 0, PLOT_WIDTH - 1, PLOT_HEIGHT - 1}); });
    });
}

void savePlotPicture(PlotKind plot, const Statistics& statistics) {
    const int index = static_cast<int>(plot);
    const std::vector<platform::FileFilter> filters{
        {utf8::encode(interfaceText2(String2_PICTURE_FILES)), {"*.png", "*.svg"}}};
    std::optional<std::string> chosen = platform::current().saveFileDialog(filters, SUGGESTED_NAMES[index]);
    if (!chosen) {
        return;
    }
    std::string path = *chosen;
    if (!endsWith(path, ".png") && !endsWith(path, ".svg")) {
        path += ".png";
        // The dialog asked about the name as it was chosen, not about this one.
        if (pathExists(path) &&
            platform::current().messageBox(fillIn(interfaceText2(String2_REPLACE_PICTURE), {utf8::decode(path)}),
                                           interfaceText(String_INFORMATION), platform::MessageIcon::Question,
                                           platform::MessageButtons::YesNo) != platform::MessageResult::Yes) {
            return;
        }
    }
    if (!writePlotPicture(path, plot, statistics)) {
        platform::current().messageBox(fillIn(interfaceText2(String2_PICTURE_NOT_SAVED), {utf8::decode(path)}),
                                       interfaceText(String_INFORMATION), platform::MessageIcon::Warning,
                                       platform::MessageButtons::Ok);
    }
}
