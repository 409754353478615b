#include "print/FontSheet.h"

#include "preview/FaceScript.h"
#include "system/FaceCoverage.h"
#include "system/FontFactory.h"

#include <algorithm>
#include <limits>

namespace print {

namespace {

constexpr int sizeColumnX = 2100;
constexpr int mapTop = 750;
constexpr int mapRowStep = 150;
constexpr int mapCellHeight = 100;
constexpr int mapScale = 5;
constexpr int mapInset = 50;
constexpr int mapGap = 30;
constexpr int sampleTop = 4550;
constexpr int alphabetSpecimenLength = 36;

// The line the size column shows in the face: the alphabet, or for a face that has no
// letter of it, as many characters of the face's own script.
QString sizeLine(const QString& face)
{
    const sys::FaceCoverage coverage = sys::faceCoverage(face);
    if (!coverage.known || preview::drawsSomeOf(coverage.characters, alphabetLine))
        return alphabetLine;
    const QString own = preview::faceSpecimen(coverage.characters, alphabetSpecimenLength).text;
    return own.isEmpty() ? alphabetLine : own;
}

// The character map column by column, each cell a white box clipped to its column: the
// rows that fit the sheet, from the top of the block on show.
void printCharacterMap(PrinterCanvas& canvas, const preview::CharacterMapCells& map)
{
    int widthsBefore = 0;
    const qsizetype columns = std::min(map.columnWidths.size(), map.columns.size());
    for (qsizetype column = 0; column < columns; ++column) {
        const int left = mapScale * widthsBefore;
        widthsBefore += map.columnWidths[column];
        const int right = mapScale * widthsBefore - mapGap;
        const QStringList& cells = map.columns[column];
        for (int row = 0; row < std::min(int(cells.size()), preview::mapRows); ++row) {
            const int top = mapTop + mapRowStep * row;
            canvas.textRect(QRect(left, top, right - left, mapCellHeight), left + mapInset, top, cells[row]);
        }
    }
}

} // namespace

bool printFontSheet(PrinterCanvas& canvas, const SheetSources& sources, const sys::PageProgress& progress)
{
    PrintJob job(canvas);
    // Every label is black, whatever colour an earlier sample left in the canvas font.
    canvas.setColor(Qt::black);
    canvas.setFace(labelFace);
    canvas.setSize(12);
    canvas.setStyle(fsUnderline);
    canvas.textOut(0, 100, printedBy);
    canvas.setStyle(fsBold);
    canvas.textOut(0, 250, QStringLiteral("FontName : ") + sources.faceTitle);
    if (sources.faceListShowing)
        canvas.textOut(0, 400, QStringLiteral("Fontfile : ") + commaText(sources.sourceFiles));
    if (sources.fileListShowing)
        canvas.textOut(0, 400, QStringLiteral("Fontfile : ") + sources.fileName);

    canvas.setStyle(fsItalic | fsUnderline);
    canvas.textOut(sizeColumnX, 550, QStringLiteral("Font By Text Size"));
    canvas.setStyle({});
    canvas.setSize(8);
    for (int k = 0; k < int(std::size(sheetSizes)); ++k)
        canvas.textOut(sizeColumnX, 750 + 300 * k, QStringLiteral("%1 pt").arg(sheetSizes[k]));
    const QString memoFace = sys::faceOf(sources.memoFont);
    const QString line = sizeLine(memoFace);
    canvas.setFace(memoFace, sys::fallbackOf(sources.memoFont));
    for (int k = 0; k < int(std::size(sheetSizes)); ++k) {
        canvas.setSize(sheetSizes[k]);
        canvas.textOut(sizeColumnX, 850 + 300 * k, line);
    }

    canvas.setFace(labelFace);
    canvas.setSize(12);
    canvas.setStyle(fsItalic | fsUnderline);
    canvas.textOut(0, 550, QStringLiteral("Character Map"));
    canvas.setStyle({});
    canvas.setFace(memoFace, sys::fallbackOf(sources.memoFont));
    canvas.setSize(8);
    printCharacterMap(canvas, sources.characterMap);

    canvas.setFace(labelFace);
    canvas.setSize(12);
    canvas.setStyle(fsItalic | fsUnderline);
    canvas.textOut(0, 4200, QStringLiteral("Your Sample Text :"));
    canvas.setStyle({});
    const int size = pointSize(sources.memoFont);
    canvas.textOut(0, 4350, QStringLiteral("Text size: %1 pt").arg(size));

    canvas.assignFont(sources.memoFont, sources.memoColor);
    for (qsizetype line = 0; line < sources.memoLines.size(); ++line) {
        const qint64 y = sampleTop + 10 * qint64(line) * size;
        if (y > std::numeric_limits<int>::max())
            break; // far past any page: nothing more could be printed
        if (!sources.memoLines[line].isEmpty())
            canvas.textOut(0, int(y), sources.memoLines[line]);
    }
    return job.end(progress);
}

} // namespace print
