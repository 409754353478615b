// The grid's delimited loader over arbitrary file contents; what it loads saves and
// loads back the same.
#include "fuzz/FuzzSupport.h"

#include "framework/Errors.h"
#include "widgets/SortableGrid.h"

#include <QApplication>

namespace {

// Made once and kept to the end of the process: destroyed at exit, they would outlive
// Qt's own globals.
QApplication* application = nullptr;
TSortableGrid* grid = nullptr;
TSortableGrid* reloaded = nullptr;

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
    application = new QApplication(*argc, *argv);
    grid = new TSortableGrid;
    reloaded = new TSortableGrid;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the separator: the usual ones, or that byte itself unless it
    // ends lines.
    static const char usual[] = {';', ',', '\t', '|'};
    const char byte = data[0] < 4 || data[0] == '\n' || data[0] == '\r' ? usual[data[0] % 4] : char(data[0]);
    const QChar separator = QChar::fromLatin1(byte);
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
