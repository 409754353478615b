#include "system/FontsOff.h"

#include "system/FilePaths.h"
#include "system/Fontconfig.h"
#include "system/NamedInstances.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

// Makes a folder and its missing parents.
bool makeFolders(const QByteArray& folder)
{
    struct stat info {};
    if (::stat(folder.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) || (errno = ENOTDIR, false);
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolders(folder.left(slash)))
        return false;
    return ::mkdir(folder.constData(), 0755) == 0 || errno == EEXIST;
}

bool isRegularFile(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Every file under a folder whose path the glob matches; folder links are not
// followed, so a loop of links ends.
void collectMatches(const QByteArray& folder, const QByteArray& glob, QStringList& found, int depth)
{
    DIR* listing = depth < 32 ? ::opendir(folder.constData()) : nullptr;
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = folder + '/' + name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            collectMatches(path, glob, found, depth + 1);
        else if (globMatches(glob, path) && isRegularFile(path))
            found << pathFromBytes(path);
    }
    ::closedir(listing);
}

} // namespace

bool globMatches(const QByteArray& glob, const QByteArray& path)
{
    qsizetype g = 0;
    qsizetype p = 0;
    qsizetype starAt = -1; // the last "*" seen, and where in the path it began
    qsizetype starFrom = 0;
    while (p < path.size()) {
        if (g < glob.size() && glob.at(g) == '*') {
            starAt = g++;
            starFrom = p;
        } else if (g < glob.size() && (glob.at(g) == '?' || glob.at(g) == path.at(p))) {
            ++g;
            ++p;
        } else if (starAt >= 0) {
            g = starAt + 1;
            p = ++starFrom;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob.at(g) == '*')
        ++g;
    return g == glob.size();
}

QString FontconfigFontsOff::configurationPath()
{
    QString base = pathFromBytes(qgetenv("XDG_CONFIG_HOME"));
    if (!base.startsWith(QLatin1Char('/')))
        base = pathFromBytes(qgetenv("HOME")) + QStringLiteral("/.config");
    return base + QStringLiteral("/fontconfig/conf.d/90-glyphwell-off.conf");
}

OffFileRead FontconfigFontsOff::readConfiguration()
{
    OffFileRead result;
    const int fd = ::open(pathBytes(configurationPath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.state = errno == ENOENT ? OffFileRead::Missing : OffFileRead::Unreadable;
        result.reason = errorText(errno);
        return result;
    }
    result.state = OffFileRead::Read;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.state = OffFileRead::Unreadable;
            result.reason = errorText(errno);
        }
        if (got <= 0)
            break;
        result.bytes.append(buffer, got);
    }
    ::close(fd);
    return result;
}

bool FontconfigFontsOff::writeConfiguration(const QByteArray& bytes, QString* reason)
{
    const QByteArray target = pathBytes(configurationPath());
    const QByteArray folder = target.left(target.lastIndexOf('/'));
    // A hidden name without ".conf" at its end: fontconfig never reads a half-written file.
    QByteArray temporary = folder + "/.90-glyphwell-off.XXXXXX";
    int fd = -1;
    if (makeFolders(folder))
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        if (reason)
            *reason = errorText(errno);
        return false;
    }
    bool done = writeAll(fd, bytes) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    int error = errno;
    done = ::close(fd) == 0 && done;
    if (done && ::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
        done = false;
    }
    if (!done) {
        ::unlink(temporary.constData());
        if (reason)
            *reason = errorText(error);
        return false;
    }
    // The rename itself is on disk once the folder is.
    if (const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

QString FontconfigFontsOff::keepCopy(QString* reason)
{
    const OffFileRead current = readConfiguration();
    if (current.state != OffFileRead::Read) {
        if (reason)
            *reason = current.reason;
        return QString();
    }
    const QString base = configurationPath() + QStringLiteral(".kept");
    for (int n = 1; n < 1000; ++n) {
        const QString copy = n == 1 ? base : base + QLatin1Char('-') + QString::number(n);
        const int fd = ::open(pathBytes(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST)
            continue;
        const bool done = fd >= 0 && writeAll(fd, current.bytes) && ::fsync(fd) == 0;
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (done)
            return copy;
        if (fd >= 0)
            ::unlink(pathBytes(copy).constData());
        if (reason)
            *reason = errorText(error);
        return QString();
    }
    if (reason)
        *reason = errorText(EEXIST);
    return QString();
}

QStringList FontconfigFontsOff::filesOfFace(const QString& face)
{
    QStringList files;
    FcConfig* config = session.config();
    if (!config || face.isEmpty())
        return files;
    const NamedInstances instances{FcConfigGetFonts(config, FcSetSystem)};
    if (const NamedInstance* instance = instances.find(face))
        return {instance->file};
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, nullptr);
    if (pattern)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.toUtf8().constData()));
    if (FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr) {
        for (int i = 0; i < fonts->nfont; ++i) {
            // fontconfig also ignores blanks in family names; the face list does not.
            if (!fcEnglishFamilies(fonts->fonts[i]).contains(face, Qt::CaseInsensitive))
                continue;
            const QString file = fcPath(fonts->fonts[i], FC_FILE);
            if (!file.isEmpty() && !files.contains(file))
                files << file;
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    files.sort();
    return files;
}

QStringList FontconfigFontsOff::facesInFile(const QString& path)
{
    QStringList faces;
    FcFontSet* set = FcFontSetCreate();
    if (!set)
        return faces;
    int count = 0;
    FcFreeTypeQueryAll(reinterpret_cast<const FcChar8*>(pathBytes(path).constData()), static_cast<unsigned>(-1),
                       nullptr, &count, set);
    for (int i = 0; i < set->nfont; ++i) {
        const QString family = fcEnglishFamilies(set->fonts[i]).value(0);
        if (!family.isEmpty() && !faces.contains(family, Qt::CaseInsensitive))
            faces << family;
    }
    const NamedInstances instances{set};
    for (const QString& name : instances.names())
        if (!faces.contains(name, Qt::CaseInsensitive))
            faces << name;
    FcFontSetDestroy(set);
    return faces;
}

QStringList FontconfigFontsOff::filesMatching(const QByteArray& glob)
{
    qsizetype wildcard = 0;
    while (wildcard < glob.size() && glob.at(wildcard) != '*' && glob.at(wildcard) != '?')
        ++wildcard;
    if (wildcard == glob.size())
        return isRegularFile(glob) ? QStringList{pathFromBytes(glob)} : QStringList{};
    // Only below a folder named before the first wildcard: never the whole disk.
    const qsizetype slash = glob.lastIndexOf('/', wildcard);
    if (slash <= 0)
        return {};
    QStringList found;
    collectMatches(glob.left(slash), glob, found, 0);
    found.sort();
    return found;
}

} // namespace sys
