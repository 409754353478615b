#pragma once

#include "catalogue/RegistryNames.h"
#include "system/FileSystem.h"
#include "system/FontEnumeration.h"
#include "system/FontResources.h"

#include <QStringList>
#include <optional>

// Installing, uninstalling, deleting, backing up and opening font files. The font
// folder and documents folder are given as the window holds them, ending in "/".
namespace manage {

// The file-name part of a path: everything after its last "/".
QString fileNamePart(const QString& path);

// Creates a folder and whichever of its parents are missing; true when it exists after.
bool ensureFolder(sys::FileSystem& files, const QString& folder);

// The path of a registry value's data or a file list entry: absolute data as it
// stands, otherwise behind the font folder.
QString fontFilePath(const QString& fontFolder, const QString& data);

// The path of a file the program may unload and delete: only a path that, with
// "..", links and absolute data resolved, lies inside the font folder. Anything
// else belongs to someone else and counts as missing.
std::optional<QString> pathInFontFolder(sys::FileSystem& files, const QString& fontFolder, const QString& data);

// What an install came to.
struct InstallResult {
    enum Outcome { Installed, NotAFont, NameTaken, CopyFailed };
    Outcome outcome = Installed;
    QString target; // the path in the font folder
    QString reason; // why the copy failed
    bool installed() const { return outcome == Installed; }
};

// Copies the chosen file into the font folder (never over an existing file), loads
// it and announces the change. A file that is not a font, a name already taken or a
// failed copy leaves the font folder as it was and loads nothing.
InstallResult installFont(sys::FileSystem& files, sys::FontResources& resources, const QString& fontFolder,
                          const QString& source);

// Unloads and deletes every registered file of a face in slot order, after the
// first existing one was found, and announces the change. False when none of the
// face's files exists in the font folder: then nothing is touched.
bool uninstallFace(sys::FileSystem& files, sys::FontResources& resources, const QString& fontFolder,
                   const catalogue::ProbeResult& probe);

// The other faces that an uninstall of the face takes with it: the faces of the files
// it would delete (a collection, a variable font), but the face itself.
QStringList facesLeavingWith(sys::FileSystem& files, sys::FontEnumeration& fonts, const QString& fontFolder,
                             const QString& face, const catalogue::ProbeResult& probe);

// Deletes one file of the font folder; false when it is not there.
bool deleteFontFile(sys::FileSystem& files, const QString& fontFolder, const QString& fileName);

// Copies files into the backup folder without replacing anything. Returns the
// files that could not be copied, each with the reason; an identical copy that is
// already there is no failure.
QStringList backupFiles(sys::FileSystem& files, const QString& fontFolder, const QString& backupFolder,
                        const QStringList& fileNames);

} // namespace manage
