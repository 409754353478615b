#pragma once

#include <QList>
#include <QString>

// The Unicode blocks a face covers and the names of its characters, from ICU.
namespace preview {

struct BlockCoverage {
    int block = 0;              // ICU's block code
    QString name;               // "Basic Latin", "Latin-1 Supplement", "Arabic", ...
    QList<char32_t> characters; // the face's characters in the block that show something
};

// A block's standard name ("Latin-1 Supplement", "Greek and Coptic").
QString blockName(int block);

// The blocks of the characters (ascending), in code order, each with the characters
// that can be shown in a cell: no controls, blanks or invisible formatting marks.
QList<BlockCoverage> blocksOf(const QList<char32_t>& characters);

// The index of the block holding most characters of its own (not compatibility forms
// of another block's), the first of equals; -1 for none.
qsizetype largestBlock(const QList<BlockCoverage>& blocks);

// A character's Unicode name ("ARABIC LETTER ALEF"); empty when it has none.
QString characterName(char32_t c);

// "U+0627", at least four hex digits.
QString codeLabel(char32_t c);

// "U+0627 ARABIC LETTER ALEF"; the code alone for a character without a name.
QString codeAndName(char32_t c);
// "Unicode U+0627 ARABIC LETTER ALEF".
QString unicodeLine(char32_t c);

// Whether a character shows something of its own in a cell.
bool showable(char32_t c);

} // namespace preview
