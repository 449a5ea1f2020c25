#include "resources/SecondStrings.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/AtomicFile.h"
#include "resources/ResourceFileBytes.h"

const wchar_t* curStrings2[STRING2_ENDTAG] = {};

namespace {

using namespace resource_bytes;

constexpr const char* kPositionsPath = "Data/Framework/stringpositions2.dat";
constexpr const char* kTextsPath = "Data/Framework/strings2.dat";

std::array<std::wstring, STRING2_ENDTAG> storage;

void commit(std::array<std::wstring, STRING2_ENDTAG>&& texts) {
    storage = std::move(texts);
    for (int index = 0; index < STRING2_ENDTAG; ++index) {
        curStrings2[index] = storage[index].c_str();
    }
}

// The texts the files hold, at most STRING2_ENDTAG of them, and how many the files hold in all;
// nothing when the files are missing or damaged.
struct StoredTexts {
    std::vector<std::wstring> texts;
    std::int32_t storedCount = 0;
};

std::optional<StoredTexts> readStoredTexts() {
    const std::optional<std::string> positions = readFile(kPositionsPath);
    const std::optional<std::string> texts = readFile(kTextsPath);
    if (!positions || !texts) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> count = storedTextCount(*positions);
    if (!count) {
        return std::nullopt;
    }
    std::optional<std::vector<std::wstring>> read =
        readTexts(*positions, *texts, std::min<std::int32_t>(*count, STRING2_ENDTAG));
    if (!read) {
        return std::nullopt;
    }
    return StoredTexts{std::move(*read), *count};
}

}  // namespace

bool saveSecondStrings() {
    const std::optional<TextTableImages> images =
        buildTextTable(std::vector<const wchar_t*>(std::begin(curStrings2), std::end(curStrings2)));
    // The positions go last: until they are written, an older positions file still describes the
    // texts it was written with, since texts are only ever appended.
    return images && replaceFile(kTextsPath, images->texts) && replaceFile(kPositionsPath, images->positions);
}

bool loadSecondStrings() {
    std::optional<StoredTexts> stored = readStoredTexts();
    std::array<std::wstring, STRING2_ENDTAG> texts;
    const std::size_t kept = stored ? stored->texts.size() : 0;
    for (std::size_t index = 0; index < texts.size(); ++index) {
        texts[index] = index < kept ? std::move(stored->texts[index]) : defaultSecondString(static_cast<int>(index));
    }
    commit(std::move(texts));
    const bool complete = stored && stored->storedCount >= STRING2_ENDTAG;
    if (!complete) {
        saveSecondStrings();  // fails silently without Data/Framework; the defaults still apply
    }
    return complete;
}

void resetSecondStrings() {
    std::fill(std::begin(curStrings2), std::end(curStrings2), nullptr);
    storage = {};
}
