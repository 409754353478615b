#pragma once

#include "system/FontEnumeration.h"
#include "tests/support/Printers.h"
#include "system/FontFileCheck.h"
#include "system/FontRegistry.h"
#include "system/FontResources.h"
#include "system/Shell.h"
#include "system/ShellFolders.h"

#include <QFile>
#include <QMap>
#include <QStringList>

// In-memory font reports: the whole enumeration, and per face the charsets.
class FakeFontEnumeration : public sys::FontEnumeration {
public:
    std::vector<sys::FontReport> enumerateFaces() override
    {
        ++enumerations;
        return reports;
    }
    std::vector<sys::FontReport> enumerateFace(const QString& face) override
    {
        std::vector<sys::FontReport> result;
        for (int charset : charsets.value(face))
            result.push_back({face, charset});
        return result;
    }
    QStringList familiesInFile(const QString& path) override { return fileFamilies.value(path); }
    void listFaceTraits(const std::function<void(const sys::FaceTraits&)>& each) override
    {
        ++traitReads;
        for (const sys::FaceTraits& face : traits)
            each(face);
    }
    // Adds one report per name, with charset 0.
    void addFaces(const QStringList& names)
    {
        for (const QString& name : names)
            reports.push_back({name, 0});
    }

    std::vector<sys::FontReport> reports;
    QMap<QString, QList<int>> charsets;
    QMap<QString, QStringList> fileFamilies;
    std::vector<sys::FaceTraits> traits;
    int enumerations = 0;
    int traitReads = 0;
};

// An in-memory registry key; values may be of any type.
class MemoryRegistry : public sys::FontRegistry {
public:
    bool open() override
    {
        ++opens;
        return canOpen;
    }
    const std::vector<sys::RegValue>& values() override { return stored; }
    std::uint64_t generation() override { return changes; }

    void set(const QString& name, const QString& data)
    {
        stored.push_back(sys::RegValue::string(name, data));
        ++changes;
    }
    void setValue(const sys::RegValue& value)
    {
        stored.push_back(value);
        ++changes;
    }

    std::vector<sys::RegValue> stored;
    bool canOpen = true;
    int opens = 0;
    std::uint64_t changes = 1;
};

// Files as the test says they are: unknown paths are missing.
class FakeFontFileCheck : public sys::FontFileCheck {
public:
    sys::FontFileFacts inspect(const QString& path) override
    {
        inspected << path;
        return facts.value(path);
    }
    QMap<QString, sys::FontFileFacts> facts;
    QStringList inspected;
};

class FakeShellFolders : public sys::ShellFolders {
public:
    FakeShellFolders(QString documents, QString fontFolder)
        : documents(std::move(documents)), fontFolder(std::move(fontFolder))
    {
    }
    QString personal() override { return documents; }
    QString fonts() override { return fontFolder; }
    QString documents;
    QString fontFolder;
};

// Records what the program asks the desktop to open.
class RecordingShell : public sys::Shell {
public:
    bool open(const QString& path) override
    {
        opened << path;
        return true;
    }
    QStringList opened;
};

// Records loads, unloads and notices; the notice still reaches the listeners.
class RecordingFontResources : public sys::FontResources {
public:
    // Every file is a font but those whose contents start with "not a font".
    bool isFontFile(const QString& path) override
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && !file.read(10).startsWith("not a font");
    }
    int addFontResource(const QString& path) override
    {
        calls << QStringLiteral("add ") + path;
        return 1;
    }
    bool removeFontResource(const QString& path) override
    {
        calls << QStringLiteral("remove ") + path;
        return true;
    }
    void broadcastFontChange() override
    {
        calls << QStringLiteral("broadcast");
        notifyListeners();
    }
    QStringList calls;
};
