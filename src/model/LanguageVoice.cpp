#include "model/LanguageVoice.h"

#include "base/Utf8.h"
#include "db/OrnQL_Stream.h"

LanguageVoice::LanguageVoice(unsigned languageId, const std::string& identifier) {
    setDependency(D_LANGUAGE, languageId);
    set_voice(identifier, true);
}

void LanguageVoice::load(std::istream& in) {
    std::wstring text;
    loadText(text, in);
    voice = utf8::encode(text);
}

void LanguageVoice::save(std::ostream& out) {
    saveText(utf8::decode(voice), out);
}

const void* LanguageVoice::getData(int attribute) { return attribute == 0 ? voice.c_str() : nullptr; }

LanguageVoice& LanguageVoice::operator=(const LanguageVoice& other) {
    voice = other.voice;
    return *this;
}

void LanguageVoice::set_voice(const std::string& identifier, bool save) {
    voice = identifier;
    if (save) {
        saveRequest();
    }
}

LanguageVoice* LanguageVoice::recordOf(unsigned languageId) {
    if (languageId == 0) {
        return nullptr;
    }
    return getByConstrain(true, 1, D_LANGUAGE, languageId);
}

std::string LanguageVoice::voiceOf(unsigned languageId) {
    const LanguageVoice* record = recordOf(languageId);
    return record == nullptr ? std::string() : record->voice;
}

void LanguageVoice::assign(unsigned languageId, const std::string& identifier) {
    LanguageVoice* record = recordOf(languageId);
    if (identifier.empty()) {
        if (record != nullptr) {
            deleteEntry(record);
        }
        return;
    }
    if (record == nullptr) {
        add(new LanguageVoice(languageId, identifier));
    } else if (record->voice != identifier) {
        record->set_voice(identifier, true);
    }
}
