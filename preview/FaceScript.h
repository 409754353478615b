#pragma once

#include "system/FaceCoverage.h"

#include <QList>
#include <QString>
#include <optional>

// What stands in for a text a face cannot draw: a few characters of the script the
// face covers most, taken from its own character map.
namespace preview {

struct Specimen {
    QString text;   // the characters, in code order within each script
    QString script; // their script's name ("Arabic", "Hiragana and Han"); empty when
                    // the face has no letters and shows its first symbols or icons
};

// Up to `count` characters of the face (its characters ascending): letters of the
// script it has most letters of, ten at least (kana before kanji where it has both); for a face
// without letters, the first characters of the block it covers most.
Specimen faceSpecimen(const QList<char32_t>& characters, int count);

// How the face list and the catalogue write a face's name: nothing when the face draws
// every character of its name (or its characters are not known), which is written in
// the face; else the name goes in a plain face, followed by these few characters of
// the face's own (empty for a face with nothing to show).
inline constexpr int nameSpecimenLength = 5;
std::optional<QString> nameSpecimen(const QString& name, const sys::FaceCoverage& coverage);

// Whether the face can draw at least one letter of the text (at least one of its
// visible characters when the text has no letters). True for a text of blanks alone.
bool drawsSomeOf(const QList<char32_t>& characters, const QString& text);

// The script of the text's first letter ("Latin"); empty when it has none.
QString scriptOfText(const QString& text);

// Whether the face covers the 8-bit page: it has every ASCII letter.
bool coversEightBitPage(const QList<char32_t>& characters);

} // namespace preview
