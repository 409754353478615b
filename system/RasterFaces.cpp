#include "system/RasterFaces.h"

#include "system/CodePage.h"
#include "system/FilePaths.h"
#include "system/Fontconfig.h"

#include <QFontDatabase>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
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

// The set pixels of a mono bitmap as rectangles: runs of a row, continued downward
// while the rows below have the same run.
std::vector<Rect> pixelRects(const FT_Bitmap& bitmap, int left, int top)
{
    std::vector<Rect> done;
    QMap<std::pair<int, int>, Rect> open; // run (first column, end column) -> its rectangle so far
    for (unsigned row = 0; row <= bitmap.rows; ++row) {
        QMap<std::pair<int, int>, Rect> next;
        if (row < bitmap.rows) {
            const unsigned char* line = bitmap.buffer + std::ptrdiff_t(row) * bitmap.pitch;
            const auto set = [&](unsigned column) { return (line[column / 8] >> (7 - column % 8)) & 1; };
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

} // namespace

QByteArray outlineFontOfBitmapFace(const QString& path, int faceIndex, const QString& family)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return {};
    FT_Face face = nullptr;
    QByteArray font;
    FT_WinFNT_HeaderRec header;
    if (FT_New_Face(library, pathBytes(path).constData(), faceIndex, &face) == 0 &&
        FT_Get_WinFNT_Header(face, &header) == 0 && face->num_fixed_sizes > 0 && face->num_charmaps > 0 &&
        face->num_glyphs > 0 && face->num_glyphs < 0x10000 && header.pixel_height > 0 &&
        header.pixel_height <= largestPixels && header.max_width <= largestPixels &&
        FT_Select_Size(face, 0) == 0 && FT_Set_Charmap(face, face->charmaps[0]) == 0) {
        const int pixelHeight = header.pixel_height;
        const int ascent = std::clamp<int>(header.ascent, 0, pixelHeight);
        const int descent = pixelHeight - ascent;
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
            if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO && slot->bitmap.buffer)
                glyph.rects = pixelRects(slot->bitmap, slot->bitmap_left, slot->bitmap_top);
        }
        // Each 8-bit code of the face, as FreeType maps it, under its Windows-1252 character.
        QMap<int, int> characters; // Unicode -> glyph
        for (int code = std::max<int>(header.first_char, 0x20); code <= std::min<int>(header.last_char, 0xFF); ++code) {
            const FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
            if (index > 0 && index < FT_UInt(face->num_glyphs))
                characters.insert(windows1252ToUnicode(code), int(index));
        }
        if (!characters.isEmpty()) {
            const int weight = header.weight >= 100 && header.weight <= 900 ? header.weight : 400;
            const bool italic = header.italic != 0;
            const int em = pixelHeight * unitsPerPixel;
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
            head.u16(em);
            for (int i = 0; i < 4; ++i)
                head.u32(0); // created, modified
            head.u16(xMin);
            head.u16(yMin);
            head.u16(xMax);
            head.u16(yMax);
            head.u16((weight >= 600 ? 1 : 0) | (italic ? 2 : 0));
            head.u16(pixelHeight);
            head.u16(2);
            head.u16(1); // long offsets
            head.u16(0);
            tables["head"] = head.bytes;

            Table hhea;
            hhea.u32(0x00010000);
            hhea.u16(ascent * unitsPerPixel);
            hhea.u16(-descent * unitsPerPixel);
            hhea.u16(std::min<int>(header.external_leading, largestPixels) * unitsPerPixel);
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
            os2.u16(std::clamp<int>(header.avg_width, 1, largestPixels) * unitsPerPixel);
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
            os2.u16(characters.firstKey());
            os2.u16(std::min(characters.lastKey(), 0xFFFF));
            os2.u16(ascent * unitsPerPixel);
            os2.u16(-descent * unitsPerPixel);
            os2.u16(std::min<int>(header.external_leading, largestPixels) * unitsPerPixel);
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

            // Format 4, one segment per character, closed by 0xFFFF.
            Table cmap;
            const int segments = int(characters.size()) + 1;
            cmap.u16(0);
            cmap.u16(1);
            cmap.u16(3);
            cmap.u16(1);
            cmap.u32(12);
            cmap.u16(4);
            cmap.u16(16 + segments * 8);
            cmap.u16(0);
            int power = 1, log = 0;
            while (power * 2 <= segments) {
                power *= 2;
                ++log;
            }
            cmap.u16(segments * 2);
            cmap.u16(power * 2);
            cmap.u16(log);
            cmap.u16(segments * 2 - power * 2);
            for (auto it = characters.cbegin(); it != characters.cend(); ++it)
                cmap.u16(it.key());
            cmap.u16(0xFFFF);
            cmap.u16(0);
            for (auto it = characters.cbegin(); it != characters.cend(); ++it)
                cmap.u16(it.key());
            cmap.u16(0xFFFF);
            for (auto it = characters.cbegin(); it != characters.cend(); ++it)
                cmap.u16((it.value() - it.key()) & 0xFFFF);
            cmap.u16(1);
            for (int i = 0; i < segments; ++i)
                cmap.u16(0);
            tables["cmap"] = cmap.bytes;

            const QString style = weight >= 600 ? (italic ? QStringLiteral("Bold Italic") : QStringLiteral("Bold"))
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

            Table post;
            post.u32(0x00030000);
            post.u32(italic ? std::uint32_t(-12) << 16 : 0);
            post.u16(-descent * unitsPerPixel / 2);
            post.u16(unitsPerPixel);
            post.u32(FT_IS_FIXED_WIDTH(face) ? 1 : 0);
            for (int i = 0; i < 4; ++i)
                post.u32(0);
            tables["post"] = post.bytes;

            font = sfntFile(tables);
        }
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return font;
}

RasterFaces::~RasterFaces()
{
    if (current == this)
        current = nullptr;
    for (int id : fontIds)
        QFontDatabase::removeApplicationFont(id);
}

void RasterFaces::refresh()
{
    if (builtFrom == session.generation())
        return;
    builtFrom = session.generation();
    strikes.clear();
    FcConfig* config = session.config();
    if (!config)
        return;
    // The Windows FNT faces, then each of their families that has no other font.
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, nullptr);
    if (pattern)
        FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("Windows FNT"));
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
    QHash<QString, std::vector<Strike>> found;
    if (fonts) {
        for (int i = 0; i < fonts->nfont; ++i) {
            Strike strike;
            strike.file = fcPath(fonts->fonts[i], FC_FILE);
            FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &strike.index);
            for (int n = 0;; ++n) {
                const QString family = fcString(fonts->fonts[i], FC_FAMILY, n);
                if (family.isNull())
                    break;
                found[family.toCaseFolded()].push_back(strike);
            }
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    for (auto it = found.begin(); it != found.end(); ++it) {
        std::vector<Strike> usable;
        for (Strike& strike : *it) {
            FT_Library library = nullptr;
            if (FT_Init_FreeType(&library) != 0)
                continue;
            FT_Face face = nullptr;
            FT_WinFNT_HeaderRec header;
            if (FT_New_Face(library, pathBytes(strike.file).constData(), strike.index, &face) == 0 &&
                FT_Get_WinFNT_Header(face, &header) == 0 && header.pixel_height > 0) {
                strike.pixelHeight = header.pixel_height;
                strike.weight = header.weight;
                strike.italic = header.italic != 0;
                usable.push_back(strike);
            }
            if (face)
                FT_Done_Face(face);
            FT_Done_FreeType(library);
        }
        if (usable.empty())
            continue;
        // A family that also has outline or other files is left to Qt.
        int all = 0;
        if (FcPattern* family = FcPatternCreate()) {
            FcPatternAddString(family, FC_FAMILY, reinterpret_cast<const FcChar8*>(it.key().toUtf8().constData()));
            if (FcObjectSet* fileOnly = FcObjectSetBuild(FC_FILE, nullptr)) {
                if (FcFontSet* files = FcFontList(config, family, fileOnly)) {
                    all = files->nfont;
                    FcFontSetDestroy(files);
                }
                FcObjectSetDestroy(fileOnly);
            }
            FcPatternDestroy(family);
        }
        if (all <= int(it->size()))
            strikes.insert(it.key(), usable);
    }
}

QString RasterFaces::standIn(const QString& face, double pixelHeight)
{
    refresh();
    const auto found = strikes.find(face.toCaseFolded());
    if (found == strikes.end() || found->empty())
        return QString();
    // The strike nearest the height, regular weight and upright first.
    Strike* best = nullptr;
    for (Strike& strike : *found) {
        const auto rank = [&](const Strike& s) {
            return std::make_tuple(std::abs(s.pixelHeight - pixelHeight), s.italic, std::abs(s.weight - 400), -s.pixelHeight);
        };
        if (!best || rank(strike) < rank(*best))
            best = &strike;
    }
    if (best->family.isEmpty()) {
        best->family = makeStandIn(face, *best, QString());
        // The other styles of that height join its family, so bold is the face's own.
        for (Strike& strike : *found) {
            if (&strike != best && strike.pixelHeight == best->pixelHeight && strike.family.isEmpty() &&
                !best->family.isEmpty())
                strike.family = makeStandIn(face, strike, best->family);
        }
    }
    return best->family;
}

QString RasterFaces::makeStandIn(const QString& face, const Strike& strike, QString family)
{
    const QString key = strike.file + QLatin1Char('#') + QString::number(strike.index);
    if (const auto made = madeFiles.constFind(key); made != madeFiles.constEnd())
        return *made;
    if (family.isEmpty())
        family = face + QStringLiteral(" (raster ") + QString::number(strike.pixelHeight) + QStringLiteral("px)");
    QString result;
    const QByteArray font = outlineFontOfBitmapFace(strike.file, strike.index, family);
    const int id = font.isEmpty() ? -1 : QFontDatabase::addApplicationFontFromData(font);
    if (id >= 0) {
        fontIds.push_back(id);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        result = families.isEmpty() ? QString() : families.first();
        if (!result.isEmpty())
            faces.insert(result, face);
    }
    // A face that cannot be made is not tried again: Qt draws it as it can.
    madeFiles.insert(key, result);
    return result;
}

QString RasterFaces::faceOf(const QString& family) const
{
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
