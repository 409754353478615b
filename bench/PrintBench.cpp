// Printing at scale: Print All of some 2,000 installed faces through the main window's
// own handler, on the real font stack, into a PDF file (Qt's PDF output, the document
// a CUPS printer is handed). Also the specimen sheet with a 10,000-line sample.
//
// The font tree, first found: GLYPHWELL_BENCH_FONTS (a folder of fonts); Debian's
// fonts-noto-core (about 2,000 family names); else 2,000 synthetic families written
// by scripts/make-font-tree.py. Counters: faces printed, pages, PDF size, and the
// process's peak memory while the benchmark runs (VmHWM, reset at its start). With
// GLYPHWELL_BENCH_PRINTER=cups the jobs go to the default printer instead.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "system/FileSystem.h"
#include "system/FontFileCheck.h"
#include "system/FontEnumeration.h"
#include "system/FontRegistry.h"
#include "system/FontResources.h"
#include "system/Fontconfig.h"
#include "system/Printer.h"
#include "system/Shell.h"
#include "system/ShellFolders.h"
#include "tests/support/BenchMain.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int syntheticFaces = 2000;

QString fontTree()
{
    const QString chosen = qEnvironmentVariable("GLYPHWELL_BENCH_FONTS");
    if (!chosen.isEmpty())
        return QDir(chosen).absolutePath();
    if (QDir(QStringLiteral("/usr/share/fonts/truetype/noto")).exists())
        return QStringLiteral("/usr/share/fonts/truetype/noto");
    const QString synthetic = QDir::tempPath() + QStringLiteral("/glyphwell-bench-synth-%1").arg(syntheticFaces);
    if (!QDir(synthetic).exists()) {
        const QString script = QStringLiteral(GLYPHWELL_SOURCE_DIR "/scripts/make-font-tree.py");
        QProcess::execute(script, {QString::number(syntheticFaces), synthetic}); // its own Python, Debian's
    }
    return synthetic;
}

// Points fontconfig, and so Qt, at the tree, the test ground's few Debian fonts and the
// private user font folder, with the system's own rules (aliases such as Times New
// Roman to Liberation Serif), as on a desktop. The cache outlives the run, so only
// the first run scans the tree.
void pointFontconfigAt(const QString& tree)
{
    const QString conf = testenv::writeFile(
        testenv::root() + "/bench-fonts.conf",
        QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>"
                       "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>"
                       "<dir>%1</dir><dir>%2</dir><dir prefix=\"xdg\">fonts</dir>"
                       "<cachedir>%3/glyphwell-bench-fontconfig</cachedir></fontconfig>\n")
            .arg(tree, testenv::systemFontFolder(), QDir::tempPath())
            .toUtf8());
    qputenv("FONTCONFIG_FILE", QFile::encodeName(conf));
}

// The program on real fontconfig services, printing into a PDF file.
struct Program {
    sys::FontconfigSession session;
    sys::XdgShellFolders folders;
    sys::PosixFileSystem files;
    sys::FontconfigEnumeration fonts{session};
    sys::FontconfigRegistry registry{session, [this] { return folders.fonts(); }};
    sys::FontconfigResources resources{session};
    sys::DesktopShell shell;
    QString pdf = testenv::root() + "/print.pdf";
    // GLYPHWELL_BENCH_PRINTER=cups: the system's default printer (a CUPS queue, such as
    // scripts/cups-test-printer.sh makes) instead of the PDF file.
    bool toCups = qEnvironmentVariable("GLYPHWELL_BENCH_PRINTER") == QLatin1String("cups");
    std::unique_ptr<sys::QtPrinter> printer =
        toCups ? std::make_unique<sys::QtPrinter>() : std::make_unique<sys::QtPrinter>(pdf);
    sys::FreeTypeFontFileCheck fontFiles;
    Windows windows = createWindows(Services{fonts, registry, folders, files, resources, shell, *printer, fontFiles});
    TForm1& form = *windows.form1;
};

std::unique_ptr<Program> made; // lives inside the application object

Program& program()
{
    if (!made) {
        {
            sys::FontconfigSession warm; // scans the tree once, before anything is timed
            warm.config();
        }
        made = std::make_unique<Program>();
    }
    return *made;
}

// A line of /proc/self/status in megabytes: VmHWM (peak) or VmRSS (now).
double statusMegabytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) / 1024.0; // kB
    return 0;
}

double startMegabytes = 0;

void resetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
    startMegabytes = statusMegabytes("VmRSS");
}

int pdfPages(const QString& pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

void report(benchmark::State& state, Program& running)
{
    state.counters["faces"] = double(running.form.ListBox5->Count());
    state.counters["pages"] = double(pdfPages(running.pdf));
    state.counters["pdf_MB"] = double(QFileInfo(running.pdf).size()) / (1024.0 * 1024.0);
    state.counters["start_MB"] = startMegabytes;
    state.counters["peak_MB"] = statusMegabytes("VmHWM");
    state.counters["anon_MB"] = statusMegabytes("RssAnon"); // heap, after the job
    state.counters["file_MB"] = statusMegabytes("RssFile"); // mapped font files and libraries
}

// The first Print All of the run: Qt opens every face for the first time.
void BM_PrintAllFirst(benchmark::State& state)
{
    Program& running = program();
    // Other test processes print to the same queue.
    QLockFile lock(QDir::tempPath() + "/glyphwell-cups-test.lock");
    lock.setStaleLockTime(0);
    if (running.toCups && !lock.tryLock(300000))
        return state.SkipWithError("the CUPS queue stays busy");
    resetPeakMemory();
    for (auto _ : state)
        running.form.GradientButton10->Click();
    report(state, running);
}
BENCHMARK(BM_PrintAllFirst)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintAllAgain(benchmark::State& state)
{
    Program& running = program();
    resetPeakMemory();
    for (auto _ : state)
        running.form.GradientButton10->Click();
    report(state, running);
}
BENCHMARK(BM_PrintAllAgain)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Print All into a PDF, cancelled with the box's Cancel button a set time (ms) after
// the click (a day: never, the whole job is timed). Counters: how long the job took to stop after the click on Cancel
// (stop_ms, from the click to the handler's return), the longest the window went
// without handling events (max_gap_ms: the most a Cancel can wait before it is
// seen), the time from the last look at the window to the end (tail_ms: for a job
// that is not cancelled, the file's closing, when fonts are written and Cancel is
// not seen), the page shown when cancelled, and whether a file was left (0 or 1).
void BM_PrintAllCancelled(benchmark::State& state)
{
    Program& running = program();
    QFile::remove(running.pdf);
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    qint64 lastTick = -1;
    qint64 maxGap = 0;
    QString shownAtCancel;
    QTimer ticks; // runs whenever the window handles events during the job
    ticks.setInterval(0);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (lastTick >= 0)
            maxGap = std::max(maxGap, now - lastTick);
        lastTick = now;
        auto* box = running.form.findChild<QProgressDialog*>(QStringLiteral("PrintProgress"));
        if (clickedAt < 0 && now >= state.range(0) && box && box->isVisible()) {
            shownAtCancel = box->labelText();
            clickedAt = now;
            QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
        }
    });
    qint64 stop = 0;
    qint64 tail = 0;
    for (auto _ : state) {
        FakeDialogs dialogs; // the save dialog answers with the benchmark's file
        dialogs.savedFiles = {running.pdf};
        dialogs.answers = {true};
        clickedAt = lastTick = -1;
        maxGap = 0;
        clock.start();
        ticks.start();
        running.form.SaveCataloguePdf->trigger();
        stop = clickedAt < 0 ? -1 : clock.elapsed() - clickedAt;
        tail = clock.elapsed() - lastTick;
        ticks.stop();
    }
    state.counters["stop_ms"] = double(stop);
    state.counters["max_gap_ms"] = double(maxGap);
    state.counters["tail_ms"] = double(tail);
    state.counters["file_left"] = QFileInfo::exists(running.pdf) ? 1 : 0;
    state.counters["faces"] = double(running.form.ListBox5->Count());
    state.SetLabel(shownAtCancel.toStdString());
}
BENCHMARK(BM_PrintAllCancelled)->Arg(3000)->Arg(10000)->Arg(24 * 3600 * 1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Print All into a PDF as the window sees it: a timer on the window's thread ticks
// every 5 ms from the click to the handler's return, and Cancel is clicked a set time
// (ms) after the click (a day: never). Counters: the longest gap between ticks
// (max_gap_ms: the longest the window did not answer), the ticks seen, the time from
// the click on Cancel to the handler's return (cancel_ms: when the window is back),
// and the whole handler (handler_ms).
void BM_PrintAllWindowGaps(benchmark::State& state)
{
    Program& running = program();
    QFile::remove(running.pdf);
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    qint64 lastTick = -1;
    qint64 maxGap = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(5);
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        maxGap = std::max(maxGap, now - lastTick);
        lastTick = now;
        ++ticks;
        auto* box = running.form.findChild<QProgressDialog*>(QStringLiteral("PrintProgress"));
        if (clickedAt < 0 && now >= state.range(0) && box && box->isVisible()) {
            clickedAt = clock.elapsed();
            QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
        }
    });
    qint64 cancel = -1;
    qint64 handler = 0;
    for (auto _ : state) {
        FakeDialogs dialogs;
        dialogs.savedFiles = {running.pdf};
        dialogs.answers = {true};
        clickedAt = -1;
        maxGap = 0;
        ticks = 0;
        clock.start();
        lastTick = 0;
        ticker.start();
        running.form.SaveCataloguePdf->trigger();
        handler = clock.elapsed();
        maxGap = std::max(maxGap, handler - lastTick);
        cancel = clickedAt < 0 ? -1 : handler - clickedAt;
        ticker.stop();
    }
    state.counters["max_gap_ms"] = double(maxGap);
    state.counters["ticks"] = double(ticks);
    state.counters["cancel_ms"] = double(cancel);
    state.counters["handler_ms"] = double(handler);
    state.counters["faces"] = double(running.form.ListBox5->Count());
}
BENCHMARK(BM_PrintAllWindowGaps)->Arg(3000)->Arg(10000)->Arg(24 * 3600 * 1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SheetWithLongSample(benchmark::State& state)
{
    Program& running = program();
    QStringList lines;
    for (int line = 0; line < 10000; ++line)
        lines << QStringLiteral("Sample line %1 of the long sample").arg(line);
    running.form.Edit1->setPlainText(lines.join('\n'));
    resetPeakMemory();
    for (auto _ : state)
        running.form.ToolButton1->click();
    report(state, running);
}
BENCHMARK(BM_SheetWithLongSample)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(
        argc, argv, [] { pointFontconfigAt(fontTree()); },
        [] { made.reset(); });
}
