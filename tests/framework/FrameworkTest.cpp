#include "framework/Application.h"
#include "framework/Colors.h"
#include "framework/Errors.h"
#include "framework/Fonts.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/UserTexts.h"

#include <gtest/gtest.h>

TEST(Colors, LayoutAndSystemColours)
{
    EXPECT_EQ(fw::RGB(74, 147, 255), 0x00FF934Au);
    EXPECT_EQ(fw::redOf(0x00FF5959), 0x59);
    EXPECT_EQ(fw::blueOf(0x00FF5959), 0xFF);
    EXPECT_EQ(fw::toQColor(clBlue), QColor(0, 0, 255));
    // System colours resolve through the palette and lose their top bit.
    const TColor highlight = fw::ColorToRGB(clHighlight);
    EXPECT_FALSE(fw::isSystemColor(highlight));
    EXPECT_EQ(fw::toQColor(highlight), QGuiApplication::palette().color(QPalette::Highlight));
    EXPECT_EQ(fw::ColorToRGB(0x00123456), 0x00123456u);
}

TEST(Fonts, HeightsAndSizes)
{
    EXPECT_EQ(fw::heightToSize(-11), 8);
    EXPECT_EQ(fw::heightToSize(-24), 18);
    EXPECT_EQ(fw::sizeToHeight(8), -11);
    EXPECT_EQ(fw::sizeToHeight(24), -32);
    EXPECT_EQ(fw::sizeToHeight(12, 600), -100);
    QFont font;
    fw::setFontHeight(font, -21);
    EXPECT_EQ(font.pixelSize(), 21);
}

TEST(Errors, WholeNumbersAndTheirMessage)
{
    for (const auto& [text, value] : {std::pair{"24", 24}, {"-7", -7}, {"  12", 12}, {"$1F", 31}})
        EXPECT_EQ(fw::StrToInt(text), value) << text;
    for (const char* bad : {"", "abc", "12 ", "1.5", "99999999999999999999", "--3"}) {
        try {
            fw::StrToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const fw::Error& error) {
            EXPECT_EQ(error.text(), said::notAnInteger.arg(bad));
        }
    }
}

TEST(Application, DefaultHandlerShowsTheErrorAndGoesOn)
{
    FakeDialogs dialogs;
    bool after = false;
    fw::guard([&] {
        throw fw::Error("List index out of bounds (3)");
        after = true;
    });
    fw::guard([] { throw std::runtime_error("plain"); });
    EXPECT_FALSE(after);
    EXPECT_EQ(dialogs.messages, QStringList({"List index out of bounds (3)", "plain"}));
}

TEST(Dialogs, FilterKeepsTheThreeDescriptions)
{
    EXPECT_EQ(fw::qtNameFilters("Truetype font (*.ttf)|*.ttf|Raster font (*.fon)|*.fon|All font files|*.ttf;*.fon"),
              QStringList({"Truetype font (*.ttf) (*.ttf)", "Raster font (*.fon) (*.fon)",
                           "All font files (*.ttf *.fon)"}));
}
