#include "system/FileSystem.h"

#include "system/FilePaths.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

QByteArray native(const QString& path)
{
    return pathBytes(path);
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

bool PosixFileSystem::copyFile(const QString& source, const QString& target, QString* reason)
{
    const auto fail = [&](int error) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(error));
        return false;
    };
    const int from = ::open(native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return fail(errno);
    struct stat info {};
    if (::fstat(from, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(from);
        return fail(error ? error : EINVAL);
    }
    // Write a hidden temporary beside the target, then link it into place: the link
    // fails when the target exists, so nothing is ever replaced or left half-written.
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    const QString targetFolder = slash < 0 ? QStringLiteral(".") : target.left(std::max<qsizetype>(slash, 1));
    QByteArray temporary = native(targetFolder + QStringLiteral("/.glyphwell-copy-XXXXXX"));
    const int to = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (to < 0) {
        const int error = errno;
        ::close(from);
        return fail(error);
    }
    bool copied = copyContents(from, to);
    int error = copied ? 0 : errno;
    if (copied && ::fchmod(to, 0644) != 0) {
        copied = false;
        error = errno;
    }
    if (::close(to) != 0 && copied) {
        copied = false;
        error = errno;
    }
    ::close(from);
    if (copied) {
        error = hardLink(temporary, native(target));
        const bool linked = error == 0;
        if (!linked && error != EEXIST) {
            copied = copyExclusive(temporary, native(target)); // a file system without hard links
            error = copied ? 0 : errno;
        } else {
            copied = linked;
        }
    }
    ::unlink(temporary.constData());
    return copied || fail(error ? error : EIO);
}

int PosixFileSystem::hardLink(const QByteArray& existing, const QByteArray& name)
{
    return ::link(existing.constData(), name.constData()) == 0 ? 0 : errno;
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
        entries.push_back({pathFromBytes(name), isFolder, name.startsWith('.')});
    }
    ::closedir(folder);
    return entries;
}

QString PosixFileSystem::resolvedPath(const QString& path)
{
    // Resolve the longest part that exists, then append the rest cleaned.
    QString existing = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path);
    QString rest;
    while (!existing.isEmpty()) {
        if (char* canonical = ::realpath(native(existing).constData(), nullptr)) {
            const QString resolved = pathFromBytes(QByteArray(canonical));
            std::free(canonical);
            return QDir::cleanPath(rest.isEmpty() ? resolved : resolved + QLatin1Char('/') + rest);
        }
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0 || existing == QLatin1String("/"))
            break;
        rest = rest.isEmpty() ? existing.mid(slash + 1) : existing.mid(slash + 1) + QLatin1Char('/') + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
    return QDir::cleanPath(path);
}

bool PosixFileSystem::sameContents(const QString& first, const QString& second)
{
    const int a = ::open(native(first).constData(), O_RDONLY | O_CLOEXEC);
    const int b = a < 0 ? -1 : ::open(native(second).constData(), O_RDONLY | O_CLOEXEC);
    bool same = false;
    struct stat infoA {};
    struct stat infoB {};
    if (b >= 0 && ::fstat(a, &infoA) == 0 && ::fstat(b, &infoB) == 0 && S_ISREG(infoA.st_mode) &&
        S_ISREG(infoB.st_mode) && infoA.st_size == infoB.st_size) {
        same = true;
        char bufferA[1 << 15];
        char bufferB[1 << 15];
        for (;;) {
            const ssize_t gotA = ::read(a, bufferA, sizeof bufferA);
            const ssize_t gotB = gotA <= 0 ? gotA : ::read(b, bufferB, std::size_t(gotA));
            if (gotA < 0 || gotB != gotA || std::memcmp(bufferA, bufferB, std::size_t(std::max<ssize_t>(gotA, 0))) != 0) {
                same = false;
                break;
            }
            if (gotA == 0)
                break;
        }
    }
    if (b >= 0)
        ::close(b);
    if (a >= 0)
        ::close(a);
    return same;
}

} // namespace sys
