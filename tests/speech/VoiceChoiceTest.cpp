// Which installed voice a language gets from its name.
#include <optional>
#include <string>
#include <vector>

#include "SpeechTestSupport.h"

namespace speechtest {
namespace {

std::string chosen(const std::vector<speech::Voice>& voices, const wchar_t* languageName) {
    const std::optional<std::size_t> position = speech::voiceForLanguageName(voices, languageName);
    return position ? voices[*position].identifier : std::string("(none)");
}

TEST_F(SpeechTest, ALanguageNameFindsItsVoiceInEnglishInItsOwnWordsOrByCode) {
    const std::vector<speech::Voice> voices = speech::Speaker::instance().voices();
    ASSERT_GT(voices.size(), 50u);
    for (std::size_t i = 1; i < voices.size(); ++i) {
        EXPECT_LE(voices[i - 1].name, voices[i].name) << "voices are listed by name";
    }
    EXPECT_EQ(chosen(voices, L"German"), "gmw/de");
    EXPECT_EQ(chosen(voices, L"  german "), "gmw/de");
    EXPECT_EQ(chosen(voices, L"Deutsch"), "gmw/de");
    EXPECT_EQ(chosen(voices, L"Français"), "roa/fr");
    EXPECT_EQ(chosen(voices, L"FRANÇAIS"), "roa/fr");
    EXPECT_EQ(chosen(voices, L"Русский"), "zle/ru");
    EXPECT_EQ(chosen(voices, L"עברית"), "sem/he");
    // Several voices share the plain name: the one meant for the plain language code.
    EXPECT_EQ(chosen(voices, L"English"), "gmw/en");
    EXPECT_EQ(chosen(voices, L"French"), "roa/fr");
    EXPECT_EQ(chosen(voices, L"Portuguese"), "roa/pt");
    EXPECT_EQ(chosen(voices, L"English (America)"), "gmw/en-US");
    EXPECT_EQ(chosen(voices, L"pt-br"), "roa/pt-BR");
    // Nothing fits.
    EXPECT_EQ(chosen(voices, L"Martian"), "(none)");
    EXPECT_EQ(chosen(voices, L""), "(none)");
    EXPECT_EQ(chosen(voices, L"Enter language here (e.g. English)"), "(none)");

    EXPECT_EQ(speech::voiceByIdentifier(voices, "gmw/de"), speech::voiceForLanguageName(voices, L"German"));
    EXPECT_FALSE(speech::voiceByIdentifier(voices, "none").has_value());
}

}  // namespace
}  // namespace speechtest
