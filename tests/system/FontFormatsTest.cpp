// OpenType, collections, web fonts and Windows raster fonts on the real font stack:
// fontconfig, FreeType and Qt on this process's private font tree.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "catalogue/Charsets.h"
#include "catalogue/FileBrowser.h"
#include "catalogue/RegistryNames.h"
#include "preview/CharacterMap.h"
#include "system/FilePaths.h"
#include "system/FontFactory.h"
#include "system/FontMatch.h"
#include "system/Fontconfig.h"
#include "system/FontResources.h"
#include "system/RasterFaces.h"
#include "tests/support/Choose.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/GlyphInk.h"
#include "tests/support/TestEnvironment.h"
#include "widgets/SortableGrid.h"
#include "tests/support/UserTexts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include FT_FREETYPE_H

using glyphink::freetypeInk;
using glyphink::Ink;
using glyphink::qtInk;

namespace {

const QString urw = QStringLiteral("/usr/share/fonts/opentype/urw-base35/");

// Runs fontTools to write a font; false when it could not.
bool fontTools(const QString& script, const QStringList& arguments)
{
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", script} + arguments);
    return python.waitForFinished(60000) && python.exitCode() == 0;
}

bool writeCollection(const QStringList& fonts, const QString& target)
{
    return fontTools("import sys\nfrom fontTools.ttLib import TTFont, TTCollection\n"
                     "c = TTCollection(); c.fonts = [TTFont(f) for f in sys.argv[2:]]; c.save(sys.argv[1])",
                     QStringList{target} + fonts);
}

// Small fonts of one family, each given as file, style, weight, italic ("0"/"1").
bool writeFamily(const QString& folder, const QString& family, const QStringList& faces)
{
    QStringList arguments{folder, family};
    return fontTools("import sys\nfrom fontTools.fontBuilder import FontBuilder\n"
                     "from fontTools.pens.ttGlyphPen import TTGlyphPen\n"
                     "folder, family, faces = sys.argv[1], sys.argv[2], sys.argv[3:]\n"
                     "for i in range(0, len(faces), 4):\n"
                     "    name, style, weight, italic = faces[i:i + 4]\n"
                     "    fb = FontBuilder(1000, isTTF=True)\n"
                     "    fb.setupGlyphOrder(['.notdef', 'A']); fb.setupCharacterMap({65: 'A'})\n"
                     "    pen = TTGlyphPen(None); pen.moveTo((0, 0)); pen.lineTo((0, 500)); pen.lineTo((500, 500))\n"
                     "    pen.lineTo((500, 0)); pen.closePath(); box = pen.glyph()\n"
                     "    fb.setupGlyf({'.notdef': box, 'A': box})\n"
                     "    fb.setupHorizontalMetrics({'.notdef': (600, 0), 'A': (600, 0)})\n"
                     "    fb.setupHorizontalHeader(ascent=800, descent=-200)\n"
                     "    fb.setupNameTable({'familyName': family, 'styleName': style, 'fullName': family + ' ' + style})\n"
                     "    fb.setupOS2(usWeightClass=int(weight), fsSelection=1 if italic == '1' else 0x40)\n"
                     "    fb.setupPost(); fb.save(folder + '/' + name)\n",
                     arguments + faces);
}

bool writeWoff2(const QString& font, const QString& target)
{
    return fontTools("import sys\nfrom fontTools.ttLib import TTFont\n"
                     "f = TTFont(sys.argv[1]); f.flavor = 'woff2'; f.save(sys.argv[2])",
                     {font, target});
}

// Every file of a folder with a digest of its bytes, hidden ones included.
QStringList folderState(const QString& folder)
{
    QStringList state;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        state << name + ' ' + QCryptographicHash::hash(testenv::contents(folder + '/' + name), QCryptographicHash::Sha1).toHex();
    return state;
}

// The real font stack and the main window on the user's font folder, emptied after each test.
struct FontFormats : ::testing::Test {
    FakeDialogs dialogs;
    RealServices real;
    Windows windows;

    void refresh() { real.services().fontResources.broadcastFontChange(); }
    TForm1& open()
    {
        refresh();
        windows = createWindows(real.services());
        return *windows.form1;
    }
    void TearDown() override
    {
        for (const QString& name : QDir(testenv::userFontFolder()).entryList(QDir::Files))
            QFile::remove(testenv::userFontFolder() + '/' + name);
        refresh();
    }
};

} // namespace

TEST_F(FontFormats, OpenTypeCollectionsAndWebFontsFindTheirFiles)
{
    const QString fonts = testenv::userFontFolder();
    for (const char* name : {"C059-Roman.otf", "C059-Italic.otf", "C059-Bold.otf", "C059-BdIta.otf"})
        ASSERT_TRUE(QFile::copy(urw + name, fonts + '/' + name)) << name;
    ASSERT_TRUE(writeCollection({testenv::debianFont("DejaVuSerif.ttf"), testenv::debianFont("DejaVuSansMono.ttf")},
                                fonts + "/pair.ttc"));
    ASSERT_TRUE(writeWoff2(testenv::debianFont("DejaVuSansCondensed.ttf"), fonts + "/condensed.woff2"));

    TForm1& form = open();
    const auto preview = [&](const QString& face) { chooseFace(form, face); return form.ListBox3->Items(); };
    // Slot order: the Roman face through its family's own name, then italic, bold, bold italic.
    EXPECT_EQ(preview("C059"),
              QStringList({"C059-Roman.otf", "C059-Italic.otf", "C059-Bold.otf", "C059-BdIta.otf"}));
    EXPECT_EQ(preview("DejaVu Serif"), QStringList({"pair.ttc"}));
    EXPECT_EQ(preview("DejaVu Sans Mono"), QStringList({"pair.ttc"}));
    EXPECT_EQ(preview("DejaVu Sans Condensed"), QStringList({"condensed.woff2"}));

    // The file view lists, sizes and names them; of two faces sharing the collection, the later one in the list.
    form.Button5Click();
    EXPECT_EQ(form.FileListBox1->Items(), QStringList({"C059-BdIta.otf", "C059-Bold.otf", "C059-Italic.otf",
                                                       "C059-Roman.otf", "condensed.woff2", "pair.ttc"}));
    for (const auto& [file, face] : {std::pair<QString, QString>{"C059-BdIta.otf", "C059"},
                                     {"condensed.woff2", "DejaVu Sans Condensed"}, {"pair.ttc", "DejaVu Serif"}}) {
        chooseFile(form, file);
        const QString size = catalogue::kilobytesText(QFile(fonts + '/' + file).size());
        EXPECT_EQ(fileFields(form), QStringList({file, fonts + '/', face, size}).join(" | ")) << qPrintable(file);
    }

    // Uninstalling a face of the collection names the face that goes with it.
    form.Button7Click();
    chooseFace(form, "DejaVu Serif");
    dialogs.answers = {false};
    form.Button3Click();
    EXPECT_TRUE(dialogs.questions.last().endsWith("Undone.\rIt also removes: DejaVu Sans Mono.")) << qPrintable(dialogs.questions.last());

    // Back up and uninstall reach every file of the face.
    chooseFace(form, "C059");
    form.GradientButton7Click();
    for (const char* name : {"C059-Roman.otf", "C059-Italic.otf", "C059-Bold.otf", "C059-BdIta.otf"})
        EXPECT_TRUE(QFile::exists(testenv::documentsFolder() + "/Glyphwell/" + name)) << name;
    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_EQ(QDir(fonts).entryList({"C059*"}, QDir::Files), QStringList());
    EXPECT_FALSE(form.ListBox1->Items().contains("C059"));
    QDir(testenv::documentsFolder() + "/Glyphwell").removeRecursively();
}

TEST_F(FontFormats, FacesMissedByTheirFamilyNamesGetTheNameWindowsWouldGive)
{
    const QString fonts = testenv::userFontFolder();
    // Full names the family's probe does not reach, but for "Tie Bold". Book and Text
    // both want "Tie": Text is nearer weight 400. Light and Semilight tie at 50 from
    // 400 for "Twin": the file that sorts first holds it. Heavy's "Tie Bold" is taken
    // by a full name already.
    ASSERT_TRUE(writeFamily(fonts, "Tie",
                            {"tie-book.ttf", "Book", "340", "0", "tie-text.ttf", "Text", "420", "0",
                             "tie-slant.ttf", "Slanted", "400", "1", "tie-bold.ttf", "Bold", "700", "0",
                             "tie-heavy.ttf", "Heavy", "900", "0"}));
    ASSERT_TRUE(writeFamily(fonts, "Twin", {"twin-b.ttf", "Light", "350", "0", "twin-a.ttf", "Semilight", "450", "0"}));
    // From weight 600 a face is bold to Windows.
    ASSERT_TRUE(writeFamily(fonts, "Demi", {"demi-590.ttf", "Medium", "590", "0", "demi-600.ttf", "Semibold", "600", "0"}));
    refresh();
    catalogue::RegistryNames names(real.services().registry);
    EXPECT_EQ(names.probe("Tie"), (catalogue::ProbeResult{"tie-text.ttf", "", "", "tie-slant.ttf", "tie-bold.ttf", "",
                                                           "", ""}));
    EXPECT_EQ(catalogue::sourceFiles(names.probe("Twin")), QStringList({"twin-a.ttf"}));
    EXPECT_EQ(names.probe("Demi"), (catalogue::ProbeResult{"demi-590.ttf", "", "", "", "demi-600.ttf", "", "", ""}));
}

TEST_F(FontFormats, CollectionsAndForeignFullNamesMakeTheirValues)
{
    const QString fonts = testenv::userFontFolder();
    QTemporaryDir faces;
    // A collection whose italic comes first, both faces at weight 400: the alias goes
    // to the upright face, and the value names both faces in index order.
    // The italic names Latin 1 as its code page, the upright Latin 1 and Greek: the
    // family's charsets come from each face of the file.
    ASSERT_TRUE(writeFamily(faces.path(), "Coll", {"i.ttf", "Book Italic", "400", "1", "r.ttf", "Book", "400", "0"}));
    ASSERT_TRUE(fontTools("import sys\nfrom fontTools.ttLib import TTFont\n"
                          "for path, pages in ((sys.argv[1], 1), (sys.argv[2], 9)):\n"
                          "    f = TTFont(path); f['OS/2'].ulCodePageRange1 = pages; f.save(path)\n",
                          {faces.path() + "/i.ttf", faces.path() + "/r.ttf"}));
    ASSERT_TRUE(writeCollection({faces.path() + "/i.ttf", faces.path() + "/r.ttf"}, fonts + "/coll.ttc"));
    // Full names in German and French only: the first stands; German and English: English.
    ASSERT_TRUE(writeFamily(fonts, "Poly", {"poly.ttf", "Bold", "700", "0", "duo.ttf", "Medium", "500", "0"}));
    ASSERT_TRUE(fontTools("import sys\nfrom fontTools.ttLib import TTFont\n"
                          "for path, names in ((sys.argv[1], {'de': 'Vielsprachig Fett', 'fr': 'Polyglotte Gras'}),\n"
                          "                    (sys.argv[2], {'de': 'Zwei Mittel', 'en': 'Duo Medium'})):\n"
                          "    f = TTFont(path); t = f['name']; t.removeNames(nameID=4)\n"
                          "    for lang, text in names.items(): t.addMultilingualName({lang: text}, nameID=4, mac=False)\n"
                          "    f.save(path)\n",
                          {fonts + "/poly.ttf", fonts + "/duo.ttf"}));
    refresh();
    QStringList values;
    for (const sys::RegValue& value : real.services().registry.values())
        if (!QDir::isAbsolutePath(value.data))
            values << value.name + " = " + value.data;
    values.sort();
    EXPECT_EQ(values, QStringList({"Coll (TrueType) = coll.ttc", "Coll Book Italic & Coll Book (TrueType) = coll.ttc",
                                   "Duo Medium (TrueType) = duo.ttf", "Poly (TrueType) = duo.ttf",
                                   "Poly Bold (TrueType) = poly.ttf", "Vielsprachig Fett (TrueType) = poly.ttf"}));
    QStringList charsets;
    catalogue::appendCharsets(real.services().fonts, "Coll", charsets);
    EXPECT_EQ(charsets, QStringList({"ANSI_CHARSET", "GREEK_CHARSET"}));
}

TEST_F(FontFormats, LoadingAFontMatchesOnlyItsFileWithFontconfigsOwnResult)
{
    ASSERT_TRUE(sys::fontMatchNarrowed()) << "the executable exports FcFontMatch";
    // Two faces alike in all but their index: the first in fontconfig's order wins.
    QTemporaryDir faces;
    ASSERT_TRUE(writeFamily(faces.path(), "Same", {"a.ttf", "Regular", "400", "0", "b.ttf", "Regular", "400", "0"}));
    ASSERT_TRUE(writeCollection({faces.path() + "/a.ttf", faces.path() + "/b.ttf"}, faces.path() + "/same.ttc"));
    FcConfig* config = FcInitLoadConfigAndFonts();
    // An installed file: the first of the system fonts.
    FcPattern* first = FcConfigGetFonts(config, FcSetSystem)->fonts[0];
    FcChar8* firstFamily = nullptr;
    FcPatternGetString(first, FC_FAMILY, 0, &firstFamily);
    const char* family = reinterpret_cast<const char*>(firstFamily);
    const QString installed = sys::fcPath(first, FC_FILE);
    // What Qt asks when it loads a font: family, file, index and size.
    const auto compare = [&](const char* family, const QString& file, int index, const char* what, bool narrows) {
        const long before = sys::narrowedFontMatches();
        FcPattern* pattern = FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family, FC_PIXEL_SIZE, FcTypeDouble, 13.0,
                                            FC_INDEX, FcTypeInteger, index, nullptr);
        if (!file.isEmpty())
            FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(QFile::encodeName(file).constData()));
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* narrowed = FcFontMatch(config, pattern, &result);
        FcPattern* full = sys::fullFontMatch(config, pattern);
        ASSERT_TRUE(narrowed && full) << what;
        EXPECT_TRUE(FcPatternEqual(narrowed, full)) << what << ": " << FcNameUnparse(narrowed) << "\n vs "
                                                    << FcNameUnparse(full);
        FcPatternDestroy(narrowed);
        FcPatternDestroy(full);
        FcPatternDestroy(pattern);
        EXPECT_EQ(sys::narrowedFontMatches() - before, narrows ? 1 : 0) << what;
    };
    compare(family, installed, 0, "an installed file", true);
    compare("Same", faces.path() + "/same.ttc", 0, "a collection not loaded yet", false);
    FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(QFile::encodeName(faces.path() + "/same.ttc").constData()));
    for (int index : {0, 1})
        compare("Same", faces.path() + "/same.ttc", index, "a collection loaded later", true);
    compare(family, installed, 0, "an installed file after the load", true);
    compare("Same", QString(), 0, "no file named", false);
    compare(family, "/nowhere/" + installed, 0, "a file not installed", false);
    FcConfigDestroy(config);
}

TEST_F(FontFormats, RasterFaceDrawsItsOwnGlyphsInTheCharacterMap)
{
    const QString courier = testenv::debianFont("coure.fon");
    ASSERT_FALSE(courier.isEmpty());
    testenv::copyInto(courier, testenv::userFontFolder());
    TForm1& form = open();
    ASSERT_TRUE(form.ListBox1->Items().contains("Courier"));
    chooseFace(form, "Courier");

    // Each code's cell shows the glyph FreeType gives that code: the map's face at its
    // own 13 pixels, and at 26 in whole 2-pixel squares; no two codes look alike.
    EXPECT_EQ(sys::faceOf(form.SortableGrid1->font()), "Courier");
    const auto mapAt = [&](int pixels) {
        QFont map = form.SortableGrid1->font();
        map.setPixelSize(pixels);
        sys::setFace(map, "Courier", sys::Fallback::None);
        return map;
    };
    // Every code from 0x80 to 0x9F too: in this face 0x80 is the default glyph, and
    // the others are its own or blank.
    QList<int> codes = {'A', 'g', '0', '~', 0xE9, 0xFF};
    for (int code = 0x80; code <= 0x9F; ++code)
        codes << code;
    QSet<QString> seen;
    for (const int code : codes) {
        const QString cell = form.SortableGrid1->Cells(preview::mapColumn(code), preview::mapRow(code));
        const Ink expected = freetypeInk(courier, code);
        EXPECT_EQ(qtInk(mapAt(13), cell), expected) << "code " << code;
        EXPECT_EQ(qtInk(mapAt(26), cell), glyphink::scaled(expected, 2)) << "code " << code;
        seen.insert(expected.join('\n'));
    }
    EXPECT_EQ(seen.size(), 25); // the codes the face leaves out share its default glyph
    // The sample and the list item draw through the same face, in whole squares at
    // the sample's size.
    const Ink sample = qtInk(form.Edit1->font(), "A");
    const Ink own = freetypeInk(courier, 'A');
    const int scale = own.isEmpty() ? 0 : int(sample.size() / own.size());
    EXPECT_GE(scale, 1);
    EXPECT_EQ(sample, glyphink::scaled(own, scale));
    // The next, outline face is hinted again, as any face is.
    chooseFace(form, "DejaVu Sans");
    EXPECT_EQ(form.Edit1->font().hintingPreference(), QFont::PreferDefaultHinting);
}

// Raster faces of any height (a very tall one found by fuzzing): up to 255 pixels the
// stand-in fits an sfnt font's em square and opens; a taller face gets none.
TEST_F(FontFormats, StandInsOfVeryTallRasterFacesOpenOrAreNotMade)
{
    QFile seed(GLYPHWELL_SOURCE_DIR "/fuzz/corpus/fontfile/raster-too-tall");
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    const QByteArray fon = seed.readAll().mid(1);
    constexpr qsizetype pixelHeightAt = 552; // in the face's FNT header
    ASSERT_EQ(quint8(fon.at(pixelHeightAt)) | quint8(fon.at(pixelHeightAt + 1)) << 8, 24942);
    QTemporaryDir folder;
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    for (const int height : {255, 256, 24942}) {
        QByteArray patched = fon;
        patched[pixelHeightAt] = char(height & 0xFF);
        patched[pixelHeightAt + 1] = char(height >> 8);
        const QString path = testenv::writeFile(folder.path() + "/tall.fon", patched);
        const QByteArray font = sys::outlineFontOfBitmapFace(path, 0, "Tall Stand-in");
        EXPECT_EQ(font.isEmpty(), height > 255) << height;
        if (font.isEmpty())
            continue;
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(font.constData()),
                                     FT_Long(font.size()), 0, &face),
                  0)
            << height;
        EXPECT_EQ(face->units_per_EM, height * 64) << height;
        EXPECT_GT(face->num_glyphs, 1) << height;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
}

TEST_F(FontFormats, RefusedInstallsLeaveTheFontFolderByteForByte)
{
    QTemporaryDir elsewhere;
    const QString base = elsewhere.path();
    QFile otf(urw + "C059-Roman.otf");
    ASSERT_TRUE(otf.open(QIODevice::ReadOnly));
    QByteArray collection = QByteArray("ttcf") + QByteArray::fromHex("00010000" "00000001" "7fffff00");
    QByteArray fon;
    {
        QFile file(testenv::debianFont("coure.fon"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        fon = file.readAll();
        fon.replace(0x3C, 4, QByteArray::fromHex("ffffff7f")); // the header points far past the end
    }
    const QStringList refused = {
        testenv::writeFile(base + "/text.ttf", "just some text, renamed"),
        testenv::writeFile(base + "/empty.otf", ""),
        base + "/typed but missing.ttf",
        testenv::writeFile(base + "/truncated.otf", otf.read(700)),
        testenv::writeFile(base + "/offsets.ttc", collection),
        testenv::writeFile(base + "/broken.woff2", QByteArray("wOF2") + QByteArray(60, '\x7f')),
        testenv::writeFile(base + "/lying.fon", fon),
    };
    testenv::writeFile(testenv::userFontFolder() + "/DejaVuSans.ttf", "someone's own file");
    const QStringList before = folderState(testenv::userFontFolder());

    TForm1& form = open();
    const QStringList faces = form.ListBox1->Items();
    for (const QString& file : refused)
        dialogs.chosenFiles.push_back(file);
    dialogs.chosenFiles.push_back(testenv::debianFont("DejaVuSans.ttf"));
    for (int i = 0; i <= refused.size(); ++i)
        form.Button4Click();

    EXPECT_EQ(folderState(testenv::userFontFolder()), before);
    EXPECT_EQ(form.ListBox1->Items(), faces);
    ASSERT_EQ(dialogs.messages.size(), refused.size() + 1);
    for (int i = 0; i < refused.size(); ++i)
        EXPECT_EQ(dialogs.messages[i], said::installNotAFont.arg(refused[i]));
    EXPECT_TRUE(dialogs.messages.last().startsWith("A file named DejaVuSans.ttf is already in the font folder"));

    // Put in the folder by hand, they are listed or skipped, and none of them takes
    // another file's face.
    for (const QString& file : refused)
        QFile::copy(file, testenv::userFontFolder() + '/' + QFileInfo(file).fileName());
    refresh();
    form.Button5Click();
    form.ListBox1->setItemIndex(0);
    for (int i = 0; i < form.FileListBox1->Count(); ++i) {
        form.FileListBox1->setItemIndex(i);
        form.FileListBox1Click();
        EXPECT_EQ(form.Edit5->text(), "Cannot found facename") << form.Edit3->text().toStdString();
    }
}

TEST_F(FontFormats, FileNameThatIsNotUtf8IsSizedBackedUpAndDeleted)
{
    // "café.ttf" in Latin-1: the byte 0xE9 alone is not UTF-8.
    const QByteArray name("caf\xe9.ttf");
    const QByteArray folder = QFile::encodeName(testenv::userFontFolder());
    {
        QFile source(testenv::debianFont("DejaVuSans.ttf"));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.read(12345);
        const int fd = ::open((folder + '/' + name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.constData(), std::size_t(bytes.size())), 12345);
        ::close(fd);
    }
    TForm1& form = open();
    form.Button5Click();
    const QString listed = sys::pathFromBytes(name);
    ASSERT_TRUE(form.FileListBox1->Items().contains(listed));
    chooseFile(form, listed);
    EXPECT_EQ(form.Edit6->text(), catalogue::kilobytesText(12345));

    form.GradientButton7Click();
    const QByteArray backup = QFile::encodeName(testenv::documentsFolder()) + "/Glyphwell/" + name;
    EXPECT_EQ(::access(backup.constData(), F_OK), 0);
    EXPECT_FALSE(dialogs.messages.last().startsWith("These font files were not")) << dialogs.messages.last().toStdString();

    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_NE(::access((folder + '/' + name).constData(), F_OK), 0);
    EXPECT_FALSE(form.FileListBox1->Items().contains(listed));
    ::unlink(backup.constData());
}

// X11 and OpenType bitmap fonts are listed, offered and found like any other.
TEST_F(FontFormats, BitmapFontsAreListedAndFindTheirFiles)
{
    const QString fonts = testenv::userFontFolder();
    const QString terminus = "/usr/share/fonts/opentype/terminus/terminus-normal.otb";
    const QString fixed = "/usr/share/fonts/X11/misc/10x20-ISO8859-1.pcf.gz";
    ASSERT_TRUE(QFile::copy(fixed, fonts + "/10x20.pcf.gz"));
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::copy(terminus, elsewhere.path() + "/terminus.otb"));
    TForm1& form = open();
    dialogs.chosenFiles = {elsewhere.path() + "/terminus.otb"};
    form.Button4Click(); // installs: a bitmap font whose strikes are sound
    ASSERT_TRUE(QFile::exists(fonts + "/terminus.otb")) << qPrintable(dialogs.messages.value(0));
    for (const auto& [face, file] : {std::pair{"Fixed", "10x20.pcf.gz"}, std::pair{"Terminus", "terminus.otb"}}) {
        chooseFace(form, face);
        EXPECT_EQ(form.ListBox3->Items(), QStringList{file}) << face;
        if (QString(face) == "Fixed") // no code pages: its Latin-1 coverage
            EXPECT_EQ(form.ListBox4->Items(), QStringList{"ANSI_CHARSET"});
    }
    // Fixed is backed up and uninstalled by its file.
    chooseFace(form, "Fixed");
    form.GradientButton7Click();
    EXPECT_TRUE(QFile::exists(testenv::documentsFolder() + "/Glyphwell/10x20.pcf.gz"));
    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_FALSE(QFile::exists(fonts + "/10x20.pcf.gz"));
    EXPECT_FALSE(form.ListBox1->Items().contains("Fixed"));
    QFile::remove(testenv::documentsFolder() + "/Glyphwell/10x20.pcf.gz");
    form.Button5Click();
    EXPECT_EQ(form.FileListBox1->Items(), QStringList({"terminus.otb"}));
}
