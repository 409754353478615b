// Sorting a large grid: 100,000 data rows by a text column and by a numeric column,
// from the public entry (kind guessing, events, whole-row moves included).

#include "tests/support/BenchMain.h"
#include "widgets/SortableGrid.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

constexpr int dataRows = 100'000;

// Rows of an id, a word-like text in mixed case and a decimal number, shuffled.
std::vector<QStringList> makeRows()
{
    QRandomGenerator random(2024);
    std::vector<QStringList> rows;
    rows.reserve(dataRows);
    for (int i = 0; i < dataRows; ++i) {
        QString word;
        const int length = 3 + int(random.bounded(10));
        for (int k = 0; k < length; ++k) {
            const char letter = char('a' + random.bounded(26));
            word += QChar(random.bounded(4) == 0 ? letter - 'a' + 'A' : letter);
        }
        rows.push_back({QString::number(i), word, QString::number(random.bounded(1'000'000.0), 'f', 3)});
    }
    return rows;
}

void fill(TSortableGrid& grid, const std::vector<QStringList>& rows)
{
    for (int i = 0; i < dataRows; ++i)
        grid.setRows(i + 1, rows[std::size_t(i)]);
}

void sortColumn(benchmark::State& state, int col)
{
    const std::vector<QStringList> rows = makeRows();
    TSortableGrid grid;
    grid.setColCount(3);
    grid.setRowCount(dataRows + 1);
    grid.setRows(0, {"id", "word", "number"});
    for (auto _ : state) {
        state.PauseTiming();
        fill(grid, rows);
        state.ResumeTiming();
        grid.SortColumn(col, {});
    }
    state.SetItemsProcessed(state.iterations() * dataRows);
}

void BM_SortTextColumn(benchmark::State& state)
{
    sortColumn(state, 1);
}

void BM_SortNumericColumn(benchmark::State& state)
{
    sortColumn(state, 2);
}

void BM_RestoreOrder(benchmark::State& state)
{
    const std::vector<QStringList> rows = makeRows();
    TSortableGrid grid;
    grid.setColCount(3);
    grid.setRowCount(dataRows + 1);
    fill(grid, rows);
    for (auto _ : state) {
        state.PauseTiming();
        grid.SortColumn(1, {});
        state.ResumeTiming();
        grid.RestoreOrder();
    }
}

} // namespace

BENCHMARK(BM_SortTextColumn)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortNumericColumn)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RestoreOrder)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
