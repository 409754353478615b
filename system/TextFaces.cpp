#include "system/TextFaces.h"

#include "system/FontLock.h"
#include <QChar>
#include <QHash>
#include <QList>
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <unordered_map>
#include <vector>

namespace sys {

namespace {

struct CharSetRelease {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
using CharSet = std::unique_ptr<FcCharSet, CharSetRelease>;

struct Face {
    QString family;
    CharSet characters;
};

// The faces decided for one family and style and one set of scripts: mostly one.
struct Fallbacks {
    std::vector<Face> faces;
};

// Qt asks no glyph for line and paragraph breaks nor for private-use characters.
bool needsGlyph(char32_t c)
{
    return c != '\n' && c != '\r' && c != QChar::LineSeparator && c != QChar::ParagraphSeparator
           && QChar::category(c) != QChar::Other_PrivateUse;
}

QList<char32_t> glyphCharacters(const QString& text)
{
    QList<char32_t> characters;
    for (char32_t c : text.toUcs4())
        if (needsGlyph(c) && !characters.contains(c))
            characters << c;
    return characters;
}

bool holds(const FcCharSet* set, const QList<char32_t>& characters)
{
    if (!set)
        return false;
    for (char32_t c : characters)
        if (!FcCharSetHasChar(set, c))
            return false;
    return true;
}

QString styleKey(const QString& family, bool bold, bool italic)
{
    return family + QLatin1Char('\n') + QLatin1Char(bold ? 'b' : '-') + QLatin1Char(italic ? 'i' : '-');
}

// The font fontconfig matches for the family and style, with the characters when
// given: its first family name (the one Qt lists it under) and its characters.
Face match(const QString& family, bool bold, bool italic, const QList<char32_t>& characters)
{
    Face face;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return face;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (!characters.isEmpty()) {
        // Coverage outranks the family in fontconfig's matching: the nearest face
        // among those that hold the most of the characters.
        if (FcCharSet* wanted = FcCharSetCreate()) {
            for (char32_t c : characters)
                FcCharSetAddChar(wanted, c);
            FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
            FcCharSetDestroy(wanted);
        }
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult outcome = FcResultNoMatch;
    if (FcPattern* found = FcFontMatch(nullptr, pattern, &outcome)) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(found, FC_FAMILY, 0, &name) == FcResultMatch)
            face.family = QString::fromUtf8(reinterpret_cast<const char*>(name));
        FcCharSet* set = nullptr;
        if (FcPatternGetCharSet(found, FC_CHARSET, 0, &set) == FcResultMatch)
            face.characters.reset(FcCharSetCopy(set));
        FcPatternDestroy(found);
    }
    FcPatternDestroy(pattern);
    return face;
}

// The characters of each family and style that fonts are asked for.
const FcCharSet* charactersOf(const QString& family, bool bold, bool italic)
{
    static std::unordered_map<QString, CharSet> known;
    const QString key = styleKey(family, bold, italic);
    auto found = known.find(key);
    if (found == known.end())
        found = known.emplace(key, std::move(match(family, bold, italic, {}).characters)).first;
    return found->second.get();
}

int& decidedCount()
{
    static int count = 0;
    return count;
}

struct Choice {
    QString family;
    bool holdsAll = false;
};

Choice choose(const QString& family, bool bold, bool italic, const QList<char32_t>& characters,
              const QList<char32_t>& missing)
{
    static std::unordered_map<QString, Fallbacks> decided;
    static QHash<QString, QString> partial; // texts no face holds whole, by text and style
    // Punctuation, digits and marks (the common and inherited scripts) go with the
    // script around them.
    QString scripts;
    for (char32_t c : missing) {
        const QChar::Script script = QChar::script(c);
        const QChar code(ushort(script > QChar::Script_Common ? script : QChar::Script_Common));
        if (!scripts.contains(code))
            scripts += code;
    }
    if (scripts.size() > 1)
        scripts.remove(QChar(ushort(QChar::Script_Common)));
    std::sort(scripts.begin(), scripts.end());
    const QString style = styleKey(family, bold, italic);
    Fallbacks& fallbacks = decided[style + QLatin1Char('\n') + scripts];
    for (const Face& face : fallbacks.faces)
        if (holds(face.characters.get(), characters))
            return {face.family, true};
    QString text;
    for (char32_t c : characters)
        text += QString::fromUcs4(&c, 1);
    const QString partialKey = style + QLatin1Char('\n') + text;
    if (const auto known = partial.constFind(partialKey); known != partial.constEnd())
        return {*known, false};
    Face face = match(family, bold, italic, characters);
    if (face.family.isEmpty())
        return {family, false};
    if (!holds(face.characters.get(), characters)) {
        partial.insert(partialKey, face.family);
        return {face.family, false};
    }
    const QString chosen = face.family;
    fallbacks.faces.push_back(std::move(face));
    ++decidedCount();
    return {chosen, true};
}

} // namespace

QFont fontForText(const QFont& font, const QString& text)
{
    const auto lock = lockFontCaches();
    const QString family = font.families().value(0, font.family());
    const bool bold = font.weight() >= QFont::DemiBold;
    const bool italic = font.style() != QFont::StyleNormal;
    const QList<char32_t> characters = glyphCharacters(text);
    const FcCharSet* own = charactersOf(family, bold, italic);
    QList<char32_t> missing;
    for (char32_t c : characters)
        if (!own || !FcCharSetHasChar(own, c))
            missing << c;
    if (missing.isEmpty())
        return font;
    const Choice choice = choose(family, bold, italic, characters, missing);
    QFont result = font;
    result.setFamilies({choice.family});
    if (!choice.holdsAll)
        result.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    return result;
}

QString matchedFamily(const QString& family, const QList<char32_t>& characters)
{
    const auto lock = lockFontCaches();
    return match(family, false, false, characters).family;
}

QString fallbackFace(const QString& family, bool bold, bool italic, const QString& characters)
{
    const auto lock = lockFontCaches();
    QFont font(family);
    font.setFamilies({family});
    font.setBold(bold);
    font.setItalic(italic);
    const QFont chosen = fontForText(font, characters);
    return chosen.styleStrategy() & QFont::NoFontMerging ? QString() : chosen.families().value(0);
}

int fallbackFaceCount()
{
    const auto lock = lockFontCaches();
    return decidedCount();
}

} // namespace sys
