#include <gtest/gtest.h>

#include "base/Utf16.h"

TEST(Utf16, TextBeyondTheBasicPlaneRoundTripsThroughSurrogatePairsAndBytes) {
    const std::wstring text = L"Haus \u270E \U0001F600";
    const std::u16string units = utf16::encode(text);
    EXPECT_EQ(units, u"Haus \u270E \xD83D\xDE00");
    const std::string bytes = utf16::toBytesLE(units);
    EXPECT_EQ(bytes.substr(0, 4), std::string("H\0a\0", 4));
    EXPECT_EQ(utf16::fromBytesLE(bytes), units);
    EXPECT_EQ(utf16::decode(units.data(), units.size()), text);
}

TEST(Utf16, WhatCannotBeEncodedOrDecodedBecomesTheReplacementCharacter) {
    std::wstring bad;
    bad += static_cast<wchar_t>(0xDC00);
    bad += static_cast<wchar_t>(0x110000);
    EXPECT_EQ(utf16::encode(bad), u"\xFFFD\xFFFD");
    const std::u16string lone = u"a\xD800" u"b\xDC00";
    EXPECT_EQ(utf16::decode(lone.data(), lone.size()), L"a\uFFFDb\uFFFD");
    EXPECT_EQ(utf16::fromBytesLE(std::string("a\0b", 3)), u"a") << "an odd last byte is no unit";
}
