#include "widgets/SortableGrid.h"

#include "framework/Errors.h"
#include "framework/Fonts.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QLocale>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString testFile(const QString& name)
{
    return testenv::root() + QStringLiteral("/grid/") + name;
}

// The data rows of one column, top to bottom.
QStringList dataOf(const TSortableGrid& grid, int col)
{
    return grid.Cols(col).mid(grid.FixedRows());
}

// One fixed row and one fixed column; column 0 names each row, column 1 holds keys.
void loadKeys(TSortableGrid& grid, const QStringList& keys)
{
    grid.setColCount(3);
    grid.setRowCount(int(keys.size()) + 1);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setRows(0, {"id", "key", "other"});
    for (int i = 0; i < keys.size(); ++i)
        grid.setRows(i + 1, {QStringLiteral("r%1").arg(i + 1), keys.at(i), QStringLiteral("o%1").arg(i + 1)});
}

// Shown 300 × 200, active and focused.
void showActive(QWidget& widget)
{
    widget.resize(300, 200);
    widget.show();
    widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    widget.setFocus();
}

bool isInk(const QColor& color)
{
    return qGray(color.rgb()) < 128;
}

// The columns of a viewport image, within a cell's rows, that hold dark pixels.
std::vector<int> inkColumns(const QImage& image, int fromX, int toX, const QRect& rows)
{
    std::vector<int> found;
    for (int x = fromX; x < toX; ++x)
        for (int y = rows.top(); y <= rows.bottom(); ++y)
            if (isInk(image.pixelColor(x, y))) {
                found.push_back(x);
                break;
            }
    return found;
}

// cols × rows cells of width × height, none fixed, in a widget of the given size.
void layOut(TSortableGrid& grid, int cols, int rows, int width, int height, QSize size)
{
    grid.setColCount(cols);
    grid.setRowCount(rows);
    grid.setFixedCols(0);
    grid.setFixedRows(0);
    grid.setDefaultColWidth(width);
    grid.setDefaultRowHeight(height);
    grid.resize(size);
}

// Three data cells in a row, 60 × 24, in a 12-pixel face; the current cell lies in
// the second row so the first draws plainly.
void setUpDrawing(TSortableGrid& grid)
{
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPixelSize(12);
    grid.setFont(face);
    layOut(grid, 3, 2, 60, 24, {260, 100});
    grid.setRow(1);
}

} // namespace

// ---- delimited files ----

TEST(SortableGridFiles, SemicolonRoundTrip)
{
    TSortableGrid grid;
    const QString path = testenv::writeFile(testFile("round.txt"), "a;;b\r\nx;y\rlast\n");
    grid.LoadDelimited(path, ';');
    // Three rows of three cells, short rows padded.
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Rows(0) + grid.Rows(1) + grid.Rows(2), QStringList({"a", "", "b", "x", "y", "", "last", "", ""}));

    const QString saved = testFile("saved.txt");
    grid.SaveDelimited(saved, ';');
    EXPECT_EQ(testenv::contents(saved), QByteArray("a;;b\nx;y;\nlast;;\n"));

    // No quoting: a separator inside a cell splits it on the next load.
    grid.setCells(0, 0, "p;q");
    grid.SaveDelimited(saved, ';');
    grid.LoadDelimited(saved, ';');
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.Rows(0), QStringList({"p", "q", "", "b"}));

    EXPECT_THROW(grid.SaveDelimited(testFile("no/such/folder/x.txt"), ';'), fw::Error);
}

TEST(SortableGridFiles, BadInputIsHandled)
{
    TSortableGrid grid;
    loadKeys(grid, {"k1", "k2", "k3"});

    // A file that cannot be read: the error passes on and the grid is left empty.
    try {
        grid.LoadDelimited(testFile("missing.txt"), ';');
        ADD_FAILURE() << "no error";
    } catch (const fw::Error& error) {
        EXPECT_TRUE(error.text().contains("missing.txt"));
    }
    for (int r = 0; r < grid.RowCount(); ++r)
        EXPECT_EQ(grid.Rows(r).join(""), "") << r;

    // An empty file: one empty row; fixed rows give way to it.
    grid.LoadDelimited(testenv::writeFile(testFile("empty.txt"), ""), ';');
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.ColCount(), 2);

    // A million separators on one line among short lines: wide but sparse.
    QByteArray wide(1'000'000, ';');
    QByteArray lines = wide + "\n";
    for (int i = 0; i < 2000; ++i)
        lines += "a;b\n";
    QElapsedTimer timer;
    timer.start();
    grid.LoadDelimited(testenv::writeFile(testFile("wide.txt"), lines), ';');
    EXPECT_EQ(grid.ColCount(), 1'000'001);
    EXPECT_EQ(grid.RowCount(), 2001);
    EXPECT_EQ(grid.Cells(1, 2000), "b");
    EXPECT_EQ(grid.Cells(999'999, 1), "");
    grid.resize(300, 200);
    grid.setLeftCol(900'000);
    EXPECT_FALSE(grid.viewport()->grab().isNull());
    EXPECT_LT(timer.elapsed(), 20'000);

    // NUL bytes and invalid UTF-8 arrive as characters, not as a cut or a crash.
    grid.LoadDelimited(testenv::writeFile(testFile("binary.txt"), QByteArray("a\0b;\xff\xfe;c\n", 9)), ';');
    EXPECT_EQ(grid.Cells(0, 0), QString::fromUtf8("a\0b", 3));
    EXPECT_TRUE(grid.Cells(1, 0).contains(QChar::ReplacementCharacter));
    EXPECT_EQ(grid.Cells(2, 0), "c");
    grid.SaveDelimited(testFile("binary-out.txt"), ';');
}

// ---- editing commands ----

TEST(SortableGridCommands, ExchangeInsertRemove)
{
    TSortableGrid grid;
    loadKeys(grid, {"k1", "k2", "k3", "k4", "k5", "k6", "k7"});
    grid.ExchangeRows(2, 5);
    EXPECT_EQ(dataOf(grid, 0), QStringList({"r1", "r5", "r3", "r4", "r2", "r6", "r7"}));
    grid.ExchangeRows(5, 2);
    grid.ExchangeRows(3, 4);
    EXPECT_EQ(dataOf(grid, 0), QStringList({"r1", "r2", "r4", "r3", "r5", "r6", "r7"}));
    grid.ExchangeColumns(0, 2);
    EXPECT_EQ(grid.Rows(0), QStringList({"other", "key", "id"}));

    std::vector<int> inserted;
    std::vector<int> deleted;
    QObject::connect(&grid, &TSortableGrid::OnRowInsert, [&](TSortableGrid*, int row) { inserted.push_back(row); });
    QObject::connect(&grid, &TSortableGrid::OnRowDelete, [&](TSortableGrid*, int row) { deleted.push_back(row); });
    grid.InsertRowAt(3);
    EXPECT_EQ(grid.RowCount(), 9);
    EXPECT_EQ(grid.Rows(3).join(""), "");
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Cells(1, 4), "k4");
    grid.RemoveRow(3);
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(grid.Cells(1, 3), "k4");
    EXPECT_EQ(inserted, std::vector<int>{3});
    EXPECT_EQ(deleted, std::vector<int>{3});

    // A place outside the grid changes nothing.
    EXPECT_THROW(grid.InsertRowAt(20), fw::Error);
    EXPECT_THROW(grid.RemoveColumn(7), fw::Error);
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_TRUE(inserted.size() == 1 && deleted.size() == 1);
}

TEST(SortableGridCommands, ExtendedKeys)
{
    TSortableGrid grid;
    loadKeys(grid, {"k1", "k2", "k3"});
    grid.setRow(2);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(grid.RowCount(), 4) << "off by default";

    grid.setExtendedKeys(true);
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"k1", "", "k2", "k3"}));
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"k1", "k2", "k3"}));
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid.Rows(0), QStringList({"id", "", "key", "other"}));
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid.Rows(0), QStringList({"id", "key", "other"}));
    QTest::keyClick(&grid, Qt::Key_Insert, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(QSize(grid.ColCount(), grid.RowCount()), QSize(3, 4)) << "other modifiers do nothing";

    // The last data row and column stay.
    grid.setRowCount(2);
    grid.setColCount(2);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QSize(grid.ColCount(), grid.RowCount()), QSize(2, 2));
}

// ---- edit validation ----

TEST(SortableGridEditing, ValidationRejectsRestoresOrReplaces)
{
    TSortableGrid grid;
    loadKeys(grid, {"old", "two", "three"});
    grid.setOptions(grid.Options() | fw::goEditing);
    showActive(grid);

    std::function<void(QString&, bool&)> policy;
    std::vector<QString> asked;
    QObject::connect(&grid, &TSortableGrid::OnCellValidate,
                     [&](TSortableGrid*, int, int, QString& value, bool& valid) {
                         asked.push_back(value);
                         if (policy)
                             policy(value, valid);
                     });
    const auto edit = [&](const char* text) {
        QTest::keyClick(&grid, Qt::Key_F2);
        ASSERT_TRUE(grid.EditorMode());
        grid.InplaceEditor()->selectAll();
        QTest::keyClicks(grid.InplaceEditor(), text);
        QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
    };

    // Rejected as it is: the old text comes back with the old modified flag.
    policy = [](QString&, bool& valid) { valid = false; };
    edit("new");
    EXPECT_EQ(grid.Cells(1, 1), "old");
    EXPECT_FALSE(grid.Modified());
    EXPECT_EQ(asked, std::vector<QString>{"new"});

    // Rejected with a value of the handler's: that value stays.
    policy = [](QString& value, bool& valid) {
        value = "fixed";
        valid = false;
    };
    edit("bad");
    EXPECT_EQ(grid.Cells(1, 1), "fixed");

    // Accepted with a changed value.
    policy = [](QString& value, bool&) { value = value.toUpper(); };
    edit("fine");
    EXPECT_EQ(grid.Cells(1, 1), "FINE");
    EXPECT_TRUE(grid.Modified());

    // Leaving an edited cell validates it too; an unchanged cell is not asked about.
    asked.clear();
    policy = nullptr;
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_TRUE(asked.empty());
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(grid.InplaceEditor(), "!");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Down);
    EXPECT_EQ(asked, std::vector<QString>{"two!"});
}

// Rows moved by a sort or an exchange carry the remembered cell with them: a cell
// that no one edited is never validated, and a rejecting handler never copies the
// remembered text over another row.
TEST(SortableGridEditing, RememberedCellFollowsMovedRows)
{
    TSortableGrid grid;
    loadKeys(grid, {"c", "a", "b"});
    showActive(grid);
    int asked = 0;
    QObject::connect(&grid, &TSortableGrid::OnCellValidate, [&](TSortableGrid*, int, int, QString&, bool& valid) {
        ++asked;
        valid = false;
    });
    grid.setRow(1);
    grid.SortColumn(1, {});
    EXPECT_EQ(grid.Row(), 3);
    grid.ExchangeRows(1, 3);
    grid.setRow(2);
    grid.setRow(1);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"c", "b", "a"}));
    EXPECT_EQ(dataOf(grid, 0), QStringList({"r1", "r3", "r2"}));
}

// ---- drawing ----

TEST(SortableGridDrawing, AlignmentOffsetsAndClipping)
{
    TSortableGrid grid;
    setUpDrawing(grid);
    const QString wide = QStringLiteral("WWWWWWWWWWWWWWWW");
    grid.setCells(1, 0, wide);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QRect cell = grid.CellRect(1, 0);
    const QRect left = grid.CellRect(0, 0);
    const QRect right = grid.CellRect(2, 0);
    const int cellRight = cell.left() + cell.width();

    // Right alignment: the text ends 2 pixels in from the right edge and starts left of
    // the cell, cut at its left edge. Left alignment: 2 pixels in, cut at the right edge.
    // The neighbours stay clean.
    const struct {
        TAlignment align;
        int firstFrom, firstTo, lastFrom, lastTo; // where the first and last inked columns may lie
        const char* what;
    } cases[] = {
        {taRightJustify, cell.left(), cell.left() + 2, cellRight - 5, cellRight - 3, "right"},
        {taLeftJustify, cell.left() + 2, cell.left() + 4, cellRight - 4, cellRight - 1, "left"},
    };
    for (const auto& c : cases) {
        grid.setAlignmentHorz(c.align);
        const QImage image = grid.viewport()->grab().toImage();
        const std::vector<int> ink = inkColumns(image, 0, 200, cell);
        ASSERT_FALSE(ink.empty()) << c.what;
        EXPECT_TRUE(ink.front() >= c.firstFrom && ink.front() <= c.firstTo) << c.what << ": " << ink.front();
        EXPECT_TRUE(ink.back() >= c.lastFrom && ink.back() <= c.lastTo) << c.what << ": " << ink.back();
        EXPECT_TRUE(inkColumns(image, left.left(), left.right() + 1, left).empty()) << c.what;
        EXPECT_TRUE(inkColumns(image, right.left(), right.right() + 1, right).empty()) << c.what;
    }
}

TEST(SortableGridDrawing, FormatEventPerCell)
{
    TSortableGrid grid;
    setUpDrawing(grid);
    for (int c = 0; c < 3; ++c)
        grid.setCells(c, 0, "Ab");
    QObject::connect(&grid, &TSortableGrid::OnGetCellFormat,
                     [](TSortableGrid*, int col, int row, fw::GridDrawState, TFormatOptions& options) {
                         if (row != 0)
                             return;
                         if (col == 1)
                             options.HorzAlign = taRightJustify;
                         if (col == 2) {
                             options.NoText = true;
                             options.Brush.Color = clRed;
                         }
                     });
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage image = grid.viewport()->grab().toImage();

    const QRect first = grid.CellRect(0, 0);
    const QRect second = grid.CellRect(1, 0);
    const QRect third = grid.CellRect(2, 0);
    const std::vector<int> plain = inkColumns(image, first.left(), first.right() + 1, first);
    const std::vector<int> moved = inkColumns(image, second.left(), second.right() + 1, second);
    ASSERT_FALSE(plain.empty());
    ASSERT_FALSE(moved.empty());
    EXPECT_LE(plain.front() - first.left(), 4);
    EXPECT_GE(moved.front() - second.left(), 30) << "only the one cell moves its text";
    QImage filled = image.copy(third);
    filled.fill(Qt::red);
    EXPECT_EQ(image.copy(third), filled) << "filled with the brush, no text";
}

TEST(SortableGridDrawing, BevelsOnDataCellsWhereLinesAllow)
{
    TSortableGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.setDefaultColWidth(40);
    grid.setDefaultRowHeight(30);
    grid.setFixedColor(clWhite);
    grid.resize(200, 150);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QColor shadow = fw::toQColor(clBtnShadow);
    const QRect data = grid.CellRect(2, 2);
    const QRect fixed = grid.CellRect(0, 1);
    const auto pixel = [&](int x, int y) { return grid.viewport()->grab().toImage().pixelColor(x, y); };
    const int middle = data.top() + 15;

    EXPECT_NE(pixel(data.right(), middle), shadow) << "no bevel with cbNone";
    grid.setBevelStyle(cbRaised);
    EXPECT_EQ(pixel(data.right(), middle), shadow);
    EXPECT_EQ(pixel(data.left() + 20, data.bottom()), shadow);
    EXPECT_NE(pixel(data.left(), middle), shadow);
    EXPECT_NE(pixel(fixed.right(), fixed.top() + 15), shadow) << "fixed cells get no bevel";

    grid.setBevelStyle(cbLowered);
    EXPECT_EQ(pixel(data.left(), middle), shadow);
    EXPECT_EQ(pixel(data.left() + 20, data.top()), shadow);
    EXPECT_NE(pixel(data.right(), middle), shadow);

    grid.setOptions(grid.Options() & ~fw::TGridOptions(fw::goFixedVertLine));
    EXPECT_NE(pixel(data.left(), middle), shadow) << "vertical bevel lines follow the fixed line option";
    EXPECT_EQ(pixel(data.left() + 20, data.top()), shadow);
}

// The grid the main window uses as its character map: 10 × 23 cells of 40 × 40, about
// five rows in sight.
TEST(SortableGridDrawing, CharacterMapCentresEachCharacterAndScrolls)
{
    TSortableGrid grid;
    layOut(grid, 10, 23, 40, 40, {436, 210});
    QFont face(QStringLiteral("Tahoma"));
    fw::setFontHeight(face, -24);
    grid.setFont(face);
    grid.setFixedColor(0x00FFD9D9);
    grid.setAlignmentHorz(taCenter);
    grid.setAlignmentVert(taMiddle);
    grid.setClickSorting(false);
    for (int code = 33; code <= 255; ++code)
        grid.setCells((code - 33) % 10, (code - 33) / 10, QString(QChar(code)));
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    EXPECT_EQ(grid.TopRow(), 0);
    EXPECT_EQ(grid.Selection(), (fw::TGridRect{0, 0, 0, 0}));
    grid.setRow(4); // keep the checked cells plain

    const QImage image = grid.viewport()->grab().toImage();
    for (const int col : {0, 3, 7}) {
        const QRect cell = grid.CellRect(col, 2);
        QRect ink;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (isInk(image.pixelColor(x, y)))
                    ink |= QRect(x, y, 1, 1);
        const std::string character = grid.Cells(col, 2).toStdString();
        ASSERT_FALSE(ink.isEmpty()) << character;
        EXPECT_NEAR(ink.center().x(), cell.center().x(), 3) << character;
        EXPECT_NEAR(ink.center().y(), cell.center().y(), 4) << character;
    }

    // The vertical thumb shows the visible share, 5 of 23 rows; no horizontal bar.
    EXPECT_EQ(grid.VisibleRowCount(), 5);
    QScrollBar* bar = grid.verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
    EXPECT_EQ(grid.ScrollInfo(Qt::Vertical).Page, 5);
    EXPECT_EQ(bar->maximum(), 18);
    EXPECT_DOUBLE_EQ(double(bar->pageStep()) / (bar->maximum() - bar->minimum() + bar->pageStep()), 5.0 / 23);

    // The grid scrolls down to the last row.
    bar->setValue(bar->maximum());
    EXPECT_EQ(grid.TopRow(), 18);
    EXPECT_FALSE(grid.CellRect(2, 22).isEmpty());
    EXPECT_EQ(grid.Cells(2, 22), QString(QChar(255)));

    grid.setProportionalScrollBars(false);
    EXPECT_EQ(grid.ScrollInfo(Qt::Vertical).Page, 0);
    EXPECT_EQ(bar->pageStep(), 0);
    EXPECT_EQ(bar->maximum(), 18);

    // With fixed rows the thumb counts them in: (visible + fixed) / rows.
    grid.setProportionalScrollBars(true);
    grid.setRowCount(101);
    grid.setFixedRows(1);
    EXPECT_EQ(grid.ScrollInfo(Qt::Vertical).Page,
              int(std::nearbyint((grid.VisibleRowCount() + 1) * 1.0 / 101 * 101)));
    grid.setDefaultRowHeight(20);
    EXPECT_EQ(grid.ScrollInfo(Qt::Vertical).Page, grid.VisibleRowCount() + 1);
    EXPECT_GT(grid.VisibleRowCount(), 5);
}

// ---- sorting ----

TEST(SortableGridSorting, KindIsGuessedFromEveryCell)
{
    TSortableGrid grid;
    const QLocale locale;
    const auto time = [&](int h, int m) { return locale.toString(QTime(h, m), QLocale::ShortFormat); };
    const auto date = [&](int y, int m, int d) { return locale.toString(QDate(y, m, d), QLocale::ShortFormat); };
    const QString stamp = locale.toString(QDateTime(QDate(1980, 6, 1), QTime(8, 0)), QLocale::ShortFormat);
    const struct {
        QStringList keys;
        TSortKind kind;
        QStringList sorted;
        const char* what;
    } cases[] = {
        {{"10", "9", "100"}, skNumber, {"9", "10", "100"}, "numbers"},
        {{"10", "9", "", "100"}, skText, {"", "10", "100", "9"}, "one empty cell makes it text"},
        {{"10", "9", "x"}, skText, {"10", "9", "x"}, "the last row's cell alone makes it text"},
        {{time(10, 30), time(9, 5), time(23, 0)}, skTime, {time(9, 5), time(10, 30), time(23, 0)}, "times"},
        // Years of the 1900s read back the same in locales with two-digit years.
        {{date(1999, 3, 5), stamp, date(1950, 12, 31)}, skDateTime, {date(1950, 12, 31), stamp, date(1999, 3, 5)},
         "dates"},
    };
    for (const auto& c : cases) {
        loadKeys(grid, c.keys);
        EXPECT_EQ(grid.GuessSortKind(1), c.kind) << c.what;
        grid.SortColumn(1, {});
        EXPECT_EQ(dataOf(grid, 1), c.sorted) << c.what;
    }
}

// Equal keys keep their order either way; upper-casing is for a-z only, the rest
// compares by its bytes.
TEST(SortableGridSorting, StableBothWaysAndCaseAware)
{
    TSortableGrid grid;
    const struct {
        QStringList keys;
        bool descending, matchCase;
        QStringList sorted, ids;
        const char* what;
    } cases[] = {
        {{"b", "a", "B", "b", "a"}, true, false, {"b", "B", "b", "a", "a"}, {"r1", "r3", "r4", "r2", "r5"}, "down"},
        {{"b", "a", "B", "b", "a"}, false, true, {"B", "a", "a", "b", "b"}, {"r3", "r2", "r5", "r1", "r4"}, "case"},
        {{"é", "z", "É", "Z"}, false, false, {"z", "Z", "É", "é"}, {"r2", "r4", "r3", "r1"}, "beyond a-z"},
    };
    for (const auto& c : cases) {
        loadKeys(grid, c.keys);
        TSortOptions options;
        options.Descending = c.descending;
        options.MatchCase = c.matchCase;
        grid.SortColumn(1, options);
        EXPECT_EQ(dataOf(grid, 1), c.sorted) << c.what;
        EXPECT_EQ(dataOf(grid, 0), c.ids) << c.what;
    }
}

TEST(SortableGridSorting, WholeRowsMoveAndTheCurrentRowFollows)
{
    TSortableGrid grid;
    loadKeys(grid, {"pear", "apple", "fig", "kiwi"});
    grid.setRow(3); // fig
    int begun = 0;
    int ended = 0;
    QObject::connect(&grid, &TSortableGrid::OnBeginSort, [&](TSortableGrid*, int col, TSortOptions& options) {
        ++begun;
        EXPECT_EQ(col, 1);
        EXPECT_EQ(options.Kind, skText);
    });
    QObject::connect(&grid, &TSortableGrid::OnEndSort, [&] { ++ended; });
    grid.SortColumn(1, {});
    EXPECT_EQ(dataOf(grid, 1), QStringList({"apple", "fig", "kiwi", "pear"}));
    EXPECT_EQ(dataOf(grid, 0), QStringList({"r2", "r3", "r4", "r1"}));
    EXPECT_EQ(dataOf(grid, 2), QStringList({"o2", "o3", "o4", "o1"}));
    EXPECT_EQ(grid.Rows(0), QStringList({"id", "key", "other"}));
    EXPECT_EQ(grid.Cells(1, grid.Row()), "fig");
    EXPECT_EQ(std::pair(begun, ended), std::pair(1, 1));

    // Undo: the exact earlier order, the current row still on fig.
    grid.RestoreOrder();
    EXPECT_EQ(dataOf(grid, 1), QStringList({"pear", "apple", "fig", "kiwi"}));
    EXPECT_EQ(grid.Cells(1, grid.Row()), "fig");
    EXPECT_EQ(grid.SortedList().Count(), 0);

    // The kept order follows rows moved afterwards...
    grid.SortColumn(1, {});
    grid.ExchangeRows(1, 4);
    grid.RestoreOrder();
    EXPECT_EQ(dataOf(grid, 1), QStringList({"pear", "apple", "fig", "kiwi"}));

    // ...and is forgotten once a row is inserted.
    grid.SortColumn(1, {});
    grid.InsertRowAt(2);
    grid.RestoreOrder();
    EXPECT_EQ(dataOf(grid, 1), QStringList({"apple", "", "fig", "kiwi", "pear"}));

    // One data row: nothing to sort, no events.
    loadKeys(grid, {"only"});
    grid.SortColumn(1, {});
    EXPECT_EQ(begun, 3);
}

TEST(SortableGridSorting, InconsistentComparisonsStaySafe)
{
    TSortableGrid grid;
    QStringList keys;
    QRandomGenerator random(7);
    for (int i = 0; i < 2000; ++i)
        keys << (i % 3 == 0 ? QStringLiteral("x%1").arg(i) : QString::number(random.bounded(100)));
    loadKeys(grid, keys);
    // Every row is still there once, whatever order came out.
    const auto ids = [&] {
        QStringList sorted = dataOf(grid, 0);
        sorted.sort();
        return sorted;
    };
    const QStringList all = ids();
    TSortOptions options;
    options.Kind = skNumber;
    grid.SortColumn(1, options);
    EXPECT_EQ(ids(), all);
    options.Kind = skCustom;
    options.Compare = [&](const QString&, const QString&) { return int(random.bounded(3)) - 1; };
    grid.SortColumn(1, options);
    EXPECT_EQ(ids(), all);

    // A comparison that fails leaves the rows as they were.
    const QStringList before = dataOf(grid, 0);
    options.Compare = [](const QString&, const QString&) -> int { throw fw::Error("no order"); };
    EXPECT_THROW(grid.SortColumn(1, options), fw::Error);
    EXPECT_EQ(dataOf(grid, 0), before);
}

namespace {

// Lets a test run the release step directly, where an error meets no event loop.
class ProbeGrid : public TSortableGrid {
public:
    using TSortableGrid::MouseUp;
};

} // namespace

TEST(SortableGridSorting, ClicksOnAFixedRow)
{
    ProbeGrid grid;
    loadKeys(grid, {"b", "B", "c", "a"});
    showActive(grid);
    QWidget* area = grid.viewport();
    const QPoint header = grid.CellRect(1, 0).center();
    std::vector<Qt::CursorShape> cursors;
    int ups = 0;
    QObject::connect(&grid, &TSortableGrid::OnBeginSort, [&](TSortableGrid*, int, TSortOptions&) {
        cursors.push_back(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor);
    });
    QObject::connect(&grid, &TSortableGrid::OnMouseUp, [&] { ++ups; });

    QTest::mouseClick(area, Qt::LeftButton, {}, header);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"a", "b", "B", "c"}));
    QTest::mouseClick(area, Qt::RightButton, {}, header);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"c", "b", "B", "a"}));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, header);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"c", "b", "B", "a"}));
    grid.setCaseSensitive(true);
    QTest::mouseClick(area, Qt::LeftButton, {}, header);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"B", "a", "b", "c"}));
    EXPECT_EQ(cursors, (std::vector<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ups, 4);

    // The click handler may change the options.
    auto changing = QObject::connect(&grid, &TSortableGrid::OnClickSort,
                                     [](TSortableGrid*, int, int row, TSortOptions& options) {
                                         EXPECT_EQ(row, 0);
                                         options.Descending = true;
                                     });
    QTest::mouseClick(area, Qt::LeftButton, {}, header);
    EXPECT_EQ(dataOf(grid, 1), QStringList({"c", "b", "a", "B"}));
    QObject::disconnect(changing);

    // A failing sort: the cursor comes back, the release is still reported, and the
    // error passes on.
    auto failing = QObject::connect(&grid, &TSortableGrid::OnBeginSort,
                                    [](TSortableGrid*, int, TSortOptions&) { throw fw::Error("sort failed"); });
    EXPECT_THROW(grid.MouseUp(Qt::LeftButton, {}, header.x(), header.y()), fw::Error);
    QObject::disconnect(failing);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ups, 6);

    // Data cells, a grid without the option, and a grid without fixed rows never sort.
    const QStringList before = dataOf(grid, 1);
    QTest::mouseClick(area, Qt::LeftButton, {}, grid.CellRect(1, 2).center());
    grid.setClickSorting(false);
    QTest::mouseClick(area, Qt::LeftButton, {}, header);
    EXPECT_EQ(dataOf(grid, 1), before);
    grid.setClickSorting(true);
    grid.setFixedRows(0);
    QTest::mouseClick(area, Qt::LeftButton, {}, grid.CellRect(1, 0).center());
    EXPECT_EQ(grid.Cells(1, 0), "key");
}

// ---- search and column widths ----

TEST(SortableGridSearch, LocateTextAndFitColumns)
{
    TSortableGrid grid;
    loadKeys(grid, {"äpfel", "Birne", "kiwi"});
    grid.setCells(2, 1, "KIWI");
    // Whole cells in any case; the first column with a match wins; none found: -1, -1.
    for (const auto& [text, col, row] :
         {std::tuple("ÄPFEL", 1, 1), std::tuple("kiwi", 1, 3), std::tuple("kiw", -1, -1)}) {
        int foundCol = 0, foundRow = 0;
        EXPECT_EQ(grid.LocateText(text, foundCol, foundRow), col >= 0) << text;
        EXPECT_EQ(std::pair(foundCol, foundRow), std::pair(col, row)) << text;
    }

    // Fitting measures each cell in the font its format gives it.
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPixelSize(14);
    grid.setFont(face);
    QObject::connect(&grid, &TSortableGrid::OnGetCellFormat,
                     [](TSortableGrid*, int, int row, fw::GridDrawState state, TFormatOptions& options) {
                         if (row == 0) {
                             EXPECT_TRUE(state & fw::gdFixed);
                             options.Font.setPixelSize(40);
                         }
                     });
    grid.FitColumn(1);
    QFont big = face;
    big.setPixelSize(40);
    EXPECT_EQ(grid.ColWidths(1), QFontMetrics(big).horizontalAdvance("key") + QFontMetrics(face).horizontalAdvance("x"));
    grid.FitAllColumns(false, 5);
    EXPECT_EQ(grid.ColWidths(2), QFontMetrics(big).horizontalAdvance("other") + QFontMetrics(face).horizontalAdvance("x") + 5);
    EXPECT_EQ(grid.ColWidths(0), 64);
}
