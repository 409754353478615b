#include "manage/Messages.h"
#include "tests/support/UserTexts.h"
#include "manage/TurnedOff.h"
#include "system/FilePaths.h"
#include "tests/support/FakeFontsOff.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

namespace {

const QString conf = "/conf.d/90-glyphwell-off.conf";

// The program's file for these glob lines, as it is written.
QByteArray ourFile(const QByteArray& globLines)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
           "<!-- Fonts turned off in Glyphwell: fontconfig leaves out these files. -->\n<fontconfig>\n" +
           (globLines.isEmpty() ? QByteArray()
                                : "  <selectfont>\n    <rejectfont>\n" + globLines + "    </rejectfont>\n  </selectfont>\n") +
           "</fontconfig>\n";
}

struct TurnedOffFixture : ::testing::Test {
    FakeFontsOff system;
    RecordingFontResources resources;
    manage::FontsTurnedOff off{system, resources};

    void SetUp() override
    {
        system.addFace("DejaVu Serif", {"/usr/share/fonts/DejaVuSerif.ttf", "/usr/share/fonts/DejaVuSerif-Bold.ttf"});
        system.addFace("Noto Sans CJK JP", {"/usr/share/fonts/NotoSansCJK.ttc"});
        system.addFace("Noto Sans CJK KR", {"/usr/share/fonts/NotoSansCJK.ttc"});
        system.addFace("Tahoma", {"/home/u/.local/share/fonts/tahoma.ttf"});
    }
};

} // namespace

TEST(TurnedOffRules, GlobsMatchAsFontconfigsAndEveryPathRoundTrips)
{
    struct Match {
        const char* glob;
        const char* path;
        bool matches;
    };
    for (const Match& m : {Match{"/a/*.ttf", "/a/b/c.ttf", true}, Match{"/a/?.ttf", "/a/ab.ttf", false},
                           Match{"/a/??.ttf", "/a/ab.ttf", true}, Match{"/a/b", "/a/bc", false},
                           Match{"/a/bc", "/a/b", false}, Match{"*", "", true}, Match{"/a/*b", "/a/xbyb", true},
                           Match{"/a/*b", "/a/xbyc", false}, Match{"/a/**", "/a/", true}})
        EXPECT_EQ(sys::globMatches(m.glob, m.path), m.matches) << m.glob << " " << m.path;

    struct Case {
        QString path;
        QByteArray glob;
    };
    const Case cases[] = {
        {"/f/A&B <\"x\">'.ttf", "/f/A&B <\"x\">'.ttf"},
        {QString::fromUtf8("/f/Schrift-\xC3\xA9.ttf"), "/f/Schrift-\xC3\xA9.ttf"},
        {sys::pathFromBytes("/f/\xE9t\xE9.ttf"), "/f/?t?.ttf"}, // not UTF-8: one "?" a byte
        {"/f/star*q?.ttf", "/f/star?q?.ttf"},
        {"/f/line\nbreak.ttf", "/f/line?break.ttf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(manage::globOf(c.path), c.glob);
        EXPECT_TRUE(sys::globMatches(c.glob, sys::pathBytes(c.path)));
        const manage::OffRules read = manage::readOffRules(manage::offConfiguration({c.glob, "/g/other.otf"}));
        EXPECT_EQ(read.globs, QList<QByteArray>({c.glob, "/g/other.otf"}));
        EXPECT_TRUE(read.ours);
    }
    EXPECT_EQ(manage::offConfiguration({"/f/A&B <\"x\">'.ttf"}),
              ourFile("      <glob>/f/A&amp;B &lt;&quot;x&quot;&gt;'.ttf</glob>\n"));
    EXPECT_EQ(manage::offConfiguration({}), ourFile(""));
}

TEST(TurnedOffRules, BrokenAndHandEditedFilesAreReadAsWellAsTheyCanBe)
{
    // Cut short, and not UTF-8: every whole <glob> still counts.
    const manage::OffRules broken =
        manage::readOffRules("<fontconfig><selectfont><rejectfont><glob>/x/a&amp;b.ttf</glob><glob>/x/\xE9.ttf</glob>"
                             "<glob>/x/a&amp;b.ttf</glob><glob>/x/c");
    EXPECT_EQ(broken.globs, QList<QByteArray>({"/x/a&b.ttf", "/x/\xE9.ttf"}));
    EXPECT_FALSE(broken.ours);
    // Sound XML: only what it rejects, not what it accepts.
    const manage::OffRules edited = manage::readOffRules(
        "<?xml version=\"1.0\"?>\n<fontconfig><selectfont><acceptfont><glob>/y/keep.ttf</glob></acceptfont>"
        "<rejectfont><glob>/y/*.pcf.gz</glob></rejectfont></selectfont></fontconfig>\n");
    EXPECT_EQ(edited.globs, QList<QByteArray>({"/y/*.pcf.gz"}));
    EXPECT_FALSE(edited.ours);
    EXPECT_TRUE(manage::readOffRules("").globs.isEmpty());
}

TEST_F(TurnedOffFixture, ACollectionSaysWhatGoesWithItAndTurningOnUndoesItExactly)
{
    const QByteArray before = ourFile("      <glob>/home/u/.local/share/fonts/tahoma.ttf</glob>\n");
    system.file = before;
    off.load();
    EXPECT_EQ(off.faces(), QStringList({"Tahoma"}));

    const manage::OffChange going = off.planOff("Noto Sans CJK JP", {"DejaVu Serif"});
    EXPECT_EQ(going.files, QStringList({"/usr/share/fonts/NotoSansCJK.ttc"}));
    EXPECT_EQ(going.others, QStringList({"Noto Sans CJK KR"}));
    EXPECT_EQ(going.refusal, "");
    EXPECT_EQ(off.turnOff(going), "");
    EXPECT_EQ(*system.file, ourFile("      <glob>/home/u/.local/share/fonts/tahoma.ttf</glob>\n"
                                    "      <glob>/usr/share/fonts/NotoSansCJK.ttc</glob>\n"));
    // Announced, then loaded for this program alone so that it still previews.
    EXPECT_EQ(resources.calls, QStringList({"add /home/u/.local/share/fonts/tahoma.ttf", "broadcast",
                                            "add /usr/share/fonts/NotoSansCJK.ttc"}));
    EXPECT_EQ(off.faces(), QStringList({"Tahoma", "Noto Sans CJK JP", "Noto Sans CJK KR"}));
    EXPECT_TRUE(system.copies.isEmpty()); // our own file is rewritten without a copy

    // Turned on from the other face of the file, both come back.
    const manage::OffChange coming = off.planOn("Noto Sans CJK KR");
    EXPECT_EQ(coming.files, QStringList({"/usr/share/fonts/NotoSansCJK.ttc"}));
    EXPECT_EQ(coming.others, QStringList({"Noto Sans CJK JP"}));
    EXPECT_EQ(off.turnOn(coming), "");
    EXPECT_EQ(*system.file, before);
    EXPECT_EQ(off.faces(), QStringList({"Tahoma"}));
    EXPECT_EQ(off.files(), QStringList({"/home/u/.local/share/fonts/tahoma.ttf"}));

    // A face with several files goes whole and alone.
    const manage::OffChange serif = off.planOff("DejaVu Serif", {"Tahoma"});
    EXPECT_EQ(serif.files.size(), 2);
    EXPECT_TRUE(serif.others.isEmpty());
}

TEST_F(TurnedOffFixture, AWideHandWrittenGlobIsKeptAsACopyAndTurnedOnWithAllItHolds)
{
    const QByteArray handWritten = "<?xml version=\"1.0\"?>\n<fontconfig><selectfont><rejectfont>"
                                   "<glob>/usr/share/fonts/*</glob></rejectfont></selectfont></fontconfig>\n";
    system.file = handWritten;
    off.load();
    EXPECT_EQ(off.faces(), QStringList({"DejaVu Serif", "Noto Sans CJK JP", "Noto Sans CJK KR"}));

    // Turning off another face rewrites the file in our form, the old one kept first.
    EXPECT_EQ(off.turnOff(off.planOff("Tahoma", {"DejaVu Sans"})),
              said::offKeptCopy.arg(conf, conf + ".kept"));
    EXPECT_EQ(system.copies, QList<QByteArray>({handWritten}));
    EXPECT_EQ(*system.file, ourFile("      <glob>/usr/share/fonts/*</glob>\n"
                                    "      <glob>/home/u/.local/share/fonts/tahoma.ttf</glob>\n"));

    const manage::OffChange coming = off.planOn("DejaVu Serif");
    EXPECT_EQ(coming.others, QStringList({"Noto Sans CJK JP", "Noto Sans CJK KR"}));
    EXPECT_EQ(off.turnOn(coming), "");
    EXPECT_EQ(system.copies.size(), 1);
    EXPECT_EQ(off.faces(), QStringList({"Tahoma"}));
}

TEST_F(TurnedOffFixture, RefusalsAndFailuresChangeNothing)
{
    const QByteArray before = ourFile("      <glob>/usr/share/fonts/DejaVuSerif.ttf</glob>\n"
                                      "      <glob>/usr/share/fonts/DejaVuSerif-Bold.ttf</glob>\n");
    system.file = before;
    off.load();
    EXPECT_EQ(off.faces(), QStringList({"DejaVu Serif"}));

    EXPECT_EQ(off.planOff("Tahoma", {"Tahoma"}).refusal, said::cannotTurnOff.arg("Tahoma"));
    EXPECT_EQ(off.planOff("Noto Sans CJK KR", {"Noto Sans CJK JP", "Noto Sans CJK KR"}).refusal,
              said::cannotTurnOff.arg("Noto Sans CJK KR"));
    EXPECT_EQ(off.planOff("Noto Sans CJK KR", {"Noto Sans CJK JP", "Tahoma"}).refusal, "");
    EXPECT_EQ(off.planOff("Tahoma", {"DejaVu Serif", "Tahoma"}).refusal, // the serif is off already
              said::cannotTurnOff.arg("Tahoma"));
    EXPECT_EQ(off.planOff("Default", {"Tahoma"}).refusal, said::noFileToTurnOff.arg("Default"));
    EXPECT_EQ(off.planOn("Tahoma").refusal, said::notTurnedOff.arg("Tahoma"));

    system.writable = false;
    EXPECT_EQ(off.turnOff(off.planOff("Tahoma", {"DejaVu Sans"})),
              said::offWriteFailed.arg(conf, "No space left on device"));
    system.writable = true;
    system.file = "<fontconfig><rejectfont><glob>/usr/share/fonts/DejaVuSerif.ttf</glob>";
    off.load();
    system.copyable = false;
    EXPECT_EQ(off.turnOn(off.planOn("DejaVu Serif")),
              said::offCopyFailed.arg(conf, "Read-only file system"));
    EXPECT_EQ(off.turnOff(off.planOff("Tahoma", {"DejaVu Sans"})),
              said::offCopyFailed.arg(conf, "Read-only file system")); // not "still listed"
    EXPECT_EQ(*system.file, "<fontconfig><rejectfont><glob>/usr/share/fonts/DejaVuSerif.ttf</glob>");
    system.readable = false;
    off.load();
    EXPECT_EQ(off.turnOff(off.planOff("Tahoma", {"DejaVu Sans"})),
              said::offUnreadable.arg(conf, "Permission denied"));
    EXPECT_EQ(system.writes, 0);
    EXPECT_EQ(resources.calls, QStringList({"add /usr/share/fonts/DejaVuSerif.ttf",
                                            "add /usr/share/fonts/DejaVuSerif-Bold.ttf"})); // no notice
    system.readable = true;
    system.file = before;
    off.load();
    EXPECT_EQ(off.faces(), QStringList({"DejaVu Serif"}));

    // Written, but fontconfig lists the face still: the user is told, not left believing it.
    system.fontconfigReadsUs = false;
    EXPECT_EQ(off.turnOff(off.planOff("Tahoma", {"DejaVu Sans"})),
              said::offNotRead.arg("Tahoma", conf));
}
