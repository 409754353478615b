#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

typedef struct _FcConfig FcConfig;
typedef struct _FcPattern FcPattern;

namespace sys {

// The program's own fontconfig configuration, separate from the one Qt draws with,
// so it can be reloaded after an install or uninstall without pulling the ground
// from under Qt. Every read of installed fonts goes through it.
class FontconfigSession {
public:
    FontconfigSession();
    ~FontconfigSession();
    FontconfigSession(const FontconfigSession&) = delete;
    FontconfigSession& operator=(const FontconfigSession&) = delete;

    // The current configuration with its fonts, loaded on first use.
    FcConfig* config();
    // Drops the configuration: the next use rescans the font folders, bringing the
    // on-disk caches up to date as fc-cache would.
    void reload();
    // Changes at every reload, so views built from the fonts know when to rebuild.
    std::uint64_t generation() const { return generationCounter; }

    // Adds a font file to the running configuration (kept across reloads).
    bool addApplicationFont(const QString& path);
    void removeApplicationFont(const QString& path);

private:
    FcConfig* current = nullptr;
    std::uint64_t generationCounter = 1;
    QStringList applicationFonts;
};

// Tells when the fonts of Qt's fontconfig configuration change (an application font
// added or removed, a reload): views built from them compare it with the one they
// were built from.
using FontSetsStamp = std::vector<std::pair<const void*, int>>;
FontSetsStamp currentFontSetsStamp();

// The n-th string of a pattern's object, or a null string when it has none.
QString fcString(FcPattern* pattern, const char* object, int n = 0);
// The family names of a pattern: the English ones where it names languages.
QStringList fcEnglishFamilies(FcPattern* pattern);
// The English full name of a pattern (the first when none is marked English), else
// its family and style.
QString fcFullName(FcPattern* pattern);
// A file path of a pattern (FC_FILE), its bytes kept exactly.
QString fcPath(FcPattern* pattern, const char* object);

} // namespace sys
