#include "resources/ProgramSettings.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/AtomicFile.h"
#include "resources/ResourceFileBytes.h"

namespace {

constexpr const char* kSettingsPath = "Data/Framework/settings.txt";
constexpr std::string_view kSpeakAfterJudging = "speak-after-judging";

std::optional<bool> yesOrNo(std::string_view value) {
    if (value == "yes") {
        return true;
    }
    if (value == "no") {
        return false;
    }
    return std::nullopt;
}

std::optional<ProgramSettings> loaded;

}  // namespace

ProgramSettings ProgramSettings::parse(std::string_view bytes) {
    ProgramSettings settings;
    if (bytes.size() > MAX_FILE_BYTES) {
        return settings;
    }
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);  // written on another system
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && line.substr(0, equals) == kSpeakAfterJudging) {
            // A value this version cannot read keeps the default; the line goes on the next write.
            settings.speakAfterJudging = yesOrNo(line.substr(equals + 1)).value_or(false);
        } else if (!line.empty()) {
            settings.otherLines.emplace_back(line);
        }
    }
    return settings;
}

std::string ProgramSettings::format() const {
    std::string bytes = std::string(kSpeakAfterJudging) + (speakAfterJudging ? "=yes\n" : "=no\n");
    for (const std::string& line : otherLines) {
        bytes += line + "\n";
    }
    return bytes;
}

const ProgramSettings& programSettings() {
    if (!loaded) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(kSettingsPath, error);
        std::optional<std::string> bytes;
        if (!error && size <= ProgramSettings::MAX_FILE_BYTES) {
            bytes = resource_bytes::readFile(kSettingsPath);
        }
        loaded = bytes ? ProgramSettings::parse(*bytes) : ProgramSettings();
    }
    return *loaded;
}

bool setSpeakAfterJudging(bool on) {
    programSettings();
    loaded->speakAfterJudging = on;
    return replaceFile(kSettingsPath, loaded->format());
}

void resetProgramSettings() { loaded.reset(); }
