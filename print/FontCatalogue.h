#pragma once

#include "print/PrinterCanvas.h"

#include <QStringList>
#include <functional>

namespace print {

inline const QString unregisteredMarker = QStringLiteral("<Unregistered>");
inline constexpr int catalogueRowsPerPage = 52;

// A face's file column: its source files, or the marker when it has none.
QStringList catalogueFiles(const QStringList& sourceFiles);

// The walk over the installed faces: a snapshot of the list, and the file column of
// the face at an index. Reading the files may raise (a registry value of the wrong
// type); the walk then stops there and its job is aborted.
struct CatalogueWalk {
    QStringList faces;
    std::function<QStringList(int index)> filesOf;
};

// The catalogue's pages for a count of faces: the first holds 53 rows, every later
// one 52, and a last row that fills its page still starts a new, empty one.
int cataloguePages(qsizetype faces);

// Reports a job of the catalogue: the page being laid out (after every row), then
// the page being drawn for the printer. Either returning false cancels the job.
struct CatalogueProgress {
    sys::PageProgress laidOut;
    sys::PageProgress drawn;
};

// Prints one row per face, its name plain, in its own face and its files: the first
// row under the header, then rows of 11-point lines, 52 to a page after the first.
// False when the progress cancelled it: then nothing is printed.
bool printFontCatalogue(PrinterCanvas& canvas, const CatalogueWalk& walk, const CatalogueProgress& progress = {});

} // namespace print
