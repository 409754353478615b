#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The character map: codes 33 to 255 of the 8-bit code page (Windows-1252), ten
// to a row, each in its own cell; or, for faces beyond that page, the characters a
// face has in one Unicode block.
namespace preview {

inline constexpr int firstCode = 33;
inline constexpr int lastCode = 255;
inline constexpr int mapColumns = 10;
inline constexpr int mapRows = 23;

// The character of an 8-bit code; codes the code page leaves unassigned map to
// the control character of the same number, as the system's conversion does.
QChar windows1252Char(int code);
// The 8-bit code of a character, or '?' (63) when the code page has none.
int windows1252Code(QChar character);

constexpr int mapColumn(int code) { return (code - firstCode) % mapColumns; }
constexpr int mapRow(int code) { return (code - firstCode) / mapColumns; }

// Writes codes 33..255 into cell(column, row, text); nothing else is touched.
template <typename WriteCell> void fillCharacterMap(WriteCell&& writeCell)
{
    for (int code = firstCode; code <= lastCode; ++code)
        writeCell(mapColumn(code), mapRow(code), QString(windows1252Char(code)));
}

// One page of the map's chooser: the 8-bit page, or a block's characters.
struct MapPage {
    QString name; // as the chooser lists it
    bool eightBit = false;
    QList<char32_t> characters; // a block's characters the face has
};
inline const QString eightBitPageName = QStringLiteral("8-bit page (Windows-1252)");
inline const QString nothingToShow = QStringLiteral("This face has no characters to show");
inline const QString noBlocks = QStringLiteral("No characters");

// The pages of a face's map and the one it opens on. A face that covers the 8-bit
// page (or whose characters are not known) opens on it, with its blocks after it;
// any other face opens on the block it covers most. No pages: nothing to show.
struct MapPages {
    QList<MapPage> pages;
    qsizetype opening = -1;
};
MapPages mapPagesOf(const QList<char32_t>& characters, bool known);

// The rows a page fills: 23 for the 8-bit page, a block's characters 10 to a row.
int mapRowsOf(const MapPage& page);
// The rows of a page as the grid takes them, 10 cells to a row.
QList<QStringList> mapRowTexts(const MapPage& page);

// What the character map shows, as the specimen sheet prints it: each column's
// width in screen pixels and its cells from the top row down.
struct CharacterMapCells {
    QList<int> columnWidths;
    QList<QStringList> columns;
};

// The zoom's code line for a cell's text: on the 8-bit page "ASCII-code is #" and
// its code; in a block "Unicode U+0627 ARABIC LETTER ALEF".
QString zoomCodeLine(const QString& text, bool eightBit = true);

// What a screen reader reads for a cell: its character and code ("é, code 233", in a
// block "ا, U+0627 ARABIC LETTER ALEF"); nothing for an empty cell.
QString cellSpokenName(const QString& text, bool eightBit = true);

} // namespace preview
