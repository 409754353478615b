#include "system/FontFactory.h"

#include <QGuiApplication>

namespace sys {

bool isDefaultFace(const QString& face)
{
    return face.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0;
}

QString qtFamily(const QString& face)
{
    return isDefaultFace(face) ? QGuiApplication::font().family() : face;
}

void setFace(QFont& font, const QString& face, Fallback fallback)
{
    font.setFamilies({qtFamily(face)});
    // Without fallback a symbol face shows its own symbols instead of letters
    // borrowed from another face.
    font.setStyleStrategy(fallback == Fallback::None ? QFont::NoFontMerging : QFont::PreferDefault);
}

QFont faceFont(const QString& face, int pixelSize, bool bold, bool italic, bool underline, Fallback fallback)
{
    QFont font;
    setFace(font, face, fallback);
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

} // namespace sys
