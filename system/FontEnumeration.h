#pragma once

#include "system/NamedInstances.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace sys {

class FontconfigSession;

// One report of the font-family enumeration: a face name and one charset number.
struct FontReport {
    QString face;
    int charset = 1; // DEFAULT_CHARSET when the report does not name one
};

// What the fonts say of one face, for finding it: the languages its glyphs write (as
// fontconfig codes: "el", "zh-cn", "und-zsye"), its kind and its files. A face of
// several fonts has what any of them has. A symbol face writes no language: icons,
// dingbats, emoji.
struct FaceTraits {
    QString face;
    QStringList languages;
    bool monospaced = false;
    bool bitmap = false;
    bool variable = false;
    bool colour = false;
    bool symbol = false;
    QStringList files;
};

// The platform's font-family enumeration.
class FontEnumeration {
public:
    virtual ~FontEnumeration() = default;
    // Every installed family, reports grouped by family.
    virtual std::vector<FontReport> enumerateFaces() = 0;
    // The reports of one face, one per charset it supports, in report order.
    virtual std::vector<FontReport> enumerateFace(const QString& face) = 0;
    // The faces a font file holds, as the face list names them, once each: its
    // families (several in a collection), then a variable font's named instances.
    virtual QStringList familiesInFile(const QString& path) = 0;
    // The traits of every face enumerateFaces reports, one face at a time.
    virtual void listFaceTraits(const std::function<void(const FaceTraits&)>& each) { (void)each; }
};

// Families from fontconfig; charsets from each file's OS/2 code-page bits, the
// charset byte of a Windows FNT header, or Latin-1 coverage, read with FreeType.
class FontconfigEnumeration : public FontEnumeration {
public:
    explicit FontconfigEnumeration(FontconfigSession& session) : session(session) {}
    std::vector<FontReport> enumerateFaces() override;
    std::vector<FontReport> enumerateFace(const QString& face) override;
    QStringList familiesInFile(const QString& path) override;
    void listFaceTraits(const std::function<void(const FaceTraits&)>& each) override;

private:
    const NamedInstances& instances();

    FontconfigSession& session;
    std::uint64_t instancesGeneration = 0;
    NamedInstances listedInstances;
    // The reports of each face asked for, kept until the fonts change: reading them
    // opens every file of the family.
    std::uint64_t cachedGeneration = 0;
    QHash<QString, std::vector<FontReport>> faceReports;
};

// The charsets of one font file (face index inside it), in bit order; empty when
// the file cannot be read.
std::vector<int> fileCharsets(const QString& path, int faceIndex);

} // namespace sys
