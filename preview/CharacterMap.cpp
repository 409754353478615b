#include "preview/CharacterMap.h"

#include "preview/FaceScript.h"
#include "preview/UnicodeBlocks.h"
#include "system/CodePage.h"

namespace preview {

QChar windows1252Char(int code)
{
    return QChar(sys::windows1252ToUnicode(code));
}

int windows1252Code(QChar character)
{
    const char16_t unicode = character.unicode();
    for (int code = 0x80; code <= 0x9F; ++code) {
        if (sys::windows1252ToUnicode(code) == unicode)
            return code;
    }
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF))
        return unicode;
    return '?';
}

MapPages mapPagesOf(const QList<char32_t>& characters, bool known)
{
    MapPages result;
    const bool eightBit = !known || coversEightBitPage(characters);
    if (eightBit)
        result.pages.append({eightBitPageName, true, {}});
    const QList<BlockCoverage> blocks = blocksOf(characters);
    for (const BlockCoverage& block : blocks)
        result.pages.append({block.name, false, block.characters});
    if (eightBit)
        result.opening = 0;
    else if (!blocks.isEmpty())
        result.opening = largestBlock(blocks);
    return result;
}

int mapRowsOf(const MapPage& page)
{
    if (page.eightBit)
        return mapRows;
    return std::max(1, int((page.characters.size() + mapColumns - 1) / mapColumns));
}

QList<QStringList> mapRowTexts(const MapPage& page)
{
    QList<QStringList> rows(mapRowsOf(page));
    if (page.eightBit) {
        fillCharacterMap([&](int column, int row, const QString& text) {
            rows[row].resize(std::max<qsizetype>(rows[row].size(), column + 1));
            rows[row][column] = text;
        });
        return rows;
    }
    for (qsizetype i = 0; i < page.characters.size(); ++i)
        rows[i / mapColumns] << QString::fromUcs4(&page.characters[i], 1);
    return rows;
}

QString zoomCodeLine(const QString& text, bool eightBit)
{
    if (eightBit)
        return QStringLiteral("ASCII-code is #") + QString::number(windows1252Code(text.at(0)));
    return unicodeLine(text.toUcs4().value(0));
}

QString cellSpokenName(const QString& text, bool eightBit)
{
    if (text.isEmpty())
        return QString();
    if (eightBit)
        return text + QStringLiteral(", code ") + QString::number(windows1252Code(text.at(0)));
    return text + QStringLiteral(", ") + codeAndName(text.toUcs4().value(0));
}

} // namespace preview
