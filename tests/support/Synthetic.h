#pragma once

#include "tests/support/Fakes.h"

// A synthetic catalogue for scale: "Synth 00000" ... in fontconfig's kind of no
// order, each face with a regular and a bold registry value.
namespace synthetic {

inline QString faceName(int i)
{
    return QStringLiteral("Synth %1").arg(i, 5, 10, QLatin1Char('0'));
}

inline void fill(FakeFontEnumeration& fonts, MemoryRegistry& registry, int count)
{
    for (int i = 0; i < count; ++i) {
        fonts.reports.push_back({faceName(int((qint64(i) * 7919) % count)), 0});
        fonts.charsets[faceName(i)] = {0, 238};
        registry.stored.push_back(sys::RegValue::string(faceName(i) + " (TrueType)", QStringLiteral("s%1.ttf").arg(i)));
        registry.stored.push_back(
            sys::RegValue::string(faceName(i) + " Bold (TrueType)", QStringLiteral("s%1b.ttf").arg(i)));
    }
    ++registry.changes;
}

} // namespace synthetic
