#pragma once

#include "system/FileSystem.h"
#include "system/FontFileCheck.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QUrl>

// Font files handed to the program to install, from its command line or dropped on
// its window: each is previewed and offered, one after the other.
namespace manage {

struct OfferedFile {
    QString path;    // the full path, when the name can be used at all
    QString refusal; // otherwise the message that says why it is not offered
};

// Raw path bytes into offers; relative paths are taken from the working folder. A name
// that is not valid UTF-8 or holds a line break is refused by its name alone.
QList<OfferedFile> offeredFiles(const QList<QByteArray>& paths, const QString& workingFolder);

// The local files among dropped URLs, as raw path bytes; anything else is left out.
QList<QByteArray> droppedFiles(const QList<QUrl>& urls);

// What to do with one offered file, once it has been looked at.
struct OfferDecision {
    enum class Verdict { Ask, Installed, Refused };
    Verdict verdict = Verdict::Refused;
    QString family;  // the face to preview (Ask, Installed)
    QString message; // what the user is told (Installed, Refused)
};

// A font already lies in the font folder or in one of the installed files when its
// path, or a file of its name and bytes in the font folder, is among them.
OfferDecision decideOffer(sys::FontFileCheck& check, sys::FileSystem& files, const QString& fontFolder,
                          const QStringList& installedFiles, const QString& path);

} // namespace manage
