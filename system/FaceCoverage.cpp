#include "system/FaceCoverage.h"

#include "system/FontLock.h"
#include "system/FontFactory.h"
#include "system/Fontconfig.h"
#include "system/NamedInstances.h"

#include <QChar>
#include <QHash>
#include <algorithm>
#include <cstdlib>
#include <fontconfig/fontconfig.h>

namespace sys {

bool needsNoGlyph(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::Nbsp;
}

bool FaceCoverage::has(char32_t c) const
{
    return std::binary_search(characters.begin(), characters.end(), c);
}

bool FaceCoverage::hasAll(const QString& text) const
{
    for (const char32_t c : text.toUcs4())
        if (!needsNoGlyph(c) && !has(c))
            return false;
    return true;
}

namespace {

// How far a font is from the regular style Qt picks for a bare family name.
int distanceFromRegular(FcPattern* font)
{
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    int width = FC_WIDTH_NORMAL;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    FcPatternGetInteger(font, FC_WIDTH, 0, &width);
    return (slant != FC_SLANT_ROMAN ? 10000 : 0) + 10 * std::abs(width - FC_WIDTH_NORMAL) +
           std::abs(weight - FC_WEIGHT_REGULAR);
}

QList<char32_t> charactersOf(const FcCharSet* set)
{
    QList<char32_t> characters;
    if (!set)
        return characters;
    characters.reserve(FcCharSetCount(set));
    FcChar32 map[FC_CHARSET_MAP_SIZE];
    FcChar32 next = 0;
    for (FcChar32 base = FcCharSetFirstPage(set, map, &next); base != FC_CHARSET_DONE;
         base = FcCharSetNextPage(set, map, &next)) {
        for (int word = 0; word < FC_CHARSET_MAP_SIZE; ++word)
            for (FcChar32 bits = map[word]; bits; bits &= bits - 1)
                characters << base + 32 * word + FcChar32(__builtin_ctz(bits));
    }
    return characters;
}

// The font of each family in Qt's configuration that Qt draws the bare family with,
// rebuilt when the configuration's fonts change. The patterns belong to the font sets.
class FamilyIndex {
public:
    FcPattern* fontOf(const QString& family)
    {
        const FontSetsStamp now = currentFontSetsStamp();
        if (now != builtFrom) {
            build();
            coverages.clear();
            builtFrom = now;
        }
        return byFamily.value(family.toCaseFolded(), nullptr);
    }

    QHash<QString, FaceCoverage> coverages; // by face, as asked

private:
    void build()
    {
        byFamily.clear();
        QHash<QString, int> distance;
        for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
            const FcFontSet* fonts = FcConfigGetFonts(nullptr, set);
            for (int i = 0; fonts && i < fonts->nfont; ++i) {
                FcPattern* font = fonts->fonts[i];
                const int away = distanceFromRegular(font);
                for (int n = 0;; ++n) {
                    const QString family = fcString(font, FC_FAMILY, n);
                    if (family.isNull())
                        break;
                    const QString key = family.toCaseFolded();
                    const auto known = distance.constFind(key);
                    if (known == distance.constEnd() || away < *known) {
                        distance.insert(key, away);
                        byFamily.insert(key, font);
                    }
                }
            }
        }
    }

    QHash<QString, FcPattern*> byFamily;
    FontSetsStamp builtFrom;
};

FamilyIndex& familyIndex()
{
    static FamilyIndex index;
    return index;
}

// Faces asked for are kept; a long walk through thousands of faces starts afresh.
constexpr int keptCoverages = 4096;

} // namespace

namespace {

// The family whose font says what a face covers: a named instance covers what its
// variable font does.
QString coveredFamily(const QString& face)
{
    const NamedInstance* instance = drawnInstances().find(face);
    return instance ? instance->family : qtFamily(face);
}

} // namespace

FaceCoverage faceCoverage(const QString& face)
{
    const auto lock = lockFontCaches();
    FamilyIndex& index = familyIndex();
    FcPattern* font = index.fontOf(coveredFamily(face));
    const auto kept = index.coverages.constFind(face);
    if (kept != index.coverages.constEnd())
        return *kept;
    FaceCoverage coverage;
    if (font) {
        FcCharSet* set = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) == FcResultMatch)
            coverage.characters = charactersOf(set);
        // fontconfig reads no characters from Windows raster (.fon) fonts: what such a
        // face covers is not known, rather than nothing.
        coverage.known = !coverage.characters.isEmpty();
        FcBool colour = FcFalse;
        if (FcPatternGetBool(font, FC_COLOR, 0, &colour) == FcResultMatch)
            coverage.colour = colour;
    }
    if (index.coverages.size() >= keptCoverages)
        index.coverages.clear();
    index.coverages.insert(face, coverage);
    return coverage;
}

bool isColourFace(const QString& face)
{
    const auto lock = lockFontCaches();
    FcPattern* font = familyIndex().fontOf(coveredFamily(face));
    FcBool colour = FcFalse;
    return font && FcPatternGetBool(font, FC_COLOR, 0, &colour) == FcResultMatch && colour;
}

} // namespace sys
