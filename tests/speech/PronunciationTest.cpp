// A word's pronunciation in IPA, as the word editor suggests it.
#include <future>
#include <string>

#include "SpeechTestSupport.h"
#include "base/Utf8.h"

namespace speechtest {
namespace {

using speech::Outcome;

struct Pronounced {
    Outcome outcome;
    std::string ipa;
};

Pronounced pronounce(const std::string& voice, const std::wstring& text) {
    std::promise<Pronounced> result;
    speech::Speaker::instance().pronounce(voice, text, [&](Outcome outcome, const std::string& ipa) {
        result.set_value({outcome, ipa});
    });
    return result.get_future().get();
}

TEST_F(SpeechTest, KnownWordsGetTheirIpa) {
    const Pronounced haus = pronounce(voiceFor(L"German"), L"Haus");
    ASSERT_EQ(haus.outcome, Outcome::Done);
    EXPECT_NE(haus.ipa.find("aʊ"), std::string::npos) << haus.ipa;  // the diphthong of "Haus"

    const Pronounced milk = pronounce(voiceFor(L"Russian"), L"молоко");
    ASSERT_EQ(milk.outcome, Outcome::Done);
    ASSERT_FALSE(milk.ipa.empty());
    for (wchar_t c : utf8::decode(milk.ipa)) {
        EXPECT_FALSE(c >= 0x400 && c <= 0x4FF) << "Cyrillic left in " << milk.ipa;
    }

    // Two words keep their blank; no blank leads or trails.
    const Pronounced two = pronounce(voiceFor(L"English"), L"old house");
    ASSERT_EQ(two.outcome, Outcome::Done);
    EXPECT_NE(two.ipa.find(' '), std::string::npos) << two.ipa;
    EXPECT_NE(two.ipa.front(), ' ');
    EXPECT_NE(two.ipa.back(), ' ');
}

TEST_F(SpeechTest, NoVoiceOrNoTextGivesNoIpa) {
    EXPECT_EQ(pronounce("none", L"Haus").outcome, Outcome::NoVoice);
    EXPECT_EQ(pronounce("xx/martian", L"Haus").outcome, Outcome::UnknownVoice);
    const Pronounced empty = pronounce(voiceFor(L"German"), L"");
    EXPECT_EQ(empty.outcome, Outcome::EmptyText);
    EXPECT_TRUE(empty.ipa.empty());
}

}  // namespace
}  // namespace speechtest
