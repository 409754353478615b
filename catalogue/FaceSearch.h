#pragma once

#include "system/FontEnumeration.h"

#include <QHash>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace catalogue {

// The words the find field understands besides names, as its tool tip lists them.
extern const QString findFieldHint;

// What a user typed into the find field: its words, folded (no letter case, no
// accents), each once, control characters taken as spaces.
struct FindQuery {
    QStringList words;
    bool isEmpty() const { return words.isEmpty(); }
};
FindQuery parseQuery(const QString& text);

// Text as the finder compares it: case-folded, accents taken off.
QString foldForFinding(const QString& text);

// Whether a file name of the file view matches every word: a part of its name, or
// the format its extension gives ("woff2", "pcf" for .pcf.gz).
bool fileNameMatches(const QString& fileName, const FindQuery& query);

// "132 of 10,003 faces", "1 of 12 files".
QString foundCount(int found, int total, bool files);

// Finds faces by every word typed: a word matches a face when it is a part of its
// name, names a language or script the face writes ("greek", "el", "devanagari"),
// its kind ("mono", "bitmap", "variable", "colour", "symbol"), a format of its files
// ("otf", "woff2") or where they lie ("mine": the user's font folder, "system").
// A word with such a meaning is looked for in names only as a word ("mono") or, for
// a language code, as the start of one ("ja").
class FaceFinder {
public:
    // What the fonts say of the faces, and the user's font folder; a face the
    // traits do not mention is found by its name alone.
    void clearTraits();
    void addTraits(const sys::FaceTraits& traits, const QString& fontFolder);
    bool hasTraits() const { return !traitsByFace.isEmpty(); }

    // The list the finder searches, by row; given again after the traits change.
    void setFaces(const QStringList& faces);
    // The rows of the list that every word matches, in list order; every row for a
    // query without words.
    std::vector<int> find(const FindQuery& query) const;

private:
    struct Traits {
        std::uint32_t kinds = 0;
        std::uint32_t formats = 0;
        std::vector<std::uint64_t> languages; // bits over languageCodes
    };
    struct Language {
        QString code;
        QString base;        // "zh" of "zh-cn"
        QStringList names;   // folded words of its English language and script names
    };
    int languageIndex(const QString& code);

    std::vector<Language> languageCodes;
    QHash<QString, int> languageByCode;
    std::vector<Traits> traits;
    QHash<QString, int> traitsByFace;
    QStringList foldedNames;
    std::vector<int> traitsOfRow; // -1: none
};

} // namespace catalogue
