// Building the installed face list and the file-to-face walk at scale: on an
// in-memory catalogue of 10,000 faces with 20,000 registry values, and on a real
// font tree through fontconfig when GLYPHWELL_BENCH_FONTS names a folder of fonts
// (scripts/make-font-tree.py 10000 FOLDER writes one).
#include "catalogue/InstalledFaces.h"
#include "catalogue/RegistryNames.h"
#include "system/FontEnumeration.h"
#include "system/FontRegistry.h"
#include "system/Fontconfig.h"
#include "tests/support/BenchMain.h"
#include "tests/support/Synthetic.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int faceCount = 10000;

struct SyntheticCatalogue {
    FakeFontEnumeration fonts;
    MemoryRegistry registry;
    SyntheticCatalogue() { synthetic::fill(fonts, registry, faceCount); }
};

void BM_FaceListSynthetic(benchmark::State& state)
{
    SyntheticCatalogue catalogue;
    for (auto _ : state) {
        catalogue::InstalledFaceList list(catalogue.fonts);
        benchmark::DoNotOptimize(list.faces().size());
    }
}
BENCHMARK(BM_FaceListSynthetic)->Unit(benchmark::kMillisecond);

void BM_ReverseWalkSynthetic(benchmark::State& state)
{
    SyntheticCatalogue catalogue;
    catalogue::InstalledFaceList list(catalogue.fonts);
    catalogue::RegistryNames names(catalogue.registry);
    const QStringList faces = list.faces();
    QString found;
    names.faceForFile(faces, "s9998b.ttf", [&](const QString& face) { found = face; }); // builds the index
    for (auto _ : state) {
        names.faceForFile(faces, "s9998b.ttf", [&](const QString& face) { found = face; });
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(found.toStdString());
}
BENCHMARK(BM_ReverseWalkSynthetic)->Unit(benchmark::kMillisecond);

void BM_RegistryIndexSynthetic(benchmark::State& state)
{
    SyntheticCatalogue catalogue;
    catalogue::RegistryNames names(catalogue.registry);
    for (auto _ : state) {
        ++catalogue.registry.changes; // the view changed: the next probe indexes it again
        benchmark::DoNotOptimize(names.probe("Synth 05000"));
    }
}
BENCHMARK(BM_RegistryIndexSynthetic)->Unit(benchmark::kMillisecond);

// The real stack on a font tree: fontconfig lists, the registry view, the walk.
struct TreeCatalogue {
    sys::FontconfigSession session;
    sys::FontconfigEnumeration fonts{session};
    sys::FontconfigRegistry registry{session, [] { return QDir::homePath() + "/.local/share/fonts"; }};
};

bool pointAtTree()
{
    static const bool ready = [] {
        if (!testenv::useFontTree(qEnvironmentVariable("GLYPHWELL_BENCH_FONTS")))
            return false;
        sys::FontconfigSession warm; // scans the tree once and writes its cache
        warm.config();
        return true;
    }();
    return ready;
}

// Skips the benchmark when no font tree was named.
bool treeMissing(benchmark::State& state)
{
    if (pointAtTree())
        return false;
    state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font tree");
    return true;
}

void BM_FaceListFontconfig(benchmark::State& state)
{
    if (treeMissing(state))
        return;
    TreeCatalogue tree;
    tree.session.config();
    for (auto _ : state) {
        catalogue::InstalledFaceList list(tree.fonts);
        benchmark::DoNotOptimize(list.faces().size());
        state.counters["faces"] = double(list.count());
    }
}
BENCHMARK(BM_FaceListFontconfig)->Unit(benchmark::kMillisecond);

void BM_ReverseWalkFontconfig(benchmark::State& state)
{
    if (treeMissing(state))
        return;
    TreeCatalogue tree;
    catalogue::InstalledFaceList list(tree.fonts);
    catalogue::RegistryNames names(tree.registry);
    const QStringList faces = list.faces();
    const QString file = tree.registry.values().back().data;
    names.probe("Default");
    for (auto _ : state) {
        QString found;
        names.faceForFile(faces, file, [&](const QString& face) { found = face; });
        benchmark::DoNotOptimize(found);
    }
    state.counters["values"] = double(tree.registry.values().size());
}
BENCHMARK(BM_ReverseWalkFontconfig)->Unit(benchmark::kMillisecond);

void BM_RegistryViewFontconfig(benchmark::State& state)
{
    if (treeMissing(state))
        return;
    TreeCatalogue tree;
    tree.session.config();
    for (auto _ : state) {
        sys::FontconfigRegistry view(tree.session, [] { return QString(); });
        benchmark::DoNotOptimize(view.values().size());
    }
}
BENCHMARK(BM_RegistryViewFontconfig)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
