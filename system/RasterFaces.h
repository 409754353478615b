#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

class QFont;

namespace sys {

class FontconfigSession;

// Windows raster (.fon) faces drawn with their own glyphs. FreeType gives such a
// face one charmap of 8-bit codes and no Unicode one, so Qt finds none of its
// glyphs and draws the default character for every letter. For each raster face
// this builds, on first use, an outline font whose glyphs are the face's pixels,
// reached through the Windows-1252 characters of their codes, and hands it to Qt
// under a family of its own.
class RasterFaces {
public:
    explicit RasterFaces(FontconfigSession& session) : session(session) {}
    ~RasterFaces();
    RasterFaces(const RasterFaces&) = delete;
    RasterFaces& operator=(const RasterFaces&) = delete;

    // The Qt family that draws the face at about this pixel height, or an empty
    // string when the face is not a raster face.
    QString standIn(const QString& face, double pixelHeight);
    // The face a stand-in family draws, or an empty string.
    QString faceOf(const QString& family) const;

private:
    struct Strike {
        QString file;
        int index = 0;
        int pixelHeight = 0;
        int weight = 400;
        bool italic = false;
        QString family; // the stand-in, once made
    };
    void refresh();
    QString makeStandIn(const QString& face, const Strike& strike, QString family);

    FontconfigSession& session;
    std::uint64_t builtFrom = 0;
    QHash<QString, std::vector<Strike>> strikes; // case-folded face -> its raster strikes
    QHash<QString, QString> faces;               // stand-in family -> face
    QHash<QString, QString> madeFiles;           // file + index -> stand-in family
    std::vector<int> fontIds;
};

// The raster faces the font factory consults; none unless the program sets them.
void setRasterFaces(RasterFaces* faces);
RasterFaces* rasterFaces();

// An outline TrueType font drawing the glyphs of a bitmap face (FreeType opens the
// file), each pixel a square, under the given family; empty when the file cannot be
// read as a bitmap face.
QByteArray outlineFontOfBitmapFace(const QString& path, int faceIndex, const QString& family);

} // namespace sys
