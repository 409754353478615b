// The registry view and its probe over names and data that font files control, and the
// byte-exact round trip of file names through text.
#include "fuzz/FuzzSupport.h"

#include "catalogue/RegistryNames.h"
#include "framework/Errors.h"
#include "system/FilePaths.h"

namespace {

class MemoryRegistry : public sys::FontRegistry {
public:
    bool open() override { return true; }
    const std::vector<sys::RegValue>& values() override { return stored; }
    std::uint64_t generation() override { return changes; }

    std::vector<sys::RegValue> stored;
    std::uint64_t changes = 1;
};

// The face a value name probes for: the name less its first matching suffix.
QString faceOf(const QString& name)
{
    for (const char* suffix : sys::probeSuffixes) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return name.left(name.size() - qsizetype(strlen(suffix)));
    }
    return name;
}

} // namespace

// Records are separated by NUL bytes. A record's first byte picks the value's type and
// whether it is empty; the rest is "name=data", both as file-name bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    MemoryRegistry registry;
    QStringList faces;
    QString lastData;
    for (const QByteArray& record : input.split('\0')) {
        if (record.isEmpty())
            continue;
        const auto control = static_cast<unsigned char>(record[0]);
        const QByteArray rest = record.mid(1);
        const qsizetype equals = rest.indexOf('=');
        const QByteArray nameBytes = equals < 0 ? rest : rest.left(equals);
        const QByteArray dataBytes = equals < 0 ? QByteArray() : rest.mid(equals + 1);
        for (const QByteArray& bytes : {nameBytes, dataBytes})
            fuzz::require(sys::pathBytes(sys::pathFromBytes(bytes)) == bytes, "file name bytes round trip");
        sys::RegValue value;
        value.name = sys::pathFromBytes(nameBytes);
        value.data = sys::pathFromBytes(dataBytes);
        value.type = static_cast<sys::RegType>(control % 5);
        value.size = (control & 0x80) ? 0 : qsizetype(dataBytes.size()) + 1;
        registry.stored.push_back(value);
        faces << faceOf(value.name);
        lastData = value.data;
        sys::displayPath(value.name);
    }
    catalogue::RegistryNames names(registry);
    for (const QString& face : faces) {
        try {
            const catalogue::ProbeResult result = names.probe(face);
            fuzz::require(catalogue::registered(result) == !catalogue::sourceFiles(result).isEmpty(),
                          "a registered face has source files");
            for (const QString& file : result)
                fuzz::require(!file.contains(QChar(0)), "slot data ends at its first NUL");
        } catch (const fw::Error&) {
            // A value that is not a string: reported to the user as an error.
        }
    }
    try {
        names.faceForFile(faces, lastData, [&](const QString& face) {
            fuzz::require(faces.contains(face), "the matching face is one of those walked");
        });
    } catch (const fw::Error&) {
    }
    return 0;
}
