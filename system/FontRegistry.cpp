#include "system/FontRegistry.h"

#include "system/Fontconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <fontconfig/fontconfig.h>

namespace sys {

namespace {

// The English full name (first one when none is marked English), else family + style.
QString fullName(FcPattern* pattern)
{
    QString first;
    for (int n = 0;; ++n) {
        const QString name = fcString(pattern, FC_FULLNAME, n);
        if (name.isNull())
            break;
        if (first.isNull())
            first = name;
        const QString lang = fcString(pattern, FC_FULLNAMELANG, n);
        if (lang.startsWith(QLatin1String("en"), Qt::CaseInsensitive))
            return name;
    }
    if (!first.isNull())
        return first;
    const QString family = fcString(pattern, FC_FAMILY, 0);
    const QString style = fcString(pattern, FC_STYLE, 0);
    return style.isEmpty() || style.compare(QLatin1String("Regular"), Qt::CaseInsensitive) == 0
               ? family
               : family + QLatin1Char(' ') + style;
}

QString typeTag(const QString& format)
{
    if (format == QLatin1String("TrueType") || format == QLatin1String("CFF"))
        return QStringLiteral(" (TrueType)");
    return QStringLiteral(" (%1)").arg(format.isEmpty() ? QStringLiteral("Unknown") : format);
}

struct FileFaces {
    QString format;
    QMap<int, QString> names; // face index -> full name
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
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FULLNAME, FC_FULLNAMELANG, FC_FAMILY, FC_STYLE,
                                            FC_FONTFORMAT, nullptr);
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
    // Sorted by path so the view is the same from run to run.
    QMap<QString, FileFaces> files;
    if (fonts) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            const QString file = fcString(font, FC_FILE, 0);
            int index = 0;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            if (file.isEmpty() || (index >> 16) != 0) // named instances of a variable font
                continue;
            FileFaces& faces = files[file];
            faces.format = fcString(font, FC_FONTFORMAT, 0);
            if (!faces.names.contains(index))
                faces.names.insert(index, fullName(font));
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);

    QString folder = QDir::cleanPath(fontFolder ? fontFolder() : QString());
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    // A value name appears once; a file in the font folder wins over a namesake
    // elsewhere, since that is the copy the program manages.
    QHash<QString, std::size_t> byName;
    cached.reserve(files.size());
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QStringList names;
        for (const QString& name : it->names)
            if (!names.contains(name))
                names << name;
        const QString name = names.join(QLatin1String(" & ")) + typeTag(it->format);
        const QString path = QDir::cleanPath(it.key());
        const bool inFolder = folder.size() > 1 && path.startsWith(folder);
        const QString data = inFolder ? path.mid(folder.size()) : path;
        const QString key = name.toCaseFolded();
        const auto existing = byName.constFind(key);
        if (existing == byName.constEnd()) {
            byName.insert(key, cached.size());
            cached.push_back(RegValue::string(name, data));
        } else if (inFolder && QFileInfo(cached[*existing].data).isAbsolute()) {
            cached[*existing] = RegValue::string(name, data);
        }
    }
}

} // namespace sys
