// Costs of the self-painted widgets: building a noise tile and painting a button, the
// two things the windows do most often with them.

#include "tests/support/BenchMain.h"
#include "widgets/GradientButton.h"
#include "widgets/GrainPanel.h"

#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr TColor programBlue = 0x00FF5959;

// One tile as the panels build it: default amount and size, clock-seeded.
void TileBuild40x40(benchmark::State& state)
{
    grain::Random random;
    for (auto _ : state) {
        random.reseedFromClock();
        QImage tile = grain::buildTile(random, programBlue, 40, 48, false);
        benchmark::DoNotOptimize(tile);
    }
}
BENCHMARK(TileBuild40x40);

// The largest tile the panel allows, at the largest amount.
void TileBuild240x240(benchmark::State& state)
{
    grain::Random random;
    for (auto _ : state) {
        random.reseedFromClock();
        QImage tile = grain::buildTile(random, programBlue, 240, 100, false);
        benchmark::DoNotOptimize(tile);
    }
}
BENCHMARK(TileBuild240x240);

// The paint routine of a command button: off-screen face, gradient, caption, lines.
void ButtonPaint131x28(benchmark::State& state)
{
    TGradientButton button;
    button.applyProgramLook();
    button.setCaption(QStringLiteral("Install Font"));
    button.resize(131, 28);
    for (auto _ : state) {
        QImage face = button.renderFace();
        benchmark::DoNotOptimize(face);
    }
}
BENCHMARK(ButtonPaint131x28);

// The preview panel's face (579 x 305): bevel and the tile repeated by the brush.
void PanelPaint579x305(benchmark::State& state)
{
    TGrainPanel panel;
    panel.setColor(programBlue);
    panel.resize(579, 305);
    QImage target(579, 305, QImage::Format_RGB32);
    for (auto _ : state) {
        panel.render(&target);
        benchmark::DoNotOptimize(target);
    }
}
BENCHMARK(PanelPaint579x305);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
