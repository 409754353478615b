#include "system/FontEnumeration.h"

#include "system/FilePaths.h"
#include "system/Fontconfig.h"
#include "system/NamedInstances.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <array>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H

namespace sys {

namespace {

// OS/2 code-page-range bit -> charset number, in bit order.
struct CodePageBit {
    int bit;
    int charset;
};
constexpr std::array<CodePageBit, 17> codePageBits{{
    {0, 0},    {1, 238},  {2, 204},  {3, 161},  {4, 162},  {5, 177},  {6, 178},  {7, 186}, {8, 163},
    {16, 222}, {17, 128}, {18, 134}, {19, 129}, {20, 136}, {21, 130}, {29, 77},  {31, 2},
}};
constexpr int ansiCharset = 0;

// The languages that stand for each charset a face's coverage can claim: the face
// must write all of them, as fontconfig judges from its characters.
struct CharsetLanguages {
    int charset;
    std::array<const char*, 3> languages;
};
constexpr std::array<CharsetLanguages, 13> charsetLanguages{{
    {238, {"cs", "hu", "pl"}}, // Central European
    {204, {"ru", "uk", nullptr}},
    {161, {"el", nullptr, nullptr}},
    {162, {"tr", nullptr, nullptr}},
    {177, {"he", nullptr, nullptr}},
    {178, {"ar", nullptr, nullptr}},
    {186, {"lt", "lv", nullptr}}, // Baltic
    {163, {"vi", nullptr, nullptr}},
    {222, {"th", nullptr, nullptr}},
    {128, {"ja", nullptr, nullptr}},
    {134, {"zh-cn", nullptr, nullptr}},
    {129, {"ko", nullptr, nullptr}},
    {136, {"zh-tw", nullptr, nullptr}},
}};

// Charsets from what the font covers, when its file names none (X11 bitmap fonts,
// fonts without code pages).
std::vector<int> coverageCharsets(FcPattern* pattern)
{
    FcCharSet* coverage = nullptr;
    if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &coverage) != FcResultMatch || !coverage)
        return {};
    std::vector<int> charsets;
    // Latin-1: printable ASCII and the upper half, allowing a few gaps.
    int covered = 0;
    int total = 0;
    for (FcChar32 c = 0x20; c <= 0xFF; ++c) {
        if (c >= 0x7F && c < 0xA0)
            continue;
        ++total;
        covered += FcCharSetHasChar(coverage, c) ? 1 : 0;
    }
    if (covered * 10 >= total * 9)
        charsets.push_back(ansiCharset);
    FcLangSet* languages = nullptr;
    if (FcPatternGetLangSet(pattern, FC_LANG, 0, &languages) != FcResultMatch || !languages)
        return charsets;
    for (const CharsetLanguages& entry : charsetLanguages) {
        const bool writesAll = std::all_of(entry.languages.begin(), entry.languages.end(), [&](const char* language) {
            return !language || FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual;
        });
        if (writesAll)
            charsets.push_back(entry.charset);
    }
    return charsets;
}

// A Windows FNT font whose header names a text charset, not SYMBOL_CHARSET.
bool fntTextFont(const QString& path)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    bool text = false;
    FT_Face face = nullptr;
    if (FT_New_Face(library, pathBytes(path).constData(), 0, &face) == 0) {
        FT_WinFNT_HeaderRec fnt;
        text = FT_Get_WinFNT_Header(face, &fnt) == 0 && fnt.charset != 2;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return text;
}

} // namespace

std::vector<int> fileCharsets(const QString& path, int faceIndex)
{
    std::vector<int> charsets;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return charsets;
    FT_Face face = nullptr;
    if (FT_New_Face(library, pathBytes(path).constData(), faceIndex, &face) == 0) {
        FT_WinFNT_HeaderRec fnt;
        if (FT_Get_WinFNT_Header(face, &fnt) == 0) {
            charsets.push_back(fnt.charset);
        } else if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
                   os2 && os2->version != 0xFFFF && os2->version >= 1) {
            for (const CodePageBit& entry : codePageBits) {
                if (os2->ulCodePageRange1 & (1ul << entry.bit))
                    charsets.push_back(entry.charset);
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return charsets;
}

std::vector<FontReport> FontconfigEnumeration::enumerateFaces()
{
    std::vector<FontReport> reports;
    FcConfig* config = session.config();
    if (!config)
        return reports;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
    if (fonts) {
        // One report per distinct family name, in fontconfig's order.
        QSet<QString> seen;
        seen.reserve(fonts->nfont * 2);
        reports.reserve(fonts->nfont);
        for (int i = 0; i < fonts->nfont; ++i) {
            for (const QString& family : fcEnglishFamilies(fonts->fonts[i])) {
                if (!seen.contains(family)) {
                    seen.insert(family);
                    reports.push_back({family, 1});
                }
            }
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    // Each named instance of a variable font is a face of its own.
    for (const QString& name : instances().names())
        reports.push_back({name, 1});
    return reports;
}

const NamedInstances& FontconfigEnumeration::instances()
{
    if (instancesGeneration != session.generation()) {
        FcConfig* config = session.config();
        listedInstances = config ? NamedInstances{FcConfigGetFonts(config, FcSetSystem),
                                                  FcConfigGetFonts(config, FcSetApplication)}
                                 : NamedInstances{};
        instancesGeneration = session.generation();
    }
    return listedInstances;
}

std::vector<FontReport> FontconfigEnumeration::enumerateFace(const QString& face)
{
    if (cachedGeneration != session.generation()) {
        faceReports.clear();
        cachedGeneration = session.generation();
    }
    if (const auto known = faceReports.constFind(face); known != faceReports.constEnd())
        return *known;
    std::vector<FontReport> reports;
    FcConfig* config = session.config();
    if (!config || face.isEmpty())
        return reports;
    if (const NamedInstance* instance = instances().find(face)) {
        // An instance writes what its font writes.
        for (FontReport report : enumerateFace(instance->family)) {
            report.face = face;
            reports.push_back(report);
        }
        faceReports.insert(face, reports);
        return reports;
    }
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, FC_INDEX, FC_CHARSET, FC_LANG, nullptr);
    if (pattern)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.toUtf8().constData()));
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
    if (fonts) {
        // fontconfig also ignores blanks when it matches families; keep only the
        // files whose family equals the face ignoring letter case.
        std::vector<int> charsets;
        for (int i = 0; i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            const QStringList families = fcEnglishFamilies(font);
            const bool named = std::any_of(families.begin(), families.end(), [&](const QString& family) {
                return family.compare(face, Qt::CaseInsensitive) == 0;
            });
            if (!named)
                continue;
            int index = 0;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            std::vector<int> found = fileCharsets(fcPath(font, FC_FILE), index & 0xFFFF);
            if (found.empty())
                found = coverageCharsets(font);
            for (int charset : found) {
                if (std::find(charsets.begin(), charsets.end(), charset) == charsets.end())
                    charsets.push_back(charset);
            }
        }
        FcFontSetDestroy(fonts);
        // Reports in the order of the code-page bits, as one family reports them.
        std::vector<int> ordered;
        for (const CodePageBit& entry : codePageBits) {
            if (std::find(charsets.begin(), charsets.end(), entry.charset) != charsets.end())
                ordered.push_back(entry.charset);
        }
        for (int charset : charsets) {
            if (std::find(ordered.begin(), ordered.end(), charset) == ordered.end())
                ordered.push_back(charset);
        }
        for (int charset : ordered)
            reports.push_back({face, charset});
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    faceReports.insert(face, reports);
    return reports;
}

QStringList FontconfigEnumeration::familiesInFile(const QString& path)
{
    QStringList families;
    FcConfig* config = session.config();
    if (!config)
        return families;
    // fontconfig knows a file by the path it scanned: the font folder's and a name.
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
    if (pattern)
        FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(pathBytes(QDir::cleanPath(path)).constData()));
    if (FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr) {
        for (int i = 0; i < fonts->nfont; ++i) {
            const QString family = fcEnglishFamilies(fonts->fonts[i]).value(0);
            if (!family.isEmpty() && !families.contains(family))
                families << family;
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    for (const QString& name : instances().namesInFile(QDir::cleanPath(path)))
        if (!families.contains(name, Qt::CaseInsensitive))
            families << name;
    return families;
}

void FontconfigEnumeration::listFaceTraits(const std::function<void(const FaceTraits&)>& each)
{
    FcConfig* config = session.config();
    if (!config)
        return;
    // Each face's traits gathered over its fonts, in the order fontconfig lists them.
    struct Gathered {
        FaceTraits traits;
        FcLangSet* languages = nullptr;
    };
    std::vector<Gathered> gathered;
    QHash<QString, std::size_t> byFace;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, FC_INDEX, FC_LANG, FC_SPACING,
                                            FC_SCALABLE, FC_COLOR, FC_VARIABLE, nullptr);
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
        FcBool scalable = FcTrue;
        FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
        FcBool colour = FcFalse;
        FcPatternGetBool(font, FC_COLOR, 0, &colour);
        FcBool variable = FcFalse;
        FcPatternGetBool(font, FC_VARIABLE, 0, &variable);
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FcLangSet* languages = nullptr;
        FcPatternGetLangSet(font, FC_LANG, 0, &languages);
        const QString file = fcPath(font, FC_FILE);
        for (const QString& family : fcEnglishFamilies(font)) {
            auto at = byFace.constFind(family);
            if (at == byFace.constEnd()) {
                at = byFace.insert(family, gathered.size());
                gathered.push_back({});
                gathered.back().traits.face = family;
            }
            Gathered& face = gathered[*at];
            face.traits.monospaced |= spacing == FC_MONO || spacing == FC_DUAL || spacing == FC_CHARCELL;
            face.traits.bitmap |= !scalable;
            face.traits.colour |= bool(colour);
            face.traits.variable |= bool(variable) || (index >> 16) != 0;
            if (!file.isEmpty() && !face.traits.files.contains(file))
                face.traits.files << file;
            if (languages) {
                if (!face.languages) {
                    face.languages = FcLangSetCopy(languages);
                } else if (FcLangSet* joined = FcLangSetUnion(face.languages, languages)) {
                    FcLangSetDestroy(face.languages);
                    face.languages = joined;
                }
            }
        }
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);

    // The codes as shared strings: thousands of faces name the same few hundred.
    QHash<QByteArray, QString> codes;
    for (Gathered& face : gathered) {
        if (face.languages) {
            if (FcStrSet* set = FcLangSetGetLangs(face.languages)) {
                if (FcStrList* list = FcStrListCreate(set)) {
                    while (FcChar8* code = FcStrListNext(list)) {
                        const QByteArray key(reinterpret_cast<const char*>(code));
                        auto known = codes.find(key);
                        if (known == codes.end())
                            known = codes.insert(key, QString::fromLatin1(key));
                        face.traits.languages << *known;
                    }
                    FcStrListDone(list);
                }
                FcStrSetDestroy(set);
            }
            FcLangSetDestroy(face.languages);
            face.languages = nullptr;
        }
        // fontconfig gives a Windows raster font no languages; its header still says
        // whether it holds text or symbols.
        const bool writes = std::any_of(face.traits.languages.begin(), face.traits.languages.end(),
                                        [](const QString& code) { return !code.startsWith(QLatin1String("und")); });
        face.traits.symbol = !writes && std::none_of(face.traits.files.begin(), face.traits.files.end(),
                                                     [](const QString& file) { return fntTextFont(file); });
        each(face.traits);
    }
    // A named instance writes what its family writes, from its own file.
    for (const QString& name : instances().names()) {
        const NamedInstance* instance = instances().find(name);
        if (!instance)
            continue;
        FaceTraits traits;
        if (const auto family = byFace.constFind(instance->family); family != byFace.constEnd())
            traits = gathered[*family].traits;
        traits.face = name;
        traits.variable = true;
        traits.files = QStringList{instance->file};
        each(traits);
    }
}

} // namespace sys
