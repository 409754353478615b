#include "catalogue/FileBrowser.h"

#include "catalogue/InstalledFaces.h"
#include "system/FilePaths.h"

#include <QLocale>
#include <QRegularExpression>

namespace catalogue {

namespace {

QRegularExpression wildcard(const QString& pattern)
{
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                              QRegularExpression::CaseInsensitiveOption);
}

} // namespace

bool matchesPattern(const QString& name, const QString& pattern)
{
    return wildcard(pattern).match(name).hasMatch();
}

QStringList listFolder(sys::FileSystem& files, const QString& folder, const QString& mask)
{
    const std::vector<sys::FolderEntry> entries = files.listFolder(folder);
    QStringList names;
    for (const QString& pattern : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QRegularExpression matcher = wildcard(pattern);
        for (const sys::FolderEntry& entry : entries) {
            // A name that is not UTF-8 is matched as it is shown; regular expressions
            // refuse the bytes it keeps.
            if (!entry.isFolder && !entry.isHidden && matcher.match(sys::displayPath(entry.name)).hasMatch())
                names << entry.name;
        }
    }
    sortFaceNames(names);
    return names;
}

QString FileSizeText(sys::FileSystem& files, const QString& path)
{
    return QString::number(files.fileSize(path));
}

QString kilobytesText(std::int64_t bytes)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(double(bytes) / 1000.0, 'g', 15) + QStringLiteral(" KB");
}

QString fileSizeField(sys::FileSystem& files, const QString& path)
{
    return kilobytesText(FileSizeText(files, path).toLongLong());
}

} // namespace catalogue
