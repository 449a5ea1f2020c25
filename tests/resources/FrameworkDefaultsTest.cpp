#include "resources/frameworkDefaults.h"

#include <cwchar>
#include <string>

#include <gtest/gtest.h>

namespace {

std::wstring defaultText(int index) { return framewDefaultString(index); }

TEST(FrameworkDefaults, ThereAreExactly134NonEmptyTexts) {
    EXPECT_EQ(STRING_ENDTAG, 134);
    EXPECT_EQ(String_ERROR_SAVE_DB, 133);
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        ASSERT_NE(framewDefaultString(index), nullptr) << index;
        EXPECT_GT(std::wcslen(framewDefaultString(index)), 0u) << index;
    }
    EXPECT_EQ(framewDefaultString(STRING_ENDTAG), nullptr);
    EXPECT_EQ(framewDefaultString(-1), nullptr);
}

TEST(FrameworkDefaults, TextsAreExactCharacterByCharacter) {
    EXPECT_EQ(defaultText(String_WELCOME_BACK), L"Welcome back!");
    EXPECT_EQ(defaultText(String_SAVE), L"Save");
    EXPECT_EQ(defaultText(String_N_A), L"n/a");
    EXPECT_EQ(defaultText(String_DONT_USE), L"Don't use");
    EXPECT_EQ(defaultText(String_ERROR_SAVE_DB),
              L"Fatal database error!\nThere are serious problems with the database! Make sure "
              L"that the directory structure is correct!");

    // Characters outside ASCII, spelled as code points so an encoding slip in the source shows.
    EXPECT_EQ(defaultText(String_BACK_SYMBOL), std::wstring(1, wchar_t(0x22D8)));
    EXPECT_EQ(defaultText(String_SETTINGS), std::wstring(1, wchar_t(0x270E)));
    EXPECT_EQ(defaultText(String_SETTINGS_TITLE), L"Settings " + std::wstring(1, wchar_t(0x270E)));
    EXPECT_EQ(defaultText(String_REMOVE), L"Remove " + std::wstring(1, wchar_t(0x00BB)));

    // Embedded quotes and real line breaks, not a backslash followed by n.
    const std::wstring help = defaultText(String_PATTERN_SYNTAX_HELP);
    EXPECT_EQ(help.substr(0, 14), L"Examples:\nUse ");
    EXPECT_EQ(help[9], L'\n');
    EXPECT_EQ(help.find(L'\\'), std::wstring::npos);
    EXPECT_EQ(help,
              L"Examples:\n"
              L"Use \"/post-3+ed\" to cut off the last 3 letters of the verb and add \"ed\" to the "
              L"verb.\n"
              L"Use \"/pre+will \" to add \"will \" in front of the verb.\n"
              L"Use \"/pre-2\" to cut off the first two letters of the verb.\n"
              L"Use \"/pre-1+a/post+ing\" to replace the first letter with \"a\" and adding "
              L"\"ing\" at the end of the verb.");
    EXPECT_EQ(defaultText(String_INCORRECT_PATTERN),
              L"The given syntax is incorrect!\nPlease click on \"?\" for an explanation of the "
              L"syntax.");
}

TEST(FrameworkDefaults, NoTextHoldsAnEscapedLineBreak) {
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        EXPECT_EQ(defaultText(index).find(L"\\n"), std::wstring::npos) << index;
    }
}

}  // namespace
