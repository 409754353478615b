#include "system/SpoolFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sys {

namespace {

QString partName(const QString& target)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = target + QLatin1Char('.');
    for (int k = 0; k < 6; ++k)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return name + QStringLiteral(".part");
}

// Gives the unnamed file of the descriptor a name. Linking a descriptor directly
// needs CAP_DAC_READ_SEARCH; without it the file is linked through its descriptor's
// entry in /dev/fd, the way open(2) gives for O_TMPFILE.
bool linkDescriptor(int fd, const QByteArray& name)
{
    if (::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    const QByteArray entry = "/dev/fd/" + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, entry.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

} // namespace

std::unique_ptr<SpoolFile> SpoolFile::create(const QString& target)
{
    std::unique_ptr<SpoolFile> spool(new SpoolFile);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    // The mode is the one a new file gets (the umask applies), as at commit.
    spool->fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (spool->fd >= 0) {
        // Locked as a part file is, for the moment it has a part file's name at commit.
        ::flock(spool->fd, LOCK_EX | LOCK_NB);
        return spool;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return nullptr;
    for (int attempt = 0; attempt < 100 && spool->fd < 0; ++attempt) {
        spool->part = partName(target);
        const QByteArray name = QFile::encodeName(spool->part);
        spool->fd = ::open(name.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (spool->fd < 0 && errno != EEXIST)
            break;
    }
    if (spool->fd < 0) {
        spool->part.clear();
        return nullptr;
    }
    // Held for the writer's life: a part file whose lock is free is a dead writer's.
    ::flock(spool->fd, LOCK_EX | LOCK_NB);
    return spool;
}

SpoolFile::~SpoolFile()
{
    if (!part.isEmpty())
        ::unlink(QFile::encodeName(part).constData());
    if (fd >= 0)
        ::close(fd);
}

QString SpoolFile::path() const
{
    return part.isEmpty() ? QStringLiteral("/dev/fd/%1").arg(fd) : part;
}

bool SpoolFile::commit(const QString& target)
{
    const QByteArray name = QFile::encodeName(target);
    if (!part.isEmpty()) {
        if (::rename(QFile::encodeName(part).constData(), name.constData()) != 0)
            return false;
        part.clear();
        return true;
    }
    // Linked under a fresh name beside the target, then renamed over it: the target is
    // replaced in one step, never missing nor half written.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray linked = QFile::encodeName(partName(target));
        if (!linkDescriptor(fd, linked)) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (::rename(linked.constData(), name.constData()) == 0)
            return true;
        ::unlink(linked.constData());
        return false;
    }
    return false;
}

void SpoolFile::inheritable(int descriptor)
{
    ::fcntl(descriptor, F_SETFD, 0);
}

void removeStaleParts(const QString& target)
{
    const QFileInfo info(target);
    const QRegularExpression ours(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}\\.part")));
    const QDir folder = info.absoluteDir();
    for (const QFileInfo& part : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (!ours.match(part.fileName()).hasMatch() || part.ownerId() != ::getuid())
            continue;
        const QByteArray name = QFile::encodeName(part.absoluteFilePath());
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        // The lock is free only when no writer holds the file open any more.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(name.constData());
        ::close(fd);
    }
}

} // namespace sys
