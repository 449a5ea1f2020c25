#include <gtest/gtest.h>
#include "base/Utf8.h"


TEST(Utf8, WideTextRoundTripsThroughUtf8AcrossScripts) {
    const std::wstring text = L"Haus \u00FC \u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627 "
                              L"\u0283\u0259\u02C8n\u025Bl \u270E \U0001F600";
    EXPECT_EQ(text, utf8::decode(utf8::encode(text)));
    EXPECT_EQ("\xE2\x9C\x8E", utf8::encode(L"\u270E"));
    EXPECT_EQ("\xF0\x9F\x98\x80", utf8::encode(L"\U0001F600"));
}

TEST(Utf8, ValuesThatAreNoCharacterBecomeTheReplacementCharacter) {
    std::wstring bad;
    bad += static_cast<wchar_t>(0xD800);
    bad += static_cast<wchar_t>(0x110000);
    bad += static_cast<wchar_t>(-1);
    EXPECT_EQ("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", utf8::encode(bad));
    EXPECT_EQ("ab", utf8::encode(std::wstring(L"ab\0cd", 5)));
}

TEST(Utf8, MalformedEightBitTextKeepsEveryByteAsLatin1) {
    EXPECT_EQ(L"caf\u00E9", utf8::decode("caf\xE9"));            // Latin-1 byte
    EXPECT_EQ(L"\u00C0\u00AF", utf8::decode("\xC0\xAF"));        // overlong '/'
    EXPECT_EQ(L"\u00ED\u00A0\u0080", utf8::decode("\xED\xA0\x80"));  // encoded surrogate
    EXPECT_EQ(L"x\u00E2\u0082", utf8::decode("x\xE2\x82"));       // cut-off sequence at the end
    EXPECT_EQ(L"\u00E9", utf8::decode("\xC3\xA9"));
    EXPECT_EQ(L"ab", utf8::decode(std::string("ab\0cd", 5)));
}
