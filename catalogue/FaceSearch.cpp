#include "catalogue/FaceSearch.h"

#include <QDir>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <array>
#include <unicode/uloc.h>

namespace catalogue {

const QString findFieldHint = QStringLiteral(
    "Find faces: every word must match.\n"
    "A word matches a part of the name (case and accents ignored),\n"
    "a language or script the face writes: greek, el, ja, devanagari,\n"
    "its kind: mono, bitmap, variable, colour, symbol,\n"
    "its file format: ttf, otf, ttc, otc, woff, woff2, pcf, bdf, fon, otb,\n"
    "or where its files lie: mine (your font folder), system.\n"
    "Escape clears the field; Down goes to the list.");

namespace {

enum Kind : std::uint32_t {
    Mono = 1u << 0,
    Bitmap = 1u << 1,
    Variable = 1u << 2,
    Colour = 1u << 3,
    Symbol = 1u << 4,
    Mine = 1u << 5,
    System = 1u << 6,
};

struct KindWord {
    const char* word;
    std::uint32_t kind;
};
constexpr std::array<KindWord, 11> kindWords{{
    {"mono", Mono},
    {"monospace", Mono},
    {"monospaced", Mono},
    {"bitmap", Bitmap},
    {"variable", Variable},
    {"colour", Colour},
    {"color", Colour},
    {"symbol", Symbol},
    {"symbols", Symbol},
    {"mine", Mine},
    {"system", System},
}};

// File formats by their extension, each a bit.
constexpr std::array<const char*, 12> formatWords{
    {"ttf", "otf", "ttc", "otc", "woff", "woff2", "pcf", "bdf", "fon", "otb", "pfb", "pfa"}};

std::uint32_t kindsOfWord(const QString& word)
{
    std::uint32_t kinds = 0;
    for (const KindWord& entry : kindWords)
        if (word == QLatin1String(entry.word))
            kinds |= entry.kind;
    return kinds;
}

std::uint32_t formatBit(const QString& extension)
{
    for (std::size_t i = 0; i < formatWords.size(); ++i)
        if (extension == QLatin1String(formatWords[i]))
            return 1u << i;
    return 0;
}

// The format a file name's extension gives; a compressed X11 font counts as its own.
std::uint32_t formatOfFile(const QString& path)
{
    QString name = path.section(QLatin1Char('/'), -1).toLower();
    if (name.endsWith(QLatin1String(".gz")))
        name.chop(3);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? 0 : formatBit(name.mid(dot + 1));
}

// The folded words of a text: its runs of letters and digits.
QStringList foldedWords(const QString& text)
{
    QStringList words;
    QString word;
    for (const QChar c : foldForFinding(text)) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

QString fromIcu(const UChar* text, int32_t length)
{
    return QString(reinterpret_cast<const QChar*>(text), length);
}

// The English names of a fontconfig language code's language and script, from ICU:
// "el" is Greek in Greek script, "hi" Hindi in Devanagari, "und-zsye" Emoji.
QStringList languageNames(const QString& code)
{
    const QStringList parts = code.split(QLatin1Char('-'));
    QString id = parts.value(0);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        id += QLatin1Char('_') + (part.size() == 4 ? part.left(1).toUpper() + part.mid(1) : part.toUpper());
    }
    const QByteArray locale = id.toLatin1();
    QStringList names;
    UChar buffer[160];
    UErrorCode status = U_ZERO_ERROR;
    if (parts.value(0) != QLatin1String("und")) {
        const int32_t length = uloc_getDisplayLanguage(locale.constData(), "en", buffer, 160, &status);
        if (U_SUCCESS(status))
            names << foldedWords(fromIcu(buffer, length));
    }
    char likely[ULOC_FULLNAME_CAPACITY];
    status = U_ZERO_ERROR;
    uloc_addLikelySubtags(locale.constData(), likely, sizeof likely, &status);
    if (U_SUCCESS(status)) {
        const int32_t length = uloc_getDisplayScript(likely, "en", buffer, 160, &status);
        if (U_SUCCESS(status))
            names << foldedWords(fromIcu(buffer, length));
    }
    return names;
}

// Where in a name a word must stand: words with a meaning of their own (a language
// code, a kind, a format) count in names only as words or the start of one, so "ja"
// finds Japanese faces but not "DejaVu", and "fon" no "FontAwesome".
enum class Place { Anywhere, WordStart, WholeWord };

bool nameHas(const QString& name, const QString& word, Place place)
{
    if (place == Place::Anywhere)
        return name.contains(word);
    for (qsizetype at = name.indexOf(word); at >= 0; at = name.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        const bool starts = at == 0 || !name.at(at - 1).isLetterOrNumber();
        const bool ends = end == name.size() || !name.at(end).isLetterOrNumber();
        if (starts && (place == Place::WordStart || ends))
            return true;
    }
    return false;
}

bool anyCommon(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] & b[i])
            return true;
    return false;
}

} // namespace

QString foldForFinding(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            kept += c;
    return kept.toCaseFolded();
}

FindQuery parseQuery(const QString& text)
{
    FindQuery query;
    QSet<QString> seen;
    QString word;
    const auto take = [&] {
        if (!word.isEmpty() && !seen.contains(word)) {
            seen.insert(word);
            query.words << word;
        }
        word.clear();
    };
    for (const QChar c : foldForFinding(text)) {
        const QChar::Category category = c.category();
        if (c.isSpace() || category == QChar::Other_Control || category == QChar::Other_Format)
            take();
        else
            word += c;
    }
    take();
    return query;
}

bool fileNameMatches(const QString& fileName, const FindQuery& query)
{
    const QString folded = foldForFinding(fileName);
    const std::uint32_t format = formatOfFile(fileName);
    return std::all_of(query.words.begin(), query.words.end(), [&](const QString& word) {
        return folded.contains(word) || (format && formatBit(word) == format);
    });
}

QString foundCount(int found, int total, bool files)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString noun = files ? (total == 1 ? QStringLiteral("file") : QStringLiteral("files"))
                               : (total == 1 ? QStringLiteral("face") : QStringLiteral("faces"));
    return QStringLiteral("%1 of %2 %3").arg(english.toString(found), english.toString(total), noun);
}

int FaceFinder::languageIndex(const QString& code)
{
    if (const auto known = languageByCode.constFind(code); known != languageByCode.constEnd())
        return *known;
    const int index = int(languageCodes.size());
    languageCodes.push_back({code, code.section(QLatin1Char('-'), 0, 0), languageNames(code)});
    languageByCode.insert(code, index);
    return index;
}

void FaceFinder::clearTraits()
{
    traits.clear();
    traitsByFace.clear();
    traitsOfRow.assign(traitsOfRow.size(), -1);
}

void FaceFinder::addTraits(const sys::FaceTraits& face, const QString& fontFolder)
{
    Traits found;
    const auto kindIf = [](bool has, Kind kind) { return has ? std::uint32_t(kind) : 0u; };
    found.kinds = kindIf(face.monospaced, Mono) | kindIf(face.bitmap, Bitmap) | kindIf(face.variable, Variable) |
                  kindIf(face.colour, Colour);
    found.kinds |= kindIf(face.symbol, Symbol);
    for (const QString& code : face.languages) {
        const int index = languageIndex(code);
        if (std::size_t(index / 64) >= found.languages.size())
            found.languages.resize(std::size_t(index / 64) + 1);
        found.languages[std::size_t(index / 64)] |= std::uint64_t(1) << (index % 64);
    }
    const QString folder = fontFolder.isEmpty() ? QString() : QDir::cleanPath(fontFolder) + QLatin1Char('/');
    for (const QString& file : face.files) {
        found.formats |= formatOfFile(file);
        const bool mine = !folder.isEmpty() && QDir::cleanPath(file).startsWith(folder);
        found.kinds |= mine ? Mine : System;
    }
    traitsByFace.insert(face.face, int(traits.size()));
    traits.push_back(std::move(found));
}

void FaceFinder::setFaces(const QStringList& faces)
{
    foldedNames.clear();
    foldedNames.reserve(faces.size());
    traitsOfRow.assign(std::size_t(faces.size()), -1);
    for (qsizetype row = 0; row < faces.size(); ++row) {
        foldedNames << foldForFinding(faces.at(row));
        traitsOfRow[std::size_t(row)] = traitsByFace.value(faces.at(row), -1);
    }
}


std::vector<int> FaceFinder::find(const FindQuery& query) const
{
    std::vector<int> rows(std::size_t(foldedNames.size()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row] = int(row);
    // The longest words first: they leave the fewest rows for the others.
    QStringList words = query.words;
    std::stable_sort(words.begin(), words.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& word : words) {
        if (rows.empty())
            break;
        // The languages the word names: by code ("el", "zh" for every Chinese), or
        // from three letters on by the start of a language or script name.
        std::vector<std::uint64_t> languages((languageCodes.size() + 63) / 64);
        bool isCode = false;
        for (std::size_t index = 0; index < languageCodes.size(); ++index) {
            const Language& language = languageCodes[index];
            bool named = language.code == word || language.base == word;
            isCode = isCode || named;
            for (qsizetype i = 0; !named && word.size() >= 3 && i < language.names.size(); ++i)
                named = language.names.at(i).startsWith(word);
            if (named)
                languages[index / 64] |= std::uint64_t(1) << (index % 64);
        }
        const std::uint32_t kinds = kindsOfWord(word);
        const std::uint32_t formats = formatBit(word);
        const Place place = kinds || formats ? Place::WholeWord : isCode ? Place::WordStart : Place::Anywhere;
        std::erase_if(rows, [&](int row) {
            if (nameHas(foldedNames.at(row), word, place))
                return false;
            const int linked = traitsOfRow[std::size_t(row)];
            if (linked < 0 || std::size_t(linked) >= traits.size())
                return true;
            const Traits& face = traits[std::size_t(linked)];
            return !((face.kinds & kinds) || (face.formats & formats) || anyCommon(face.languages, languages));
        });
    }
    return rows;
}

} // namespace catalogue
