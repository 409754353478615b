// Qt asks fontconfig for a font's rendering settings each time it loads a font: an
// FcFontMatch whose pattern names the font's file. fontconfig scores every installed
// font for it, a few milliseconds at 10,000 fonts, paid for every face the list shows,
// every preview and every face printed: most of the cost of starting, paging and
// printing at that scale.
//
// The file is the first thing fontconfig's match compares, ahead of family, style and
// everything else, so when a pattern names one file and some fonts have it, the best
// match is always one of that file's faces. Scoring just those, in the same order,
// gives the very same pattern. This definition takes the place of fontconfig's in the
// whole process (the executable exports it); any other pattern gets the full match.
#include "system/FontMatch.h"

#include <atomic>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace sys {

namespace {

std::atomic<long> narrowedCount{0};

// The system and application font sets of a configuration, as fontconfig matches them.
int fontSets(FcConfig* config, FcFontSet* sets[2])
{
    int count = 0;
    for (const FcSetName name : {FcSetSystem, FcSetApplication}) {
        if (FcFontSet* set = FcConfigGetFonts(config, name))
            sets[count++] = set;
    }
    return count;
}

// Where each file's faces are in a configuration's font sets. Rebuilt whenever the
// sets are not the ones it was built from: another configuration, a font added or a
// set replaced.
class FileFaces {
public:
    // The faces of the file, in match order, or nothing when the file is not there.
    std::vector<FcPattern*> of(FcConfig* config, const char* file)
    {
        FcFontSet* sets[2] = {};
        const int count = fontSets(config, sets);
        const std::size_t now = signature(config, sets, count);
        if (now != builtSignature) {
            rebuild(sets, count);
            builtSignature = now;
        }
        std::vector<FcPattern*> faces;
        const auto found = places.find(std::string_view(file));
        if (found == places.end())
            return faces;
        for (const auto& [set, index] : found->second) {
            FcPattern* face = set < count && index < sets[set]->nfont ? sets[set]->fonts[index] : nullptr;
            FcChar8* name = nullptr;
            // A set changed in place under the same signature: give up on narrowing.
            if (!face || FcPatternGetString(face, FC_FILE, 0, &name) != FcResultMatch ||
                std::string_view(reinterpret_cast<const char*>(name)) != file) {
                builtSignature = 0;
                return {};
            }
            faces.push_back(face);
        }
        return faces;
    }

private:
    // The configuration, and every pattern of its sets in order: cheap next to a match.
    static std::size_t signature(FcConfig* config, FcFontSet* sets[2], int count)
    {
        std::size_t hash = std::hash<const void*>()(config) ^ std::size_t(count);
        for (int s = 0; s < count; ++s) {
            hash = hash * 1099511628211u ^ std::hash<const void*>()(sets[s]);
            for (int i = 0; i < sets[s]->nfont; ++i)
                hash = hash * 1099511628211u ^ std::hash<const void*>()(sets[s]->fonts[i]);
        }
        return hash | 1; // never 0, which means "not built"
    }

    void rebuild(FcFontSet* sets[2], int count)
    {
        places.clear();
        for (int s = 0; s < count; ++s) {
            for (int i = 0; i < sets[s]->nfont; ++i) {
                FcChar8* name = nullptr;
                if (FcPatternGetString(sets[s]->fonts[i], FC_FILE, 0, &name) == FcResultMatch)
                    places[reinterpret_cast<const char*>(name)].emplace_back(s, i);
            }
        }
    }

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::unordered_map<std::string, std::vector<std::pair<int, int>>, Hash, std::equal_to<>> places;
    std::size_t builtSignature = 0;
};

// The pattern's one file, or null when it names none or several.
const char* onlyFile(FcPattern* pattern)
{
    FcChar8* file = nullptr;
    FcChar8* second = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch ||
        FcPatternGetString(pattern, FC_FILE, 1, &second) == FcResultMatch)
        return nullptr;
    return reinterpret_cast<const char*>(file);
}

} // namespace

FcPattern* fullFontMatch(FcConfig* config, FcPattern* pattern)
{
    FcFontSet* sets[2] = {};
    FcResult result = FcResultNoMatch;
    return FcFontSetMatch(config, sets, fontSets(config, sets), pattern, &result);
}

long narrowedFontMatches()
{
    return narrowedCount;
}

bool fontMatchNarrowed()
{
    return dlsym(RTLD_DEFAULT, "FcFontMatch") == reinterpret_cast<void*>(&FcFontMatch);
}

} // namespace sys

extern "C" __attribute__((visibility("default"))) FcPattern* FcFontMatch(FcConfig* config, FcPattern* pattern,
                                                                         FcResult* result)
{
    static std::mutex lock;
    static sys::FileFaces files;
    if (!config)
        config = FcConfigGetCurrent();
    FcFontSet* sets[2] = {};
    int count = 0;
    std::vector<FcPattern*> faces;
    if (const char* file = sys::onlyFile(pattern)) {
        const std::lock_guard<std::mutex> guard(lock);
        faces = files.of(config, file);
    }
    FcFontSet* narrowed = nullptr;
    if (!faces.empty()) {
        narrowed = FcFontSetCreate();
        for (FcPattern* face : faces) {
            FcPatternReference(face);
            FcFontSetAdd(narrowed, face);
        }
        sets[0] = narrowed;
        count = 1;
        ++sys::narrowedCount;
    } else {
        count = sys::fontSets(config, sets);
    }
    FcPattern* best = FcFontSetMatch(config, sets, count, pattern, result);
    if (narrowed)
        FcFontSetDestroy(narrowed);
    return best;
}
