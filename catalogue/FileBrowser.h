#pragma once

#include "system/FileSystem.h"

#include <QStringList>
#include <cstdint>

namespace catalogue {

// The font files the file view lists and the install dialog offers: TrueType and
// raster files first, as the program always knew them, then OpenType, collections,
// web fonts and bitmap fonts (X11's, and OpenType's of bitmap strikes alone).
inline const QString fontFileMask =
    QStringLiteral("*.ttf;*.fon;*.otf;*.ttc;*.otc;*.woff;*.woff2;*.pcf;*.pcf.gz;*.bdf;*.otb");
inline const QString fontFileFilter =
    QStringLiteral("Truetype font (*.ttf)|*.ttf|Raster font (*.fon)|*.fon|All font files|") + fontFileMask +
    QStringLiteral("|OpenType font (*.otf)|*.otf|Font collection (*.ttc, *.otc)|*.ttc;*.otc"
                   "|Web font (*.woff, *.woff2)|*.woff;*.woff2|Bitmap font (*.pcf, *.pcf.gz, *.bdf, *.otb)"
                   "|*.pcf;*.pcf.gz;*.bdf;*.otb");

// True when a file name matches one wildcard pattern ("*" and "?"), ignoring case.
bool matchesPattern(const QString& name, const QString& pattern);

// The files of a folder for the file list: for each pattern of the mask in turn
// ("*.ttf;*.fon"), the entries that match it, leaving out folders and hidden files;
// then all of them sorted case-insensitively in the user's locale.
QStringList listFolder(sys::FileSystem& files, const QString& folder, const QString& mask);

// The size in bytes of the file at the path as decimal text, or "-1" when none.
QString FileSizeText(sys::FileSystem& files, const QString& path);

// A size text in kilobytes of 1000 bytes: general format, at most 15 significant
// digits, no trailing zeros, the user's decimal separator, then " KB".
QString kilobytesText(std::int64_t bytes);

// The size field's text for the file at the path.
QString fileSizeField(sys::FileSystem& files, const QString& path);

} // namespace catalogue
