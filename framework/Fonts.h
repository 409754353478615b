#pragma once

#include <QFont>

// Font heights as the windows describe them: a negative height is the character
// height in pixels without internal leading (the em size); a positive height is the
// cell height including it. A size is in points.
namespace fw {

constexpr int screenDpi = 96;

// Windows' MulDiv rounding: half away from zero.
int mulDiv(int number, int numerator, int denominator);

// Height -> size in points at the given resolution, and back.
int heightToSize(int height, int dpi = screenDpi);
int sizeToHeight(int points, int dpi = screenDpi);

// Applies a height to a font: negative gives the pixel size directly, positive is
// taken as the cell height and scaled by the face's own ascent + descent.
void setFontHeight(QFont& font, int height);

// The font, made smaller pixel by pixel (down to minPixels) until the text fits in
// the width; unchanged when it fits already.
QFont fittingFont(QFont font, const QString& text, int width, int minPixels = 7);

} // namespace fw
