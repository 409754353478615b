// The grid's delimited loader over arbitrary file contents; what it loads saves and
// loads back the same.
#include "fuzz/FuzzSupport.h"

#include "framework/Errors.h"
#include "widgets/SortableGrid.h"

#include <QApplication>
#include <memory>

namespace {

std::unique_ptr<QApplication> application;
std::unique_ptr<TSortableGrid> grid;
std::unique_ptr<TSortableGrid> reloaded;

QList<QStringList> contents(const TSortableGrid& g)
{
    QList<QStringList> rows;
    for (int r = 0; r < g.RowCount(); ++r)
        rows << g.Rows(r);
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = std::make_unique<QApplication>(*argc, *argv);
    grid = std::make_unique<TSortableGrid>();
    reloaded = std::make_unique<TSortableGrid>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the separator: the usual ones, or that byte itself.
    static const char usual[] = {';', ',', '\t', '|'};
    const QChar separator = data[0] < 4 ? QChar::fromLatin1(usual[data[0]]) : QChar::fromLatin1(char(data[0]));
    const QString path = fuzz::writeScratch(QStringLiteral("grid.txt"), data + 1, size - 1);
    grid->LoadDelimited(path, separator);
    fuzz::require(grid->RowCount() >= 1 && grid->ColCount() >= 1, "a loaded grid has a cell");
    const QString saved = fuzz::scratchFolder() + QStringLiteral("/saved.txt");
    grid->SaveDelimited(saved, separator);
    reloaded->LoadDelimited(saved, separator);
    // A leading byte-order mark in the first cell is read as the file's own on reload.
    if (!grid->Cells(0, 0).startsWith(QChar(0xFEFF)))
        fuzz::require(contents(*reloaded) == contents(*grid), "what is saved loads back the same");
    return 0;
}
