// Face names in Japanese, Greek and Arabic drawn for the first time in the title label,
// the information fields and the name view, on the fonts of GLYPHWELL_BENCH_FONTS
// (e.g. `scripts/make-font-tree.py 10000 DIR --scripts` plus DejaVu and Liberation).
// A text with characters its control's face lacks must not make Qt search every
// installed family for a fallback. What is measured is the first draw of each script:
// run the name view on its own (--benchmark_filter=NameView), after the others it
// finds the scripts' fonts decided.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "system/Fontconfig.h"
#include "tests/support/BenchMain.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

struct Window {
    FakeDialogs dialogs;
    RealServices services;
    Windows windows;
    Window()
    {
        {
            sys::FontconfigSession warm; // users have fontconfig's caches
            warm.config();
        }
        windows = createWindows(services.services());
        windows.form1->show();
        QCoreApplication::processEvents();
    }
    TForm1& form() { return *windows.form1; }
};
std::unique_ptr<Window> window;

// The first letter of each script's name, as make-font-tree.py writes them.
const QChar scriptLetters[] = {QChar(0x660e), QChar(0x0395), QChar(0x062e)};
const char* scriptNames[] = {"Japanese", "Greek", "Arabic"};

double timed(const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
}

int faceIndex(TForm1& form, int script)
{
    const QStringList faces = form.ListBox1->Items();
    for (int i = 0; i < faces.size(); ++i)
        if (faces.at(i).startsWith(scriptLetters[script]))
            return i;
    return -1;
}

bool ready(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("GLYPHWELL_BENCH_FONTS")) {
        state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
        return false;
    }
    if (!window)
        window = std::make_unique<Window>();
    if (faceIndex(window->form(), 0) < 0 || faceIndex(window->form(), 1) < 0 || faceIndex(window->form(), 2) < 0) {
        state.SkipWithError("no faces named in other scripts: write the tree with --scripts");
        return false;
    }
    return true;
}

// The face view: a click on the face shows its name in the title label and in the
// face view's fields. The list's page is drawn before (its faces' own fonts are the
// paging benchmarks' business); then the click, and the window drawn.
void BM_FirstDrawOfScriptReal(benchmark::State& state)
{
    if (!ready(state))
        return;
    TForm1& form = window->form();
    const int index = faceIndex(form, int(state.range(0)));
    form.ListBox1->scrollTo(form.ListBox1->model()->index(index, 0));
    form.ListBox1->viewport()->repaint();
    double click = 0, draw = 0;
    for (auto _ : state) {
        click = timed([&] {
            form.ListBox1->setItemIndex(index);
            form.ListBox1Click();
        });
        draw = timed([&] { form.repaint(); });
    }
    state.SetLabel(scriptNames[state.range(0)]);
    state.counters["click_ms"] = click;
    state.counters["draw_ms"] = draw;
    state.counters["faces"] = double(form.ListBox1->Count());
}
BENCHMARK(BM_FirstDrawOfScriptReal)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

// The name view: opening it lists every name as plain text; then each script's name
// is brought into view and drawn.
void BM_NameViewReal(benchmark::State& state)
{
    if (!ready(state))
        return;
    TForm1& form = window->form();
    double open = 0, worst = 0;
    for (auto _ : state) {
        open = timed([&] {
            form.Button6Click();
            form.ListBox1->viewport()->repaint();
        });
        for (int script = 0; script < 3; ++script)
            worst = std::max(worst, timed([&] {
                form.ListBox1->setItemIndex(faceIndex(form, script));
                form.ListBox1->viewport()->repaint();
            }));
    }
    state.counters["open_ms"] = open;
    state.counters["worst_name_ms"] = worst;
}
BENCHMARK(BM_NameViewReal)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(
        argc, argv, [] { testenv::useFontTree(qEnvironmentVariable("GLYPHWELL_BENCH_FONTS")); },
        [] { window.reset(); });
}
