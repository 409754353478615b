#include "system/RasterFaces.h"

#include "system/FontLock.h"
#include "system/CodePage.h"
#include "system/FilePaths.h"
#include "system/Fontconfig.h"

#include <QFontDatabase>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H

namespace sys {

namespace {

RasterFaces* current = nullptr;

// Font units per pixel of the raster face, and the largest face or glyph taken in
// pixels, so that every coordinate fits the font's 16 bits.
constexpr int unitsPerPixel = 64;
constexpr int largestPixels = 255;

// Big-endian writer for the tables of an sfnt file.
struct Table {
    QByteArray bytes;
    void u8(int value) { bytes += char(value & 0xFF); }
    void u16(int value)
    {
        u8(value >> 8);
        u8(value);
    }
    void u32(std::uint32_t value)
    {
        u16(int(value >> 16));
        u16(int(value & 0xFFFF));
    }
    void tag(const char* name) { bytes.append(name, 4); }
    void pad() { bytes.append((4 - bytes.size() % 4) % 4, '\0'); }
};

std::uint32_t checksum(const QByteArray& bytes)
{
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < bytes.size(); i += 4) {
        std::uint32_t word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < bytes.size() ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

// One glyph as rectangles of pixels, in font units, and its advance.
struct Rect {
    int x0, y0, x1, y1;
};
struct Glyph {
    std::vector<Rect> rects;
    int advance = 0;
};

// The set pixels of a mono (or grey, half ink and more) bitmap as rectangles: runs of a row, continued downward
// while the rows below have the same run.
std::vector<Rect> pixelRects(const FT_Bitmap& bitmap, int left, int top)
{
    std::vector<Rect> done;
    QMap<std::pair<int, int>, Rect> open; // run (first column, end column) -> its rectangle so far
    for (unsigned row = 0; row <= bitmap.rows; ++row) {
        QMap<std::pair<int, int>, Rect> next;
        if (row < bitmap.rows) {
            const unsigned char* line = bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch;
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            const auto set = [&](unsigned column) {
                return mono ? (line[column / 8] >> (7 - column % 8)) & 1 : line[column] >= 128;
            };
            for (unsigned column = 0; column < bitmap.width;) {
                if (!set(column)) {
                    ++column;
                    continue;
                }
                unsigned end = column;
                while (end < bitmap.width && set(end))
                    ++end;
                const std::pair<int, int> run{int(column), int(end)};
                const int y0 = (top - int(row) - 1) * unitsPerPixel;
                Rect rect{(left + int(column)) * unitsPerPixel, y0, (left + int(end)) * unitsPerPixel,
                          y0 + unitsPerPixel};
                if (const auto above = open.constFind(run); above != open.constEnd())
                    rect.y1 = above->y1;
                next.insert(run, rect);
                column = end;
            }
        }
        for (auto it = open.cbegin(); it != open.cend(); ++it) {
            if (!next.contains(it.key()))
                done.push_back(*it);
        }
        open = next;
    }
    return done;
}

// A simple glyph of clockwise rectangles.
QByteArray glyphData(const Glyph& glyph)
{
    Table out;
    if (glyph.rects.empty())
        return out.bytes;
    int xMin = glyph.rects[0].x0, yMin = glyph.rects[0].y0, xMax = glyph.rects[0].x1, yMax = glyph.rects[0].y1;
    for (const Rect& rect : glyph.rects) {
        xMin = std::min(xMin, rect.x0);
        yMin = std::min(yMin, rect.y0);
        xMax = std::max(xMax, rect.x1);
        yMax = std::max(yMax, rect.y1);
    }
    out.u16(int(glyph.rects.size()));
    out.u16(xMin);
    out.u16(yMin);
    out.u16(xMax);
    out.u16(yMax);
    for (std::size_t i = 0; i < glyph.rects.size(); ++i)
        out.u16(int(i * 4 + 3));
    out.u16(0); // no instructions
    for (std::size_t i = 0; i < glyph.rects.size() * 4; ++i)
        out.u8(0x01); // on the curve, coordinates as 16-bit deltas
    std::vector<std::pair<int, int>> points;
    for (const Rect& rect : glyph.rects) {
        points.insert(points.end(), {{rect.x0, rect.y0}, {rect.x0, rect.y1}, {rect.x1, rect.y1}, {rect.x1, rect.y0}});
    }
    int last = 0;
    for (const auto& point : points) {
        out.u16(point.first - last);
        last = point.first;
    }
    last = 0;
    for (const auto& point : points) {
        out.u16(point.second - last);
        last = point.second;
    }
    out.pad();
    return out.bytes;
}

void nameRecord(Table& records, QByteArray& strings, int id, const QString& text)
{
    QByteArray utf16;
    for (QChar character : text) {
        utf16 += char(character.unicode() >> 8);
        utf16 += char(character.unicode() & 0xFF);
    }
    records.u16(3);      // Windows
    records.u16(1);      // Unicode BMP
    records.u16(0x409);  // English
    records.u16(id);
    records.u16(int(utf16.size()));
    records.u16(int(strings.size()));
    strings += utf16;
}

// The sfnt file of the tables, in tag order, with its checksums.
QByteArray sfntFile(QMap<QByteArray, QByteArray> tables)
{
    const int count = int(tables.size());
    int power = 1;
    int log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    Table file;
    file.u32(0x00010000);
    file.u16(count);
    file.u16(power * 16);
    file.u16(log);
    file.u16(count * 16 - power * 16);
    std::uint32_t offset = 12 + 16 * std::uint32_t(count);
    QByteArray body;
    qsizetype headAt = -1;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
        file.tag(it.key().constData());
        file.u32(checksum(it.value()));
        file.u32(offset + std::uint32_t(body.size()));
        file.u32(std::uint32_t(it.value().size()));
        if (it.key() == "head")
            headAt = body.size();
        body += it.value();
        body.append((4 - body.size() % 4) % 4, '\0');
    }
    QByteArray whole = file.bytes + body;
    if (headAt >= 0) {
        const std::uint32_t adjustment = 0xB1B0AFBAu - checksum(whole);
        Table value;
        value.u32(adjustment);
        whole.replace(file.bytes.size() + headAt + 8, 4, value.bytes);
    }
    return whole;
}

// Characters to glyphs as runs of consecutive codes on consecutive glyphs.
struct Run {
    std::uint32_t first;
    std::uint32_t last;
    int glyph;
};

std::vector<Run> runsOf(const QMap<std::uint32_t, int>& characters)
{
    std::vector<Run> runs;
    for (auto it = characters.cbegin(); it != characters.cend(); ++it) {
        if (!runs.empty() && runs.back().last + 1 == it.key() &&
            runs.back().glyph + int(it.key() - runs.back().first) == it.value())
            runs.back().last = it.key();
        else
            runs.push_back({it.key(), it.key(), it.value()});
    }
    return runs;
}

// The character map: format 4 for the Basic Multilingual Plane, which every reader
// knows, and format 12 for all characters. Format 4's 16-bit length holds some 8,000
// segments; the runs past that are found through format 12 alone.
QByteArray cmapTable(const std::vector<Run>& runs)
{
    constexpr std::size_t mostSegments = (0xFFFF - 16) / 8 - 1; // besides the closing one
    std::vector<Run> plane;
    for (const Run& run : runs) {
        if (run.last <= 0xFFFF && plane.size() < mostSegments)
            plane.push_back(run);
    }
    const int segments = int(plane.size()) + 1;
    int power = 1, log = 0;
    while (power * 2 <= segments) {
        power *= 2;
        ++log;
    }
    Table format4;
    format4.u16(4);
    format4.u16(16 + segments * 8);
    format4.u16(0);
    format4.u16(segments * 2);
    format4.u16(power * 2);
    format4.u16(log);
    format4.u16(segments * 2 - power * 2);
    for (const Run& run : plane)
        format4.u16(int(run.last));
    format4.u16(0xFFFF);
    format4.u16(0);
    for (const Run& run : plane)
        format4.u16(int(run.first));
    format4.u16(0xFFFF);
    for (const Run& run : plane)
        format4.u16((run.glyph - int(run.first)) & 0xFFFF);
    format4.u16(1);
    for (int i = 0; i < segments; ++i)
        format4.u16(0);

    Table format12;
    format12.u16(12);
    format12.u16(0);
    format12.u32(std::uint32_t(16 + 12 * runs.size()));
    format12.u32(0);
    format12.u32(std::uint32_t(runs.size()));
    for (const Run& run : runs) {
        format12.u32(run.first);
        format12.u32(run.last);
        format12.u32(std::uint32_t(run.glyph));
    }

    Table cmap;
    cmap.u16(0);
    cmap.u16(2);
    cmap.u16(3); // Windows, Unicode BMP
    cmap.u16(1);
    cmap.u32(20);
    cmap.u16(3); // Windows, Unicode full repertoire
    cmap.u16(10);
    cmap.u32(std::uint32_t(20 + format4.bytes.size()));
    return cmap.bytes + format4.bytes + format12.bytes;
}

// Where head keeps its units per em, its style bits and its smallest readable size
// (here the strike's size).
constexpr qsizetype headUnitsPerEm = 18;
constexpr qsizetype headMacStyle = 44;
constexpr qsizetype headStrikePixels = 46;

int readU16(const QByteArray& bytes, qsizetype at)
{
    return bytes.size() < at + 2 ? 0 : static_cast<unsigned char>(bytes[at]) << 8 | static_cast<unsigned char>(bytes[at + 1]);
}

// The size of a strike in pixels: its em as FreeType gives it, a raster face's own
// pixel height.
int strikeSize(FT_Face face, int sizeIndex, const FT_WinFNT_HeaderRec* header)
{
    if (header)
        return header->pixel_height;
    const FT_Bitmap_Size& size = face->available_sizes[sizeIndex];
    return size.y_ppem > 0 ? int((size.y_ppem + 32) >> 6) : size.height;
}

// The tables of a stand-in but its name, at one strike of an open face; none when
// the face is no bitmap face or has no such strike.
QMap<QByteArray, QByteArray> pixelTablesOf(FT_Face face, int strikePixels)
{
    if (FT_IS_SCALABLE(face) || !FT_HAS_FIXED_SIZES(face) || face->num_fixed_sizes <= 0 || face->num_glyphs <= 0 ||
        face->num_glyphs >= 0x10000)
        return {};
    FT_WinFNT_HeaderRec header;
    const bool raster = FT_Get_WinFNT_Header(face, &header) == 0;
    int sizeIndex = -1;
    for (int i = 0; i < face->num_fixed_sizes && sizeIndex < 0; ++i) {
        if (strikePixels == 0 ? i == 0 : strikeSize(face, i, raster ? &header : nullptr) == strikePixels)
            sizeIndex = i;
    }
    if (sizeIndex < 0 || FT_Select_Size(face, sizeIndex) != 0)
        return {};
    const int size = strikeSize(face, sizeIndex, raster ? &header : nullptr);
    int ascent = 0, descent = 0, weight = 400, leading = 0, averageWidth = 0;
    bool italic = false;
    if (raster) {
        if (face->num_charmaps <= 0 || FT_Set_Charmap(face, face->charmaps[0]) != 0 || header.max_width > largestPixels)
            return {};
        ascent = std::clamp<int>(header.ascent, 0, size);
        descent = size - ascent;
        weight = header.weight >= 100 && header.weight <= 900 ? header.weight : 400;
        italic = header.italic != 0;
        leading = std::min<int>(header.external_leading, largestPixels);
        averageWidth = header.avg_width;
    } else {
        if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0)
            return {};
        ascent = int(std::clamp<FT_Pos>((face->size->metrics.ascender + 32) >> 6, 0, largestPixels));
        descent = int(std::clamp<FT_Pos>((-face->size->metrics.descender + 32) >> 6, 0, largestPixels));
        if (ascent + descent == 0)
            ascent = size;
        // An sfnt bitmap font's OS/2 weight and slant where it has them: FreeType's
        // style flags know neither Terminus's bold nor its oblique.
        weight = face->style_flags & FT_STYLE_FLAG_BOLD ? 700 : 400;
        italic = face->style_flags & FT_STYLE_FLAG_ITALIC;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
            if (os2->usWeightClass >= 100 && os2->usWeightClass <= 900)
                weight = os2->usWeightClass;
            italic = italic || (os2->fsSelection & 0x201) != 0; // italic or oblique
        }
        averageWidth = face->available_sizes[sizeIndex].width;
    }
    if (size <= 0 || size > largestPixels || ascent + descent > largestPixels)
        return {};

    std::vector<Glyph> glyphs(std::size_t(face->num_glyphs));
    int maxAdvance = 0;
    for (FT_Long index = 0; index < face->num_glyphs; ++index) {
        Glyph& glyph = glyphs[std::size_t(index)];
        if (FT_Load_Glyph(face, FT_UInt(index), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const auto fits = [](long pixels) { return pixels >= -largestPixels && pixels <= largestPixels; };
        if (!fits(slot->advance.x >> 6) || !fits(slot->bitmap_left) || !fits(slot->bitmap_top) ||
            !fits(slot->bitmap_left + long(slot->bitmap.width)) || !fits(slot->bitmap_top - long(slot->bitmap.rows)))
            continue;
        glyph.advance = int(std::max(0l, slot->advance.x >> 6)) * unitsPerPixel;
        maxAdvance = std::max(maxAdvance, glyph.advance);
        const bool readable = slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO || slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
        if (readable && slot->bitmap.buffer && slot->bitmap.pitch > 0)
            glyph.rects = pixelRects(slot->bitmap, slot->bitmap_left, slot->bitmap_top);
    }
    QMap<std::uint32_t, int> characters; // Unicode -> glyph
    if (raster) {
        // Each 8-bit code of the face, as FreeType maps it, under its Windows-1252 character.
        for (int code = std::max<int>(header.first_char, 0x20); code <= std::min<int>(header.last_char, 0xFF); ++code) {
            const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
            if (index > 0 && index < FT_UInt(face->num_glyphs))
                characters.insert(windows1252ToUnicode(code), int(index));
        }
    } else {
        FT_UInt index = 0;
        for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0; code = FT_Get_Next_Char(face, code, &index)) {
            const bool drawn = code >= 0x20 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) && code != 0xFFFE &&
                               code != 0xFFFF;
            if (drawn && index < FT_UInt(face->num_glyphs))
                characters.insert(std::uint32_t(code), int(index));
        }
    }
    if (characters.isEmpty())
        return {};

    QMap<QByteArray, QByteArray> tables;
    Table glyf, loca, hmtx;
    int maxPoints = 0, maxContours = 0, xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    for (const Glyph& glyph : glyphs) {
        loca.u32(std::uint32_t(glyf.bytes.size()));
        glyf.bytes += glyphData(glyph);
        hmtx.u16(glyph.advance);
        int lsb = 0;
        if (!glyph.rects.empty()) {
            lsb = glyph.rects[0].x0;
            for (const Rect& rect : glyph.rects) {
                lsb = std::min(lsb, rect.x0);
                xMin = std::min(xMin, rect.x0);
                yMin = std::min(yMin, rect.y0);
                xMax = std::max(xMax, rect.x1);
                yMax = std::max(yMax, rect.y1);
            }
        }
        hmtx.u16(lsb);
        maxContours = std::max(maxContours, int(glyph.rects.size()));
        maxPoints = std::max(maxPoints, int(glyph.rects.size()) * 4);
    }
    loca.u32(std::uint32_t(glyf.bytes.size()));
    tables["glyf"] = glyf.bytes;
    tables["loca"] = loca.bytes;
    tables["hmtx"] = hmtx.bytes;

    Table head;
    head.u32(0x00010000);
    head.u32(0x00010000);
    head.u32(0); // checksum adjustment, set last
    head.u32(0x5F0F3CF5);
    head.u16(0x000B); // baseline at 0, left side bearing at 0, whole pixels
    head.u16(size * unitsPerPixel);
    for (int i = 0; i < 4; ++i)
        head.u32(0); // created, modified
    head.u16(xMin);
    head.u16(yMin);
    head.u16(xMax);
    head.u16(yMax);
    head.u16((weight >= 600 ? 1 : 0) | (italic ? 2 : 0));
    head.u16(size);
    head.u16(2);
    head.u16(1); // long offsets
    head.u16(0);
    tables["head"] = head.bytes;

    Table hhea;
    hhea.u32(0x00010000);
    hhea.u16(ascent * unitsPerPixel);
    hhea.u16(-descent * unitsPerPixel);
    hhea.u16(leading * unitsPerPixel);
    hhea.u16(maxAdvance);
    hhea.u16(xMin);
    hhea.u16(0);
    hhea.u16(xMax);
    hhea.u16(1);
    hhea.u16(0);
    hhea.u16(0);
    for (int i = 0; i < 5; ++i)
        hhea.u16(0);
    hhea.u16(int(glyphs.size()));
    tables["hhea"] = hhea.bytes;

    Table maxp;
    maxp.u32(0x00010000);
    maxp.u16(int(glyphs.size()));
    maxp.u16(maxPoints);
    maxp.u16(maxContours);
    maxp.u16(0);
    maxp.u16(0);
    maxp.u16(2);
    for (int i = 0; i < 8; ++i)
        maxp.u16(0);
    tables["maxp"] = maxp.bytes;

    Table os2;
    os2.u16(4);
    os2.u16(std::clamp(averageWidth, 1, largestPixels) * unitsPerPixel);
    os2.u16(weight);
    os2.u16(5);
    os2.u16(0); // installable
    for (int i = 0; i < 10; ++i)
        os2.u16(0); // sub- and superscript, strikeout
    os2.u16(0);
    for (int i = 0; i < 10; ++i)
        os2.u8(0); // PANOSE
    os2.u32(0x00000003); // Basic Latin, Latin-1 Supplement
    os2.u32(0);
    os2.u32(0);
    os2.u32(0);
    os2.tag("GLYW");
    os2.u16((italic ? 0x01 : 0) | (weight >= 600 ? 0x20 : 0) | (!italic && weight < 600 ? 0x40 : 0) | 0x80);
    os2.u16(int(std::min<std::uint32_t>(characters.firstKey(), 0xFFFF)));
    os2.u16(int(std::min<std::uint32_t>(characters.lastKey(), 0xFFFF)));
    os2.u16(ascent * unitsPerPixel);
    os2.u16(-descent * unitsPerPixel);
    os2.u16(leading * unitsPerPixel);
    os2.u16(ascent * unitsPerPixel);
    os2.u16(descent * unitsPerPixel);
    os2.u32(0x00000001); // Latin 1
    os2.u32(0);
    os2.u16(0);
    os2.u16(0);
    os2.u16(0);
    os2.u16(0x20);
    os2.u16(1);
    tables["OS/2"] = os2.bytes;

    tables["cmap"] = cmapTable(runsOf(characters));

    Table post;
    post.u32(0x00030000);
    post.u32(italic ? std::uint32_t(-12) << 16 : 0);
    post.u16(-descent * unitsPerPixel / 2);
    post.u16(unitsPerPixel);
    post.u32(FT_IS_FIXED_WIDTH(face) ? 1 : 0);
    for (int i = 0; i < 4; ++i)
        post.u32(0);
    tables["post"] = post.bytes;
    return tables;
}

QMap<QByteArray, QByteArray> pixelTables(const QString& path, int faceIndex, int strikePixels)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return {};
    FT_Face face = nullptr;
    QMap<QByteArray, QByteArray> tables;
    if (FT_New_Face(library, pathBytes(path).constData(), faceIndex, &face) == 0)
        tables = pixelTablesOf(face, strikePixels);
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return tables;
}

// The font of the tables under a family, in an em of that many units (0: the strike's
// own height).
QByteArray namedFont(QMap<QByteArray, QByteArray> tables, const QString& family, int unitsPerEm)
{
    if (tables.isEmpty())
        return {};
    QByteArray& head = tables["head"];
    if (unitsPerEm <= 0)
        unitsPerEm = readU16(head, headStrikePixels) * unitsPerPixel;
    Table em;
    em.u16(std::clamp(unitsPerEm, 16, 16384));
    head.replace(headUnitsPerEm, 2, em.bytes);
    const int macStyle = readU16(head, headMacStyle);
    const bool bold = macStyle & 1, italic = macStyle & 2;
    const QString style = bold ? (italic ? QStringLiteral("Bold Italic") : QStringLiteral("Bold"))
                               : (italic ? QStringLiteral("Italic") : QStringLiteral("Regular"));
    QString postscript;
    for (QChar character : family + QLatin1Char('-') + style) {
        if (character.unicode() > 32 && character.unicode() < 127 && !QStringLiteral("[](){}<>/%").contains(character))
            postscript += character;
    }
    Table records;
    QByteArray strings;
    nameRecord(records, strings, 1, family);
    nameRecord(records, strings, 2, style);
    nameRecord(records, strings, 3, postscript);
    nameRecord(records, strings, 4, family + QLatin1Char(' ') + style);
    nameRecord(records, strings, 6, postscript.left(63));
    Table name;
    name.u16(0);
    name.u16(5);
    name.u16(6 + 5 * 12);
    name.bytes += records.bytes + strings;
    tables["name"] = name.bytes;
    return sfntFile(tables);
}

} // namespace

QByteArray outlineFontOfBitmapFace(const QString& path, int faceIndex, const QString& family, int strikePixels,
                                   int unitsPerEm)
{
    return namedFont(pixelTables(path, faceIndex, strikePixels), family, unitsPerEm);
}

RasterFaces::~RasterFaces()
{
    if (current == this)
        current = nullptr;
    for (const Made& stand : std::as_const(made)) {
        for (int id : stand.fontIds)
            QFontDatabase::removeApplicationFont(id);
    }
}

namespace {

// The bitmap faces of the configuration: every font that is not scalable, colour
// bitmaps (emoji, which Qt draws itself) aside.
FcFontSet* bitmapFonts(FcConfig* config)
{
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_FONTFORMAT, FC_PIXEL_SIZE, FC_WEIGHT,
                                            FC_SLANT, FC_CHARSET, FC_COLOR, nullptr);
    FcFontSet* fonts = nullptr;
    if (pattern && objects && FcPatternAddBool(pattern, FC_SCALABLE, FcFalse))
        fonts = FcFontList(config, pattern, objects);
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    return fonts;
}

// The files fontconfig lists for a family, of any format.
QSet<QString> familyFiles(FcConfig* config, const QString& family)
{
    QSet<QString> files;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    if (pattern && objects &&
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()))) {
        if (FcFontSet* fonts = FcFontList(config, pattern, objects)) {
            for (int i = 0; i < fonts->nfont; ++i)
                files.insert(fcPath(fonts->fonts[i], FC_FILE));
            FcFontSetDestroy(fonts);
        }
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    return files;
}

// A raster face's height, weight and slant from its FNT header; false when FreeType
// does not read it as one.
bool readRasterHeader(const QString& file, int index, int& pixelHeight, int& weight, bool& italic)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face = nullptr;
    FT_WinFNT_HeaderRec header;
    const bool read = FT_New_Face(library, pathBytes(file).constData(), index, &face) == 0 &&
                      FT_Get_WinFNT_Header(face, &header) == 0 && header.pixel_height > 0;
    if (read) {
        pixelHeight = header.pixel_height;
        weight = header.weight;
        italic = header.italic != 0;
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return read;
}

QString strikeKey(const QString& file, int index, int pixelSize)
{
    return file + QLatin1Char('#') + QString::number(index) + QLatin1Char('@') + QString::number(pixelSize);
}

} // namespace

void RasterFaces::refresh()
{
    if (builtFrom == session.generation())
        return;
    builtFrom = session.generation();
    strikes.clear();
    unusable.clear();
    builtTables.clear();
    FcConfig* config = session.config();
    if (!config)
        return;
    QHash<QString, std::vector<Strike>> found; // case-folded family -> its strikes
    QHash<QString, QString> familyNames;       // case-folded family -> as fontconfig spells it
    if (FcFontSet* fonts = bitmapFonts(config)) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcPattern* font = fonts->fonts[i];
            FcBool colour = FcFalse;
            if (FcPatternGetBool(font, FC_COLOR, 0, &colour) == FcResultMatch && colour)
                continue;
            Strike strike;
            strike.file = fcPath(font, FC_FILE);
            FcPatternGetInteger(font, FC_INDEX, 0, &strike.index);
            std::vector<Strike> ofFile;
            if (fcString(font, FC_FONTFORMAT) == QLatin1String("Windows FNT")) {
                // The FNT header's pixel height is the face's line, which fontconfig's
                // size is not.
                if (readRasterHeader(strike.file, strike.index, strike.pixelSize, strike.weight, strike.italic))
                    ofFile.push_back(strike);
            } else {
                double weight = FC_WEIGHT_REGULAR;
                int slant = FC_SLANT_ROMAN;
                FcPatternGetDouble(font, FC_WEIGHT, 0, &weight);
                FcPatternGetInteger(font, FC_SLANT, 0, &slant);
                strike.weight = int(FcWeightToOpenTypeDouble(weight));
                strike.italic = slant != FC_SLANT_ROMAN;
                FcCharSet* charset = nullptr;
                if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch && charset)
                    strike.characters = int(FcCharSetCount(charset));
                double pixels = 0;
                for (int n = 0; FcPatternGetDouble(font, FC_PIXEL_SIZE, n, &pixels) == FcResultMatch; ++n) {
                    strike.pixelSize = int(std::lround(pixels));
                    if (strike.pixelSize > 0 && strike.pixelSize <= largestPixels)
                        ofFile.push_back(strike);
                }
            }
            for (int n = 0;; ++n) {
                const QString family = fcString(font, FC_FAMILY, n);
                if (family.isNull())
                    break;
                familyNames.insert(family.toCaseFolded(), family);
                auto& list = found[family.toCaseFolded()];
                list.insert(list.end(), ofFile.begin(), ofFile.end());
            }
        }
        FcFontSetDestroy(fonts);
    }
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        if (it->empty())
            continue;
        // A family that also has outline or other files is left to Qt.
        QSet<QString> bitmapFiles;
        for (const Strike& strike : *it)
            bitmapFiles.insert(strike.file);
        const QSet<QString> all = familyFiles(config, familyNames.value(it.key()));
        if ((all - bitmapFiles).isEmpty())
            strikes.insert(it.key(), *it);
    }
}

QString RasterFaces::standIn(const QString& face, double pixelHeight)
{
    const auto lock = lockFontCaches();
    return chooseStandIn(face, pixelHeight, false);
}

QString RasterFaces::outlineStandIn(const QString& face, double pixelHeight)
{
    const auto lock = lockFontCaches();
    return chooseStandIn(face, pixelHeight, true);
}

QString RasterFaces::chooseStandIn(const QString& face, double pixelHeight, bool strikeEm)
{
    refresh();
    const auto found = strikes.constFind(face.toCaseFolded());
    if (found == strikes.constEnd() || found->empty())
        return QString();
    // Qt draws a font at its pixel size rounded to whole pixels.
    const int height = std::max(1, int(std::lround(pixelHeight)));
    // Each strike at the whole multiple nearest the height; the nearest of those, the
    // larger strike (the finer pixels) of two as near, then the face's regular upright
    // style, then the file with most characters (X11 fonts come as one file per
    // encoding), as long as one makes a font.
    struct Candidate {
        const Strike* strike;
        int scale;
    };
    const auto rank = [height](const Candidate& c) {
        return std::make_tuple(std::abs(c.strike->pixelSize * c.scale - height), -c.strike->pixelSize, c.strike->italic,
                               std::abs(c.strike->weight - 400), -c.strike->characters);
    };
    std::vector<Candidate> candidates;
    for (const Strike& strike : *found) {
        if (unusable.contains(strikeKey(strike.file, strike.index, strike.pixelSize)))
            continue;
        const int below = std::max(1, height / strike.pixelSize);
        const int above = below + 1;
        const bool up = std::abs(strike.pixelSize * above - height) < std::abs(strike.pixelSize * below - height);
        candidates.push_back({&strike, up ? above : below});
    }
    std::sort(candidates.begin(), candidates.end(),
              [&](const Candidate& a, const Candidate& b) { return rank(a) < rank(b); });
    for (const Candidate& candidate : candidates) {
        // An em of 64 * height / scale units makes each face pixel (64 units) exactly
        // `scale` screen pixels at this height, whatever point size gave the height, so
        // the font keeps the size it was given. Each height is a stand-in of its own;
        // rounding the em costs scale / (128 * strike) pixels per face pixel at most,
        // a sliver that never moves an edge across a pixel's centre.
        const int unitsPerEm = strikeEm ? candidate.strike->pixelSize * 64
                                        : int(std::lround(64.0 * height / candidate.scale));
        const QString family = makeStandIn(face, *found, *candidate.strike, unitsPerEm);
        if (!family.isEmpty())
            return family;
    }
    return QString();
}

QString RasterFaces::makeStandIn(const QString& face, const std::vector<Strike>& all, const Strike& chosen,
                                 int unitsPerEm)
{
    const QString key = face.toCaseFolded() + QLatin1Char('|') +
                        strikeKey(chosen.file, chosen.index, chosen.pixelSize) + QLatin1Char('*') +
                        QString::number(unitsPerEm);
    recent.remove(key);
    recent.push_front(key);
    if (const auto known = made.constFind(key); known != made.constEnd())
        return known->family;

    const auto tablesOf = [this](const Strike& strike) {
        const QString id = strikeKey(strike.file, strike.index, strike.pixelSize);
        for (auto it = builtTables.begin(); it != builtTables.end(); ++it) {
            if (it->first == id) {
                builtTables.splice(builtTables.begin(), builtTables, it);
                return builtTables.front().second;
            }
        }
        QMap<QByteArray, QByteArray> tables = pixelTables(strike.file, strike.index, strike.pixelSize);
        if (tables.isEmpty()) {
            unusable.insert(id);
            return tables;
        }
        builtTables.emplace_front(id, tables);
        constexpr std::size_t tablesKept = 8;
        if (builtTables.size() > tablesKept)
            builtTables.pop_back();
        return tables;
    };
    Made stand;
    // A name never given before in this process: Qt does not find a family again once
    // a font of that name has been removed.
    static int serial = 0;
    const QString name = face + QStringLiteral(" (") + QString::number(chosen.pixelSize) + QStringLiteral("px bitmap, em ") +
                         QString::number(unitsPerEm) + QStringLiteral(", ") + QString::number(++serial) + QLatin1Char(')');
    const auto add = [&](const Strike& strike) {
        const QByteArray font = namedFont(tablesOf(strike), name, unitsPerEm);
        const int id = font.isEmpty() ? -1 : QFontDatabase::addApplicationFontFromData(font);
        if (id < 0)
            return false;
        stand.fontIds.push_back(id);
        if (stand.family.isEmpty())
            stand.family = QFontDatabase::applicationFontFamilies(id).value(0);
        return true;
    };
    if (add(chosen)) {
        // The other styles of that strike size join its family, so bold is the face's
        // own: for each, the file with most characters.
        std::vector<const Strike*> styles;
        for (const Strike& strike : all) {
            if (strike.pixelSize != chosen.pixelSize || (strike.weight == chosen.weight && strike.italic == chosen.italic))
                continue;
            const auto same = std::find_if(styles.begin(), styles.end(), [&](const Strike* other) {
                return other->weight == strike.weight && other->italic == strike.italic;
            });
            if (same == styles.end())
                styles.push_back(&strike);
            else if (strike.characters > (*same)->characters)
                *same = &strike;
        }
        for (const Strike* strike : styles)
            add(*strike);
    }
    if (!stand.family.isEmpty())
        faces.insert(stand.family, face);
    made.insert(key, stand);
    while (int(made.size()) > standInsKept)
        forgetOldest();
    return stand.family;
}

void RasterFaces::forgetOldest()
{
    // What is forgotten is made again when asked again.
    const QString key = recent.back();
    recent.pop_back();
    const Made stand = made.take(key);
    for (int id : stand.fontIds)
        QFontDatabase::removeApplicationFont(id);
    faces.remove(stand.family);
}

QString RasterFaces::faceOf(const QString& family) const
{
    const auto lock = lockFontCaches();
    return faces.value(family);
}

void setRasterFaces(RasterFaces* faces)
{
    current = faces;
}

RasterFaces* rasterFaces()
{
    return current;
}

} // namespace sys
