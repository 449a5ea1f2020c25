#include "speech/VoiceChoice.h"

#include <climits>
#include <string>

#include "base/Utf8.h"

namespace speech {
namespace {

// Lower case for the scripts language names are written in here (Latin, Greek, Cyrillic), the
// same whatever the process's locale.
wchar_t lower(wchar_t c) {
    const bool latin = (c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    const bool greek = c >= 0x391 && c <= 0x3A9 && c != 0x3A2;
    const bool cyrillic = c >= 0x410 && c <= 0x42F;
    if (latin || greek || cyrillic) {
        return static_cast<wchar_t>(c + 32);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<wchar_t>(c + 80);
    }
    return c;
}

std::wstring normalised(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(L" \t");
    std::wstring result;
    for (wchar_t c : text.substr(first, last - first + 1)) {
        result += lower(c);
    }
    return result;
}

std::wstring normalised(const std::string& utf8Text) { return normalised(utf8::decode(utf8Text)); }

// The languages' own names, for the languages people most often learn.
struct OwnName {
    const wchar_t* name;
    const char* code;
};

constexpr OwnName ownNames[] = {
    {L"deutsch", "de"},      {L"français", "fr"},    {L"francais", "fr"},   {L"español", "es"},
    {L"espanol", "es"},      {L"castellano", "es"},  {L"italiano", "it"},   {L"português", "pt"},
    {L"portugues", "pt"},    {L"nederlands", "nl"},  {L"polski", "pl"},     {L"svenska", "sv"},
    {L"norsk", "nb"},        {L"dansk", "da"},       {L"suomi", "fi"},      {L"türkçe", "tr"},
    {L"turkce", "tr"},       {L"čeština", "cs"},     {L"cestina", "cs"},    {L"magyar", "hu"},
    {L"română", "ro"},       {L"romana", "ro"},      {L"русский", "ru"},    {L"українська", "uk"},
    {L"български", "bg"},    {L"ελληνικά", "el"},    {L"עברית", "he"},      {L"العربية", "ar"},
    {L"فارسی", "fa"},        {L"日本語", "ja"},      {L"中文", "cmn"},      {L"한국어", "ko"},
    {L"हिन्दी", "hi"},         {L"eesti", "et"},       {L"latviešu", "lv"},   {L"lietuvių", "lt"},
    {L"slovenčina", "sk"},   {L"slovenščina", "sl"}, {L"hrvatski", "hr"},   {L"srpski", "sr"},
    {L"català", "ca"},       {L"euskara", "eu"},     {L"galego", "gl"},     {L"íslenska", "is"},
    {L"gaeilge", "ga"},      {L"cymraeg", "cy"},     {L"esperanto", "eo"},  {L"latina", "la"},
    {L"tiếng việt", "vi"},   {L"bahasa indonesia", "id"},
};

// The voice meant most for the language code (lowest priority number; the first on a tie).
std::optional<std::size_t> voiceForCode(const std::vector<Voice>& voices, const std::string& code) {
    std::optional<std::size_t> best;
    int bestPriority = INT_MAX;
    for (std::size_t i = 0; i < voices.size(); ++i) {
        for (const auto& [priority, language] : voices[i].languages) {
            if (language == code && priority < bestPriority) {
                best = i;
                bestPriority = priority;
            }
        }
    }
    return best;
}

// "english (great britain)" -> "english".
std::wstring baseName(const std::wstring& name) {
    const auto bracket = name.find(L" (");
    return bracket == std::wstring::npos ? name : name.substr(0, bracket);
}

// The shortest code among the voices whose name, without its bracket, is the language name: the
// plain language that "English (America)" and "English (Scotland)" share.
std::optional<std::string> sharedCode(const std::vector<Voice>& voices, const std::wstring& languageName) {
    std::optional<std::string> shortest;
    for (const Voice& voice : voices) {
        if (baseName(normalised(voice.name)) != languageName) {
            continue;
        }
        for (const auto& language : voice.languages) {
            if (!shortest || language.second.size() < shortest->size()) {
                shortest = language.second;
            }
        }
    }
    return shortest;
}

}  // namespace

std::optional<std::size_t> voiceForLanguageName(const std::vector<Voice>& voices, std::wstring_view languageName) {
    const std::wstring name = normalised(languageName);
    if (name.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < voices.size(); ++i) {
        if (normalised(voices[i].name) == name) {
            return i;
        }
    }
    for (const OwnName& own : ownNames) {
        if (name == own.name) {
            return voiceForCode(voices, own.code);
        }
    }
    if (const std::optional<std::string> code = sharedCode(voices, name)) {
        return voiceForCode(voices, *code);
    }
    return voiceForCode(voices, utf8::encode(name));
}

std::optional<std::size_t> voiceByIdentifier(const std::vector<Voice>& voices, std::string_view identifier) {
    for (std::size_t i = 0; i < voices.size(); ++i) {
        if (voices[i].identifier == identifier) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace speech
