#pragma once

#include "system/FontEnumeration.h"

#include <QStringList>
#include <array>

namespace catalogue {

struct TCharSetRec {
    const char* name;
    int charset;
};

// The charset names, in the order they are searched.
inline constexpr std::array<TCharSetRec, 19> charsetTable{{
    {"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},  {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"OEM_CHARSET", 255},    {"JOHAB_CHARSET", 130},
    {"HEBREW_CHARSET", 177},    {"ARABIC_CHARSET", 178},   {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},   {"VIETNAMESE_CHARSET", 163}, {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238}, {"RUSSIAN_CHARSET", 204}, {"MAC_CHARSET", 77},
    {"BALTIC_CHARSET", 186},
}};

// The name of a charset number, or "Unknown charset %d".
QString charsetName(int charset);

// Appends one line per charset report of the face, in report order. The caller
// clears the target first.
void appendCharsets(sys::FontEnumeration& enumeration, const QString& face, QStringList& target);

} // namespace catalogue
