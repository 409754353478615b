#include "system/FilePaths.h"

#include <algorithm>

namespace sys {

namespace {

constexpr char16_t keptByteBase = 0xDC00;

bool isKeptByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

// Length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one.
int utf8Length(const QByteArray& bytes, qsizetype i, char32_t& codePoint)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not valid UTF-8.
    if (codePoint < minimum || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

QString pathFromBytes(const QByteArray& bytes)
{
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; }))
        return QString::fromLatin1(bytes);
    QString path;
    path.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = utf8Length(bytes, i, codePoint);
        if (length == 0) {
            path += QChar(char16_t(keptByteBase + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(codePoint)) {
            path += QChar(QChar::highSurrogate(codePoint));
            path += QChar(QChar::lowSurrogate(codePoint));
        } else {
            path += QChar(char16_t(codePoint));
        }
        i += length;
    }
    return path;
}

QByteArray pathBytes(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        if (isKeptByte(unit)) {
            bytes += char(unit - keptByteBase);
            continue;
        }
        // Everything else, surrogate pairs included, is plain UTF-8; a stray
        // surrogate of another range becomes U+FFFD.
        qsizetype length = 1;
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && QChar::isLowSurrogate(path.at(i + 1).unicode()))
            length = 2;
        bytes += QStringView(path).mid(i, length).toUtf8();
        i += length - 1;
    }
    return bytes;
}

QString displayPath(const QString& path)
{
    QString shown = path;
    for (QChar& character : shown) {
        if (isKeptByte(character.unicode()))
            character = QChar::ReplacementCharacter;
    }
    return shown;
}

} // namespace sys
