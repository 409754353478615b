#include "framework/Application.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testenv::buildGround();
    int result = 0;
    {
        fw::TApplication app(argc, argv);
        app.setTitle(QStringLiteral("Glyphwell"));
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    testenv::removeGround();
    return result;
}
