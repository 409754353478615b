#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <cstdint>
#include <list>
#include <vector>

class QFont;

namespace sys {

class FontconfigSession;

// Bitmap faces drawn with their own glyphs: Windows raster (.fon), X11 (.pcf, .pcf.gz,
// .bdf) and OpenType bitmap (.otb) fonts. Qt draws such a face only at one of its
// strikes, unscaled, and finds no glyphs in a raster face (whose one charmap holds 8-bit
// codes). For the height asked this picks the strike nearest it, or a whole multiple
// of a smaller strike when that comes nearer, builds an outline font whose glyphs are
// that strike's pixels, and hands it to Qt under a family of its own.
class RasterFaces {
public:
    explicit RasterFaces(FontconfigSession& session) : session(session) {}
    ~RasterFaces();
    RasterFaces(const RasterFaces&) = delete;
    RasterFaces& operator=(const RasterFaces&) = delete;

    // The Qt family that draws the face at this pixel height (the font's em, as Qt
    // rounds it), or an empty string when the face is not a bitmap face.
    QString standIn(const QString& face, double pixelHeight);
    // The family that draws the strike chosen for this height in the strike's own em,
    // for devices that scale outlines freely (paper): one family per strike, whatever
    // the size it is drawn at.
    QString outlineStandIn(const QString& face, double pixelHeight);
    // The face a stand-in family draws, or an empty string.
    QString faceOf(const QString& family) const;

    // Stand-ins registered with Qt at most; the least recently asked goes first.
    static constexpr int standInsKept = 256;

private:
    struct Strike {
        QString file;
        int index = 0;
        int pixelSize = 0;
        int weight = 400;
        bool italic = false;
        int characters = 0; // how many characters the strike's file maps
    };
    struct Made {
        QString family; // empty when it could not be made
        std::vector<int> fontIds;
    };
    void refresh();
    QString chooseStandIn(const QString& face, double pixelHeight, bool strikeEm);
    QString makeStandIn(const QString& face, const std::vector<Strike>& all, const Strike& chosen, int unitsPerEm);
    void forgetOldest();

    FontconfigSession& session;
    std::uint64_t builtFrom = 0;
    QHash<QString, std::vector<Strike>> strikes; // case-folded face -> its strikes
    QHash<QString, QString> faces;               // stand-in family -> face
    QHash<QString, Made> made;                   // face, strike, scale and em -> its stand-in
    std::list<QString> recent;                   // keys of made, most recently asked first
    QSet<QString> unusable;                      // strikes (file, index, size) that made no font
    // The tables of the strikes built last: another size of the same strike is then
    // only a new em and name.
    std::list<std::pair<QString, QMap<QByteArray, QByteArray>>> builtTables;
};

// The raster faces the font factory consults; none unless the program sets them.
void setRasterFaces(RasterFaces* faces);
RasterFaces* rasterFaces();

// An outline TrueType font drawing the glyphs of one strike of a bitmap face (FreeType
// opens the file), each pixel a square of 64 units, under the given family: the strike
// of that pixel size (0: the face's first) in an em of that many units (0: the strike's
// height, so that one face pixel is one screen pixel at that height). Empty when the
// file cannot be read as a bitmap face or has no such strike.
QByteArray outlineFontOfBitmapFace(const QString& path, int faceIndex, const QString& family, int strikePixels = 0,
                                   int unitsPerEm = 0);

} // namespace sys
