#include "program/FirstFrameFonts.h"

#include "resources/SecondStrings.h"
#include "resources/frameworkDefaults.h"

namespace {

// The heights the welcome screen fits its captions to at the canvas's own size: the buttons, the
// longest caption of the first words' row (an empty collection's), the traceback line. Every
// caption is measured at the face's size first; the title is drawn at it.
constexpr int BUTTON_HEIGHT = 62;
constexpr int FIRST_WORDS_SAMPLE_HEIGHT = 42;
constexpr int TRACEBACK_HEIGHT = 25;
// The traceback line shows the screen's traceback text after this separator.
constexpr const wchar_t* TRACEBACK_SEPARATOR = L" > ";

}  // namespace

platform::FontWarmUpRequest firstFrameFonts() {
    platform::FontWarmUpRequest request;
    const char* face = framewDefaultFontface(FONT1);
    request.face = face != nullptr ? face : "";
    request.weight = framewDefaultFontValue(F1_fnWeight);
    const int faceSize = framewDefaultFontValue(F1_SIZE);
    auto add = [&](std::wstring text, int drawnAt) { request.texts.push_back({std::move(text), faceSize, drawnAt}); };
    add(framewDefaultString(String_WELCOME_BACK), faceSize);
    for (framew_strings button : {String_PRACTICE, String_FEED, String_SETTINGS}) {
        add(framewDefaultString(button), BUTTON_HEIGHT);
    }
    for (framew_strings2 button : {String2_STATISTICS, String2_IMPORT_WORDS}) {
        add(defaultSecondString(button), BUTTON_HEIGHT);
    }
    add(defaultSecondString(String2_TRY_SAMPLE), FIRST_WORDS_SAMPLE_HEIGHT);
    add(TRACEBACK_SEPARATOR + std::wstring(framewDefaultString(String_WELCOME_STATE)), TRACEBACK_HEIGHT);
    return request;
}
