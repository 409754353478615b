#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace sys {

class FontconfigSession;

// The suffixes that make a face name into the value names probed for it, in slot
// order (slot 1 first). Leading blanks are part of each suffix.
inline constexpr std::array<const char*, 8> probeSuffixes{
    " (TrueType)",        "  (TrueType)",        " Normal (TrueType)", " italic (TrueType)",
    " bold (TrueType)",   " bold italic (TrueType)", " regular (TrueType)", " plain (TrueType)",
};

// Value types of the font registry view.
enum class RegType { String, ExpandString, Dword, Binary, MultiString };

// One value: its name, type and data. `size` is the size of the stored data in
// bytes; a value of size 0 reads as absent.
struct RegValue {
    QString name;
    RegType type = RegType::String;
    QString data;
    std::int64_t size = 0;

    bool isString() const { return type == RegType::String || type == RegType::ExpandString; }
    static RegValue string(const QString& name, const QString& data)
    {
        return {name, RegType::String, data, std::int64_t(data.toUtf8().size()) + 1};
    }
};

// The read-only view of the per-machine font registry key: value names compared
// ignoring letter case, string data naming font files.
class FontRegistry {
public:
    virtual ~FontRegistry() = default;
    // False when the key cannot be opened: every read then finds nothing.
    virtual bool open() = 0;
    virtual void close() {}
    // Every value of the key. Names are unique ignoring letter case.
    virtual const std::vector<RegValue>& values() = 0;
    // Changes whenever the values change.
    virtual std::uint64_t generation() = 0;
};

// The view built from fontconfig's list of font files: one string value per file,
// named by the font's full name and a type tag (" (TrueType)" for scalable sfnt
// fonts, the format otherwise), its data the path relative to the font folder when
// the file lies in it, else the absolute path. An sfnt face that its family's probe
// names would not find also gets the name Windows would have given it ("Family",
// "Family Bold", ...), so every installed outline face finds its files.
class FontconfigRegistry : public FontRegistry {
public:
    FontconfigRegistry(FontconfigSession& session, std::function<QString()> fontFolder)
        : session(session), fontFolder(std::move(fontFolder))
    {
    }
    bool open() override { return true; }
    const std::vector<RegValue>& values() override;
    std::uint64_t generation() override;

private:
    void rebuild();

    FontconfigSession& session;
    std::function<QString()> fontFolder;
    std::uint64_t builtFrom = 0;
    std::vector<RegValue> cached;
};

} // namespace sys
