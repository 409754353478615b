#pragma once

#include "system/FontResources.h"
#include "system/FontsOff.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

// Fonts turned off: their files rejected in the program's own fontconfig file, so no
// program of the user lists them; nothing is moved or deleted.
namespace manage {

// The glob that rejects exactly one file. Bytes fontconfig's XML cannot carry (not
// UTF-8, control characters) and its own wildcards stand as "?", one byte each.
QByteArray globOf(const QString& path);

// The program's file for a list of globs.
QByteArray offConfiguration(const QList<QByteArray>& globs);

// The globs of a file, read as well as can be: from a rejectfont list when it is
// XML, else every <glob> element found in its bytes. `ours` tells whether the file is
// exactly what offConfiguration writes for them; anything else is kept as a copy
// before it is rewritten.
struct OffRules {
    QList<QByteArray> globs;
    bool ours = true;
};
OffRules readOffRules(const QByteArray& bytes);

// A turning off or on, worked out before it is done.
struct OffChange {
    QString face;
    QStringList files;  // the files rejected, or the files that come back
    QStringList others; // the other faces of those files, which go or come with it
    QString refusal;    // when not empty, nothing is done and this is said
};

class FontsTurnedOff {
public:
    FontsTurnedOff(sys::FontsOff& system, sys::FontResources& resources) : system(system), resources(resources) {}

    // Reads the file and finds the files it turns off. They are loaded for this
    // program alone for the rest of the run, so their faces still preview and show
    // their charsets and files.
    void load();
    const QStringList& files() const { return offFiles; }
    // The faces of the files turned off, once each, but those a file still on holds.
    QStringList faces();

    // Turning off a face is refused when it would leave none of the faces the
    // window's own controls are drawn in.
    OffChange planOff(const QString& face, const QStringList& controlFaces);
    OffChange planOn(const QString& face);
    // Rewrites the file, then has fontconfig read it again; what the user is told,
    // empty when all went as asked.
    QString turnOff(const OffChange& change);
    QString turnOn(const OffChange& change);

private:
    const QStringList& facesOf(const QString& file);
    // Keeps a copy of a file it did not write, writes the new one, has fontconfig
    // read it; false with the message when nothing was changed.
    bool rewrite(const QList<QByteArray>& newGlobs, QString& message);

    sys::FontsOff& system;
    sys::FontResources& resources;
    QList<QByteArray> globs;
    bool ours = true;
    sys::OffFileRead read;
    QStringList offFiles;
    QHash<QString, QStringList> fileFaces;
    QSet<QString> loadedForRun;
};

} // namespace manage
