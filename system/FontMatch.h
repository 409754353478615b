#pragma once

typedef struct _FcConfig FcConfig;
typedef struct _FcPattern FcPattern;

namespace sys {

// Whether this process's FcFontMatch is the narrowed one below, the one Qt calls when
// it loads a font; false if the executable does not export it.
bool fontMatchNarrowed();
// How many matches so far were narrowed to a file's faces.
long narrowedFontMatches();

// fontconfig's own full match: every font of the configuration's system and
// application sets scored against the pattern (what FcFontMatch does in fontconfig).
FcPattern* fullFontMatch(FcConfig* config, FcPattern* pattern);

} // namespace sys
