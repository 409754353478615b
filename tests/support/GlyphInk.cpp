#include "tests/support/GlyphInk.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace glyphink {

Ink trimmed(Ink rows)
{
    while (!rows.isEmpty() && !rows.first().contains('#'))
        rows.removeFirst();
    while (!rows.isEmpty() && !rows.last().contains('#'))
        rows.removeLast();
    int left = 1 << 20, right = -1;
    for (const QString& row : rows) {
        if (row.contains('#')) {
            left = std::min(left, int(row.indexOf('#')));
            right = std::max(right, int(row.lastIndexOf('#')));
        }
    }
    for (QString& row : rows)
        row = right < 0 ? QString() : row.mid(left, right - left + 1).leftJustified(right - left + 1, '.');
    return rows;
}

Ink freetypeInk(const QString& file, int code, int strikePixels, bool unicode)
{
    Ink rows;
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face face = nullptr;
    if (FT_New_Face(library, QFile::encodeName(file).constData(), 0, &face) == 0) {
        int strike = 0;
        for (int i = 0; i < face->num_fixed_sizes; ++i)
            if ((face->available_sizes[i].y_ppem + 32) >> 6 == strikePixels)
                strike = i;
        FT_Select_Size(face, strike);
        if (unicode)
            FT_Select_Charmap(face, FT_ENCODING_UNICODE);
        else
            FT_Set_Charmap(face, face->charmaps[0]);
        if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
            const FT_Bitmap& bitmap = face->glyph->bitmap;
            for (unsigned y = 0; y < bitmap.rows; ++y) {
                QString row;
                for (unsigned x = 0; x < bitmap.width; ++x)
                    row += (bitmap.buffer[y * unsigned(bitmap.pitch) + x / 8] >> (7 - x % 8)) & 1 ? '#' : '.';
                rows << row;
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return trimmed(rows);
}

Ink qtInk(QFont font, const QString& text, int pixelSize)
{
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    const int size = QFontInfo(font).pixelSize();
    QImage image(size * 4, size * 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(size, size * 2, text);
    }
    Ink rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += qGray(image.pixel(x, y)) < 128 ? '#' : '.';
        rows << row;
    }
    return trimmed(rows);
}

Ink scaled(const Ink& ink, int scale)
{
    Ink rows;
    for (const QString& row : ink) {
        QString wide;
        for (QChar pixel : row)
            wide += QString(scale, pixel);
        for (int i = 0; i < scale; ++i)
            rows << wide;
    }
    return rows;
}

} // namespace glyphink
