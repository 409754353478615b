#include "preview/CharacterMap.h"

#include <array>

namespace preview {

namespace {

// Windows-1252 codes 0x80..0x9F; unassigned codes keep their own number.
constexpr std::array<char16_t, 32> upperControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QChar windows1252Char(int code)
{
    if (code >= 0x80 && code <= 0x9F)
        return QChar(upperControls[std::size_t(code - 0x80)]);
    return QChar(char16_t(code & 0xFF));
}

int windows1252Code(QChar character)
{
    const char16_t unicode = character.unicode();
    for (std::size_t i = 0; i < upperControls.size(); ++i) {
        if (upperControls[i] == unicode)
            return int(0x80 + i);
    }
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF))
        return unicode;
    return '?';
}

QString zoomCodeLine(const QString& text)
{
    return QStringLiteral("ASCII-code is #") + QString::number(windows1252Code(text.at(0)));
}

QString cellSpokenName(const QString& text)
{
    if (text.isEmpty())
        return QString();
    return text + QStringLiteral(", code ") + QString::number(windows1252Code(text.at(0)));
}

} // namespace preview
