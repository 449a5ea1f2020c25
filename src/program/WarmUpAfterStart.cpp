#include "program/WarmUpAfterStart.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/IdleWork.h"
#include "model/Language.h"
#include "platform/CairoPainter.h"
#include "resources/frameworkFileManager.h"
#include "speech/Speaker.h"

namespace {

// The heights of the canvas's boxes that hold text, most common first (buttons, fields, rows,
// titles); then every other height up to the face's own size, at which every text is measured.
constexpr int COMMON_HEIGHTS[] = {62, 50, 30, 25, 24, 100, 80, 70, 40, 35, 20};
constexpr int LOWEST_HEIGHT = 1;

// The glyphs of the interface's texts: letters (with the accents of its languages), digits,
// punctuation and the symbols of its buttons and fields.
constexpr const wchar_t* SAMPLE =
    L"ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789 \u00E4\u00F6\u00FC\u00C4\u00D6\u00DC"
    L"\u00DF\u00E9\u00E8\u00EA\u00E0\u00E7 .,:;!?'\"()[]/+-%&|<> \u00BB\u00AB \u270E \u22D8 \u25BC \u2713 \u2038";

std::vector<int> heightsInOrder() {
    std::vector<int> heights(std::begin(COMMON_HEIGHTS), std::end(COMMON_HEIGHTS));
    const int highest = std::max(fonts[F1_SIZE], 100);
    for (int height = LOWEST_HEIGHT; height <= highest; ++height) {
        if (std::find(heights.begin(), heights.end(), height) == heights.end()) {
            heights.push_back(height);
        }
    }
    return heights;
}

}  // namespace

void warmFontSizesWhenIdle(platform::CairoPainter& painter) {
    auto heights = std::make_shared<std::vector<int>>(heightsInOrder());
    auto next = std::make_shared<std::size_t>(0);
    idleWork::post(&painter, [&painter, heights, next] {
        if (*next < heights->size()) {
            painter.warmUp({fontfaces[FONT1] != nullptr ? fontfaces[FONT1] : "", (*heights)[(*next)++], fonts[F1_fnWeight]},
                           SAMPLE);
        }
        return *next < heights->size();
    });
}

void loadLanguageLayoutsAhead(platform::KeyboardLayouts& layouts) {
    std::vector<std::string> identifiers;
    for (auto it = Language::begin(); it != Language::end(); ++it) {
        identifiers.emplace_back(it->get_keyboardLocalID());
    }
    layouts.loadAhead(identifiers);
}

void warmSpeechWhenIdle() {
    static const int owner = 0;
    idleWork::post(&owner, [] {
        speech::Speaker::instance().warmUp();
        return false;
    });
}
