#include "preview/FaceScript.h"

#include "preview/UnicodeBlocks.h"

#include <QChar>
#include <QHash>
#include <algorithm>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

namespace preview {

namespace {

bool has(const QList<char32_t>& characters, char32_t c)
{
    return std::binary_search(characters.begin(), characters.end(), c);
}

UScriptCode scriptOf(char32_t c)
{
    UErrorCode error = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(UChar32(c), &error);
    return U_FAILURE(error) ? USCRIPT_INVALID_CODE : script;
}

// A letter of its own: not a mark, nor a composed or compatibility form
// (presentation forms, letters with a nukta).
bool baseLetter(char32_t c)
{
    const auto category = u_charType(UChar32(c));
    return u_isalpha(UChar32(c)) && category != U_NON_SPACING_MARK && category != U_COMBINING_SPACING_MARK &&
           QChar::decompositionTag(c) == QChar::NoDecomposition;
}

// A letter that shows its script plainly: a base letter, and no small kana or the like.
bool plainLetter(char32_t c)
{
    return baseLetter(c) && (u_islower(UChar32(c)) || !characterName(c).contains(QLatin1String("SMALL")));
}

QList<char32_t> lettersOf(const QList<char32_t>& characters, UScriptCode script, int count)
{
    QList<char32_t> letters;
    for (const char32_t c : characters) {
        if (letters.size() >= count)
            break;
        if (scriptOf(c) == script && plainLetter(c))
            letters << c;
    }
    return letters;
}

QString textOf(const QList<char32_t>& characters)
{
    return QString::fromUcs4(characters.constData(), characters.size());
}

} // namespace

Specimen faceSpecimen(const QList<char32_t>& characters, int count)
{
    QHash<int, int> letters; // by script
    for (const char32_t c : characters) {
        const UScriptCode script = scriptOf(c);
        if (script > USCRIPT_INHERITED && baseLetter(c))
            ++letters[script];
    }
    int main = USCRIPT_INVALID_CODE;
    for (auto it = letters.cbegin(); it != letters.cend(); ++it)
        if (main == USCRIPT_INVALID_CODE || it.value() > letters.value(main) ||
            (it.value() == letters.value(main) && it.key() < main))
            main = it.key();
    // An icon font may put a few icons at letters' codes (Æ, Ø): letters of a script
    // count only when the face has an alphabet's worth of them.
    constexpr int fewestLetters = 10;
    if (letters.value(main) < fewestLetters)
        main = USCRIPT_INVALID_CODE;
    if (main == USCRIPT_INVALID_CODE) {
        const QList<BlockCoverage> blocks = blocksOf(characters);
        const qsizetype largest = largestBlock(blocks);
        if (largest < 0)
            return {};
        return {textOf(blocks[largest].characters.mid(0, count)), QString()};
    }
    const auto mainScript = UScriptCode(main);
    QString name = QString::fromLatin1(uscript_getName(mainScript));
    QList<char32_t> chosen;
    // Japanese is written in kana and kanji together: a Han face with kana shows both.
    if (mainScript == USCRIPT_HAN && letters.value(USCRIPT_HIRAGANA) > 0) {
        chosen = lettersOf(characters, USCRIPT_HIRAGANA, count / 2);
        name = QString::fromLatin1(uscript_getName(USCRIPT_HIRAGANA)) + QStringLiteral(" and ") + name;
    }
    chosen += lettersOf(characters, mainScript, count - int(chosen.size()));
    return {textOf(chosen), name};
}

std::optional<QString> nameSpecimen(const QString& name, const sys::FaceCoverage& coverage)
{
    if (!coverage.known || coverage.hasAll(name))
        return std::nullopt;
    return faceSpecimen(coverage.characters, nameSpecimenLength).text;
}

bool drawsSomeOf(const QList<char32_t>& characters, const QString& text)
{
    const QList<uint> all = text.toUcs4();
    const bool anyLetter = std::any_of(all.begin(), all.end(), [](uint c) { return u_isalpha(UChar32(c)); });
    bool anyCounted = false;
    for (const char32_t c : all) {
        const bool counts = anyLetter ? u_isalpha(UChar32(c)) : showable(c);
        if (counts && has(characters, c))
            return true;
        anyCounted = anyCounted || counts;
    }
    return !anyCounted; // nothing to draw: nothing it cannot draw
}

QString scriptOfText(const QString& text)
{
    for (const char32_t c : text.toUcs4())
        if (u_isalpha(UChar32(c)))
            return QString::fromLatin1(uscript_getName(scriptOf(c)));
    return QString();
}

bool coversEightBitPage(const QList<char32_t>& characters)
{
    for (char32_t c = 'A'; c <= 'Z'; ++c)
        if (!has(characters, c) || !has(characters, c + 0x20))
            return false;
    return true;
}

} // namespace preview
