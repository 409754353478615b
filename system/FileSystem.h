#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace sys {

// One entry of a folder listing.
struct FolderEntry {
    QString name;
    bool isFolder = false;
    bool isHidden = false; // hidden or system: on Linux, a name starting with "."
};

// File operations. Paths are full paths; results can be tested, and the callers
// decide whether to look at them.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Size in bytes (full 64 bits) of the entry at the path, or -1 when none.
    virtual std::int64_t fileSize(const QString& path) = 0;
    // True when the path names an existing entry that is not a folder.
    virtual bool fileExists(const QString& path) = 0;
    virtual bool folderExists(const QString& path) = 0;
    // Creates one folder whose parent exists.
    virtual bool createFolder(const QString& path) = 0;
    // Copies a file; never replaces an existing target and leaves no partial
    // target behind on failure, then tells why in `reason` when one is given.
    virtual bool copyFile(const QString& source, const QString& target, QString* reason = nullptr) = 0;
    virtual bool deleteFile(const QString& path) = 0;
    // The entries of a folder (no "." and ".."), or nothing when it cannot be read.
    virtual std::vector<FolderEntry> listFolder(const QString& path) = 0;
    // The path with "..", "." and every symbolic link resolved, as far as it exists.
    virtual QString resolvedPath(const QString& path) = 0;
    // True when both paths name the same existing file with the same bytes.
    virtual bool sameContents(const QString& first, const QString& second) = 0;
};

class PosixFileSystem : public FileSystem {
public:
    std::int64_t fileSize(const QString& path) override;
    bool fileExists(const QString& path) override;
    bool folderExists(const QString& path) override;
    bool createFolder(const QString& path) override;
    bool copyFile(const QString& source, const QString& target, QString* reason = nullptr) override;
    bool deleteFile(const QString& path) override;
    std::vector<FolderEntry> listFolder(const QString& path) override;
    QString resolvedPath(const QString& path) override;
    bool sameContents(const QString& first, const QString& second) override;

protected:
    // Hard-links a file to a new name: 0, or the errno of the failure. A file system
    // without hard links (FAT, some network shares) fails it with EPERM or ENOTSUP.
    virtual int hardLink(const QByteArray& existing, const QByteArray& name);
};

} // namespace sys
