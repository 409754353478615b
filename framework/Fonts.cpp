#include "framework/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <cmath>

namespace fw {

int mulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    return int(std::llround(double(number) * numerator / denominator));
}

int heightToSize(int height, int dpi)
{
    return -mulDiv(height, 72, dpi);
}

int sizeToHeight(int points, int dpi)
{
    return -mulDiv(points, dpi, 72);
}

void setFontHeight(QFont& font, int height)
{
    if (height < 0) {
        font.setPixelSize(-height);
        return;
    }
    if (height == 0)
        return;
    // A cell height: find the em size whose ascent + descent fill it.
    QFont probe = font;
    probe.setPixelSize(100);
    const QFontMetricsF metrics(probe);
    const qreal cell = metrics.ascent() + metrics.descent();
    const int pixels = cell > 0 ? int(std::lround(height * 100.0 / cell)) : height;
    font.setPixelSize(std::max(1, pixels));
}

QFont fittingFont(QFont font, const QString& text, int width, int minPixels)
{
    int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    while (QFontMetrics(font).horizontalAdvance(text) > width && pixels > minPixels)
        font.setPixelSize(--pixels);
    return font;
}

} // namespace fw
