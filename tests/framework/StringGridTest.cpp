#include "framework/Errors.h"
#include "framework/StringGrid.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using fw::TGridRect;
using fw::TStringGrid;

namespace {

// A grid of `cols` × `rows` cells of 50 × 20 pixels whose cells hold "c,r".
void fill(TStringGrid& grid, int cols, int rows)
{
    grid.setColCount(cols);
    grid.setRowCount(rows);
    grid.setDefaultColWidth(50);
    grid.setDefaultRowHeight(20);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.setCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
}

QPoint centreOf(const TStringGrid& grid, int col, int row)
{
    return grid.CellRect(col, row).center();
}

} // namespace

TEST(StringGrid, CellsRowsColumnsAndCounts)
{
    // A new grid: 5 × 5, one fixed column and row, on the first data cell.
    TStringGrid grid;
    EXPECT_EQ(std::tuple(grid.ColCount(), grid.RowCount(), grid.FixedCols(), grid.FixedRows(), grid.Col(), grid.Row()),
              std::tuple(5, 5, 1, 1, 1, 1));

    grid.setCells(3, 2, "x");
    EXPECT_EQ(grid.Cells(3, 2), "x");
    EXPECT_EQ(grid.Cells(2, 3), "");
    EXPECT_EQ(grid.Cells(99, 0), "");
    EXPECT_EQ(grid.Cells(-1, 0), "");
    EXPECT_THROW(grid.setCells(5, 0, "y"), fw::Error);
    EXPECT_THROW(grid.setCells(0, -1, "y"), fw::Error);

    grid.setRows(2, {"a", "b"});
    EXPECT_EQ(grid.Rows(2), QStringList({"a", "b", "", "", ""}));
    grid.setCols(4, {"p", "q", "r", "s", "t", "beyond"});
    EXPECT_EQ(grid.Cols(4), QStringList({"p", "q", "r", "s", "t"}));
    grid.setRows(2, {});
    EXPECT_EQ(grid.Rows(2), QStringList({"", "", "", "", ""}));

    // Shrinking drops cells for good; growing brings empty ones.
    grid.setColCount(3);
    grid.setColCount(5);
    EXPECT_EQ(grid.Cells(4, 0), "");
    // A grid keeps one row and one column; fixed ones give way.
    grid.setRowCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_THROW(grid.setFixedRows(1), fw::Error);
    EXPECT_THROW(grid.setFixedCols(5), fw::Error);
    // New fixed counts start over at the first data cell.
    grid.setRowCount(5);
    grid.setFixedRows(2);
    grid.setFixedCols(0);
    EXPECT_EQ(std::pair(grid.Col(), grid.Row()), std::pair(0, 2));
    EXPECT_EQ(grid.TopRow(), 2);
}

TEST(StringGrid, MovingAndDeletingRowsAndColumns)
{
    TStringGrid grid;
    fill(grid, 4, 6);
    grid.setRowHeights(1, 33);
    std::vector<std::pair<int, int>> moved;
    QObject::connect(&grid, &TStringGrid::OnRowMoved, [&](TStringGrid*, int from, int to) { moved.emplace_back(from, to); });

    grid.MoveRow(1, 4);
    EXPECT_EQ(grid.Cols(0), QStringList({"0,0", "0,2", "0,3", "0,4", "0,1", "0,5"}));
    EXPECT_EQ(grid.RowHeights(4), 33); // the height travels with its row
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 4}}));
    grid.MoveRow(4, 1);
    EXPECT_EQ(grid.Cols(0), QStringList({"0,0", "0,1", "0,2", "0,3", "0,4", "0,5"}));

    grid.MoveColumn(0, 3);
    EXPECT_EQ(grid.Rows(2), QStringList({"1,2", "2,2", "3,2", "0,2"}));
    grid.DeleteColumn(3);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.Rows(2), QStringList({"1,2", "2,2", "3,2"}));
    grid.DeleteRow(2);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cols(0), QStringList({"1,0", "1,1", "1,3", "1,4", "1,5"}));
    EXPECT_THROW(grid.MoveRow(0, 9), fw::Error);
    EXPECT_THROW(grid.DeleteColumn(-1), fw::Error);
}

// What the character map relies on: the selection has moved when OnMouseDown comes.
TEST(StringGrid, PressesMoveTheSelectionBeforeMouseDown)
{
    TStringGrid grid;
    fill(grid, 6, 6);
    grid.resize(400, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    std::vector<TGridRect> seen;
    std::vector<Qt::MouseButton> buttons;
    QObject::connect(&grid, &TStringGrid::OnMouseDown, [&](Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        seen.push_back(grid.Selection());
        buttons.push_back(button);
    });
    int ups = 0;
    QObject::connect(&grid, &TStringGrid::OnMouseUp, [&] { ++ups; });
    QWidget* area = grid.viewport();

    // A click, a Shift+click that extends; then the right and middle buttons, a fixed
    // cell and the space past the last column leave the selection as it is.
    QTest::mouseClick(area, Qt::LeftButton, {}, centreOf(grid, 2, 2));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, centreOf(grid, 4, 3));
    QTest::mouseClick(area, Qt::RightButton, {}, centreOf(grid, 5, 5));
    QTest::mouseClick(area, Qt::MiddleButton, {}, centreOf(grid, 1, 1));
    QTest::mouseClick(area, Qt::LeftButton, {}, centreOf(grid, 0, 0));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(390, 150));

    const TGridRect extended{2, 2, 4, 3};
    EXPECT_EQ(seen, (std::vector<TGridRect>{{2, 2, 2, 2}, extended, extended, extended, extended, extended}));
    EXPECT_EQ(buttons, (std::vector<Qt::MouseButton>{Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                     Qt::MiddleButton, Qt::LeftButton, Qt::LeftButton}));
    EXPECT_EQ(ups, 6);
    // The current cell is the anchor of the extended selection.
    EXPECT_EQ(std::pair(grid.Col(), grid.Row()), std::pair(2, 2));

    // A cell the selection check refuses is not selected.
    QObject::connect(&grid, &TStringGrid::OnSelectCell,
                     [](TStringGrid*, int col, int, bool& canSelect) { canSelect = col != 3; });
    QTest::mouseClick(area, Qt::LeftButton, {}, centreOf(grid, 3, 1));
    EXPECT_EQ(seen.back(), extended);
    QTest::mouseClick(area, Qt::LeftButton, {}, centreOf(grid, 1, 4));
    EXPECT_EQ(seen.back(), (TGridRect{1, 4, 1, 4}));
}

// In the fixed row, the pointer offers to size a column within 3 pixels of its right line.
TEST(StringGrid, ColumnSizingZoneIsThreePixelsEitherSideOfTheLine)
{
    TStringGrid grid;
    fill(grid, 6, 6);
    grid.setOptions(grid.Options() | fw::goColSizing);
    grid.resize(400, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const int line = grid.CellRect(2, 0).left(); // the line right of column 1
    const std::pair<int, bool> moves[] = {{line - 4, false}, {line - 3, true}, {line, true}, {line + 3, true},
                                          {line + 4, false}};
    for (const auto& [x, sizing] : moves) {
        QTest::mouseMove(grid.viewport(), QPoint(x, 5));
        EXPECT_EQ(grid.viewport()->cursor().shape() == Qt::SplitHCursor, sizing) << x - line;
    }
}

TEST(StringGrid, FixedRowsAndColumnsStayWhileScrolling)
{
    TStringGrid grid;
    fill(grid, 12, 60);
    grid.setFixedColor(0x00FFD9D9);
    grid.resize(300, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    const int visible = grid.VisibleRowCount();
    EXPECT_GT(visible, 3);
    EXPECT_EQ(grid.ScrollInfo(Qt::Vertical).Page, 0); // the platform's thumb by default
    grid.setTopRow(30);
    grid.setLeftCol(5);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 29);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 4);
    EXPECT_EQ(grid.CellRect(1, 0).top(), 0) << "the fixed row stays on top";
    EXPECT_EQ(grid.CellRect(0, 1).left(), 0) << "the fixed column stays on the left";
    EXPECT_TRUE(grid.CellRect(1, 5).isEmpty()) << "scrolled-away rows have no rectangle";
    EXPECT_EQ(grid.CellRect(5, 30).topLeft(), QPoint(51, 21));
    EXPECT_EQ(grid.MouseCoord(60, 5), (fw::TGridCoord{5, 0}));
    EXPECT_EQ(grid.MouseCoord(10, 30), (fw::TGridCoord{0, 30}));

    const QImage image = grid.viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(95, 15), fw::toQColor(0x00FFD9D9));
    EXPECT_EQ(image.pixelColor(45, 55), fw::toQColor(0x00FFD9D9));
    EXPECT_EQ(image.pixelColor(95, 35), fw::toQColor(clWindow));
    QImage blank = image.copy(grid.CellRect(5, 30));
    blank.fill(fw::toQColor(clWindow));
    EXPECT_NE(image.copy(grid.CellRect(5, 30)), blank) << "a cell shows its text";

    // Dragging the thumb scrolls by whole rows; a page click by the visible rows.
    grid.verticalScrollBar()->setValue(10);
    EXPECT_EQ(grid.TopRow(), 11);
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.TopRow(), 11 + visible);
    grid.setTopRow(1000);
    EXPECT_EQ(grid.TopRow(), 60 - visible);
    EXPECT_EQ(grid.CellRect(5, 59).bottom(), 21 + visible * 21 - 2);

    // Moving the current cell brings it into view.
    grid.setRow(2);
    EXPECT_EQ(grid.TopRow(), 2);
}

TEST(StringGrid, KeysMoveAndExtendAndEditorCommits)
{
    TStringGrid grid;
    fill(grid, 5, 5);
    grid.setOptions(grid.Options() | fw::goEditing);
    grid.resize(300, 200);
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus();

    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(std::pair(grid.Col(), grid.Row()), std::pair(2, 2));
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 2, 3, 3}));
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));

    // Typing opens the editor with the character; each edit reaches the cell.
    QTest::keyClick(&grid, Qt::Key_Q);
    ASSERT_TRUE(grid.EditorMode());
    QTest::keyClicks(grid.InplaceEditor(), "rs");
    EXPECT_EQ(grid.Cells(1, 1), "qrs");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), "1,1");
    EXPECT_TRUE(grid.hasFocus());

    // Enter opens and closes; Down leaves the editor and moves on.
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.EditorMode());
    QTest::keyClicks(grid.InplaceEditor(), "!");
    QTest::keyClick(grid.InplaceEditor(), Qt::Key_Down);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), "1,1!");
    EXPECT_EQ(grid.Row(), 2);
}

TEST(StringGrid, AssistiveToolsSeeATableOfCellTexts)
{
    TStringGrid grid;
    fill(grid, 4, 7);
    grid.resize(300, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 7);
    EXPECT_EQ(cells->columnCount(), 4);
    EXPECT_EQ(table->childCount(), 28);

    QAccessibleInterface* cell = cells->cellAt(2, 3);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "3,2");
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->parent(), table);
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(cells->cellAt(0, 1)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(table->indexOfChild(cell), 11);
    EXPECT_EQ(table->child(11), cell);

    // Texts are read live, and a position on screen finds its cell.
    grid.setCells(3, 2, "changed");
    EXPECT_EQ(cell->text(QAccessible::Name), "changed");
    const QPoint onScreen = grid.viewport()->mapToGlobal(centreOf(grid, 3, 2));
    EXPECT_EQ(table->childAt(onScreen.x(), onScreen.y()), cell);
    const QPoint header = grid.viewport()->mapToGlobal(centreOf(grid, 1, 0));
    EXPECT_EQ(table->childAt(header.x(), header.y()), cells->cellAt(0, 1)) << "the fixed row is found too";
    EXPECT_EQ(cell->rect().center(), onScreen);

    grid.setSelection({1, 2, 2, 3});
    EXPECT_EQ(cells->selectedCellCount(), 4);
    EXPECT_TRUE(cells->cellAt(3, 2)->tableCellInterface()->isSelected());
    EXPECT_EQ(cells->cellAt(9, 0), nullptr);
}
