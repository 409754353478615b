#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace fuzz {

// A private folder for the files a target writes, removed when the process ends. It is
// in memory where the system has /dev/shm: saving syncs to disk, which would otherwise
// cost more than the code under test.
inline const QString& scratchFolder()
{
    static const QString folder = [] {
        const QString parent = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        QByteArray name = parent.toLocal8Bit() + "/glyphwell-fuzz-XXXXXX";
        if (!mkdtemp(name.data()))
            std::abort();
        std::atexit([] { QDir(scratchFolder()).removeRecursively(); });
        return QString::fromLocal8Bit(name);
    }();
    return folder;
}

// Writes the bytes to a file of that name in the scratch folder; returns its path.
inline QString writeScratch(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

// Stops the run with a message when a property the code promises does not hold.
inline void require(bool holds, const char* what)
{
    if (!holds) {
        fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
