#include "system/FontResources.h"

#include "system/FilePaths.h"
#include "system/FontFileCheck.h"
#include "system/Fontconfig.h"

#include <QFile>
#include <QFontDatabase>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

// The whole file, read by its exact name; empty when it cannot be read.
QByteArray readFontFile(const QString& path)
{
    QByteArray bytes;
    const int fd = ::open(pathBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 && info.st_size < (1ll << 31)) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, std::size_t(bytes.size() - done));
            if (got <= 0)
                break;
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}

} // namespace

bool FontconfigResources::isFontFile(const QString& path)
{
    return FreeTypeFontFileCheck().inspect(path).kind == FileKind::Font;
}

int FontconfigResources::addFontResource(const QString& path)
{
    if (!session.addApplicationFont(path))
        return 0;
    // A file whose name is not UTF-8 is given to Qt as its bytes: Qt would not find it.
    const bool textName = QFile::encodeName(path) == pathBytes(path);
    const int id = textName ? QFontDatabase::addApplicationFont(path)
                            : QFontDatabase::addApplicationFontFromData(readFontFile(path));
    if (id < 0)
        return 0;
    if (qtFontIds.contains(path))
        QFontDatabase::removeApplicationFont(qtFontIds.value(path));
    qtFontIds.insert(path, id);
    return int(QFontDatabase::applicationFontFamilies(id).size());
}

bool FontconfigResources::removeFontResource(const QString& path)
{
    session.removeApplicationFont(path);
    const auto id = qtFontIds.constFind(path);
    if (id == qtFontIds.constEnd())
        return false;
    const bool removed = QFontDatabase::removeApplicationFont(*id);
    qtFontIds.erase(id);
    return removed;
}

void FontconfigResources::broadcastFontChange()
{
    // Rescanning the font folders rewrites fontconfig's caches, so every fontconfig
    // program sees the change; then the program drops its own lists.
    session.reload();
    session.config();
    notifyListeners();
}

} // namespace sys
