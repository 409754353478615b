#include "tests/support/BenchMain.h"

#include "framework/Application.h"
#include "tests/support/TestEnvironment.h"

#include <benchmark/benchmark.h>

int runBenchmarks(int argc, char** argv, const std::function<void()>& beforeApplication,
                  const std::function<void()>& beforeExit)
{
    testenv::buildGround();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (beforeApplication)
        beforeApplication();
    int result = 0;
    {
        fw::TApplication application(argc, argv);
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
            result = 1;
        } else {
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
        }
        if (beforeExit)
            beforeExit();
    }
    testenv::removeGround();
    return result;
}
