#pragma once

#include <QFont>
#include <QStringList>

// A glyph's ink as rows of '#' and '.', trimmed to its bounding box: what FreeType
// renders from a font file, and what Qt draws.
namespace glyphink {

using Ink = QStringList;

Ink trimmed(Ink rows);
// The code at the strike of that pixel size (0: the first), through the face's first
// charmap (a raster face's 8-bit codes) or, with unicode, its Unicode charmap.
Ink freetypeInk(const QString& file, int code, int strikePixels = 0, bool unicode = false);
// The text drawn in the font at that pixel size (0: the font's own).
Ink qtInk(QFont font, const QString& text, int pixelSize = 0);
// Each pixel as a square of scale pixels.
Ink scaled(const Ink& ink, int scale);

} // namespace glyphink
