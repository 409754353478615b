#pragma once

#include "system/FilePaths.h"
#include "system/FontsOff.h"

#include <QMap>
#include <optional>

// The fonts-off file in memory, and fontconfig as the test scripts it: the files of
// each face and the faces of each file. A file stops being listed for its face once
// the file names it in a glob, as fontconfig would.
class FakeFontsOff : public sys::FontsOff {
public:
    QString configurationPath() override { return QStringLiteral("/conf.d/90-glyphwell-off.conf"); }
    sys::OffFileRead readConfiguration() override
    {
        if (!readable)
            return {sys::OffFileRead::Unreadable, {}, QStringLiteral("Permission denied")};
        if (!file)
            return {sys::OffFileRead::Missing, {}, {}};
        return {sys::OffFileRead::Read, *file, {}};
    }
    bool writeConfiguration(const QByteArray& bytes, QString* reason) override
    {
        if (!writable) {
            *reason = QStringLiteral("No space left on device");
            return false;
        }
        file = bytes;
        ++writes;
        return true;
    }
    QString keepCopy(QString* reason) override
    {
        if (!copyable) {
            *reason = QStringLiteral("Read-only file system");
            return QString();
        }
        copies << file.value_or("<missing>");
        return configurationPath() + QStringLiteral(".kept");
    }
    QStringList filesOfFace(const QString& face) override
    {
        QStringList listed;
        for (const QString& path : faceFiles.value(face))
            if (!(fontconfigReadsUs && file && file->contains("<glob>" + sys::pathBytes(path) + "</glob>")))
                listed << path;
        return listed;
    }
    QStringList facesInFile(const QString& path) override { return fileFaces.value(path); }
    QStringList filesMatching(const QByteArray& glob) override
    {
        QStringList found;
        for (auto file = fileFaces.keyBegin(); file != fileFaces.keyEnd(); ++file)
            if (sys::globMatches(glob, sys::pathBytes(*file)))
                found << *file;
        return found;
    }

    // A face held by files, each file holding these faces.
    void addFace(const QString& face, const QStringList& paths)
    {
        faceFiles[face] = paths;
        for (const QString& path : paths)
            if (!fileFaces[path].contains(face))
                fileFaces[path] << face;
    }

    std::optional<QByteArray> file;
    bool readable = true;
    bool writable = true;
    bool copyable = true;
    bool fontconfigReadsUs = true;
    int writes = 0;
    QList<QByteArray> copies;
    QMap<QString, QStringList> faceFiles;
    QMap<QString, QStringList> fileFaces;
};
