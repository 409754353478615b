// Bitmap faces (.otb, .pcf.gz, .bdf, .fon) on the real font stack: drawn at the strike
// nearest the size asked, in whole pixels, with their own glyphs, and printed so.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "preview/Unit2.h"
#include "system/FontFactory.h"
#include "system/FontResources.h"
#include "system/RasterFaces.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/GlyphInk.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UserTexts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <ft2build.h>
#include <gtest/gtest.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

using glyphink::freetypeInk;
using glyphink::Ink;
using glyphink::qtInk;
using glyphink::scaled;

namespace {

const QString terminus = "/usr/share/fonts/opentype/terminus/terminus-normal.otb";
const QString terminusBold = "/usr/share/fonts/opentype/terminus/terminus-bold.otb";
const QString fixedUnicode = "/usr/share/fonts/X11/misc/10x20.pcf.gz"; // ISO10646-1
const QString fixedLatin1 = "/usr/share/fonts/X11/misc/10x20-ISO8859-1.pcf.gz";

// The face at a pixel height as the font factory gives it to a widget.
QFont faceAt(const QString& face, int pixels, bool bold = false)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    sys::setFace(font, face, sys::Fallback::None);
    return font;
}

// The real font stack with the given files in the user's font folder, emptied again after.
struct BitmapStrikes : ::testing::Test {
    FakeDialogs dialogs;
    RealServices real;

    void install(const QStringList& files)
    {
        for (const QString& file : files)
            testenv::copyInto(file, testenv::userFontFolder());
        real.services().fontResources.broadcastFontChange();
    }
    void TearDown() override
    {
        for (const QString& name : QDir(testenv::userFontFolder()).entryList(QDir::Files))
            QFile::remove(testenv::userFontFolder() + '/' + name);
        real.services().fontResources.broadcastFontChange();
    }
};

} // namespace

TEST_F(BitmapStrikes, TerminusDrawsTheNearestStrikeInWholePixels)
{
    install({terminus, terminusBold});
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;

    // The sample at 24 points (32 pixels) draws the 32-pixel strike, not the 12-pixel
    // one, and keeps the size the user chose.
    form.FontSize->setText("24");
    form.FontSizeChange();
    form.ListBox1->setItemIndex(int(form.ListBox1->Items().indexOf("Terminus")));
    form.ListBox1Click();
    EXPECT_EQ(form.Edit1->font().pointSize(), 24);
    EXPECT_EQ(qtInk(form.Edit1->font(), "A"), freetypeInk(terminus, 'A', 32, true));
    EXPECT_GT(qtInk(form.Edit1->font(), "A").size(), freetypeInk(terminus, 'A', 12, true).size());

    // Each height the program asks for: the strike nearest it, or a whole multiple of a
    // smaller strike when that comes nearer; of two as near, the larger strike.
    const int mapPixels = form.SortableGrid1->font().pixelSize();
    const int zoomPixels = windows.form2->Label1->font().pixelSize();
    ASSERT_EQ(mapPixels, 24);
    ASSERT_EQ(zoomPixels, 267);
    const struct {
        int pixels, strike, scale;
        const char* what;
    } cases[] = {
        {12, 12, 1, "the smallest strike"}, {13, 14, 1, "between two strikes"}, {mapPixels, 24, 1, "the map"},
        {40, 20, 2, "a strike doubled"},    {100, 20, 5, "five times"},         {zoomPixels, 14, 19, "the zoom"},
    };
    for (const auto& c : cases) {
        const QFont font = faceAt("Terminus", c.pixels);
        EXPECT_EQ(font.pixelSize(), c.pixels) << c.what;
        EXPECT_EQ(sys::faceOf(font), "Terminus") << c.what;
        for (const char32_t code : {U'A', U'g', U'\u0416'}) {
            const QString text = QString::fromUcs4(&code, 1);
            EXPECT_EQ(qtInk(font, text), scaled(freetypeInk(terminus, int(code), c.strike, true), c.scale))
                << c.what << " U+" << std::hex << int(code);
        }
    }
    // The map and its zoom draw the face at their own sizes.
    EXPECT_EQ(qtInk(form.SortableGrid1->font(), "A"), freetypeInk(terminus, 'A', 24, true));
    form.SortableGrid1MouseDown(Qt::LeftButton, {}, 0, 0);
    EXPECT_EQ(qtInk(windows.form2->Label1->font(), "A"), scaled(freetypeInk(terminus, 'A', 14, true), 19));
    form.SortableGrid1MouseUp(Qt::LeftButton, {}, 0, 0);
    // Bold is the bold file's own strike.
    EXPECT_EQ(qtInk(faceAt("Terminus", 32, true), "A"), freetypeInk(terminusBold, 'A', 32, true));
}

TEST_F(BitmapStrikes, FixedDrawsLettersBeyondLatin1WithItsOwnPixels)
{
    // Two files of one height: the one with most characters draws.
    install({fixedLatin1, fixedUnicode});
    for (const int pixels : {20, 40}) {
        const QFont font = faceAt("Fixed", pixels);
        for (const char32_t code : {U'A', U'\u03A9', U'\u0416', U'\u2603'}) {
            const QString text = QString::fromUcs4(&code, 1);
            const Ink own = freetypeInk(fixedUnicode, int(code), 20, true);
            ASSERT_FALSE(own.isEmpty()) << std::hex << int(code);
            EXPECT_EQ(qtInk(font, text), scaled(own, pixels / 20)) << pixels << " px, U+" << std::hex << int(code);
        }
    }

    // The stand-in keeps the file's glyph numbers: each character the file maps leads
    // to the same glyph through both of the stand-in's character maps (the 16-bit one
    // for the Basic Multilingual Plane).
    const QByteArray standIn = sys::outlineFontOfBitmapFace(fixedUnicode, 0, "Fixed Stand-in", 20, 0);
    ASSERT_FALSE(standIn.isEmpty());
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face file = nullptr, made = nullptr;
    ASSERT_EQ(FT_New_Face(library, QFile::encodeName(fixedUnicode).constData(), 0, &file), 0);
    ASSERT_EQ(FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(standIn.constData()), FT_Long(standIn.size()),
                                 0, &made),
              0);
    ASSERT_EQ(FT_Select_Charmap(file, FT_ENCODING_UNICODE), 0);
    for (int map = 0; map < made->num_charmaps; ++map) {
        ASSERT_EQ(FT_Set_Charmap(made, made->charmaps[map]), 0);
        int compared = 0, differing = 0;
        FT_UInt glyph = 0;
        for (FT_ULong code = FT_Get_First_Char(file, &glyph); glyph != 0; code = FT_Get_Next_Char(file, code, &glyph)) {
            if (code < 0x20)
                continue;
            ++compared;
            differing += FT_Get_Char_Index(made, code) != glyph;
        }
        EXPECT_GT(compared, 5000);
        EXPECT_EQ(differing, 0) << "character map " << map;
    }
    FT_Done_Face(made);
    FT_Done_Face(file);
    FT_Done_FreeType(library);
}

// Files that are not what they claim: no stand-in, nothing crashes, Qt draws as it can.
TEST_F(BitmapStrikes, BrokenBitmapFilesGetNoStandIn)
{
    const QString fonts = testenv::userFontFolder();
    const QByteArray bdf = "STARTFONT 2.1\nFONT -x-Liar-medium-r-normal--400-400-75-75-c-80-iso10646-1\n"
                           "SIZE 400 72 72\nFONTBOUNDINGBOX 8 16 0 -2\nSTARTPROPERTIES 5\nFAMILY_NAME \"Liar\"\n"
                           "FONT_ASCENT 14\nFONT_DESCENT 2\nCHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n"
                           "ENDPROPERTIES\nCHARS 5\nSTARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 8 0\n"
                           "BBX 8 300 0 -2\nBITMAP\nff\n81\n81\nENDCHAR\nENDFONT\n";
    testenv::writeFile(fonts + "/liar.bdf", bdf);
    testenv::writeFile(fonts + "/broken.pcf.gz", QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) +
                                                     QByteArray(300, 'x'));
    // Terminus without its strikes.
    QProcess python;
    python.start("/usr/bin/python3", {"-c",
                                      "import sys\nfrom fontTools.ttLib import TTFont\n"
                                      "f = TTFont(sys.argv[1]); del f['EBLC']; del f['EBDT']\n"
                                      "f['name'].setName('Strikeless', 1, 3, 1, 0x409); f.save(sys.argv[2])",
                                      terminus, fonts + "/strikeless.otb"});
    ASSERT_TRUE(python.waitForFinished(60000) && python.exitCode() == 0);
    install({});

    for (const char* name : {"liar.bdf", "broken.pcf.gz", "strikeless.otb"}) {
        EXPECT_TRUE(sys::outlineFontOfBitmapFace(fonts + '/' + name, 0, "Stand-in").isEmpty()) << name;
        EXPECT_TRUE(sys::outlineFontOfBitmapFace(fonts + '/' + name, 0, "Stand-in", 16, 2048).isEmpty()) << name;
    }
    // A strike the file does not have is no stand-in either.
    EXPECT_TRUE(sys::outlineFontOfBitmapFace(terminus, 0, "Stand-in", 13, 0).isEmpty());
    for (const char* face : {"Liar", "Strikeless"}) {
        const QFont font = faceAt(face, 24);
        EXPECT_EQ(sys::rasterFaces()->standIn(face, 24), QString()) << face;
        EXPECT_EQ(sys::faceOf(font), font.family()) << face;
        qtInk(font, "Ag");
    }

    // Installed from elsewhere: refused, nothing copied, the reason said.
    QTemporaryDir elsewhere;
    Windows windows = createWindows(real.services());
    for (const char* name : {"liar.bdf", "broken.pcf.gz", "strikeless.otb"}) {
        const QString source = elsewhere.path() + '/' + name;
        ASSERT_TRUE(QFile::rename(fonts + '/' + name, source));
        dialogs.chosenFiles = {source};
        windows.form1->Button4Click();
        EXPECT_EQ(dialogs.messages.last(), said::installNotAFont.arg(source));
        EXPECT_FALSE(QFile::exists(fonts + '/' + name)) << name;
    }
}

// A sheet of each kind of bitmap face prints the face's own pixels: its stand-in is
// embedded in the PDF, and the sample's letters on the page are the strike's.
TEST_F(BitmapStrikes, SheetsPrintTheFacesOwnGlyphs)
{
    if (QStandardPaths::findExecutable("pdffonts").isEmpty() || QStandardPaths::findExecutable("pdftoppm").isEmpty())
        GTEST_SKIP() << "pdffonts and pdftoppm (poppler-utils) are not installed";
    install({terminus, fixedUnicode, testenv::debianFont("coure.fon")});
    QTemporaryDir folder;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
    for (const QString face : {"Terminus", "Fixed", "Courier"}) {
        form.ListBox1->setItemIndex(int(form.ListBox1->Items().indexOf(face)));
        form.ListBox1Click();
        form.Edit1->setPlainText("Sample");
        const QString pdf = folder.path() + '/' + face + ".pdf";
        dialogs.savedFiles = {pdf};
        form.SaveSheetPdf->trigger();
        ASSERT_TRUE(QFile::exists(pdf)) << qPrintable(face);
        QProcess fonts;
        fonts.start("pdffonts", {pdf});
        ASSERT_TRUE(fonts.waitForFinished(60000));
        // Past the two heading lines: name, type, encoding, embedded, ...
        const QStringList lines = QString::fromLocal8Bit(fonts.readAllStandardOutput()).split('\n').mid(2);
        QStringList own;
        QSet<QString> others;
        for (const QString& line : lines) {
            const QStringList columns = line.simplified().split(' ');
            if (columns.size() < 6)
                continue;
            EXPECT_EQ(columns[4], "yes") << "embedded: " << qPrintable(line);
            if (columns[0].startsWith(QString(face).remove(' ')) && columns[0].contains("pxbitmap"))
                own << columns[0];
            else
                others.insert(columns[0].section('-', 0, 0));
        }
        EXPECT_FALSE(own.isEmpty()) << qPrintable(face + ":\n" + lines.join('\n'));
        // Besides the stand-ins, only the labels' one face: no substitute for the face.
        EXPECT_EQ(others.size(), 1) << qPrintable(face + ":\n" + lines.join('\n'));
    }
}

// What Qt and the PDF engine read of a stand-in: its style, width and pitch, and that it
// may be embedded.
TEST_F(BitmapStrikes, StandInsDescribeTheirStrike)
{
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    const struct {
        QString file;
        int weight;
        bool fixed;
        int averageWidth; // pixels
    } cases[] = {
        {terminusBold, 700, true, 8},
        {terminus, 500, true, 8}, // Terminus Medium
        {testenv::debianFont("smalle.fon"), 400, false, 0},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.file.isEmpty());
        const QByteArray font = sys::outlineFontOfBitmapFace(c.file, 0, "Stand-in", c.averageWidth ? 16 : 0);
        ASSERT_FALSE(font.isEmpty()) << qPrintable(c.file);
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(font.constData()), FT_Long(font.size()),
                                     0, &face),
                  0);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        ASSERT_NE(os2, nullptr) << qPrintable(c.file);
        EXPECT_EQ(os2->usWeightClass, c.weight) << qPrintable(c.file);
        EXPECT_EQ(bool(face->style_flags & FT_STYLE_FLAG_BOLD), c.weight >= 600) << qPrintable(c.file);
        EXPECT_EQ(os2->fsSelection & 0x61, c.weight >= 600 ? 0x20 : 0x40) << qPrintable(c.file);
        EXPECT_EQ(os2->fsType & 0x030E, 0) << "embeddable";
        EXPECT_EQ(bool(FT_IS_FIXED_WIDTH(face)), c.fixed) << qPrintable(c.file);
        if (c.averageWidth)
            EXPECT_EQ(os2->xAvgCharWidth, c.averageWidth * 64) << qPrintable(c.file);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
}
