#pragma once

#include <QList>
#include <QString>

// What a face can draw: the characters its own character map has glyphs for, as
// fontconfig reports them for the font Qt draws the face with (the family's font
// nearest to regular), and whether its glyphs are in colour.
namespace sys {

struct FaceCoverage {
    QList<char32_t> characters; // ascending, no repeats
    bool colour = false;        // colour glyphs (CBDT, sbix, COLR)
    bool known = false;         // an installed font with a character map was found

    bool has(char32_t c) const;
    // Every character of the text that needs a glyph (not blanks or line breaks).
    bool hasAll(const QString& text) const;
};

// The coverage of a face name ("Default" is the interface face). Read from the fonts
// of Qt's configuration, indexed once per change of its fonts, so a lookup is cheap.
FaceCoverage faceCoverage(const QString& face);

// Whether the face's glyphs are in colour: Qt's PDF engine cannot print those.
bool isColourFace(const QString& face);

// Characters that need no glyph of their own.
bool needsNoGlyph(char32_t c);

} // namespace sys
