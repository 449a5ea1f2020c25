#pragma once

#include <string>

#include "db/OrnQL_Template.h"

// The speech voice of a language: the identifier of a synthesiser voice ("gmw/de") that speaks
// the language's words. A table of its own beside the languages, so that every language file
// keeps its format; a language has at most one record here (D_LANGUAGE = its id), and none when
// it has no voice. Deleting the language deletes its voice (the cascade).
//
// Stored fields, after the record header: voice (wide text, the identifier's characters).
class LanguageVoice : public OrnQL_Template<LanguageVoice> {
public:
    LanguageVoice() = default;
    LanguageVoice(unsigned languageId, const std::string& voice);

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    // 0: the voice (8-bit text); null for other ids.
    const void* getData(int attribute) override;
    // Copies the voice.
    LanguageVoice& operator=(const LanguageVoice& other) override;

    const std::string& get_voice() const { return voice; }
    void set_voice(const std::string& identifier, bool save);

    // The voice of the language; empty when it has none.
    static std::string voiceOf(unsigned languageId);
    // Gives the language that voice (empty: no voice), creating, changing or deleting its record;
    // what changed is marked for the next save of D_VOICE.
    static void assign(unsigned languageId, const std::string& voice);

private:
    static LanguageVoice* recordOf(unsigned languageId);

    std::string voice;
};
