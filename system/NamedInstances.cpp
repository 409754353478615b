#include "system/NamedInstances.h"

#include "system/FontLock.h"
#include "system/Fontconfig.h"

#include <QSet>
#include <algorithm>
#include <tuple>
#include <fontconfig/fontconfig.h>

namespace sys {

namespace {

// A pattern's file as fontconfig stores it, without copying.
QByteArray rawFile(FcPattern* pattern)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch || !file)
        return QByteArray();
    return QByteArray::fromRawData(reinterpret_cast<const char*>(file), qsizetype(qstrlen(reinterpret_cast<const char*>(file))));
}

bool isVariable(FcPattern* pattern)
{
    FcBool variable = FcFalse;
    return FcPatternGetBool(pattern, FC_VARIABLE, 0, &variable) == FcResultMatch && variable;
}

} // namespace

NamedInstances::NamedInstances(std::initializer_list<const FcFontSet*> sets)
{
    // Most trees hold no variable font: the first walk reads one value per font.
    QSet<QByteArray> variableFiles;
    for (const FcFontSet* fonts : sets)
        for (int i = 0; fonts && i < fonts->nfont; ++i)
            if (isVariable(fonts->fonts[i]))
                variableFiles.insert(QByteArray(rawFile(fonts->fonts[i])));
    if (variableFiles.isEmpty())
        return;
    // In the order of the files and of the instances in each, whatever order the
    // font sets hold them in; a name given twice is its first instance's.
    struct Candidate {
        FcPattern* font;
        QByteArray file;
        int index;
    };
    std::vector<Candidate> candidates;
    for (const FcFontSet* fonts : sets) {
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            if (isVariable(font) || !variableFiles.contains(rawFile(font)))
                continue;
            int index = 0;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            candidates.push_back({font, rawFile(font), index});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.file, a.index) < std::tie(b.file, b.index);
    });
    std::vector<std::pair<QString, NamedInstance>> found;
    QSet<QString> names;
    for (const Candidate& candidate : candidates) {
        FcPattern* font = candidate.font;
        const QString name = fcFullName(font);
        if (name.isEmpty() || names.contains(name.toCaseFolded()))
            continue; // a repeated name
        NamedInstance instance;
        instance.file = fcPath(font, FC_FILE);
        instance.family = fcEnglishFamilies(font).value(0);
        double weight = FC_WEIGHT_REGULAR;
        if (FcPatternGetDouble(font, FC_WEIGHT, 0, &weight) == FcResultMatch)
            instance.weight = int(FcWeightToOpenTypeDouble(weight) + 0.5);
        double width = FC_WIDTH_NORMAL;
        if (FcPatternGetDouble(font, FC_WIDTH, 0, &width) == FcResultMatch)
            instance.width = int(width + 0.5);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        instance.italic = slant != FC_SLANT_ROMAN;
        names.insert(name.toCaseFolded());
        found.emplace_back(name, instance);
    }
    // A full name that is some font's family is that family's entry. Compared as
    // fontconfig compares names, ignoring ASCII case, without a string per font.
    QSet<QByteArray> familyNames;
    for (const auto& [name, instance] : found)
        familyNames.insert(name.toUtf8().toLower());
    QByteArray lowered;
    for (const FcFontSet* fonts : sets) {
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch; ++n) {
                lowered = reinterpret_cast<const char*>(family);
                lowered = std::move(lowered).toLower();
                familyNames.remove(lowered);
            }
        }
    }
    for (const auto& [name, instance] : found) {
        if (!familyNames.contains(name.toUtf8().toLower()))
            continue;
        byName.insert(name.toCaseFolded(), instance);
        ordered << name;
    }
}

const NamedInstance* NamedInstances::find(const QString& face) const
{
    const auto found = byName.constFind(face.toCaseFolded());
    return found == byName.constEnd() ? nullptr : &*found;
}

QStringList NamedInstances::namesInFile(const QString& file) const
{
    QStringList names;
    for (const QString& name : ordered)
        if (byName.value(name.toCaseFolded()).file == file)
            names << name;
    return names;
}

QString NamedInstances::nameOf(const QString& family, int weight, int width, bool italic) const
{
    for (const QString& name : ordered) {
        const NamedInstance& instance = byName[name.toCaseFolded()];
        if (instance.weight == weight && instance.width == width && instance.italic == italic &&
            instance.family.compare(family, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

const NamedInstances& drawnInstances()
{
    const auto lock = lockFontCaches();
    static NamedInstances instances;
    static FontSetsStamp builtFrom;
    FontSetsStamp now = currentFontSetsStamp();
    if (now != builtFrom) {
        instances = NamedInstances{static_cast<const FcFontSet*>(now[1].first),
                                   static_cast<const FcFontSet*>(now[2].first)};
        builtFrom = std::move(now);
    }
    return instances;
}

} // namespace sys
