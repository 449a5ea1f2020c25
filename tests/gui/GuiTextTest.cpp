#include <gtest/gtest.h>

#include "gui/GuiText.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ScreenTest;

TEST_F(ScreenTest, ALabelDrawsTheKindOfTextItLastReceivedInItsTextColour) {
    State* s = createEmptyState(L"S");
    GuiText* label = addElementToState(s, new GuiText(L"Wort", 200, 100, 100, 40, FONT1, TEXT_LEFT));
    GuiTitleText* title = addElementToState(s, new GuiTitleText(L"Title", 0));
    show(s);
    EXPECT_EQ(150, label->getX());
    EXPECT_EQ(80, label->getY());
    EXPECT_EQ(50, title->getY());
    EXPECT_EQ(100, title->getHeight());
    const platform::DrawnText* drawn = window->lastPaint()->findText(L"Wort");
    ASSERT_NE(nullptr, drawn);
    EXPECT_EQ(colours[TEXT_RGB], drawn->colour);
    EXPECT_EQ(TEXT_LEFT, drawn->format);

    label->setText("Stra\xC3\x9F" "e");
    EXPECT_EQ(nullptr, label->getTextW());
    label->setBackgroundColour(colours[INCORRECT_RGB]);
    label->changeFormat(TEXT_RIGHT);
    paint();
    drawn = window->lastPaint()->findText(L"Straße");
    ASSERT_NE(nullptr, drawn);
    EXPECT_EQ(colours[INCORRECT_RGB], drawn->colour);
    EXPECT_EQ(TEXT_RIGHT, drawn->format);

    label->setText(static_cast<const wchar_t*>(nullptr));
    repaintAll();
    EXPECT_FALSE(painted(L"Straße"));
    EXPECT_TRUE(painted(L"Title"));
}
