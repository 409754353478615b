// Variable fonts, faces in several files and bitmap faces' charsets, on the real
// fontconfig, FreeType and Qt with this process's private font tree.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "system/FontFactory.h"
#include "system/FontResources.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UserTexts.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QProcess>
#include <QToolButton>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// A BDF font of the family with a box glyph for each code, in ISO 10646.
QByteArray bdfFont(const QString& family, const QList<char32_t>& codes)
{
    QByteArray bdf = "STARTFONT 2.1\nFONT -gw-" + family.toUtf8() +
                     "-Medium-R-Normal--10-100-75-75-C-60-ISO10646-1\nSIZE 10 75 75\n"
                     "FONTBOUNDINGBOX 6 10 0 -2\nSTARTPROPERTIES 5\nFAMILY_NAME \"" + family.toUtf8() +
                     "\"\nFONT_ASCENT 8\nFONT_DESCENT 2\nCHARSET_REGISTRY \"ISO10646\"\n"
                     "CHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS " + QByteArray::number(codes.size()) + "\n";
    for (const char32_t code : codes)
        bdf += "STARTCHAR u" + QByteArray::number(uint(code), 16) + "\nENCODING " + QByteArray::number(uint(code)) +
               "\nSWIDTH 600 0\nDWIDTH 6 0\nBBX 6 10 0 -2\nBITMAP\n" + QByteArray("FC\n").repeated(10) +
               "ENDCHAR\n";
    return bdf + "ENDFONT\n";
}

QList<char32_t> codeRange(char32_t first, char32_t last)
{
    QList<char32_t> codes;
    for (char32_t code = first; code <= last; ++code)
        codes << code;
    return codes;
}

void clearFontFolder(RealServices& real)
{
    const QString fonts = testenv::userFontFolder();
    for (const QString& name : QDir(fonts).entryList(QDir::Files))
        QFile::remove(fonts + '/' + name);
    real.services().fontResources.broadcastFontChange();
}

int advanceOfA(QFont font)
{
    font.setPixelSize(100);
    return QFontMetrics(font).horizontalAdvance(QStringLiteral("A"));
}

void select(TForm1& form, const QString& face)
{
    const int index = int(form.ListBox1->Items().indexOf(face));
    ASSERT_GE(index, 0) << qPrintable(face);
    form.ListBox1->setItemIndex(index);
    form.ListBox1Click();
}

} // namespace

// A weight and width axis with named instances; each box glyph is as wide as the
// instance's weight and width make it.
TEST(FaceFiles, EachNamedInstanceIsAFaceDrawnAtItsOwnWeightAndWidth)
{
    const QString fonts = testenv::userFontFolder();
    const auto python = [](const QStringList& arguments) {
        QProcess process;
        process.start("/usr/bin/python3", arguments);
        return process.waitForFinished(60000) && process.exitCode() == 0;
    };
    const QString script = GLYPHWELL_SOURCE_DIR "/scripts/make-variable-font.py";
    ASSERT_TRUE(python({script, fonts + "/GlyphwellVar.ttf"}));
    // A broken one: the Medium instance's name points nowhere (fontconfig calls it
    // "Regular" again) and SemiBold is listed twice.
    ASSERT_TRUE(python({script, fonts + "/Broken.ttf", "--family", "Glyphwell Broken"}));
    ASSERT_TRUE(python({"-c",
                        "import sys, copy\nfrom fontTools.ttLib import TTFont\nf = TTFont(sys.argv[1])\n"
                        "i = f['fvar'].instances\ni[2].subfamilyNameID = 999\ni.append(copy.deepcopy(i[3]))\n"
                        "f.save(sys.argv[1])",
                        fonts + "/Broken.ttf"}));
    FakeDialogs dialogs;
    RealServices real;
    real.services().fontResources.broadcastFontChange();
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;

    // The listed faces of a family, by what follows its name.
    const auto listedStyles = [&form](const QString& family) {
        QStringList styles;
        for (const QString& face : form.ListBox1->Items())
            if (face.startsWith(family))
                styles << face.mid(family.size() + 1);
        return styles;
    };
    EXPECT_EQ(listedStyles("Glyphwell Var"), QStringList({"", "Black", "Bold", "Condensed", "Condensed Bold",
                                                          "ExtraBold", "Light", "Medium", "Regular", "SemiBold"}));
    EXPECT_EQ(listedStyles("Glyphwell Broken"), QStringList({"", "Black", "Bold", "Condensed", "Condensed Bold",
                                                             "ExtraBold", "Light", "Regular", "SemiBold"}));
    // Its files are its own. (Which of the two styles named "Regular" Qt draws is Qt's
    // choice: it keeps one style per name, the last registered.)
    select(form, "Glyphwell Broken Regular");
    EXPECT_EQ(form.ListBox3->Items(), QStringList{"Broken.ttf"});

    // Advance of "A" at 100 px: 400 + (weight - 300) / 2 units at full width, interpolated.
    const std::pair<const char*, int> instances[] = {
        {"Glyphwell Var", 45},           {"Glyphwell Var Light", 40},     {"Glyphwell Var Medium", 50},
        {"Glyphwell Var SemiBold", 55},  {"Glyphwell Var ExtraBold", 65}, {"Glyphwell Var Condensed", 34},
        {"Glyphwell Var Condensed Bold", 49},
    };
    for (const auto& [face, advance] : instances) {
        select(form, face);
        EXPECT_EQ(advanceOfA(form.Edit1->font()), advance) << face;
        EXPECT_EQ(advanceOfA(form.SortableGrid1->font()), advance) << face << " (map)";
        // What printing is given: the instance, at its own weight (the family's own
        // entry is its Regular).
        EXPECT_EQ(sys::faceOf(form.Edit1->font()), QString(face) == "Glyphwell Var" ? "Glyphwell Var Regular" : face);
        EXPECT_EQ(advanceOfA(sys::faceFont(sys::faceOf(form.Edit1->font()), 100)), advance) << face << " (print)";
        // The family's bold name (slot 5) is its Bold instance's value: the file twice.
        const bool hasBold = QString(face) == "Glyphwell Var" || QString(face) == "Glyphwell Var Condensed";
        EXPECT_EQ(form.ListBox3->Items(), hasBold ? QStringList({"GlyphwellVar.ttf", "GlyphwellVar.ttf"}) : QStringList{"GlyphwellVar.ttf"}) << face;
        EXPECT_EQ(form.ListBox4->Items(), (QStringList{"ANSI_CHARSET"})) << face;
    }

    // B reaches the bold instance and gives the instance back.
    select(form, "Glyphwell Var Medium");
    form.BoldButton->click();
    EXPECT_EQ(advanceOfA(form.Edit1->font()), 60);
    form.FontSize->setText("36");
    form.FontSizeChange();
    EXPECT_EQ(advanceOfA(form.Edit1->font()), 60);
    form.BoldButton->click();
    EXPECT_EQ(advanceOfA(form.Edit1->font()), 50);
    select(form, "DejaVu Sans"); // a static face after an instance: plain width and weight
    EXPECT_EQ(form.Edit1->font().weight(), QFont::Normal);
    EXPECT_EQ(form.Edit1->font().stretch(), QFont::AnyStretch);

    // The file holds every instance: uninstalling one names the others and, on Yes,
    // takes them all.
    select(form, "Glyphwell Var Medium");
    dialogs.answers = {false, true};
    form.Button3Click();
    EXPECT_EQ(dialogs.questions.last(),
              said::confirmUninstallAlso.arg("Glyphwell Var Medium",
                                             "Glyphwell Var, Glyphwell Var Regular, Glyphwell Var Light, Glyphwell Var "
                                             "SemiBold, Glyphwell Var Bold, Glyphwell Var ExtraBold, Glyphwell Var "
                                             "Black, Glyphwell Var Condensed, Glyphwell Var Condensed Bold"));
    EXPECT_TRUE(QFile::exists(fonts + "/GlyphwellVar.ttf"));
    form.Button3Click();
    EXPECT_EQ(QDir(fonts).entryList(QDir::Files), QStringList{"Broken.ttf"});
    EXPECT_EQ(listedStyles("Glyphwell Var"), QStringList());
    clearFontFolder(real);
}

// Font Awesome as .otf, .ttf, .woff and .woff2: one face with four files, all backed
// up and all uninstalled at once.
TEST(FaceFiles, AFaceInSeveralFilesActsOnThemAllAndBitmapFacesNameTheirCharsets)
{
    const QString fonts = testenv::userFontFolder();
    const QStringList awesome{"FontAwesome.otf", "fontawesome-webfont.ttf", "fontawesome-webfont.woff",
                              "fontawesome-webfont.woff2"};
    for (const QString& name : awesome)
        ASSERT_TRUE(QFile::copy("/usr/share/fonts-font-awesome/fonts/" + name, fonts + '/' + name)) << qPrintable(name);
    // Oblique styles fill the italic places: a face of four files.
    const QStringList mono{"DejaVuSansMono.ttf", "DejaVuSansMono-Oblique.ttf", "DejaVuSansMono-Bold.ttf",
                           "DejaVuSansMono-BoldOblique.ttf"};
    for (const QString& name : mono)
        ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/dejavu/" + name, fonts + '/' + name)) << qPrintable(name);
    // A bitmap face names no code pages: its charsets are the scripts its glyphs write.
    // Latin-1, Greek, Cyrillic with Ukrainian's ґ, Hebrew; too little Latin Extended-A
    // for Central European.
    testenv::writeFile(fonts + "/scripts.bdf",
                       bdfFont("Glyphwell Bitmap", codeRange(0x20, 0x7E) + codeRange(0xA0, 0x17F).mid(0, 0x70) +
                                                       codeRange(0x384, 0x3CE) + codeRange(0x400, 0x45F) +
                                                       codeRange(0x490, 0x491) + codeRange(0x5D0, 0x5EA)));
    FakeDialogs dialogs;
    RealServices real;
    real.services().fontResources.broadcastFontChange();
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;

    select(form, "Glyphwell Bitmap");
    EXPECT_EQ(form.ListBox3->Items(), QStringList{"scripts.bdf"});
    EXPECT_EQ(form.ListBox4->Items(), QStringList({"ANSI_CHARSET", "RUSSIAN_CHARSET", "GREEK_CHARSET", "HEBREW_CHARSET"}));

    select(form, "FontAwesome");
    QStringList sources = form.ListBox3->Items();
    sources.sort();
    EXPECT_EQ(sources, awesome);
    form.GradientButton7Click();
    EXPECT_EQ(dialogs.messages.last(), said::backedUp.arg(testenv::documentsFolder() + "/Glyphwell"));
    for (const QString& name : awesome)
        EXPECT_TRUE(QFile::exists(testenv::documentsFolder() + "/Glyphwell/" + name)) << qPrintable(name);

    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_EQ(dialogs.questions.last(), said::confirmUninstall.arg("FontAwesome"));

    select(form, "DejaVu Sans Mono");
    EXPECT_EQ(form.ListBox3->Items(), mono);
    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_EQ(QDir(fonts).entryList(QDir::Files), QStringList{"scripts.bdf"});
    EXPECT_FALSE(form.ListBox1->Items().contains("FontAwesome"));
    for (const QString& name : awesome)
        QFile::remove(testenv::documentsFolder() + "/Glyphwell/" + name);
    clearFontFolder(real);
}
