#include "system/FontFileCheck.h"

#include "system/FilePaths.h"
#include "system/Fontconfig.h"
#include "system/RasterFaces.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fcfreetype.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

// The family fontconfig gives the face: its first English name, else its first name,
// else FreeType's own.
QString familyOf(FT_Face face, const QByteArray& file)
{
    QString family;
    const auto* name = reinterpret_cast<const FcChar8*>(file.constData());
    if (FcPattern* pattern = FcFreeTypeQueryFace(face, name, 0, nullptr)) {
        const QStringList families = fcEnglishFamilies(pattern);
        if (!families.isEmpty())
            family = families.first();
        FcPatternDestroy(pattern);
    }
    if (family.isEmpty() && face->family_name)
        family = QString::fromUtf8(face->family_name);
    return family;
}

} // namespace

FontFileFacts FreeTypeFontFileCheck::inspect(const QString& path)
{
    const QByteArray file = pathBytes(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(file.constData(), &info) != 0)
        return {FileKind::Missing, {}};
    if (S_ISDIR(info.st_mode))
        return {FileKind::Folder, {}};
    if (::access(file.constData(), R_OK) != 0)
        return {FileKind::Unreadable, {}};
    if (!S_ISREG(info.st_mode))
        return {FileKind::NotFont, {}}; // a pipe or device would never end reading

    FontFileFacts facts{FileKind::NotFont, {}};
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return facts;
    FT_Face face = nullptr;
    // A face with glyphs that fontconfig can also list. A bitmap face must also give
    // the pixels its strikes claim (its outline stand-in can be made): a header that
    // lies about them would draw as nothing.
    if (FT_New_Face(library, file.constData(), 0, &face) == 0) {
        const bool drawable = FT_IS_SCALABLE(face) || FT_HAS_COLOR(face) ||
                              !outlineFontOfBitmapFace(path, 0, QStringLiteral("Check")).isEmpty();
        if (face->num_glyphs > 0 && drawable) {
            if (FcPattern* pattern = FcFreeTypeQueryFace(face, reinterpret_cast<const FcChar8*>(file.constData()), 0,
                                                         nullptr)) {
                FcPatternDestroy(pattern);
                facts = {FileKind::Font, familyOf(face, file)};
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return facts;
}

} // namespace sys
