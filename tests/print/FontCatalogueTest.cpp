#include "framework/Errors.h"
#include "print/FontCatalogue.h"
#include "tests/support/Printers.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

using Font = sys::PrinterFont;

QStringList numberedFaces(int count)
{
    QStringList faces;
    for (int i = 1; i <= count; ++i)
        faces << QStringLiteral("Face %1").arg(i);
    return faces;
}

// Prints the faces; each face's files are "<face>.ttf", and every probe is logged.
struct Catalogue {
    RecordingPrinter printer;
    QStringList probed;
    std::function<void(const QString&)> onProbe;

    void print(const QStringList& faces)
    {
        print::PrinterCanvas canvas(printer);
        print::CatalogueWalk walk{faces, [&](int index) {
                                      probed << faces[index];
                                      if (onProbe)
                                          onProbe(faces[index]);
                                      return QStringList{faces[index] + ".ttf"};
                                  }};
        print::printFontCatalogue(canvas, walk);
    }
    // The y of every face row in the left column, with its page.
    std::vector<std::pair<int, int>> rows() const
    {
        std::vector<std::pair<int, int>> found;
        for (const auto& text : printer.texts)
            if (text.x == 0 && text.y != 100)
                found.push_back({text.page, text.y});
        return found;
    }
};

} // namespace

TEST(FontCatalogue, ThreeColumnsPerFaceUnderTheHeader)
{
    Catalogue catalogue;
    catalogue.printer.canvasFont() = Font{"Sample", 30, true, true, true, Qt::red};
    catalogue.print({"A", "B", "C"});
    const RecordingPrinter& printer = catalogue.printer;
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "end"}));
    EXPECT_EQ(catalogue.probed, QStringList({"A", "B", "C"}));

    const auto header = printer.first("Printed by Glyphwell");
    EXPECT_EQ(QPoint(header.x, header.y), QPoint(0, 100));
    EXPECT_EQ(header.font, (Font{"Times New Roman", 11, true, false, true, Qt::black}));
    const Font label{"Times New Roman", 11};
    const int ys[] = {350, 480, 590};
    for (int i = 0; i < 3; ++i) {
        const QString face = QString(QChar('A' + i));
        const auto names = printer.find(face);
        ASSERT_EQ(names.size(), 2u) << i;
        EXPECT_EQ(QPoint(names[0].x, names[0].y), QPoint(0, ys[i]));
        EXPECT_EQ(names[0].font, label);
        EXPECT_EQ(QPoint(names[1].x, names[1].y), QPoint(1100, ys[i]));
        EXPECT_EQ(names[1].font, (Font{face, 11, false, false, false, Qt::black, sys::Fallback::None}));
        const auto files = printer.first(face + ".ttf");
        EXPECT_EQ(QPoint(files.x, files.y), QPoint(2300, ys[i]));
        EXPECT_EQ(files.font, label);
    }
    EXPECT_EQ(printer.texts.size(), 10u);
    EXPECT_EQ(printer.canvasFont(), label) << "left as Times New Roman, 11 points, no style";
}

TEST(FontCatalogue, PagesBreakAfterFiftyTwoRows)
{
    Catalogue sixty;
    sixty.print(numberedFaces(60));
    EXPECT_EQ(sixty.printer.log, QStringList({"start Glyphwell", "page", "end"}));
    const auto rows = sixty.rows();
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows[0], std::make_pair(1, 350));
    for (int i = 1; i < 53; ++i)
        EXPECT_EQ(rows[i], std::make_pair(1, 370 + 110 * i)) << i; // the last at 6090
    for (int i = 53; i < 60; ++i)
        EXPECT_EQ(rows[i], std::make_pair(2, 480 + 110 * (i - 53))) << i;
    EXPECT_EQ(sixty.printer.first("Face 60").y, 1140);
    EXPECT_EQ(sixty.printer.first("Face 54").page, 2);

    // 1 + 52·k faces: the break is taken after the last row, leaving an empty page.
    for (int count : {53, 105}) {
        Catalogue full;
        full.print(numberedFaces(count));
        EXPECT_EQ(full.printer.log.count("page"), (count - 1) / 52) << count;
        EXPECT_EQ(full.printer.pages, (count - 1) / 52 + 1);
        EXPECT_EQ(full.printer.texts.back().page, full.printer.pages - 1) << "the last page is empty";
        EXPECT_EQ(full.probed.size(), count);
    }
}

TEST(FontCatalogue, ShortListsEndWithoutSteppingPastTheEnd)
{
    Catalogue one;
    one.print({"Only"});
    EXPECT_EQ(one.printer.log, QStringList({"start Glyphwell", "end"}));
    EXPECT_EQ(one.probed, QStringList({"Only"}));
    EXPECT_EQ(one.rows(), (std::vector<std::pair<int, int>>{{1, 350}}));
    EXPECT_EQ(one.printer.texts.size(), 4u);

    Catalogue none;
    none.print({});
    EXPECT_EQ(none.printer.log, QStringList({"start Glyphwell", "end"}));
    ASSERT_EQ(none.printer.texts.size(), 1u);
    EXPECT_EQ(none.printer.texts[0].text, "Printed by Glyphwell");
}

TEST(FontCatalogue, ARegistryErrorStopsAndAbortsTheJob)
{
    const QString error = "Invalid data type for 'Face 30 (TrueType)'";
    Catalogue broken;
    broken.onProbe = [&](const QString& face) {
        if (face == "Face 30")
            throw fw::Error(error);
    };
    try {
        broken.print(numberedFaces(60));
        ADD_FAILURE() << "the error should reach the handler";
    } catch (const fw::Error& raised) {
        EXPECT_EQ(raised.text(), error);
    }
    EXPECT_EQ(broken.printer.log, QStringList({"start Glyphwell", "abort"}));
    EXPECT_FALSE(broken.printer.jobOpen());
    EXPECT_EQ(broken.probed.size(), 30);

    // The first face fails before the job starts: nothing is begun at all.
    broken.printer.log.clear();
    broken.onProbe = [&](const QString&) { throw fw::Error(error); };
    EXPECT_THROW(broken.print({"A", "B"}), fw::Error);
    EXPECT_TRUE(broken.printer.log.isEmpty());

    broken.onProbe = nullptr;
    broken.print({"A", "B"});
    EXPECT_EQ(broken.printer.log, QStringList({"start Glyphwell", "end"}));
}

TEST(FontCatalogue, FileColumnMarksUnregisteredFaces)
{
    EXPECT_EQ(print::catalogueFiles({}), QStringList({"<Unregistered>"}));
    EXPECT_EQ(print::catalogueFiles({"a.ttf", "b c.ttf"}), QStringList({"a.ttf", "b c.ttf"}));
}

TEST(FontCatalogue, PageCountForTheProgressIsThePagesPrinted)
{
    // Counts around the page breaks: 53 on the first page, 52 on each later one, and
    // a row that fills its page still opens an empty one.
    for (const auto& [faces, pages] : std::vector<std::pair<int, int>>{
             {2, 1}, {53, 2}, {54, 2}, {60, 2}, {105, 3}, {106, 3}, {157, 4}}) {
        Catalogue catalogue;
        std::vector<std::pair<int, int>> laidOut, drawn;
        print::PrinterCanvas canvas(catalogue.printer);
        const QStringList names = numberedFaces(faces);
        print::CatalogueWalk walk{names, [](int) { return QStringList{"f.ttf"}; }};
        const bool printed = print::printFontCatalogue(
            canvas, walk,
            {[&](int page, int count) { return laidOut.emplace_back(page, count), true; },
             [&](int page, int count) { return drawn.emplace_back(page, count), true; }});
        EXPECT_TRUE(printed);
        EXPECT_EQ(print::cataloguePages(faces), pages) << faces;
        EXPECT_EQ(catalogue.printer.pages, pages) << faces;
        EXPECT_EQ(laidOut.back(), std::make_pair(pages, pages)) << faces;
        EXPECT_EQ(int(laidOut.size()), faces) << "asked after every row and once at the end";
        EXPECT_EQ(drawn.back(), std::make_pair(pages, pages)) << faces;
    }
}
