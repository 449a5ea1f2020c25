#include "exchange/SampleCollection.h"

#include <filesystem>
#include <vector>

namespace exchange {

namespace {

std::vector<std::filesystem::path> places() {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        found.push_back(program.parent_path() / MERNOLEX_SAMPLE_RELATIVE);
    }
    found.emplace_back(MERNOLEX_SAMPLE_INSTALLED);
    found.emplace_back(MERNOLEX_SAMPLE_SOURCE);
    return found;
}

}  // namespace

std::optional<std::string> sampleCollectionPath() {
    for (const std::filesystem::path& place : places()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(place, error)) {
            return place.lexically_normal().string();
        }
    }
    return std::nullopt;
}

std::string sampleCollectionPlaces() {
    std::string text;
    for (const std::filesystem::path& place : places()) {
        text += (text.empty() ? "" : ", ") + place.lexically_normal().string();
    }
    return text;
}

}  // namespace exchange
