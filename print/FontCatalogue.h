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

// Prints one row per face, its name plain, in its own face and its files: the first
// row under the header, then rows of 11-point lines, 52 to a page after the first.
void printFontCatalogue(PrinterCanvas& canvas, const CatalogueWalk& walk, const sys::PageProgress& progress = {});

} // namespace print
