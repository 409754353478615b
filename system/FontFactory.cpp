#include "system/FontFactory.h"

#include "system/FontLock.h"
#include "system/Fontconfig.h"
#include "system/NamedInstances.h"
#include "system/RasterFaces.h"
#include "system/TextFaces.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QSet>
#include <fontconfig/fontconfig.h>
#include <utility>
#include <vector>

namespace sys {

std::unique_lock<std::recursive_mutex> lockFontCaches()
{
    static std::recursive_mutex caches;
    return std::unique_lock(caches);
}

bool isDefaultFace(const QString& face)
{
    return face.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0;
}

namespace {

// The substitute fontconfig gives for a family that is not installed, among fonts that
// have all of printable ASCII: the program's own captions are drawn in it.
QString substituteFamily(const QString& family)
{
    static const QList<char32_t> printableAscii = [] {
        QList<char32_t> characters;
        for (char32_t c = 0x20; c < 0x7f; ++c)
            characters << c;
        return characters;
    }();
    return matchedFamily(family, printableAscii);
}

// Whether an installed font of Qt's configuration has the family name, in any letter
// case. The names are read once and again only when the configuration's fonts change:
// a match over every font for each name costs milliseconds at 10,000 fonts, and Print
// All asks for every installed face.
bool hasFamily(const QString& family)
{
    static QSet<QString> names;
    static FontSetsStamp builtFrom;
    FontSetsStamp now = currentFontSetsStamp();
    if (now != builtFrom) {
        names.clear();
        for (std::size_t s = 1; s < now.size(); ++s) {
            const auto* fonts = static_cast<const FcFontSet*>(now[s].first);
            FcChar8* name = nullptr;
            for (int i = 0; fonts && i < fonts->nfont; ++i)
                for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
                    names.insert(QString::fromUtf8(reinterpret_cast<const char*>(name)).toCaseFolded());
        }
        builtFrom = std::move(now);
    }
    return names.contains(family.toCaseFolded());
}

} // namespace

QString installedFamily(const QString& family)
{
    const auto lock = lockFontCaches();
    // Resolved again after the fonts change: a family installed since is itself.
    static QHash<QString, QString> resolved;
    static FontSetsStamp resolvedFrom;
    if (FontSetsStamp now = currentFontSetsStamp(); now != resolvedFrom) {
        resolved.clear();
        resolvedFrom = std::move(now);
    }
    const auto known = resolved.constFind(family);
    if (known != resolved.constEnd())
        return *known;
    // The same configuration Qt draws with, so the answer is a family Qt knows. An
    // installed family is itself, whatever it holds; a substitute must hold printable
    // ASCII, or Qt searches every installed font for the captions' missing characters.
    QString result = family;
    if (!hasFamily(family)) {
        const QString substitute = substituteFamily(family);
        if (!substitute.isEmpty())
            result = substitute;
    }
    resolved.insert(family, result);
    return result;
}

QString qtFamily(const QString& face)
{
    return isDefaultFace(face) ? QGuiApplication::font().family() : face;
}

Fallback fallbackOf(const QFont& font)
{
    return font.styleStrategy() & QFont::NoFontMerging ? Fallback::None : Fallback::Allowed;
}

namespace {

// The height in pixels the font will be drawn at on the screen.
double screenPixelHeight(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return font.pointSizeF() * (screen ? screen->logicalDotsPerInchY() : 96.0) / 72.0;
}

} // namespace

void setFace(QFont& font, const QString& face, Fallback fallback)
{
    const auto lock = lockFontCaches();
    // Without fallback a symbol face shows its own symbols instead of letters
    // borrowed from another face.
    QFont::StyleStrategy strategy = fallback == Fallback::None ? QFont::NoFontMerging : QFont::PreferDefault;
    const QString standIn = rasterFaces() && !isDefaultFace(face) ? rasterFaces()->standIn(face, screenPixelHeight(font))
                                                                  : QString();
    if (!standIn.isEmpty()) {
        // A raster face's pixels stay crisp squares.
        font.setFamilies({standIn});
        font.setStretch(QFont::AnyStretch);
        strategy = QFont::StyleStrategy(strategy | QFont::NoAntialias);
        font.setHintingPreference(QFont::PreferNoHinting);
    } else if (const NamedInstance* instance = drawnInstances().find(face)) {
        // Its family at its weight, width and slant; bold asked of a lighter instance
        // reaches the family's bold.
        font.setFamilies({instance->family});
        font.setWeight(QFont::Weight(font.weight() == QFont::Bold ? std::max(instance->weight, int(QFont::Bold))
                                                                   : instance->weight));
        font.setStretch(instance->width);
        if (instance->italic)
            font.setItalic(true);
        font.setHintingPreference(QFont::PreferDefaultHinting);
    } else {
        font.setFamilies({qtFamily(face)});
        font.setStretch(QFont::AnyStretch);
        font.setHintingPreference(QFont::PreferDefaultHinting);
    }
    font.setStyleStrategy(strategy);
}

QString faceOf(const QFont& font)
{
    const auto lock = lockFontCaches();
    const QString family = font.family();
    QString face = rasterFaces() ? rasterFaces()->faceOf(family) : QString();
    if (face.isEmpty()) {
        const int width = font.stretch() == QFont::AnyStretch ? 100 : font.stretch();
        face = drawnInstances().nameOf(family, font.weight(), width, font.italic());
    }
    return face.isEmpty() ? family : face;
}

QFont faceFont(const QString& face, int pixelSize, bool bold, bool italic, bool underline, Fallback fallback)
{
    const auto lock = lockFontCaches();
    QFont font;
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    // The style first: a named instance sets its own weight, width and slant.
    setFace(font, isDefaultFace(face) || drawnInstances().find(face) ? face : installedFamily(face), fallback);
    return font;
}

} // namespace sys
