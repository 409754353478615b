#include "print/FontCatalogue.h"

#include "preview/FaceScript.h"
#include "print/FontSheet.h"
#include "system/FaceCoverage.h"

namespace print {

namespace {

constexpr int catalogueSize = 11;
constexpr int plainColumnX = 0;
constexpr int ownFaceColumnX = 1100;
constexpr int filesColumnX = 2300;
constexpr int specimenGap = 40; // device pixels between a plain name and its specimen

void printRow(PrinterCanvas& canvas, int y, const QString& face, const std::function<QStringList()>& files)
{
    canvas.setFace(labelFace);
    canvas.textOut(plainColumnX, y, face);
    // A face that cannot write its name shows it plain, then a few characters of its own.
    const std::optional<QString> specimen = preview::nameSpecimen(face, sys::faceCoverage(face));
    if (specimen) {
        canvas.textOut(ownFaceColumnX, y, face);
        if (!specimen->isEmpty()) {
            const int x = ownFaceColumnX + canvas.textWidth(face) + specimenGap;
            canvas.setFace(face, sys::Fallback::None);
            canvas.textOut(x, y, *specimen);
        }
    } else {
        canvas.setFace(face, sys::Fallback::None); // a symbol face shows its symbols
        canvas.textOut(ownFaceColumnX, y, face);
    }
    const QString fileColumn = commaText(files());
    canvas.setFace(labelFace);
    canvas.textOut(filesColumnX, y, fileColumn);
}

} // namespace

QStringList catalogueFiles(const QStringList& sourceFiles)
{
    return sourceFiles.isEmpty() ? QStringList{unregisteredMarker} : sourceFiles;
}

int cataloguePages(qsizetype faces)
{
    return faces <= 1 ? 1 : 1 + int((faces - 1) / catalogueRowsPerPage);
}

bool printFontCatalogue(PrinterCanvas& canvas, const CatalogueWalk& walk, const CatalogueProgress& progress)
{
    const QStringList& faces = walk.faces;
    // The first face is probed before the job starts, so its failure prints nothing.
    const QStringList firstFiles = faces.isEmpty() ? QStringList() : walk.filesOf(0);

    PrintJob job(canvas);
    canvas.setColor(Qt::black);
    canvas.setFace(labelFace);
    canvas.setStyle(fsBold | fsUnderline);
    canvas.setSize(catalogueSize);
    canvas.textOut(0, 100, printedBy);
    canvas.setStyle({});
    if (!faces.isEmpty())
        printRow(canvas, 350, faces.first(), [&] { return firstFiles; });

    const int pages = cataloguePages(faces.size());
    int page = 1;
    int row = 0;
    // Asked after every row: probing a face can take a while among thousands.
    const auto goOn = [&] { return !progress.laidOut || progress.laidOut(page, pages); };
    for (int index = 1; index < faces.size(); ++index) {
        ++row;
        const int y = 370 + 10 * row * canvas.font().size;
        printRow(canvas, y, faces[index], [&] { return walk.filesOf(index); });
        if (!goOn())
            return false; // the job is aborted as it goes
        if (row == catalogueRowsPerPage) {
            row = 0;
            canvas.newPage();
            ++page;
        }
    }
    if (!goOn())
        return false;
    return job.end(progress.drawn);
}

} // namespace print
