#include "system/Fontconfig.h"

#include "system/FilePaths.h"

#include <fontconfig/fontconfig.h>

namespace sys {

FontconfigSession::FontconfigSession() = default;

FontconfigSession::~FontconfigSession()
{
    if (current)
        FcConfigDestroy(current);
}

FcConfig* FontconfigSession::config()
{
    if (!current) {
        current = FcInitLoadConfigAndFonts();
        if (current) {
            for (const QString& path : applicationFonts)
                FcConfigAppFontAddFile(current, reinterpret_cast<const FcChar8*>(pathBytes(path).constData()));
        }
    }
    return current;
}

void FontconfigSession::reload()
{
    if (current) {
        FcConfigDestroy(current);
        current = nullptr;
    }
    ++generationCounter;
}

bool FontconfigSession::addApplicationFont(const QString& path)
{
    if (!applicationFonts.contains(path))
        applicationFonts << path;
    FcConfig* configuration = config();
    if (!configuration)
        return false;
    const bool added =
        FcConfigAppFontAddFile(configuration, reinterpret_cast<const FcChar8*>(pathBytes(path).constData()));
    ++generationCounter;
    return added;
}

void FontconfigSession::removeApplicationFont(const QString& path)
{
    // fontconfig cannot drop one application font: clear them all and add back the
    // others, which is far cheaper than reloading every installed font.
    if (applicationFonts.removeAll(path) == 0)
        return;
    if (current) {
        FcConfigAppFontClear(current);
        for (const QString& other : applicationFonts)
            FcConfigAppFontAddFile(current, reinterpret_cast<const FcChar8*>(pathBytes(other).constData()));
    }
    ++generationCounter;
}

FontSetsStamp currentFontSetsStamp()
{
    FontSetsStamp stamp{{FcConfigGetCurrent(), 0}};
    for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* fonts = FcConfigGetFonts(nullptr, set);
        stamp.emplace_back(fonts, fonts ? fonts->nfont : 0);
    }
    return stamp;
}

QString fcString(FcPattern* pattern, const char* object, int n)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

} // namespace sys

namespace sys {

// The English full name (first one when none is marked English), else family + style.
QString fcFullName(FcPattern* pattern)
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

QStringList fcEnglishFamilies(FcPattern* pattern)
{
    QStringList all;
    QStringList english;
    for (int n = 0;; ++n) {
        const QString family = fcString(pattern, FC_FAMILY, n);
        if (family.isNull())
            break;
        all << family;
        const QString lang = fcString(pattern, FC_FAMILYLANG, n);
        if (lang.isEmpty() || lang.startsWith(QLatin1String("en"), Qt::CaseInsensitive))
            english << family;
    }
    return english.isEmpty() ? all : english;
}

QString fcPath(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return QString();
    return pathFromBytes(QByteArray(reinterpret_cast<const char*>(value)));
}

} // namespace sys
