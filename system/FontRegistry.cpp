#include "system/FontRegistry.h"

#include "system/Fontconfig.h"
#include "system/FilePaths.h"
#include "system/NamedInstances.h"

#include <QDir>
#include <QHash>
#include <QMap>
#include <cstdlib>
#include <fontconfig/fontconfig.h>

namespace sys {

namespace {

QString typeTag(const QString& format)
{
    if (format == QLatin1String("TrueType") || format == QLatin1String("CFF"))
        return QStringLiteral(" (TrueType)");
    return QStringLiteral(" (%1)").arg(format.isEmpty() ? QStringLiteral("Unknown") : format);
}

// One face of a file: its full name and what an alias is made of.
struct FileFace {
    QString fullName;
    QStringList families;
    int weight = 400; // OpenType scale
    bool slanted = false;
};

struct FileFaces {
    QString format;
    QMap<int, FileFace> faces; // face index -> face
};

bool isSfnt(const QString& format)
{
    return format == QLatin1String("TrueType") || format == QLatin1String("CFF");
}

// The name the face would have been registered under on Windows.
QString aliasName(const QString& family, const FileFace& face)
{
    const bool bold = face.weight >= 600;
    const char* style = bold ? (face.slanted ? " Bold Italic" : " Bold") : (face.slanted ? " Italic" : "");
    return family + QLatin1String(style) + QStringLiteral(" (TrueType)");
}

// Whether the first face should hold an alias rather than the second: weight nearest
// 400, then upright, then the file that sorts first.
struct AliasClaim {
    QString name;
    QString data;
    QString path;
    int weight = 400;
    bool slanted = false;
    bool before(const AliasClaim& other) const
    {
        const int distance = std::abs(weight - 400);
        const int otherDistance = std::abs(other.weight - 400);
        if (distance != otherDistance)
            return distance < otherDistance;
        if (slanted != other.slanted)
            return !slanted;
        return path < other.path;
    }
};

} // namespace

std::uint64_t FontconfigRegistry::generation()
{
    return session.generation();
}

const std::vector<RegValue>& FontconfigRegistry::values()
{
    if (builtFrom != session.generation())
        rebuild();
    return cached;
}

void FontconfigRegistry::rebuild()
{
    builtFrom = session.generation();
    cached.clear();
    FcConfig* config = session.config();
    if (!config)
        return;
    // The configuration's own font sets, read in place: listing them would copy
    // every pattern first.
    QMap<QString, FileFaces> files; // sorted by path, so the view is the same from run to run
    for (const FcSetName setName : {FcSetSystem, FcSetApplication}) {
        FcFontSet* fonts = FcConfigGetFonts(config, setName);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            const QString file = fcPath(font, FC_FILE);
            int index = 0;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            if (file.isEmpty() || (index >> 16) != 0) // named instances of a variable font
                continue;
            FileFaces& faces = files[file];
            faces.format = fcString(font, FC_FONTFORMAT, 0);
            if (faces.faces.contains(index))
                continue;
            FileFace face;
            face.fullName = fcFullName(font);
            face.families = fcEnglishFamilies(font);
            double weight = FC_WEIGHT_REGULAR;
            if (FcPatternGetDouble(font, FC_WEIGHT, 0, &weight) == FcResultMatch)
                face.weight = int(FcWeightToOpenTypeDouble(weight));
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(font, FC_SLANT, 0, &slant);
            face.slanted = slant != FC_SLANT_ROMAN;
            faces.faces.insert(index, face);
        }
    }

    QString folder = QDir::cleanPath(fontFolder ? fontFolder() : QString());
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const auto dataOf = [&](const QString& file) {
        const QString path = QDir::cleanPath(file);
        const bool inFolder = folder.size() > 1 && path.startsWith(folder);
        return inFolder ? path.mid(folder.size()) : path;
    };
    // A value name appears once. Further files of the same name (the font as .otf
    // and .woff2) are kept for the free names of their family, below; a file in the
    // font folder holds the name before a namesake elsewhere, since that is the copy
    // the program manages.
    QHash<QString, std::size_t> byName;
    struct Namesake {
        QString family;
        QString data;
    };
    std::vector<Namesake> namesakes;
    cached.reserve(files.size());
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QStringList names;
        for (const FileFace& face : it->faces)
            if (!names.contains(face.fullName))
                names << face.fullName;
        const QString name = names.join(QLatin1String(" & ")) + typeTag(it->format);
        QString data = dataOf(it.key());
        const QString key = name.toCaseFolded();
        const auto existing = byName.constFind(key);
        if (existing == byName.constEnd()) {
            byName.insert(key, cached.size());
            cached.push_back(RegValue::string(name, data));
            continue;
        }
        if (!QDir::isAbsolutePath(data) && QDir::isAbsolutePath(cached[*existing].data)) {
            const QString elsewhere = cached[*existing].data;
            cached[*existing] = RegValue::string(name, data);
            data = elsewhere;
        }
        const QString family = it->faces.isEmpty() ? QString() : it->faces.first().families.value(0);
        if (!family.isEmpty())
            namesakes.push_back({family, data});
    }

    // Each named instance of a variable font under its full name, all naming the file.
    const NamedInstances instances{FcConfigGetFonts(config, FcSetSystem), FcConfigGetFonts(config, FcSetApplication)};
    for (const QString& instance : instances.names()) {
        const QString name = instance + QStringLiteral(" (TrueType)");
        const QString key = name.toCaseFolded();
        if (byName.contains(key))
            continue;
        byName.insert(key, cached.size());
        cached.push_back(RegValue::string(name, dataOf(instances.find(instance)->file)));
    }

    // Faces whose family cannot reach their file through its eight probe names (a
    // full name such as "C059 Roman", a collection) get the name Windows would
    // have registered them under, unless a full name holds it already.
    QStringList foldedSuffixes;
    for (const char* suffix : probeSuffixes)
        foldedSuffixes << QString::fromLatin1(suffix).toCaseFolded();
    const auto reaches = [&](const QString& family, const QString& data) {
        const QString folded = family.toCaseFolded();
        for (const QString& suffix : foldedSuffixes) {
            const auto value = byName.constFind(folded + suffix);
            if (value != byName.constEnd() && cached[*value].data == data)
                return true;
        }
        return false;
    };
    QMap<QString, AliasClaim> claims; // case-folded alias name -> the face holding it
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        // X11 bitmap faces are found the same way; Windows raster faces never are.
        const bool bitmap = it->format == QLatin1String("PCF") || it->format == QLatin1String("BDF");
        if (!isSfnt(it->format) && !bitmap)
            continue;
        const QString data = dataOf(it.key());
        // One alias per family and file, so a collection's file is listed once.
        QMap<QString, AliasClaim> fileClaims;
        for (const FileFace& face : it->faces) {
            for (const QString& family : face.families) {
                if (family.isEmpty() || reaches(family, data))
                    continue;
                const AliasClaim claim{aliasName(family, face), data, it.key(), face.weight, face.slanted};
                const auto held = fileClaims.find(family);
                if (held == fileClaims.end())
                    fileClaims.insert(family, claim);
                else if (claim.before(*held))
                    *held = claim;
            }
        }
        for (const AliasClaim& claim : fileClaims) {
            const QString key = claim.name.toCaseFolded();
            if (byName.contains(key))
                continue;
            const auto held = claims.find(key);
            if (held == claims.end())
                claims.insert(key, claim);
            else if (claim.before(*held))
                *held = claim;
        }
    }
    for (auto it = claims.cbegin(); it != claims.cend(); ++it) {
        byName.insert(it.key(), cached.size());
        cached.push_back(RegValue::string(it->name, it->data));
    }

    // The further files of a face take its family's probe names still free, in slot
    // order, so the face finds all of them (up to its eight names).
    for (const Namesake& namesake : namesakes) {
        for (const char* suffix : probeSuffixes) {
            const QString name = namesake.family + QLatin1String(suffix);
            const QString key = name.toCaseFolded();
            if (byName.contains(key))
                continue;
            byName.insert(key, cached.size());
            cached.push_back(RegValue::string(name, namesake.data));
            break;
        }
    }
}

} // namespace sys
