#pragma once

#include "system/FontRegistry.h"

#include <QHash>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace catalogue {

// The suffixes that make a face name into the registry names probed for it, in
// slot order (slot 1 first).
inline constexpr const auto& registrySuffixes = sys::probeSuffixes;

// The eight faceSlots of one probe; an empty slot is an empty string.
using ProbeResult = std::array<QString, 8>;

// The non-empty faceSlots in slot order, duplicates kept.
QStringList sourceFiles(const ProbeResult& result);
// True when at least one slot is non-empty.
bool registered(const ProbeResult& result);

// Reads face names against the font registry view. Probing reads the eight names
// of a face; a value of such a name that is not a string raises
// "Invalid data type for '%s'". Lookups go through an index of the values by face
// name and slot, kept until the view changes, so a walk over every face is cheap.
class RegistryNames {
public:
    explicit RegistryNames(sys::FontRegistry& registry) : registry(registry) {}

    ProbeResult probe(const QString& face);

    // The reverse rule: walks the faces in order, reads the eight names of each and
    // calls onMatch(face) for every slot whose data equals the file name exactly.
    // The last call names the answer. Returns whether any slot matched.
    bool faceForFile(const QStringList& faces, const QString& fileName,
                     const std::function<void(const QString&)>& onMatch);

private:
    struct SlotValues {
        std::array<int, 8> value{-1, -1, -1, -1, -1, -1, -1, -1}; // index into the view's values
    };
    const SlotValues* lookup(const QString& face);
    // The data of slot k, or empty; raises for a non-string value.
    QString read(const QString& face, const SlotValues& faceSlots, int k);
    void refreshIndex();

    sys::FontRegistry& registry;
    std::uint64_t indexedGeneration = 0;
    QHash<QString, SlotValues> index; // case-folded face name -> its slots
    // The slots of each face of the last list walked, while that list and the
    // index stay the same: walking the installed list again costs no lookups.
    QStringList walkedFaces;
    std::vector<const SlotValues*> walkedSlots;
};

} // namespace catalogue
