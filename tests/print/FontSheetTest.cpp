#include "print/FontSheet.h"
#include "tests/support/Printers.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

using Font = sys::PrinterFont;
constexpr auto allowed = sys::Fallback::Allowed;

// The sources of a face view showing "Alpha" with two files, the 10 x 23 map of
// 40-pixel columns, and a three-line sample at 24 points.
print::SheetSources alphaSources()
{
    print::SheetSources sources;
    sources.faceTitle = "Alpha";
    sources.faceListShowing = true;
    sources.sourceFiles = {"alpha.ttf", "alphab.ttf"};
    sources.fileName = "unused.ttf";
    sources.memoFont = QFont(QStringLiteral("Alpha"));
    sources.memoFont.setPointSize(24);
    sources.memoColor = Qt::black;
    sources.memoLines = {"one", "two", "three"};
    preview::fillCharacterMap([&](int column, int row, const QString& text) {
        while (sources.characterMap.columns.size() <= column) {
            sources.characterMap.columns << QStringList(preview::mapRows, QString());
            sources.characterMap.columnWidths << 40;
        }
        sources.characterMap.columns[column][row] = text;
    });
    return sources;
}

RecordingPrinter printSheet(const print::SheetSources& sources, const Font& before = {})
{
    RecordingPrinter printer;
    printer.canvasFont() = before;
    print::PrinterCanvas canvas(printer);
    print::printFontSheet(canvas, sources);
    return printer;
}

} // namespace

TEST(FontSheet, HeaderTitlesAndSampleAtTheirPlacesFontsAndStyles)
{
    print::SheetSources sources = alphaSources();
    sources.memoFont.setBold(true);
    sources.memoFont.setUnderline(true);
    sources.memoColor = QColor(200, 0, 0);
    // An earlier sheet left a red italic sample font on the printer: labels are black.
    const RecordingPrinter printer = printSheet(sources, Font{"Beta", 40, false, true, false, Qt::red});
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "end"}));

    const Font label{"Times New Roman", 12, false, false, false, Qt::black, allowed};
    const struct {
        QString text;
        int x, y;
        Font font;
    } fixed[] = {
        {"Printed by Glyphwell", 0, 100, {"Times New Roman", 12, false, false, true}},
        {"FontName : Alpha", 0, 250, {"Times New Roman", 12, true, false, false}},
        {"Fontfile : alpha.ttf,alphab.ttf", 0, 400, {"Times New Roman", 12, true, false, false}},
        {"Font By Text Size", 2100, 550, {"Times New Roman", 12, false, true, true}},
        {"Character Map", 0, 550, {"Times New Roman", 12, false, true, true}},
        {"Your Sample Text :", 0, 4200, {"Times New Roman", 12, false, true, true}},
        {"Text size: 24 pt", 0, 4350, label},
        {"one", 0, 4550, {"Alpha", 24, true, false, true, QColor(200, 0, 0)}},
        {"two", 0, 4790, {"Alpha", 24, true, false, true, QColor(200, 0, 0)}},
        {"three", 0, 5030, {"Alpha", 24, true, false, true, QColor(200, 0, 0)}},
    };
    for (const auto& expected : fixed) {
        const auto found = printer.find(expected.text);
        ASSERT_EQ(found.size(), 1u) << expected.text.toStdString();
        EXPECT_EQ(found[0].x, expected.x) << expected.text.toStdString();
        EXPECT_EQ(found[0].y, expected.y) << expected.text.toStdString();
        EXPECT_EQ(found[0].font, expected.font) << expected.text.toStdString();
        EXPECT_FALSE(found[0].rect) << expected.text.toStdString();
    }
    // The sample's style and colour appear on the sample lines only.
    for (const auto& text : printer.texts) {
        if (text.font.face == "Alpha" && text.font.size == 24)
            continue;
        EXPECT_FALSE(text.font.bold && text.font.underline) << text.text.toStdString();
        EXPECT_EQ(text.font.color, QColor(Qt::black)) << text.text.toStdString();
        EXPECT_EQ(text.page, 1);
    }
    EXPECT_EQ(printer.canvasFont(), (Font{"Alpha", 24, true, false, true, QColor(200, 0, 0)}))
        << "the printer keeps the sample's font after the job";
}

TEST(FontSheet, SizeColumnAndCharacterMapInTheMemoFace)
{
    print::SheetSources sources = alphaSources();
    const RecordingPrinter printer = printSheet(sources);
    const QStringList labels = {"6 pt", "7 pt", "8 pt", "9 pt", "10 pt", "11 pt", "12 pt", "14 pt", "16 pt", "18 pt", "20 pt"};
    const auto alphabets = printer.find("ABCDEFGHIJKLMNOPQRSTUVWXYZ.1234567890");
    ASSERT_EQ(alphabets.size(), 11u);
    for (int k = 0; k < 11; ++k) {
        const auto label = printer.first(labels[k]);
        EXPECT_EQ(QPoint(label.x, label.y), QPoint(2100, 750 + 300 * k)) << k;
        EXPECT_EQ(label.font, (Font{"Times New Roman", 8})) << k;
        EXPECT_EQ(QPoint(alphabets[k].x, alphabets[k].y), QPoint(2100, 850 + 300 * k)) << k;
        EXPECT_EQ(alphabets[k].font, (Font{"Alpha", print::sheetSizes[k]})) << k;
    }

    std::vector<RecordingPrinter::Text> cells;
    for (const auto& text : printer.texts)
        if (text.rect)
            cells.push_back(text);
    ASSERT_EQ(cells.size(), 230u);
    // Column by column, top to bottom.
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 23; ++row) {
            const auto& cell = cells[column * 23 + row];
            EXPECT_EQ(*cell.rect, QRect(200 * column, 750 + 150 * row, 170, 100)) << column << "," << row;
            EXPECT_EQ(QPoint(cell.x, cell.y), QPoint(200 * column + 50, 750 + 150 * row));
            EXPECT_EQ(cell.text, sources.characterMap.columns[column][row]);
            // The last row's seven empty cells print as white boxes.
            EXPECT_EQ(cell.text.isEmpty(), row == 22 && column >= 3) << column << "," << row;
            EXPECT_EQ(cell.font, (Font{"Alpha", 8}));
        }
    }
    EXPECT_EQ(cells[22].text, QString(QChar(0xFD))) << "code 253 in row 22";

    // Wider and narrower columns move everything after them.
    sources.characterMap.columnWidths = {10, 60, 40, 40, 40, 40, 40, 40, 40, 40};
    const RecordingPrinter wide = printSheet(sources);
    const auto second = wide.first(sources.characterMap.columns[1][0]);
    EXPECT_EQ(*second.rect, QRect(50, 750, 270, 100));
    EXPECT_EQ(second.x, 100);
    EXPECT_EQ(*wide.first(sources.characterMap.columns[0][0]).rect, QRect(0, 750, 20, 100));
}

TEST(FontSheet, FileLineFollowsTheView)
{
    print::SheetSources sources = alphaSources();
    sources.sourceFiles = {"cannot identified file"};
    EXPECT_EQ(printSheet(sources).find("Fontfile : \"cannot identified file\"").size(), 1u);

    sources.faceListShowing = false;
    sources.fileListShowing = true;
    sources.faceTitle = "Cannot found facename";
    sources.fileName = "odd name, \"quoted\".ttf";
    const RecordingPrinter file = printSheet(sources);
    EXPECT_EQ(file.find("Fontfile : odd name, \"quoted\".ttf").size(), 1u) << "the file name is not quoted";
    EXPECT_EQ(file.find("FontName : Cannot found facename").size(), 1u);

    sources.fileListShowing = false;
    int fileLines = 0;
    for (const auto& text : printSheet(sources).texts)
        fileLines += text.text.startsWith("Fontfile") ? 1 : 0;
    EXPECT_EQ(fileLines, 0);
}

TEST(FontSheet, HugeSamplesStayOnOnePage)
{
    print::SheetSources sources = alphaSources();
    sources.memoFont.setPointSize(100);
    sources.memoLines.clear();
    for (int line = 0; line < 10000; ++line)
        sources.memoLines << (line % 2 ? QString() : QStringLiteral("line %1").arg(line));
    const RecordingPrinter printer = printSheet(sources);
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "end"}));
    EXPECT_EQ(printer.first("Text size: 100 pt").y, 4350);
    EXPECT_EQ(printer.first("line 0").y, 4550);
    EXPECT_EQ(printer.first("line 9998").y, 4550 + 10 * 9998 * 100);
    for (const auto& text : printer.find(""))
        EXPECT_TRUE(text.rect) << "an empty line draws nothing at " << text.y;

    // A sample font sized in pixels prints its size in points.
    sources.memoFont.setPixelSize(32);
    sources.memoLines = {"first", "second"};
    const RecordingPrinter pixels = printSheet(sources);
    EXPECT_EQ(pixels.find("Text size: 24 pt").size(), 1u);
    EXPECT_EQ(pixels.first("second").y, 4790);
}
