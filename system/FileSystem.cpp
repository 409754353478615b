#include "system/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

// Copies every byte from one open file to another.
bool copyContents(int from, int to)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!writeAll(to, buffer, std::size_t(got)))
            return false;
    }
}

// Creates the target only if it does not exist and fills it; a target that could
// not be filled is removed again.
bool copyExclusive(const QByteArray& source, const QByteArray& target)
{
    const int from = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return false;
    const int to = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (to < 0) {
        ::close(from);
        return false;
    }
    bool copied = copyContents(from, to);
    copied = ::close(to) == 0 && copied;
    ::close(from);
    if (!copied)
        ::unlink(target.constData());
    return copied;
}

} // namespace

std::int64_t PosixFileSystem::fileSize(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(native(path).constData(), &info) != 0)
        return -1;
    return S_ISDIR(info.st_mode) ? 0 : std::int64_t(info.st_size);
}

bool PosixFileSystem::fileExists(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(native(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixFileSystem::folderExists(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(native(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixFileSystem::createFolder(const QString& path)
{
    return !path.isEmpty() && ::mkdir(native(path).constData(), 0755) == 0;
}

bool PosixFileSystem::copyFile(const QString& source, const QString& target)
{
    const int from = ::open(native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return false;
    struct stat info {};
    if (::fstat(from, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(from);
        return false;
    }
    // Write a hidden temporary beside the target, then link it into place: the link
    // fails when the target exists, so nothing is ever replaced or left half-written.
    const QFileInfo targetInfo(target);
    QByteArray temporary = native(targetInfo.absolutePath() + QStringLiteral("/.glyphwell-copy-XXXXXX"));
    const int to = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (to < 0) {
        ::close(from);
        return false;
    }
    bool copied = copyContents(from, to);
    copied = ::fchmod(to, 0644) == 0 && copied;
    copied = ::close(to) == 0 && copied;
    ::close(from);
    if (copied) {
        const bool linked = ::link(temporary.constData(), native(target).constData()) == 0;
        if (!linked && errno != EEXIST)
            copied = copyExclusive(temporary, native(target)); // a file system without hard links
        else
            copied = linked;
    }
    ::unlink(temporary.constData());
    return copied;
}

bool PosixFileSystem::deleteFile(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::lstat(native(path).constData(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    return ::unlink(native(path).constData()) == 0;
}

std::vector<FolderEntry> PosixFileSystem::listFolder(const QString& path)
{
    std::vector<FolderEntry> entries;
    DIR* folder = path.isEmpty() ? nullptr : ::opendir(native(path).constData());
    if (!folder)
        return entries;
    const QByteArray prefix = native(path) + '/';
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            isFolder = ::stat((prefix + name).constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({QFile::decodeName(name), isFolder, name.startsWith('.')});
    }
    ::closedir(folder);
    return entries;
}

QString PosixFileSystem::resolvedPath(const QString& path)
{
    // Resolve the longest part that exists, then append the rest cleaned.
    QString existing = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    QString rest;
    while (!existing.isEmpty()) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty())
            return QDir::cleanPath(rest.isEmpty() ? canonical : canonical + QLatin1Char('/') + rest);
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            break;
        rest = rest.isEmpty() ? existing.mid(slash + 1) : existing.mid(slash + 1) + QLatin1Char('/') + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
        if (existing == QLatin1String("/") && QFileInfo(existing).canonicalFilePath().isEmpty())
            break;
    }
    return QDir::cleanPath(path);
}

bool PosixFileSystem::sameContents(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    while (!a.atEnd()) {
        if (a.read(1 << 16) != b.read(1 << 16))
            return false;
    }
    return true;
}

} // namespace sys
