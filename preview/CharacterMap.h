#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The character map: codes 33 to 255 of the 8-bit code page (Windows-1252), ten
// to a row, each in its own cell.
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

// What the character map shows, as the specimen sheet prints it: each column's
// width in screen pixels and its cells from the top row down.
struct CharacterMapCells {
    QList<int> columnWidths;
    QList<QStringList> columns;
};

// "ASCII-code is #" and the code of the first character of the text.
QString zoomCodeLine(const QString& text);

// What a screen reader reads for a cell: its character and code ("é, code 233");
// nothing for an empty cell.
QString cellSpokenName(const QString& text);

} // namespace preview
