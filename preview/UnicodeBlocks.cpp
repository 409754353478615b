#include "preview/UnicodeBlocks.h"

#include <QChar>
#include <algorithm>
#include <unicode/uchar.h>

namespace preview {

QString blockName(int block)
{
    // ICU's long names spell the standard names with underscores and capitals:
    // "Latin_1_Supplement", "Greek_And_Coptic", "Latin_Extended_A".
    const char* icu = u_getPropertyValueName(UCHAR_BLOCK, block, U_LONG_PROPERTY_NAME);
    if (!icu)
        return QStringLiteral("No Block");
    QStringList words = QString::fromLatin1(icu).split(QLatin1Char('_'));
    QString name = words.value(0);
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& word = words[i];
        const bool lettered = word.size() == 1 && word.at(0).isUpper() && words[i - 1] != QLatin1String("Extension");
        const bool latin1 = word == QLatin1String("1") && words[i - 1] == QLatin1String("Latin");
        name += lettered || latin1 ? QLatin1Char('-') : QLatin1Char(' ');
        const bool small = word == QLatin1String("And") || word == QLatin1String("For") || word == QLatin1String("Of");
        name += small ? word.toLower() : word;
    }
    return name;
}

bool showable(char32_t c)
{
    const auto category = u_charType(UChar32(c));
    if (category == U_CONTROL_CHAR || category == U_FORMAT_CHAR || category == U_SPACE_SEPARATOR ||
        category == U_LINE_SEPARATOR || category == U_PARAGRAPH_SEPARATOR || category == U_SURROGATE)
        return false;
    return !u_hasBinaryProperty(UChar32(c), UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

QList<BlockCoverage> blocksOf(const QList<char32_t>& characters)
{
    QList<BlockCoverage> blocks;
    for (const char32_t c : characters) {
        if (!showable(c))
            continue;
        const int block = u_getIntPropertyValue(UChar32(c), UCHAR_BLOCK);
        if (blocks.isEmpty() || blocks.last().block != block)
            blocks.append({block, blockName(block), {}});
        blocks.last().characters << c;
    }
    return blocks;
}

namespace {

// Presentation forms, compatibility ideographs and the like repeat what another block
// holds: a block of them is not what a face is for.
qsizetype ownCharacters(const BlockCoverage& block)
{
    return std::count_if(block.characters.begin(), block.characters.end(), [](char32_t c) {
        const QChar::Decomposition tag = QChar::decompositionTag(c);
        return tag == QChar::NoDecomposition || tag == QChar::Canonical;
    });
}

} // namespace

qsizetype largestBlock(const QList<BlockCoverage>& blocks)
{
    qsizetype largest = -1;
    qsizetype most = -1;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        const qsizetype own = ownCharacters(blocks[i]);
        if (own > most) {
            largest = i;
            most = own;
        }
    }
    return largest;
}

QString characterName(char32_t c)
{
    char name[256];
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = u_charName(UChar32(c), U_UNICODE_CHAR_NAME, name, sizeof name, &error);
    if (U_FAILURE(error) || length <= 0)
        return QString();
    return QString::fromLatin1(name, length);
}

QString codeLabel(char32_t c)
{
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString codeAndName(char32_t c)
{
    const QString name = characterName(c);
    return name.isEmpty() ? codeLabel(c) : codeLabel(c) + QLatin1Char(' ') + name;
}

QString unicodeLine(char32_t c)
{
    return QStringLiteral("Unicode ") + codeAndName(c);
}

} // namespace preview
