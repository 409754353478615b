#pragma once

#include <QFont>
#include <QString>

// The one place where a face name becomes a Qt font. Everything that draws in an
// installed face asks here, so how Qt learns of the installed fonts can change
// without touching the rest.
namespace sys {

enum class Fallback { Allowed, None };

// True for the entry that stands for the default interface face, in any letter case.
bool isDefaultFace(const QString& face);

// The installed family that the system's font rules give for a family name: the
// name itself when it is installed, else its substitute (Arial -> Liberation Sans).
// Resolved once per name while the fonts stay the same. Qt would find the substitute too, but with thousands of
// fonts its own search for a family it lacks takes seconds.
QString installedFamily(const QString& family);

// The Qt family for a face name: the interface face for "Default", else the name.
QString qtFamily(const QString& face);

// Whether a font may borrow glyphs from other faces.
Fallback fallbackOf(const QFont& font);

// Sets the face of a font, keeping its size, style and the rest. A Windows raster
// face is drawn through its outline stand-in, so it shows its own glyphs.
void setFace(QFont& font, const QString& face, Fallback fallback = Fallback::Allowed);
// The face a font was given by setFace (the face, not a raster face's stand-in).
QString faceOf(const QFont& font);

// A font of the face at a pixel height (em size) with the given style. For the
// program's own fixed faces (Tahoma, Arial, ...): the face goes through
// installedFamily, so a face the system lacks costs nothing.
QFont faceFont(const QString& face, int pixelSize, bool bold = false, bool italic = false,
               bool underline = false, Fallback fallback = Fallback::Allowed);

} // namespace sys
