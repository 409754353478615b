#pragma once

#include "preview/CharacterMap.h"
#include "print/PrinterCanvas.h"

#include <QColor>
#include <QFont>
#include <QStringList>

namespace print {

inline const QString labelFace = QStringLiteral("Times New Roman");
inline const QString printedBy = QStringLiteral("Printed by Glyphwell");
inline const QString alphabetLine = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ.1234567890");
inline constexpr int sheetSizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20};

// What the specimen sheet reads from the main window at the moment of the click.
struct SheetSources {
    QString faceTitle;            // the face title across the top of the window
    bool faceListShowing = false; // one of the face list views is showing
    bool fileListShowing = false; // the file view is showing
    QStringList sourceFiles;      // the current face's source-file list
    QString fileName;             // the file-name field of the file view
    QFont memoFont;               // the sample's font: face, size in points, style
    QColor memoColor = Qt::black; // the sample's text colour
    QStringList memoLines;        // the sample text, line by line
    preview::CharacterMapCells characterMap;
};

// Prints the one-page specimen sheet of the current face at fixed device pixels:
// header, file line, the alphabet at eleven sizes, the character map and the sample.
// False when the progress cancelled it while it was drawn: then nothing is printed.
bool printFontSheet(PrinterCanvas& canvas, const SheetSources& sources, const sys::PageProgress& progress = {});

} // namespace print
