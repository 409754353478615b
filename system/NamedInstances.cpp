#include "system/NamedInstances.h"

#include "system/Fontconfig.h"

#include <QSet>
#include <fontconfig/fontconfig.h>

namespace sys {

NamedInstances::NamedInstances(std::initializer_list<const FcFontSet*> sets)
{
    QSet<QString> variableFiles;
    QSet<QString> families;
    for (const FcFontSet* fonts : sets) {
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            for (const QString& family : fcEnglishFamilies(font))
                families.insert(family.toCaseFolded());
            FcBool variable = FcFalse;
            if (FcPatternGetBool(font, FC_VARIABLE, 0, &variable) == FcResultMatch && variable)
                variableFiles.insert(fcPath(font, FC_FILE));
        }
    }
    if (variableFiles.isEmpty())
        return;
    for (const FcFontSet* fonts : sets) {
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            FcBool variable = FcFalse;
            FcPatternGetBool(font, FC_VARIABLE, 0, &variable);
            NamedInstance instance;
            instance.file = fcPath(font, FC_FILE);
            if (variable || !variableFiles.contains(instance.file))
                continue;
            const QString name = fcFullName(font);
            const QString key = name.toCaseFolded();
            if (name.isEmpty() || families.contains(key) || byName.contains(key))
                continue;
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
            byName.insert(key, instance);
            ordered << name;
        }
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
