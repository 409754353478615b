#include "catalogue/FaceSearch.h"
#include "catalogue/InstalledFaces.h"
#include "system/FontEnumeration.h"
#include "system/Fontconfig.h"
#include "system/ShellFolders.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>
#include <malloc.h>

namespace {

const testenv::ExtraFonts extra{"DejaVuSansMono.ttf", "NotoSansArabic-Regular.ttf", "NotoColorEmoji.ttf",
                                "fontawesome-webfont.ttf"};
const QString home = QStringLiteral("/home/ann/.local/share/fonts");

// A small catalogue: names in several scripts and accents, languages, kinds, files.
std::vector<sys::FaceTraits> catalogueTraits()
{
    return {
        {"Noto Sans Arabic", {"ar", "fa", "ur"}, false, false, false, false, false, {"/usr/share/fonts/NotoSansArabic.ttf"}},
        {"Noto Naskh Arabic", {"ar"}, false, false, false, false, false, {"/usr/share/fonts/NotoNaskhArabic.otf"}},
        {"DejaVu Sans", {"en", "el", "ru", "ar"}, false, false, false, false, false, {"/usr/share/fonts/DejaVuSans.ttf"}},
        {"DejaVu Sans Mono", {"en", "el", "ru"}, true, false, false, false, false, {"/usr/share/fonts/DejaVuSansMono.ttf"}},
        {"Fira Code", {"en"}, true, false, true, false, false, {home + "/FiraCode.woff2"}},
        {"Noto Sans Devanagari", {"hi", "mr"}, false, false, false, false, false, {home + "/NotoSansDevanagari.woff"}},
        {"Noto Sans CJK JP", {"ja", "zh-cn", "zh-tw"}, true, false, false, false, false, {"/usr/share/fonts/NotoSansCJK.ttc"}},
        {"Terminus", {"en", "el"}, true, true, false, false, false, {"/usr/share/fonts/ter-u12n.pcf.gz"}},
        {"Noto Color Emoji", {"und-zsye"}, false, false, false, true, true, {"/usr/share/fonts/NotoColorEmoji.ttf"}},
        {"FontAwesome", {}, false, false, false, false, true, {"/usr/share/fonts/fontawesome.otf", home + "/fa.woff2"}},
        {"Café Sans", {"fr"}, false, false, false, false, false, {home + "/cafe.fon"}},
        {"خط عربي", {"ar"}, false, false, false, false, false, {home + "/arabi.ttf"}},
    };
}

QStringList found(const QStringList& faces, catalogue::FaceFinder& finder, const QString& text)
{
    QStringList names;
    for (int row : finder.find(catalogue::parseQuery(text)))
        names << faces.at(row);
    return names;
}

} // namespace

TEST(FaceSearch, EveryWordMatchesANameLanguageKindFormatOrFolder)
{
    catalogue::FaceFinder finder;
    QStringList faces{"Default"};
    for (const sys::FaceTraits& traits : catalogueTraits()) {
        finder.addTraits(traits, home + "/");
        faces << traits.face;
    }
    finder.setFaces(faces);

    const struct {
        const char* query;
        QStringList expected;
    } cases[] = {
        {"", faces},
        {"   \t ", faces},
        // Names: any part, case and accents ignored, every word.
        {"noto arab", {"Noto Sans Arabic", "Noto Naskh Arabic"}},
        {"ARABIC naskh", {"Noto Naskh Arabic"}},
        {"cafe", {"Café Sans"}},
        {"CAFÉ", {"Café Sans"}},
        {"default", {"Default"}},
        {"javu mon", {"DejaVu Sans Mono"}}, // inside a word
        {"عربي", {"خط عربي"}},
        // Languages and scripts by code, by English name or script, by a name's start.
        {"el", {"DejaVu Sans", "DejaVu Sans Mono", "Terminus"}},
        {"greek mono", {"DejaVu Sans Mono", "Terminus"}},
        {"arab", {"Noto Sans Arabic", "Noto Naskh Arabic", "DejaVu Sans", "خط عربي"}},
        {"persian", {"Noto Sans Arabic"}},
        {"devanagari", {"Noto Sans Devanagari"}},
        {"hindi", {"Noto Sans Devanagari"}},
        {"ja", {"Noto Sans CJK JP"}}, // not "DejaVu"
        {"deja", {"DejaVu Sans", "DejaVu Sans Mono"}},
        {"ar", {"Noto Sans Arabic", "Noto Naskh Arabic", "DejaVu Sans", "خط عربي"}},
        {"zh", {"Noto Sans CJK JP"}},
        {"japanese", {"Noto Sans CJK JP"}},
        {"emoji", {"Noto Color Emoji"}},
        {"gr", {}}, // two letters name no language but their code
        {"gre", {"DejaVu Sans", "DejaVu Sans Mono", "Terminus"}}, // three do
        // Kinds.
        {"mono", {"DejaVu Sans Mono", "Fira Code", "Noto Sans CJK JP", "Terminus"}},
        {"bitmap", {"Terminus"}},
        {"variable", {"Fira Code"}},
        {"colour", {"Noto Color Emoji"}},
        {"color", {"Noto Color Emoji"}},
        {"symbol", {"Noto Color Emoji", "FontAwesome"}},
        // Formats, a compressed PCF as PCF; woff and woff2 are not one another.
        {"woff2", {"Fira Code", "FontAwesome"}},
        {"woff", {"Noto Sans Devanagari"}},
        {"pcf", {"Terminus"}},
        {"fon", {"Café Sans"}}, // not "FontAwesome"
        {"ttc", {"Noto Sans CJK JP"}},
        {"otf", {"Noto Naskh Arabic", "FontAwesome"}},
        // Where the files lie; a face with files in both places is both.
        {"mine", {"Fira Code", "Noto Sans Devanagari", "FontAwesome", "Café Sans", "خط عربي"}},
        {"system mono", {"DejaVu Sans Mono", "Noto Sans CJK JP", "Terminus"}},
        {"mine symbol", {"FontAwesome"}},
        // What is typed is matched as it stands: no patterns, controls part words.
        {"d.*u", {}},
        {"[arab", {}},
        {"noto\x01" "arab\u200E", {"Noto Sans Arabic", "Noto Naskh Arabic"}},
        {"sans sans SANS", {"Noto Sans Arabic", "DejaVu Sans", "DejaVu Sans Mono", "Noto Sans Devanagari",
                            "Noto Sans CJK JP", "Café Sans"}},
    };
    for (const auto& row : cases)
        EXPECT_EQ(found(faces, finder, QString::fromUtf8(row.query)), row.expected) << row.query;

    // A pasted line of 10,000 characters finds nothing, and a line of 5,000 words
    // is each word once.
    EXPECT_TRUE(found(faces, finder, QString(10000, QLatin1Char('x'))).isEmpty());
    EXPECT_EQ(catalogue::parseQuery(QStringLiteral("a ").repeated(5000)).words, QStringList{"a"});

    // Traits dropped: names alone are found, and nothing else.
    finder.clearTraits();
    finder.setFaces(faces);
    EXPECT_EQ(found(faces, finder, "mono"), QStringList({"DejaVu Sans Mono"}));
    EXPECT_TRUE(found(faces, finder, "el").isEmpty());
}

TEST(FaceSearch, FileNamesCountsAndFolding)
{
    const struct {
        const char* name;
        const char* query;
        bool matches;
    } files[] = {
        {"DejaVuSans.ttf", "dejavu", true},     {"DejaVuSans.ttf", "sans ttf", true},
        {"DejaVuSans.ttf", "otf", false},       {"ter-u12n.pcf.gz", "pcf", true},
        {"ter-u12n.pcf.gz", "gz", true},        {"FiraCode.woff2", "woff", true}, // a part of the name
        {"FiraCode.woff", "woff2", false},      {"Café.ttf", "cafe", true},
        {"arial.ttf", "arial mono", false},     {"x.ttf", "", true},
    };
    for (const auto& row : files)
        EXPECT_EQ(catalogue::fileNameMatches(QString::fromUtf8(row.name), catalogue::parseQuery(QString::fromUtf8(row.query))),
                  row.matches)
            << row.name << " / " << row.query;

    EXPECT_EQ(catalogue::foundCount(132, 10003, false), "132 of 10,003 faces");
    EXPECT_EQ(catalogue::foundCount(0, 1, false), "0 of 1 face");
    EXPECT_EQ(catalogue::foundCount(1, 12, true), "1 of 12 files");
    EXPECT_EQ(catalogue::foldForFinding(QStringLiteral("Ǆemal Ångström ﬁ")), QStringLiteral("dzemal angstrom fi"));
}

TEST(FaceSearch, RealFontsSayWhatTheyWriteAndAre)
{
    testenv::copyInto(testenv::debianFont("DejaVuSerif.ttf"), testenv::userFontFolder());
    sys::FontconfigSession session;
    sys::FontconfigEnumeration enumeration{session};
    catalogue::InstalledFaceList list{enumeration};
    catalogue::FaceFinder finder;
    enumeration.listFaceTraits(
        [&](const sys::FaceTraits& traits) { finder.addTraits(traits, testenv::userFontFolder()); });
    const QStringList faces = list.faces();
    finder.setFaces(faces);

    EXPECT_EQ(found(faces, finder, "arab"), QStringList({"DejaVu Sans", "DejaVu Sans Mono", "Noto Sans Arabic", "Tahoma"}));
    EXPECT_EQ(found(faces, finder, "greek mono"), QStringList({"DejaVu Sans Mono"}));
    EXPECT_EQ(found(faces, finder, "symbol"), QStringList({"FontAwesome", "Noto Color Emoji"}));
    EXPECT_EQ(found(faces, finder, "colour"), QStringList({"Noto Color Emoji"}));
    EXPECT_EQ(found(faces, finder, "mine"), QStringList({"DejaVu Serif"}));
    EXPECT_EQ(found(faces, finder, "bitmap fon"), QStringList({"MS Sans Serif"}));

    // Listing again keeps nothing of what fontconfig made for it.
    const qint64 before = qint64(mallinfo2().uordblks);
    for (int i = 0; i < 10; ++i)
        enumeration.listFaceTraits([](const sys::FaceTraits&) {});
    EXPECT_LT(qint64(mallinfo2().uordblks) - before, 64 * 1024) << "bytes held after ten listings";
}
