// The charset reading and the raster stand-in builder over arbitrary bytes written as a
// font file. A stand-in that is built must itself open as a font.
#include "fuzz/FuzzSupport.h"

#include "system/FontEnumeration.h"
#include "system/RasterFaces.h"

#include <ft2build.h>
#include FT_FREETYPE_H

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte names the file (.fon or .ttf) and the face asked for.
    const QString name = (data[0] & 1) ? QStringLiteral("face.fon") : QStringLiteral("face.ttf");
    const int faceIndex = (data[0] >> 1) & 3;
    const QString path = fuzz::writeScratch(name, data + 1, size - 1);
    for (int charset : sys::fileCharsets(path, faceIndex))
        fuzz::require(charset >= 0 && charset <= 255, "a charset is one byte");
    const QByteArray font = sys::outlineFontOfBitmapFace(path, faceIndex, QStringLiteral("Fuzz Stand-in"));
    if (!font.isEmpty()) {
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
    return 0;
}
