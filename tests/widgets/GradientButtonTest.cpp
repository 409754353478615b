#include "widgets/GradientButton.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(GradientButton, Smoke)
{
    TGradientButton button;
    EXPECT_EQ(button.ColorScheme(), TGradientButton::csVividDesert);
}
