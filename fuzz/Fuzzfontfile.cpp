// The charset reading, the bitmap stand-in builder and the registry view over arbitrary
// bytes written as a font file. A stand-in that is built must itself open as a font, and
// every name the view gives the file must lead its probe back to that file.
#include "fuzz/FuzzSupport.h"

#include "catalogue/RegistryNames.h"
#include "framework/Errors.h"
#include "system/FontEnumeration.h"
#include "system/FontRegistry.h"
#include "system/Fontconfig.h"
#include "system/RasterFaces.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

// The face a value name probes for: the name less its first matching suffix.
QString faceOf(const QString& name)
{
    for (const char* suffix : sys::probeSuffixes) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return name.left(name.size() - qsizetype(strlen(suffix)));
    }
    return QString();
}

void checkStandIn(const QByteArray& font)
{
    FT_Library library = nullptr;
    fuzz::require(FT_Init_FreeType(&library) == 0, "FreeType starts");
    FT_Face face = nullptr;
    fuzz::require(FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(font.constData()),
                                     FT_Long(font.size()), 0, &face) == 0,
                  "the stand-in opens as a font");
    fuzz::require(face->num_glyphs > 0, "the stand-in has glyphs");
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

// The view of a font folder holding just the file, under a configuration with no
// other fonts.
void checkRegistryView(const QString& path, const QString& name)
{
    static sys::FontconfigSession session;
    static sys::FontconfigRegistry registry(session, [] { return fuzz::scratchFolder() + QLatin1Char('/'); });
    static catalogue::RegistryNames names(registry);
    session.addApplicationFont(path);
    for (const sys::RegValue& value : registry.values()) {
        fuzz::require(value.isString() && value.data == name, "every value names the file");
        const QString face = faceOf(value.name);
        if (face.isNull())
            continue;
        try {
            fuzz::require(catalogue::sourceFiles(names.probe(face)).contains(name), "the probe finds the file");
        } catch (const fw::Error&) {
            fuzz::require(false, "the view holds strings only");
        }
    }
    session.removeApplicationFont(path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QString conf = fuzz::scratchFolder() + QStringLiteral("/fonts.conf");
    const QByteArray text = "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" +
                            fuzz::scratchFolder().toUtf8() + "/cache</cachedir></fontconfig>\n";
    fuzz::writeScratch(QStringLiteral("fonts.conf"), reinterpret_cast<const uint8_t*>(text.constData()),
                       size_t(text.size()));
    qputenv("FONTCONFIG_FILE", conf.toLocal8Bit());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte names the file (bit 0: .fon, else by bits 3-4 .ttf, .pcf, .bdf or
    // .otb), the face asked for (bits 1-2), and the stand-in's strike (bit 5: another
    // size than the first) and em (bit 6: one made for a larger height).
    static const QString others[] = {QStringLiteral("face.ttf"), QStringLiteral("face.pcf"), QStringLiteral("face.bdf"),
                                     QStringLiteral("face.otb")};
    const QString name = (data[0] & 1) ? QStringLiteral("face.fon") : others[(data[0] >> 3) & 3];
    const int faceIndex = (data[0] >> 1) & 3;
    const int strikePixels = data[0] & 0x20 ? 12 + (data[0] >> 7) * 8 : 0;
    const int unitsPerEm = data[0] & 0x40 ? 64 * 40 / 3 : 0;
    const QString path = fuzz::writeScratch(name, data + 1, size - 1);
    for (int charset : sys::fileCharsets(path, faceIndex))
        fuzz::require(charset >= 0 && charset <= 255, "a charset is one byte");
    const QByteArray font =
        sys::outlineFontOfBitmapFace(path, faceIndex, QStringLiteral("Fuzz Stand-in"), strikePixels, unitsPerEm);
    if (!font.isEmpty())
        checkStandIn(font);
    checkRegistryView(path, name);
    return 0;
}
