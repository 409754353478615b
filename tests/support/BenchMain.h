#pragma once

#include <functional>

// Runs this executable's benchmarks on the private test ground, offscreen, inside the
// application object. `beforeApplication` runs once the ground is made (to point
// fontconfig elsewhere, say); `beforeExit` while the application still stands (to
// drop windows made on first use).
int runBenchmarks(int argc, char** argv, const std::function<void()>& beforeApplication = {},
                  const std::function<void()>& beforeExit = {});
