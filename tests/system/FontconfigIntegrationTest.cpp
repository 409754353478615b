#include "catalogue/Charsets.h"
#include "catalogue/InstalledFaces.h"
#include "catalogue/RegistryNames.h"
#include "system/FontEnumeration.h"
#include "system/FontRegistry.h"
#include "system/FontResources.h"
#include "system/Fontconfig.h"
#include "system/ShellFolders.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The real font stack on this process's private font tree.
struct RealFonts {
    sys::FontconfigSession session;
    sys::XdgShellFolders folders;
    sys::FontconfigEnumeration enumeration{session};
    sys::FontconfigRegistry registry{session, [this] { return folders.fonts(); }};
    sys::FontconfigResources resources{session};
    catalogue::InstalledFaceList faces{enumeration};
    catalogue::RegistryNames names{registry};

    RealFonts() { resources.onFontChange([this] { faces.invalidate(); }); }
};

QStringList charsetsOf(sys::FontEnumeration& enumeration, const QString& face)
{
    QStringList lines;
    catalogue::appendCharsets(enumeration, face, lines);
    return lines;
}

} // namespace

TEST(FontconfigIntegration, FacesSortedWithDefaultAndCharsetsFromTheFiles)
{
    RealFonts fonts;
    const QStringList faces = fonts.faces.faces();
    for (const char* face : {"Default", "DejaVu Sans", "Liberation Sans"})
        ASSERT_TRUE(faces.contains(face)) << face;
    QStringList sorted = faces;
    catalogue::sortFaceNames(sorted);
    EXPECT_EQ(faces, sorted);

    QStringList dejavu = charsetsOf(fonts.enumeration, "DejaVu Sans");
    ASSERT_FALSE(dejavu.isEmpty());
    EXPECT_EQ(dejavu.first(), "ANSI_CHARSET");
    EXPECT_TRUE(dejavu.contains("RUSSIAN_CHARSET"));
    EXPECT_TRUE(dejavu.contains("GREEK_CHARSET"));
    EXPECT_EQ(dejavu.removeDuplicates(), 0);
    // A Windows raster font names its charset in its header.
    EXPECT_EQ(charsetsOf(fonts.enumeration, "MS Sans Serif"), QStringList({"ANSI_CHARSET"}));
    EXPECT_TRUE(charsetsOf(fonts.enumeration, "No Such Face").isEmpty());
    // fontconfig ignores blanks in family names; a face name does not.
    EXPECT_TRUE(charsetsOf(fonts.enumeration, "DejaVuSans").isEmpty());
    EXPECT_EQ(charsetsOf(fonts.enumeration, "dejavu sans"), dejavu);
}

TEST(FontconfigIntegration, RegistryViewProbeAndReverseRule)
{
    RealFonts fonts;
    // System fonts: absolute data; every style of Liberation Sans in its slot.
    const catalogue::ProbeResult liberation = fonts.names.probe("Liberation Sans");
    for (const auto& [slot, style] : {std::pair{0, "Regular"}, {3, "Italic"}, {4, "Bold"}, {5, "BoldItalic"}})
        EXPECT_TRUE(liberation[slot].endsWith(QStringLiteral("/LiberationSans-%1.ttf").arg(style))) << slot;
    EXPECT_TRUE(QDir::isAbsolutePath(liberation[0]));
    // Raster fonts carry another tag and are never found.
    EXPECT_FALSE(catalogue::registered(fonts.names.probe("MS Sans Serif")));

    // A font file placed in the font folder: bare file name under slot 1.
    const QString serif = testenv::debianFont("DejaVuSerif.ttf");
    ASSERT_FALSE(serif.isEmpty());
    testenv::copyInto(serif, testenv::userFontFolder(), "my serif, 'copy' é.ttf");
    testenv::copyInto(testenv::debianFont("sserife.fon"), testenv::userFontFolder());
    testenv::writeFile(testenv::userFontFolder() + "/broken.ttf", "not a font at all");
    testenv::writeFile(testenv::userFontFolder() + "/empty.ttf", "");
    QFile sans(testenv::debianFont("DejaVuSans.ttf"));
    ASSERT_TRUE(sans.open(QIODevice::ReadOnly));
    testenv::writeFile(testenv::userFontFolder() + "/truncated.ttf", sans.read(3000));
    fonts.resources.broadcastFontChange();

    EXPECT_TRUE(fonts.faces.faces().contains("DejaVu Serif"));
    EXPECT_EQ(fonts.names.probe("DejaVu Serif")[0], "my serif, 'copy' é.ttf");
    QString found;
    EXPECT_TRUE(fonts.names.faceForFile(fonts.faces.faces(), "my serif, 'copy' é.ttf",
                                        [&](const QString& face) { found = face; }));
    EXPECT_EQ(found, "DejaVu Serif");
    for (const char* file : {"sserife.fon", "broken.ttf", "truncated.ttf"})
        EXPECT_FALSE(fonts.names.faceForFile(fonts.faces.faces(), file, [](const QString&) {})) << file;

    for (const QString& name : QDir(testenv::userFontFolder()).entryList(QDir::Files))
        QFile::remove(testenv::userFontFolder() + '/' + name);
    fonts.resources.broadcastFontChange();
    EXPECT_FALSE(fonts.faces.faces().contains("DejaVu Serif"));
}

// The charsets a file names: a raster font's header, else the code pages of the OS/2
// table (version 1 or later), in bit order.
TEST(FontconfigIntegration, CharsetsReadFromTheFileItself)
{
    const struct {
        const char* file;
        int face;
        std::vector<int> charsets;
    } rasters[] = {
        {"sserife.fon", 2, {0}},    {"sserifee.fon", 0, {238}}, {"sserifer.fon", 1, {204}},
        {"ssee874.fon", 0, {222}},  {"sserife.fon", 3, {}},     {"no-such.fon", 0, {}},
    };
    for (const auto& r : rasters)
        EXPECT_EQ(sys::fileCharsets(testenv::debianFont(r.file), r.face), r.charsets) << r.file << " " << r.face;

    // An outline font with its OS/2 version and code-page bits rewritten.
    QFile original(testenv::debianFont("DejaVuSans.ttf"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray font = original.readAll();
    const auto be = [&](qsizetype at, int bytes) {
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | quint8(font.at(at + i));
        return value;
    };
    qsizetype os2 = -1;
    for (quint32 t = 0; t < be(4, 2); ++t) {
        if (font.mid(12 + 16 * t, 4) == "OS/2")
            os2 = be(12 + 16 * t + 8, 4);
    }
    ASSERT_GT(os2, 0);
    const struct {
        quint16 version;
        quint32 bits;
        std::vector<int> charsets;
    } tables[] = {
        {1, 1u << 0 | 1u << 1 | 1u << 2 | 1u << 31, {0, 238, 204, 2}},
        {4, 1u << 8 | 1u << 16 | 1u << 17 | 1u << 21 | 1u << 29, {163, 222, 128, 130, 77}},
        {1, 1u << 9 | 1u << 15 | 1u << 22 | 1u << 30, {}},
        {0, 1u << 0, {}},
        {0xFFFF, 1u << 0, {}},
    };
    QTemporaryDir folder;
    for (const auto& t : tables) {
        QByteArray patched = font;
        for (int i = 0; i < 2; ++i)
            patched[os2 + i] = char(t.version >> (8 * (1 - i)));
        for (int i = 0; i < 4; ++i)
            patched[os2 + 78 + i] = char(t.bits >> (8 * (3 - i)));
        const QString path = testenv::writeFile(folder.path() + "/patched.ttf", patched);
        EXPECT_EQ(sys::fileCharsets(path, 0), t.charsets) << t.version << " " << std::hex << t.bits;
    }
}

// Which copy of a font the view names: the one in the font folder, by its bare name;
// among copies elsewhere the path that sorts first; with no font folder or the root as
// one, every path whole.
TEST(FontconfigIntegration, RegistryViewNamesTheCopyInTheFontFolder)
{
    const QString sans = testenv::debianFont("DejaVuSans.ttf");
    const QString first = testenv::systemFontFolder() + "/DejaVuSans.ttf";
    testenv::copyInto(sans, testenv::systemFontFolder() + "/zz-later");
    RealFonts fonts;
    const auto dataOf = [](sys::FontRegistry& registry, const QString& name) {
        for (const sys::RegValue& value : registry.values()) {
            if (value.name == name)
                return value.data;
        }
        return QStringLiteral("<none>");
    };
    EXPECT_EQ(QDir::cleanPath(dataOf(fonts.registry, "DejaVu Sans (TrueType)")), QDir::cleanPath(first));

    testenv::copyInto(sans, testenv::userFontFolder(), "mine.ttf");
    fonts.resources.broadcastFontChange();
    EXPECT_EQ(dataOf(fonts.registry, "DejaVu Sans (TrueType)"), "mine.ttf");
    for (const QString& folder : {QString(), QStringLiteral("/")}) {
        sys::FontconfigRegistry view(fonts.session, [&] { return folder; });
        EXPECT_EQ(dataOf(view, "DejaVu Sans (TrueType)"), QDir::cleanPath(testenv::userFontFolder() + "/mine.ttf"))
            << folder.toStdString();
        for (const sys::RegValue& value : view.values())
            EXPECT_TRUE(QDir::isAbsolutePath(value.data)) << value.data.toStdString();
    }
    QFile::remove(testenv::userFontFolder() + "/mine.ttf");
    QDir(testenv::systemFontFolder() + "/zz-later").removeRecursively();
    fonts.resources.broadcastFontChange();
}

TEST(FontconfigIntegration, RemovingOneLoadedFontKeepsTheOthers)
{
    QTemporaryDir outside;
    const QString serif = testenv::copyInto(testenv::debianFont("DejaVuSerif.ttf"), outside.path());
    const QString mono = testenv::copyInto(testenv::debianFont("DejaVuSansMono.ttf"), outside.path());
    RealFonts fonts;
    const auto loaded = [&] {
        QStringList names;
        for (const sys::RegValue& value : fonts.registry.values())
            if (value.data.startsWith(outside.path()))
                names << value.name;
        names.sort();
        return names;
    };
    const qsizetype before = fonts.registry.values().size();
    EXPECT_GT(fonts.resources.addFontResource(serif), 0);
    EXPECT_GT(fonts.resources.addFontResource(mono), 0);
    EXPECT_EQ(loaded(), QStringList({"DejaVu Sans Mono (TrueType)", "DejaVu Serif (TrueType)"}));
    fonts.resources.removeFontResource(serif);
    EXPECT_EQ(loaded(), QStringList({"DejaVu Sans Mono (TrueType)"}));
    fonts.resources.removeFontResource(serif);
    fonts.resources.removeFontResource(mono);
    EXPECT_EQ(loaded(), QStringList());
    EXPECT_EQ(qsizetype(fonts.registry.values().size()), before) << "installed fonts stay listed";
}
