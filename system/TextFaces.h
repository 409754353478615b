#pragma once

#include <QFont>
#include <QList>
#include <QString>

// Names shown in the program's own controls (face names, file names) come in every
// script. When a control's face lacks a character, Qt would ask fontconfig for every
// installed family and compare each with each of its own: seconds with thousands of
// fonts. Instead the control's font is swapped for one face that holds the whole text,
// which fontconfig finds in one match, once per face, style and script.
namespace sys {

// The font to show the text in: the font itself when its face has every character;
// else the same font in the face nearest to it that has them all; when no installed
// face has them all, the face with most of them without fallback, so the rest show as
// boxes instead of starting Qt's search.
QFont fontForText(const QFont& font, const QString& text);

// The face that fontconfig gives for the characters near the family, with its style;
// empty when none has them all. Decided once per family, style and set of scripts.
QString fallbackFace(const QString& family, bool bold, bool italic, const QString& characters);

// The first family of the font fontconfig matches for the family in its regular style,
// among the fonts that hold all the characters when some are given.
QString matchedFamily(const QString& family, const QList<char32_t>& characters);

// How many fallback faces have been decided so far (one per family, style and scripts).
int fallbackFaceCount();

} // namespace sys
