#include "manage/FontFiles.h"

#include <QDir>

namespace manage {

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool ensureFolder(sys::FileSystem& files, const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (clean.isEmpty() || files.folderExists(clean))
        return !clean.isEmpty();
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && !ensureFolder(files, clean.left(slash)))
        return false;
    files.createFolder(clean);
    return files.folderExists(clean);
}

QString fontFilePath(const QString& fontFolder, const QString& data)
{
    return QDir::isAbsolutePath(data) ? data : fontFolder + data;
}

std::optional<QString> pathInFontFolder(sys::FileSystem& files, const QString& fontFolder, const QString& data)
{
    // No font folder holds nothing; resolved, an empty one would be the working folder.
    if (data.isEmpty() || fontFolder.isEmpty())
        return std::nullopt;
    const QString path = fontFilePath(fontFolder, data);
    const QString folder = files.resolvedPath(fontFolder);
    if (folder.isEmpty() || folder == QLatin1String("/") || !files.resolvedPath(path).startsWith(folder + '/'))
        return std::nullopt;
    return path;
}

namespace {

// A file of the font folder that exists.
std::optional<QString> existingFontFile(sys::FileSystem& files, const QString& fontFolder, const QString& data)
{
    const auto path = pathInFontFolder(files, fontFolder, data);
    return path && files.fileExists(*path) ? path : std::nullopt;
}

} // namespace

InstallResult installFont(sys::FileSystem& files, sys::FontResources& resources, const QString& fontFolder,
                          const QString& source)
{
    InstallResult result;
    result.target = fontFolder + fileNamePart(source);
    if (!resources.isFontFile(source)) {
        result.outcome = InstallResult::NotAFont;
        return result;
    }
    if (files.fileExists(result.target) || files.folderExists(result.target)) {
        result.outcome = InstallResult::NameTaken;
        return result;
    }
    ensureFolder(files, fontFolder);
    if (!files.copyFile(source, result.target, &result.reason)) {
        // Another program may have made the file in the meantime.
        result.outcome = files.fileExists(result.target) ? InstallResult::NameTaken : InstallResult::CopyFailed;
        return result;
    }
    resources.addFontResource(result.target);
    resources.broadcastFontChange();
    return result;
}

bool uninstallFace(sys::FileSystem& files, sys::FontResources& resources, const QString& fontFolder,
                   const catalogue::ProbeResult& probe)
{
    bool found = false;
    for (const QString& data : probe) {
        if (existingFontFile(files, fontFolder, data)) {
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    // Every slot in order, also those whose file is gone; a second slot naming the
    // same file finds nothing left to delete.
    for (const QString& data : probe) {
        if (const auto path = pathInFontFolder(files, fontFolder, data)) {
            resources.removeFontResource(*path);
            files.deleteFile(*path);
        }
    }
    resources.broadcastFontChange();
    return true;
}

QStringList facesLeavingWith(sys::FileSystem& files, sys::FontEnumeration& fonts, const QString& fontFolder,
                             const QString& face, const catalogue::ProbeResult& probe)
{
    QStringList others;
    for (const QString& data : probe) {
        const auto path = pathInFontFolder(files, fontFolder, data);
        if (!path)
            continue;
        for (const QString& family : fonts.familiesInFile(*path))
            if (family.compare(face, Qt::CaseInsensitive) != 0 && !others.contains(family, Qt::CaseInsensitive))
                others << family;
    }
    return others;
}

bool deleteFontFile(sys::FileSystem& files, const QString& fontFolder, const QString& fileName)
{
    const auto path = existingFontFile(files, fontFolder, fileName);
    if (!path)
        return false;
    files.deleteFile(*path);
    return true;
}

QStringList backupFiles(sys::FileSystem& files, const QString& fontFolder, const QString& backupFolder,
                        const QStringList& fileNames)
{
    QStringList failures;
    for (const QString& name : fileNames) {
        const QString source = fontFilePath(fontFolder, name);
        const QString target = backupFolder + QLatin1Char('/') + fileNamePart(name);
        if (files.copyFile(source, target))
            continue;
        if (!files.fileExists(source))
            failures << name + QStringLiteral(" (the file is not there)");
        else if (files.fileExists(target) && files.sameContents(source, target))
            continue; // backed up before
        else if (files.fileExists(target))
            failures << name + QStringLiteral(" (another file of that name is already in the backup folder)");
        else
            failures << name + QStringLiteral(" (it could not be copied there)");
    }
    return failures;
}

} // namespace manage
