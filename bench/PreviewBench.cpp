// The preview and the views at scale. Synthetic: 10,000 faces with 20,000 registry
// values on in-memory services. Real: the fonts of GLYPHWELL_BENCH_FONTS (a folder of
// font files, e.g. Debian's Noto fonts) through fontconfig, FreeType and Qt.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "preview/FontsAhead.h"
#include "system/FaceCoverage.h"
#include "catalogue/FileBrowser.h"
#include "system/FileSystem.h"
#include "system/Fontconfig.h"
#include "tests/support/BenchMain.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Synthetic.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

constexpr int faceCount = 10000;

// The main window on a synthetic catalogue and a font folder of 200 files.
struct SyntheticWindow : FakeServices {
    QTemporaryDir folders;
    Windows windows;

    SyntheticWindow()
    {
        shellFolders.documents = folders.path();
        shellFolders.fontFolder = folders.path() + "/fonts";
        QDir().mkpath(shellFolders.fontFolder);
        synthetic::fill(fonts, registry, faceCount);
        for (int i = faceCount - 200; i < faceCount; ++i)
            testenv::writeFile(shellFolders.fontFolder + QStringLiteral("/s%1.ttf").arg(i), "x");
        windows = createWindows(services());
    }
    TForm1& form() { return *windows.form1; }
};

// Made on first use, gone before the application object.
std::unique_ptr<struct SyntheticWindow> syntheticWindow;
std::unique_ptr<struct RealWindow> realWindow;

SyntheticWindow& synthetic()
{
    if (!syntheticWindow)
        syntheticWindow = std::make_unique<SyntheticWindow>();
    return *syntheticWindow;
}

void BM_ListBox1ClickSynthetic(benchmark::State& state)
{
    TForm1& form = synthetic().form();
    int index = 0;
    for (auto _ : state) {
        form.ListBox1->setItemIndex(index);
        form.ListBox1Click();
        index = (index + 997) % form.ListBox1->Count();
    }
}
BENCHMARK(BM_ListBox1ClickSynthetic)->Unit(benchmark::kMillisecond);

void BM_FileListBox1ClickSynthetic(benchmark::State& state)
{
    TForm1& form = synthetic().form();
    form.Button5Click();
    int index = 0;
    for (auto _ : state) {
        form.FileListBox1->setItemIndex(index);
        form.FileListBox1Click();
        index = (index + 7) % form.FileListBox1->Count();
    }
    state.SetLabel(form.Edit5->text().toStdString());
    form.Button7Click();
}
BENCHMARK(BM_FileListBox1ClickSynthetic)->Unit(benchmark::kMillisecond);

void BM_ListFontFolder5000(benchmark::State& state)
{
    QTemporaryDir folder;
    for (int i = 0; i < 5000; ++i)
        testenv::writeFile(folder.path() + QStringLiteral("/Font %1.%2").arg(i).arg(i % 3 ? "ttf" : "fon"), "");
    sys::PosixFileSystem files;
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue::listFolder(files, folder.path(), "*.ttf;*.fon").size());
}
BENCHMARK(BM_ListFontFolder5000)->Unit(benchmark::kMillisecond);

// ---- Real fonts ----------------------------------------------------------------------

bool realFonts()
{
    return !qEnvironmentVariableIsEmpty("GLYPHWELL_BENCH_FONTS");
}

struct RealWindow {
    FakeDialogs dialogs;
    RealServices services;
    Windows windows;
    qint64 startMs = 0;
    RealWindow()
    {
        {
            // Users have fontconfig's caches: write them before timing the start.
            sys::FontconfigSession warm;
            warm.config();
        }
        QElapsedTimer clock;
        clock.start();
        windows = createWindows(services.services());
        windows.form1->show();
        QCoreApplication::processEvents();
        startMs = clock.elapsed();
    }
    TForm1& form() { return *windows.form1; }
};

RealWindow& real()
{
    if (!realWindow)
        realWindow = std::make_unique<RealWindow>();
    return *realWindow;
}

void BM_StartReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    for (auto _ : state)
        benchmark::DoNotOptimize(real().startMs);
    state.counters["start_ms"] = double(real().startMs);
    state.counters["faces"] = double(real().form().ListBox1->Count());
}
BENCHMARK(BM_StartReal)->Iterations(1);

// The face of the tree with the most characters (a CJK face where there is one).
int largestFace(TForm1& form)
{
    int largest = 0;
    qsizetype most = -1;
    for (int index = 0; index < form.ListBox1->Count(); ++index) {
        const qsizetype count = sys::faceCoverage(form.ListBox1->itemText(index)).characters.size();
        if (count > most) {
            most = count;
            largest = index;
        }
    }
    return largest;
}

// The first preview of the largest face: its fonts loaded, its blocks read, its map
// filled and drawn. Run before any other benchmark has shown that face.
void BM_FirstSelectionLargestFaceReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    const int index = largestFace(form);
    for (auto _ : state) {
        form.ListBox1->setItemIndex(index);
        form.ListBox1Click();
        QCoreApplication::processEvents();
    }
    state.SetLabel(form.ListBox1->itemText(index).toStdString());
    state.counters["characters"] = double(sys::faceCoverage(form.ListBox1->itemText(index)).characters.size());
}
BENCHMARK(BM_FirstSelectionLargestFaceReal)->Iterations(1)->Unit(benchmark::kMillisecond);

// Filling the character map with the largest block of the largest face and drawing
// it: 20,000 CJK ideographs in a CJK face.
void BM_CharacterMapLargestBlockReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    form.ListBox1->setItemIndex(largestFace(form));
    form.ListBox1Click();
    int largest = 0;
    int most = 0;
    for (int page = 0; page < form.ComboBox2->count(); ++page) {
        form.ComboBox2->setCurrentIndex(page);
        form.ComboBox2Change();
        if (form.SortableGrid1->RowCount() > most) {
            most = form.SortableGrid1->RowCount();
            largest = page;
        }
    }
    double worst = 0;
    for (auto _ : state) {
        form.ComboBox2->setCurrentIndex(0);
        form.ComboBox2Change();
        QElapsedTimer clock;
        clock.start();
        form.ComboBox2->setCurrentIndex(largest);
        form.ComboBox2Change();
        form.SortableGrid1->viewport()->repaint();
        worst = std::max(worst, clock.nsecsElapsed() / 1e6);
    }
    state.SetLabel(form.ComboBox2->currentText().toStdString());
    state.counters["rows"] = most;
    state.counters["worst_ms"] = worst;
    // Scrolling through the block: the worst step of a page down.
    double worstScroll = 0;
    for (int row = 0; row < most; row += 5) {
        QElapsedTimer clock;
        clock.start();
        form.SortableGrid1->setTopRow(row);
        form.SortableGrid1->viewport()->repaint();
        worstScroll = std::max(worstScroll, clock.nsecsElapsed() / 1e6);
    }
    state.counters["worst_scroll_ms"] = worstScroll;
}
BENCHMARK(BM_CharacterMapLargestBlockReal)->Iterations(10)->Unit(benchmark::kMillisecond);

// A face far down the list: the list jumps to it, paints a page it never showed, and
// the face's fonts are loaded on the spot. The worst case of a preview.
void BM_ListBox1ClickJumpReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    int index = 0;
    for (auto _ : state) {
        form.ListBox1->setItemIndex(index);
        form.ListBox1Click();
        QCoreApplication::processEvents(); // what changed is drawn: the preview, the map, the fields
        index = (index + 97) % form.ListBox1->Count();
    }
}
BENCHMARK(BM_ListBox1ClickJumpReal)->Unit(benchmark::kMillisecond);

void idle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// What a user does: a page of the list is in view for a moment (argument: ms), then
// a face on it is clicked. Each iteration shows a new page and clicks one face on it,
// never one previewed before.
void BM_ListBox1ClickInViewReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    QScrollBar* bar = form.ListBox1->verticalScrollBar();
    int page = 0;
    double worst = 0;
    double ready = 0; // the latest moment after a new page that fonts were still waiting
    for (auto _ : state) {
        state.PauseTiming();
        page = (page + 7) % std::max(1, bar->maximum() / std::max(1, bar->pageStep()));
        bar->setValue(page * bar->pageStep());
        form.ListBox1->viewport()->repaint();
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < state.range(0)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (form.fontsMadeAhead().waiting() > 0)
                ready = std::max(ready, double(shown.elapsed()));
        }
        const int row = form.ListBox1->TopIndex() + 5;
        const QRect item = form.ListBox1->visualRect(form.ListBox1->model()->index(row, 0));
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, item.center());
        QCoreApplication::processEvents();
        worst = std::max(worst, clock.nsecsElapsed() / 1e6);
    }
    state.counters["worst_ms"] = worst;
    state.counters["page_ready_ms"] = ready;
}
BENCHMARK(BM_ListBox1ClickInViewReal)->Arg(0)->Arg(500)->Arg(3000)->Iterations(20)->Unit(benchmark::kMillisecond);

// The auto view stepping through faces: each step is the next face, whose fonts were
// made ahead while the previous one was shown.
void BM_AutoViewStepReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    form.ListBox1->setItemIndex(form.ListBox1->Count() / 3);
    for (auto _ : state) {
        form.Timer1Timer();
        QCoreApplication::processEvents();
        state.PauseTiming(); // the user looks at the face until the next tick
        idle(80);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AutoViewStepReal)->Unit(benchmark::kMillisecond)->Iterations(30);

// Repainting the visible page of the owner-drawn list once its fonts are loaded.
void BM_FaceListRepaintReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    form.ListBox1->verticalScrollBar()->setValue(0);
    form.ListBox1->viewport()->repaint();
    for (auto _ : state)
        form.ListBox1->viewport()->repaint();
}
BENCHMARK(BM_FaceListRepaintReal)->Unit(benchmark::kMillisecond);

// Paging from the top of the list to its bottom: every page drawn for the first time.
void BM_FaceListScrollThroughReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    QScrollBar* bar = form.ListBox1->verticalScrollBar();
    auto* waiting = form.findChild<QTimer*>(QStringLiteral("ListFontsTimer"));
    double worst = 0;
    double worstSettled = 0;
    int pages = 0;
    for (auto _ : state) {
        for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
            QElapsedTimer clock;
            clock.start();
            bar->setValue(value);
            form.ListBox1->viewport()->repaint();
            worst = std::max(worst, clock.nsecsElapsed() / 1e6);
            // Until every item of the page is drawn in its own face.
            while (waiting && waiting->isActive()) {
                QCoreApplication::processEvents();
                form.ListBox1->viewport()->repaint();
            }
            worstSettled = std::max(worstSettled, clock.nsecsElapsed() / 1e6);
            ++pages;
        }
    }
    state.counters["pages"] = pages;
    state.counters["worst_page_ms"] = worst;
    state.counters["worst_settled_ms"] = worstSettled;
}
BENCHMARK(BM_FaceListScrollThroughReal)->Iterations(1)->Unit(benchmark::kMillisecond);

// Paging down one page at a time, reading each page for a moment (argument: ms): the
// page below was made ahead while the one before was read.
void BM_FaceListPageDownReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    QScrollBar* bar = form.ListBox1->verticalScrollBar();
    bar->setValue(bar->maximum() / 2); // pages no benchmark showed before
    form.ListBox1->viewport()->repaint();
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        idle(int(state.range(0)));
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        // At the end of a short list, start again from the top.
        bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        form.ListBox1->viewport()->repaint();
        worst = std::max(worst, clock.nsecsElapsed() / 1e6);
    }
    state.counters["worst_page_ms"] = worst;
}
BENCHMARK(BM_FaceListPageDownReal)->Arg(1000)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(
        argc, argv,
        // Qt and the program both see exactly the fonts of the tree.
        [] { testenv::useFontTree(qEnvironmentVariable("GLYPHWELL_BENCH_FONTS")); },
        [] {
            syntheticWindow.reset();
            realWindow.reset();
        });
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Typing into the find field over the real fonts: each keystroke's filtering and the
// face list's repaint, the worst and the mean; the first keystroke, which reads what
// the fonts write and are, is counted apart.
void BM_FindKeystrokeReal(benchmark::State& state)
{
    if (!realFonts())
        return state.SkipWithError("set GLYPHWELL_BENCH_FONTS to a font folder");
    TForm1& form = real().form();
    const QStringList typed = {QStringLiteral("noto sans arab"), QStringLiteral("greek mono"),
                               QStringLiteral("synth 0"), QStringLiteral("variable"), QStringLiteral("e")};
    double first = -1;
    double worst = 0;
    double total = 0;
    double longestTurn = 0;
    double worstCpu = 0; // the keystroke's own work, whatever else runs on the machine
    int keys = 0;
    int found = 0;
    double open = -1;
    for (auto _ : state) {
        QElapsedTimer opening;
        opening.start();
        form.openFind();
        if (open < 0) {
            // The first opening reads the fonts' traits a moment after it shows.
            form.ListBox1->viewport()->repaint();
            QTest::qWait(100);
            open = double(opening.nsecsElapsed()) / 1e6 - 100;
        }
        for (const QString& text : typed) {
            for (qsizetype n = 0; n <= text.size(); ++n) {
                const double cpuStart = threadCpuMs();
                QElapsedTimer clock;
                clock.start();
                form.FindEdit->setText(text.left(n));
                const double filterMs = double(clock.nsecsElapsed()) / 1e6;
                form.ListBox1->viewport()->repaint();
                const double ms = double(clock.nsecsElapsed()) / 1e6;
                const double cpuMs = threadCpuMs() - cpuStart;
                if (first < 0 && n == 1) {
                    first = ms;
                    continue;
                }
                worst = std::max(worst, ms);
                worstCpu = std::max(worstCpu, cpuMs);
                // Between keystrokes the fonts of the faces found are loaded; the
                // longest turn of that is what a keystroke typed then waits for.
                for (int turn = 0; turn < 40; ++turn) {
                    QElapsedTimer tick;
                    tick.start();
                    QCoreApplication::processEvents();
                    longestTurn = std::max(longestTurn, double(tick.nsecsElapsed()) / 1e6);
                }
                if (qEnvironmentVariableIsSet("GLYPHWELL_BENCH_EACH"))
                    fprintf(stderr, "%6.2f ms cpu %6.2f (filter %5.2f) \"%s\" %d found\n", ms, cpuMs, filterMs, qPrintable(text.left(n)),
                            form.ListBox1->Count());
                total += ms;
                ++keys;
            }
            found += form.ListBox1->Count();
        }
        form.closeFind();
        QCoreApplication::processEvents();
    }
    state.counters["open_ms"] = open;
    state.counters["first_ms"] = first;
    state.counters["worst_ms"] = worst;
    state.counters["worst_cpu_ms"] = worstCpu;
    state.counters["mean_ms"] = keys ? total / keys : 0;
    state.counters["between_keys_turn_ms"] = longestTurn;
    state.counters["faces"] = form.installedFaces().count();
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindKeystrokeReal)->Iterations(3)->Unit(benchmark::kMillisecond);
