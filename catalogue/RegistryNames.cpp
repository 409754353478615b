#include "catalogue/RegistryNames.h"

#include "framework/Errors.h"

namespace catalogue {

QStringList sourceFiles(const ProbeResult& result)
{
    QStringList files;
    for (const QString& slot : result) {
        if (!slot.isEmpty())
            files << slot;
    }
    return files;
}

bool registered(const ProbeResult& result)
{
    for (const QString& slot : result) {
        if (!slot.isEmpty())
            return true;
    }
    return false;
}

void RegistryNames::refreshIndex()
{
    const std::vector<sys::RegValue>& values = registry.values();
    const std::uint64_t generation = registry.generation();
    if (generation == indexedGeneration && !index.isEmpty())
        return;
    index.clear();
    walkedFaces.clear();
    walkedSlots.clear();
    index.reserve(qsizetype(values.size()) * 2);
    // A value named face + suffix k answers slot k of that face. Case folding works
    // character by character, so folding the name folds face and suffix alike.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString folded = values[i].name.toCaseFolded();
        for (std::size_t k = 0; k < registrySuffixes.size(); ++k) {
            const QLatin1String suffix(registrySuffixes[k]);
            if (folded.size() >= suffix.size() && folded.endsWith(suffix, Qt::CaseInsensitive))
                index[folded.left(folded.size() - suffix.size())].value[k] = int(i);
        }
    }
    indexedGeneration = generation;
}

const RegistryNames::SlotValues* RegistryNames::lookup(const QString& face)
{
    const auto found = index.constFind(face.toCaseFolded());
    return found == index.constEnd() ? nullptr : &found.value();
}

QString RegistryNames::read(const QString& face, const SlotValues& faceSlots, int k)
{
    const int i = faceSlots.value[std::size_t(k)];
    if (i < 0)
        return QString();
    const sys::RegValue& value = registry.values()[std::size_t(i)];
    if (value.size == 0)
        return QString();
    if (!value.isString())
        throw fw::Error(QStringLiteral("Invalid data type for '%1'")
                            .arg(face + QLatin1String(registrySuffixes[std::size_t(k)])));
    const qsizetype nul = value.data.indexOf(QChar(0));
    return nul < 0 ? value.data : value.data.left(nul);
}

ProbeResult RegistryNames::probe(const QString& face)
{
    ProbeResult result;
    if (!registry.open())
        return result;
    refreshIndex();
    if (const SlotValues* faceSlots = lookup(face)) {
        for (int k = 0; k < 8; ++k)
            result[std::size_t(k)] = read(face, *faceSlots, k);
    }
    registry.close();
    return result;
}

bool RegistryNames::faceForFile(const QStringList& faces, const QString& fileName,
                                const std::function<void(const QString&)>& onMatch)
{
    if (!registry.open())
        return false;
    refreshIndex();
    if (!faces.isSharedWith(walkedFaces) || faces.isEmpty()) {
        walkedFaces = faces;
        walkedSlots.clear();
        walkedSlots.reserve(std::size_t(faces.size()));
        for (const QString& face : faces)
            walkedSlots.push_back(lookup(face));
    }
    bool matched = false;
    for (qsizetype i = 0; i < faces.size(); ++i) {
        const SlotValues* faceSlots = walkedSlots[std::size_t(i)];
        if (!faceSlots)
            continue;
        const QString& face = faces.at(i);
        for (int k = 0; k < 8; ++k) {
            if (read(face, *faceSlots, k) == fileName && !fileName.isEmpty()) {
                matched = true;
                onMatch(face);
            }
        }
    }
    registry.close();
    return matched;
}

} // namespace catalogue
