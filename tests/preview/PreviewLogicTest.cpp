#include "preview/AutoView.h"
#include "preview/CharacterMap.h"
#include "preview/FaceScript.h"
#include "preview/UnicodeBlocks.h"
#include "preview/FontsAhead.h"
#include "preview/OwnerDrawList.h"
#include "preview/Unit2.h"
#include "tests/support/Printers.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <map>
#include <tuple>
#include <gtest/gtest.h>

TEST(AutoView, IntervalRoundsHalvesToEven)
{
    const std::pair<int, int> intervals[] = {{1, 10000}, {2, 5000}, {3, 3333}, {15, 667},
                                             {16, 625},  {32, 312}, {48, 208}, {50, 200}};
    for (const auto& [position, interval] : intervals)
        EXPECT_EQ(preview::autoViewInterval(position), interval) << position;
}

TEST(AutoView, StepsWrapWithoutPreviewingTheFirstItemAgain)
{
    // Five items, item 2 selected: previews 3, 4, 1, 2, 3, 4, 1.
    int selected = 2;
    std::vector<int> previewed;
    for (int tick = 0; tick < 7; ++tick) {
        const preview::AutoViewStep step = preview::autoViewStep(5, selected);
        previewed.push_back(step.preview);
        selected = step.selectAfter;
    }
    EXPECT_EQ(previewed, (std::vector<int>{3, 4, 1, 2, 3, 4, 1}));
    // The last item selected by hand, one item, no selection, no items.
    EXPECT_EQ(preview::autoViewStep(5, 4).preview, 0);
    EXPECT_EQ(preview::autoViewStep(1, 0).preview, 0);
    EXPECT_EQ(preview::autoViewStep(1, 0).selectAfter, 0);
    EXPECT_EQ(preview::autoViewStep(3, -1).preview, 0);
    EXPECT_EQ(preview::autoViewStep(0, -1).preview, -1);
}

TEST(CharacterMap, CodesInTheirCellsAndTheCodeLine)
{
    std::map<std::pair<int, int>, QString> cells;
    preview::fillCharacterMap([&](int column, int row, const QString& text) { cells[{column, row}] = text; });
    EXPECT_EQ(cells.size(), 223u);
    EXPECT_EQ(cells[std::pair(0, 0)], "!");
    EXPECT_EQ(cells[std::pair(9, 0)], "*");
    EXPECT_EQ(cells[std::pair(0, 1)], "+");
    EXPECT_EQ(cells[std::pair(2, 22)], QString(QChar(0xFF)));
    EXPECT_EQ(cells.count(std::pair(3, 22)), 0u);
    EXPECT_EQ(cells[std::pair((128 - 33) % 10, (128 - 33) / 10)], QString(QChar(0x20AC))) << "Windows-1252 euro";

    EXPECT_EQ(preview::zoomCodeLine("A"), "ASCII-code is #65");
    EXPECT_EQ(preview::zoomCodeLine(QString(QChar(0xE9))), "ASCII-code is #233");
    EXPECT_EQ(preview::zoomCodeLine(QString(QChar(0x20AC))), "ASCII-code is #128");
    EXPECT_EQ(preview::zoomCodeLine(QString(QChar(0x81))), "ASCII-code is #129");

    // Every code reads back from its character; characters the code page lacks read '?'.
    for (int code = 0; code <= 0xFF; ++code)
        EXPECT_EQ(preview::windows1252Code(preview::windows1252Char(code)), code) << code;
    const std::pair<char16_t, int> others[] = {{0x80, '?'},   {0x9F, '?'},   {0x100, '?'},
                                               {0x178, 0x9F}, {0x2122, 0x99}, {0xFFFD, '?'}};
    for (const auto& [unicode, code] : others)
        EXPECT_EQ(preview::windows1252Code(QChar(unicode)), code) << int(unicode);
    EXPECT_EQ(preview::cellSpokenName(QString(QChar(0x178))), QString(QChar(0x178)) + ", code 159");
    EXPECT_EQ(preview::cellSpokenName(""), "");
}

TEST(CharacterMap, BlocksByTheirStandardNamesAndPagesForEveryKindOfFace)
{
    // The standard spelling of ICU's names: hyphens, "and", "for".
    const std::pair<char32_t, const char*> names[] = {
        {0xE9, "Latin-1 Supplement"}, {0x101, "Latin Extended-A"},  {0x3B1, "Greek and Coptic"},
        {0x20D0, "Combining Diacritical Marks for Symbols"},        {0x3400, "CJK Unified Ideographs Extension A"},
        {0xF0000, "Supplementary Private Use Area-A"},
    };
    for (const auto& [c, name] : names)
        EXPECT_EQ(preview::blocksOf({c}).value(0).name, name) << std::hex << uint(c);
    EXPECT_EQ(preview::unicodeLine(0x41), "Unicode U+0041 LATIN CAPITAL LETTER A");
    EXPECT_EQ(preview::unicodeLine(0x10FFFD), "Unicode U+10FFFD");

    // Faces of every kind, and what their map opens on. Controls, blanks and invisible
    // marks never take a cell; presentation forms do not outweigh the letters.
    QList<char32_t> astral;
    for (char32_t c = 0x1F600; c < 0x1F615; ++c)
        astral << c;
    QList<char32_t> presentation{0x627, 0x628};
    for (char32_t c = 0xFE80; c < 0xFE90; ++c)
        presentation << c;
    const struct {
        QList<char32_t> characters;
        bool known;
        qsizetype pages;
        const char* opening; // nullptr: nothing to show
    } faces[] = {
        {{}, false, 1, "8-bit page (Windows-1252)"},
        {{0x0, 0xD, 0x20, 0xAD, 0x200D}, true, 0, nullptr},
        {astral, true, 1, "Emoticons"},
        {presentation, true, 2, "Arabic"},
    };
    for (const auto& face : faces) {
        const preview::MapPages pages = preview::mapPagesOf(face.characters, face.known);
        EXPECT_EQ(pages.pages.size(), face.pages);
        EXPECT_EQ(pages.pages.value(pages.opening).name, face.opening ? face.opening : "");
    }
    // 21 characters beyond U+FFFF fill two rows and one cell.
    const QList<QStringList> rows = preview::mapRowTexts(preview::mapPagesOf(astral, true).pages[0]);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2], QStringList{QString::fromUcs4(U"\U0001F614")});
    EXPECT_EQ(rows[1][9], QString::fromUcs4(U"\U0001F613"));
    EXPECT_EQ(preview::zoomCodeLine(rows[0][0], false), "Unicode U+1F600 GRINNING FACE");
    EXPECT_EQ(preview::cellSpokenName(rows[0][0], false), QString::fromUcs4(U"\U0001F600, U+1F600 GRINNING FACE"));
}

TEST(FaceSpecimen, NamesAFaceCannotWriteAndSamplesItCannotDraw)
{
    sys::FaceCoverage latin{{}, false, true};
    for (char32_t c = 0x20; c < 0x7F; ++c)
        latin.characters << c;
    sys::FaceCoverage greek{{}, false, true};
    for (char32_t c = 0x391; c <= 0x3A9; ++c)
        if (c != 0x3A2)
            greek.characters << c;
    EXPECT_EQ(preview::nameSpecimen("Alpha Beta", latin), std::nullopt);
    EXPECT_EQ(preview::nameSpecimen("Alpha", sys::FaceCoverage{}), std::nullopt); // not known: as it was
    EXPECT_EQ(preview::nameSpecimen("Alpha", greek), QString::fromUtf8("ΑΒΓΔΕ"));
    EXPECT_EQ(preview::nameSpecimen("Alpha", sys::FaceCoverage{{}, false, true}), QString());
    EXPECT_EQ(preview::faceSpecimen(greek.characters, 30).text.size(), 24);
    // Nine letters are no alphabet: the face shows its first characters instead.
    EXPECT_EQ(preview::faceSpecimen(greek.characters.mid(0, 9), 3).script, QString());

    const std::tuple<const char*, bool> samples[] = {
        {"Sample", false}, {"12 Sample", false}, {"ΑΩ", true}, {"Ω1", true}, {"12", false}, {"   ", true},
    };
    for (const auto& [text, draws] : samples)
        EXPECT_EQ(preview::drawsSomeOf(greek.characters, QString::fromUtf8(text)), draws) << text;
    EXPECT_TRUE(preview::drawsSomeOf(latin.characters, "12"));
    EXPECT_EQ(preview::scriptOfText("12 Ω"), "Greek");
    EXPECT_TRUE(preview::coversEightBitPage(latin.characters));
    EXPECT_FALSE(preview::coversEightBitPage(latin.characters.mid(0, 90))); // no 'z'
}

TEST(ZoomOverlay, CentredOverTheMainWindowClampedAtZero)
{
    EXPECT_EQ(preview::centredPlacement(QRect(100, 50, 799, 601), QSize(483, 468)), QPoint(258, 116));
    EXPECT_EQ(preview::centredPlacement(QRect(-400, -300, 799, 601), QSize(483, 468)), QPoint(0, 0));
}

TEST(FontsAhead, MakesPlannedFacesOnceInOrderWithinItsCapacity)
{
    preview::FontsAhead ahead(4);
    QStringList made;
    const auto fontsOf = [&](const QString& face) {
        made << face;
        QFont font;
        font.setFamilies({face});
        return QList<QFont>{font};
    };
    // Makes every face planned; the faces it made.
    const auto makeAll = [&] {
        made.clear();
        while (ahead.step(fontsOf)) {
        }
        return made;
    };

    ahead.plan({"B", "A", "B", "C"}, "24pt");
    EXPECT_EQ(ahead.waiting(), 3);
    EXPECT_EQ(makeAll(), QStringList({"B", "A", "C"}));

    // Planned again: only the new face is made. A plan replaces what was waiting.
    ahead.plan({"X", "Y"}, "24pt");
    ahead.plan({"C", "D", "A"}, "24pt");
    EXPECT_EQ(makeAll(), QStringList({"D"}));

    // Never more than the capacity held; the faces of the newest plan stay, and a plan
    // larger than what can be held is cut rather than pushing out its own first faces.
    ahead.plan({"A", "E", "F", "G", "H"}, "24pt");
    EXPECT_EQ(makeAll(), QStringList({"E", "F", "G"}));
    EXPECT_EQ(ahead.made(), 4);
    for (const char* face : {"A", "E", "F", "G"})
        EXPECT_TRUE(ahead.isMade(face)) << face;
    EXPECT_FALSE(ahead.isMade("C"));

    // A face planned twice takes room once.
    ahead.plan({"A", "A", "E", "E", "X"}, "24pt");
    EXPECT_EQ(makeAll(), QStringList({"X"}));

    // Other settings: what was made no longer counts.
    ahead.plan({"A"}, "36pt");
    EXPECT_FALSE(ahead.isMade("E"));
    EXPECT_EQ(makeAll(), QStringList({"A"}));
    EXPECT_FALSE(ahead.step(fontsOf));
}

TEST(ListItemFonts, APaintLoadsWithinItsBudgetAndTheRestRightAfter)
{
    preview::FaceFontCache cache;
    preview::ListItemFonts fonts(cache, 0); // a budget that ends with the first load
    const QFont base(QStringLiteral("DejaVu Sans Mono"));
    const auto drawn = [&](const QString& face) { return fonts.font(base, face).families().value(0); };
    fonts.startPaint();
    EXPECT_EQ(drawn("DejaVu Sans"), "DejaVu Sans") << "a paint always loads one font";
    EXPECT_EQ(drawn("DejaVu Serif"), "DejaVu Sans Mono") << "the budget is spent: the list's font for now";
    EXPECT_EQ(drawn("Liberation Serif"), "DejaVu Sans Mono");
    EXPECT_EQ(drawn("DejaVu Sans"), "DejaVu Sans") << "a loaded font costs nothing";
    EXPECT_TRUE(fonts.hasWaiting());

    // Scrolled on: only the waiting faces still shown are loaded, one per budget.
    const auto shown = [](const QString& face) { return face != "Liberation Serif"; };
    EXPECT_TRUE(fonts.loadWaiting(base, shown));
    EXPECT_FALSE(fonts.hasWaiting());
    EXPECT_EQ(cache.loaded(base, "Liberation Serif"), nullptr);
    fonts.startPaint();
    EXPECT_EQ(drawn("Liberation Serif"), "Liberation Serif") << "a new paint has a new budget";
    EXPECT_EQ(drawn("DejaVu Serif"), "DejaVu Serif");
}

TEST(FaceFontCache, MoreFacesThanItHoldsKeepsTheRecentOnesAndReloadsTheRest)
{
    preview::FaceFontCache cache(3);
    const QFont base(QStringLiteral("DejaVu Sans"));
    const auto face = [&](const QString& name) { return cache.font(base, name).families().value(0); };
    const auto held = [&](const QString& name) { return cache.loaded(base, name) != nullptr; };
    for (const QString name : {"A", "B", "C", "D", "E"})
        EXPECT_EQ(face(name), name);
    EXPECT_EQ(std::tuple(cache.size(), held("A"), held("B"), held("C")), std::tuple(3, false, false, true));
    EXPECT_EQ(face("F"), "F"); // C was used again: D, the least recently used, goes
    EXPECT_EQ(std::tuple(held("D"), cache.loaded(base, "C")->families().value(0)), std::tuple(false, QString("C")));
    EXPECT_EQ(face("A"), "A") << "a face dropped is loaded again";
    EXPECT_EQ(cache.size(), 3);
    // Another list font: nothing loaded for the old one is handed out.
    const QFont bigger(base.family(), 30);
    EXPECT_EQ(cache.loaded(bigger, "A"), nullptr);
    EXPECT_EQ(cache.font(bigger, "A").pointSize(), 30);
    EXPECT_EQ(cache.size(), 1);
}

// A name too long for its row gives way to the specimen, which is drawn in its face.
TEST(OwnerDrawList, TheSpecimenIsDrawnInTheFaceAfterTheNameCutShort)
{
    const QFont list(QStringLiteral("DejaVu Sans Mono"), 10);
    const auto drawn = [&](const QFont& face) {
        QImage row(200, 20, QImage::Format_RGB32);
        QPainter painter(&row);
        preview::drawSpecimenItem(painter, row.rect(), Qt::white, list, face, "A rather long face name", "Abg");
        return row;
    };
    // The bold of a monospaced face lays out alike: only the specimen's ink differs.
    const QImage inBold = drawn(QFont(QStringLiteral("DejaVu Sans Mono"), 10, QFont::Bold));
    const QImage inList = drawn(list);
    EXPECT_NE(inBold, inList);
    EXPECT_EQ(inBold.copy(0, 0, 100, 20), inList.copy(0, 0, 100, 20)) << "the name, in the list's font";
    // A name alone is drawn in the font it is given.
    const auto named = [&](QFont::Weight weight) {
        QImage row(200, 20, QImage::Format_RGB32);
        QPainter painter(&row);
        preview::drawFaceItem(painter, row.rect(), Qt::white, QFont(list.family(), 10, weight), "Name");
        return row;
    };
    EXPECT_NE(named(QFont::Normal), named(QFont::Bold));
}
