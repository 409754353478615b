#include "preview/CharacterMap.h"

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
