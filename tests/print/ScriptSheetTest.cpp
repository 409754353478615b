// The sheet and the catalogue of faces beyond Latin, on the real font stack: the face's
// own script where it lacks the alphabet or its name, colour glyphs that reach paper.
#include "preview/CharacterMap.h"
#include "preview/FaceScript.h"
#include "print/FontCatalogue.h"
#include "print/FontSheet.h"
#include "system/FaceCoverage.h"
#include "tests/support/PdfText.h"
#include "tests/support/Printers.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/TestEnvironment.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const testenv::ExtraFonts fonts{"NotoSansArabic-Regular.ttf", "NotoColorEmoji.ttf"};

using Font = sys::PrinterFont;
constexpr auto none = sys::Fallback::None;

// The sheet as the window gives it for the face: a sample line of its own script and
// all of the block its map opens on, in the grid's ten 40-pixel columns.
print::SheetSources sheetOf(const QString& face)
{
    const sys::FaceCoverage coverage = sys::faceCoverage(face);
    print::SheetSources sources{face, true};
    sys::setFace(sources.memoFont, face, none);
    sources.memoFont.setPointSize(20);
    sources.memoLines = {preview::faceSpecimen(coverage.characters, 20).text};
    const preview::MapPages map = preview::mapPagesOf(coverage.characters, coverage.known);
    const QList<QStringList> rows = preview::mapRowTexts(map.pages.value(map.opening));
    for (int column = 0; column < preview::mapColumns; ++column) {
        sources.characterMap.columnWidths << 40;
        sources.characterMap.columns << QStringList();
        for (const QStringList& row : rows)
            sources.characterMap.columns.back() << row.value(column);
    }
    return sources;
}

} // namespace

TEST(ScriptSheet, TheSizeColumnShowsTheFacesScriptAndTheMapTheRowsThatFit)
{
    const QString arabic = preview::faceSpecimen(sys::faceCoverage("Noto Sans Arabic").characters, 36).text;
    EXPECT_EQ(preview::scriptOfText(arabic), "Arabic");
    const std::pair<QString, QString> cases[] = {
        {"DejaVu Sans", print::alphabetLine},
        {"Noto Sans Arabic", arabic},
        {"Noto Color Emoji", preview::faceSpecimen(sys::faceCoverage("Noto Color Emoji").characters, 36).text},
    };
    for (const auto& [face, sizeLine] : cases) {
        SCOPED_TRACE(face.toStdString());
        const print::SheetSources sources = sheetOf(face);
        RecordingPrinter printer;
        print::PrinterCanvas canvas(printer);
        print::printFontSheet(canvas, sources);
        const auto lines = printer.find(sizeLine);
        ASSERT_EQ(lines.size(), 11u);
        for (int k = 0; k < 11; ++k) {
            EXPECT_EQ(QPoint(lines[k].x, lines[k].y), QPoint(2100, 850 + 300 * k));
            EXPECT_EQ(lines[k].font, (Font{face, print::sheetSizes[k], false, false, false, Qt::black, none}));
        }
        // The Arabic and emoji blocks run longer than the sheet: their first 23 rows print.
        int cells = 0, lowest = 0;
        for (const auto& text : printer.texts)
            if (text.rect) {
                ++cells;
                lowest = std::max(lowest, text.y);
            }
        EXPECT_EQ(cells, 230);
        EXPECT_EQ(lowest, 4050);
        EXPECT_EQ(printer.first(sources.memoLines[0]).y, 4550);
    }
}

TEST(ScriptSheet, PaperHoldsTheScriptInItsFaceAndColourGlyphsInColour)
{
    if (!pdftext::available())
        GTEST_SKIP() << "poppler-utils is not installed";
    for (const bool colour : {false, true}) {
        const QString face = colour ? "Noto Color Emoji" : "Noto Sans Arabic";
        SCOPED_TRACE(face.toStdString());
        QTemporaryDir folder;
        const QString pdf = folder.path() + "/sheet.pdf";
        sys::QtPrinter printer(pdf);
        print::PrinterCanvas canvas(printer);
        print::printFontSheet(canvas, sheetOf(face));
        const auto words = pdftext::read(pdf);
        ASSERT_TRUE(words && !words->find("Printed").empty());
        if (!colour) {
            QProcess fonts;
            fonts.start("pdffonts", {pdf});
            fonts.waitForFinished();
            EXPECT_TRUE(fonts.readAllStandardOutput().contains("NotoSansArabic"));
            // The size column's first line, in Arabic, where the alphabet would be.
            const double x = words->find("Printed")[0].xMin + pdftext::points(2100);
            const double y = words->find("Printed")[0].yMin + pdftext::points(850 - 100);
            EXPECT_TRUE(std::any_of(words->words.begin(), words->words.end(), [&](const pdftext::Word& word) {
                return preview::scriptOfText(word.text) == "Arabic" && std::abs(word.xMin - x) < 2 &&
                       std::abs(word.yMin - y) < 3;
            }));
        }
        ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, folder.path() + "/page"}), 0);
        const QImage page(folder.path() + "/page.png");
        int coloured = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                coloured += page.pixelColor(x, y).hsvSaturation() > 100 && page.pixelColor(x, y).value() > 60;
        EXPECT_EQ(coloured > 500, colour) << coloured;
    }

    // In the catalogue, the specimen follows the printed name on its line.
    QTemporaryDir folder;
    const QString pdf = folder.path() + "/catalogue.pdf";
    sys::QtPrinter printer(pdf);
    print::PrinterCanvas canvas(printer);
    print::printFontCatalogue(canvas, {{"Noto Sans Arabic", "DejaVu Sans"}, [](int) { return QStringList{"x.ttf"}; }});
    const auto words = pdftext::read(pdf);
    ASSERT_TRUE(words);
    const auto names = words->find("Arabic");
    ASSERT_EQ(names.size(), 2u) << "the name plain at 0 and at 1100";
    const auto specimen = std::find_if(words->words.begin(), words->words.end(), [](const pdftext::Word& word) {
        return preview::scriptOfText(word.text) == "Arabic";
    });
    ASSERT_NE(specimen, words->words.end());
    EXPECT_NEAR(specimen->xMin, names[1].xMax + pdftext::points(40), 1.0);
    EXPECT_TRUE(specimen->yMin < names[1].yMax && specimen->yMax > names[1].yMin) << "on the name's line";
}

TEST(ScriptCatalogue, AFaceThatCannotWriteItsNameShowsItPlainThenItsSpecimen)
{
    for (const QString face : {"DejaVu Sans", "Noto Sans Arabic", "Noto Color Emoji"}) {
        SCOPED_TRACE(face.toStdString());
        const std::optional<QString> specimen = preview::nameSpecimen(face, sys::faceCoverage(face));
        EXPECT_EQ(specimen.has_value(), face != "DejaVu Sans");
        RecordingPrinter printer;
        print::PrinterCanvas canvas(printer);
        print::printFontCatalogue(canvas, {{"Liberation Sans", face}, [](int) { return QStringList{"x.ttf"}; }});
        std::vector<RecordingPrinter::Text> row;
        for (const auto& text : printer.texts)
            if (text.y == 480 && text.x > 0 && text.x < 2300)
                row.push_back(text);
        ASSERT_EQ(row.size(), specimen ? 2u : 1u);
        EXPECT_EQ(QPoint(row[0].x, row[0].y), QPoint(1100, 480));
        EXPECT_EQ(row[0].text, face);
        const Font own{face, 11, false, false, false, Qt::black, none};
        EXPECT_EQ(row[0].font, (specimen ? Font{"Times New Roman", 11} : own));
        if (!specimen)
            continue;
        // The fake's names are 55 pixels a character at 11 points; then a 40-pixel gap.
        EXPECT_EQ(QPoint(row[1].x, row[1].y), QPoint(1100 + 55 * int(face.size()) + 40, 480));
        EXPECT_EQ(row[1].text, *specimen);
        EXPECT_EQ(row[1].font, own);
    }
}
