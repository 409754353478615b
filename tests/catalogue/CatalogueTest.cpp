#include "catalogue/Charsets.h"
#include "catalogue/InstalledFaces.h"
#include "catalogue/RegistryNames.h"
#include "framework/Errors.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

TEST(InstalledFaces, DefaultEntryAdjacentRepeatsAndSortOrder)
{
    FakeFontEnumeration fonts;
    fonts.addFaces({"zeta", "Beta", "BETA", "beta", "alpha", "Beta", "Courier", "courier new"});
    const QStringList faces = catalogue::buildInstalledFaceList(fonts.enumerateFaces());
    // Adjacent repeats ignoring case collapse into the first; the later "Beta" stays.
    EXPECT_EQ(faces, QStringList({"alpha", "Beta", "Beta", "Courier", "courier new", "Default", "zeta"}));
}

TEST(InstalledFaces, BuiltOnceDroppedOnNoticeBuiltAgain)
{
    FakeFontEnumeration fonts;
    fonts.addFaces({"Alpha"});
    RecordingFontResources resources;
    catalogue::InstalledFaceList list(fonts);
    resources.onFontChange([&] { list.invalidate(); });

    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0), "Alpha");
    EXPECT_EQ(fonts.enumerations, 1);
    fonts.addFaces({"Gamma"});
    EXPECT_EQ(list.count(), 2) << "kept until the notice";
    resources.broadcastFontChange();
    EXPECT_EQ(list.faces(), QStringList({"Alpha", "Default", "Gamma"}));
    EXPECT_EQ(fonts.enumerations, 2);
    EXPECT_THROW(list.at(3), fw::Error);
}

TEST(Charsets, NamesUnknownNumbersAndRepeats)
{
    EXPECT_EQ(catalogue::charsetName(0), "ANSI_CHARSET");
    EXPECT_EQ(catalogue::charsetName(255), "OEM_CHARSET");
    EXPECT_EQ(catalogue::charsetName(77), "MAC_CHARSET");
    EXPECT_EQ(catalogue::charsetName(89), "Unknown charset 89");

    FakeFontEnumeration fonts;
    // Only the low byte of a reported charset names it.
    fonts.charsets["Alpha"] = {0, 0, 204, 89, 0x100 | 238};
    QStringList lines{"kept"};
    catalogue::appendCharsets(fonts, "Alpha", lines);
    EXPECT_EQ(lines, QStringList({"kept", "ANSI_CHARSET", "ANSI_CHARSET", "RUSSIAN_CHARSET", "Unknown charset 89",
                                  "EASTEUROPE_CHARSET"}));
    lines.clear();
    catalogue::appendCharsets(fonts, "Nobody", lines);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(RegistryNames, ProbeSlotsSuffixesAndLetterCase)
{
    MemoryRegistry registry;
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("ALPHA BOLD ITALIC (TRUETYPE)", "alphabi.ttf");
    registry.set("Alpha Bold (TrueType)", "alphab.ttf");
    registry.set("Beta  (TrueType)", "beta2.ttf");
    registry.set("Gamma Regular (TrueType)", QStringLiteral("gamma.ttf") + QChar(0) + "junk");
    registry.set("Delta (Windows FNT)", "delta.fon");
    registry.set(" (TrueType)", "nameless.ttf");
    registry.set("Alpha plain (TrueType)", "alphap.ttf");
    catalogue::RegistryNames names(registry);

    const catalogue::ProbeResult alpha = names.probe("Alpha");
    EXPECT_EQ(alpha, (catalogue::ProbeResult{"alpha.ttf", "", "", "", "alphab.ttf", "alphabi.ttf", "", "alphap.ttf"}));
    EXPECT_EQ(catalogue::sourceFiles(alpha), QStringList({"alpha.ttf", "alphab.ttf", "alphabi.ttf", "alphap.ttf"}));
    // Two blanks before the tag are a different name, found only through slot 2.
    EXPECT_EQ(names.probe("Beta"), (catalogue::ProbeResult{"", "beta2.ttf", "", "", "", "", "", ""}));
    EXPECT_EQ(names.probe("Gamma")[6], "gamma.ttf") << "data ends at its first NUL";
    // No trimming of the face name, no other tag, nothing for unknown faces.
    EXPECT_FALSE(catalogue::registered(names.probe("Alpha ")));
    EXPECT_FALSE(catalogue::registered(names.probe("Delta")));
    EXPECT_FALSE(catalogue::registered(names.probe("Nobody")));
    // A face without a name still finds the value that is nothing but the tag.
    EXPECT_EQ(names.probe("")[0], "nameless.ttf");
    // A longer face name reads the same values through other slots.
    EXPECT_EQ(names.probe("alpha bold"), (catalogue::ProbeResult{"alphab.ttf", "", "", "alphabi.ttf", "", "", "", ""}));

    registry.canOpen = false;
    EXPECT_FALSE(catalogue::registered(names.probe("Alpha")));
}

TEST(RegistryNames, NonStringValuesFailTheProbeAtTheirSlot)
{
    MemoryRegistry registry;
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.setValue({"Alpha bold (TrueType)", sys::RegType::Dword, QString(), 4});
    registry.setValue({"Beta (TrueType)", sys::RegType::Binary, QString(), 0});
    catalogue::RegistryNames names(registry);
    try {
        names.probe("Alpha");
        ADD_FAILURE() << "no error";
    } catch (const fw::Error& error) {
        EXPECT_EQ(error.text(), "Invalid data type for 'Alpha bold (TrueType)'");
    }
    // A value of size 0 reads as absent before its type is looked at.
    EXPECT_FALSE(catalogue::registered(names.probe("Beta")));
}

TEST(RegistryNames, ReverseRuleTakesTheLastMatchingFace)
{
    MemoryRegistry registry;
    registry.set("Alpha (TrueType)", "shared.ttf");
    registry.set("Gamma bold (TrueType)", "shared.ttf");
    registry.set("Beta (TrueType)", "ALPHA.TTF");
    registry.set("Zed (TrueType)", "zed.ttf");
    registry.setValue({"Omega (TrueType)", sys::RegType::Dword, QString(), 4});
    catalogue::RegistryNames names(registry);
    const QStringList faces{"Alpha", "Beta", "Default", "Gamma", "Zed"};

    QStringList matches;
    auto record = [&](const QString& face) { matches << face; };
    EXPECT_TRUE(names.faceForFile(faces, "shared.ttf", record));
    EXPECT_EQ(matches, QStringList({"Alpha", "Gamma"}));
    matches.clear();
    EXPECT_FALSE(names.faceForFile(faces, "alpha.ttf", record)) << "data compares with case";
    EXPECT_TRUE(matches.isEmpty());

    // Walking the same list after the view changed sees the change.
    registry.set("Zed bold (TrueType)", "shared.ttf");
    matches.clear();
    names.faceForFile(faces, "shared.ttf", record);
    EXPECT_EQ(matches, QStringList({"Alpha", "Gamma", "Zed"}));

    // A non-string value stops the walk where it is read; earlier matches stand.
    matches.clear();
    EXPECT_THROW(names.faceForFile(QStringList{"Zed", "Omega", "Alpha"}, "zed.ttf", record), fw::Error);
    EXPECT_EQ(matches, QStringList({"Zed"}));
}
