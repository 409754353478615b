#include "tests/support/FormFixture.h"

#include <QScrollBar>
#include <QTest>

using CharacterMap = FormFixture;

namespace {

// Presses on a cell of the grid, scrolling it into view first.
void press(TForm1& form, int column, int row, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers shift = {})
{
    TSortableGrid* grid = form.SortableGrid1;
    if (row < grid->TopRow() || row >= grid->TopRow() + grid->VisibleRowCount())
        grid->setTopRow(std::min(row, grid->RowCount() - grid->VisibleRowCount()));
    QTest::mousePress(grid->viewport(), button, shift, grid->CellRect(column, row).center());
}

void release(TForm1& form, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(form.SortableGrid1->viewport(), button, {}, QPoint(5, 5));
}

} // namespace

TEST_F(CharacterMap, TheGridHoldsCodes33To255InTheSelectedFace)
{
    testenv::writeFile(fontFolder + "/x.ttf", "x");
    registry.set("Alpha (TrueType)", "x.ttf");
    TForm1& form = start({"Alpha", "Beta"});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TSortableGrid* grid = form.SortableGrid1;
    EXPECT_EQ(grid->ColCount(), 10);
    EXPECT_EQ(grid->RowCount(), 23);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->ColWidths(0), 40);
    EXPECT_FALSE(grid->ClickSorting());
    EXPECT_EQ(grid->AlignmentHorz(), taCenter);
    EXPECT_EQ(grid->AlignmentVert(), taMiddle);
    EXPECT_EQ(grid->BevelStyle(), cbNone);
    EXPECT_TRUE(grid->ProportionalScrollBars());
    EXPECT_EQ(grid->font().pixelSize(), 24);
    EXPECT_EQ(grid->Cells(0, 0), "!");
    EXPECT_EQ(grid->Cells(9, 0), "*");
    EXPECT_EQ(grid->Cells(0, 1), "+");
    EXPECT_EQ(grid->Cells(2, 22), QString(QChar(0xFF)));
    for (int column = 3; column <= 9; ++column)
        EXPECT_EQ(grid->Cells(column, 22), "") << column;
    EXPECT_EQ(grid->font().family(), "Alpha");
    // About five rows show; the scroll bar's thumb shows that share.
    EXPECT_EQ(grid->VisibleRowCount(), 5);
    EXPECT_EQ(grid->verticalScrollBar()->pageStep(), 5);

    // Another face refills in that face; the file view leaves the grid alone.
    form.ListBox1->setItemIndex(1);
    form.ListBox1Click();
    EXPECT_EQ(grid->font().family(), "Beta");
    form.Button5Click();
    EXPECT_EQ(form.Edit1->font().family(), "Alpha");
    EXPECT_EQ(grid->font().family(), "Beta");
}

TEST_F(CharacterMap, HoldingACellShowsTheOverlayWithItsCode)
{
    TForm1& form = start();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TForm2& overlay = *windows.form2;
    EXPECT_TRUE(overlay.isHidden());
    EXPECT_EQ(overlay.size(), QSize(483, 468));
    EXPECT_DOUBLE_EQ(overlay.windowOpacity(), 190 / 255.0);
    EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code");

    press(form, (65 - 33) % 10, (65 - 33) / 10);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.Label1->text(), "A");
    EXPECT_EQ(overlay.Label2->text(), "ASCII-code is #65");
    EXPECT_EQ(overlay.Label1->font().family(), form.SortableGrid1->font().family());
    EXPECT_EQ(overlay.Label1->font().pixelSize(), 267);
    EXPECT_EQ(overlay.pos(), preview::centredPlacement(form.frameGeometry(), overlay.size()));
    release(form);
    EXPECT_TRUE(overlay.isHidden());
    EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code");

    // "&" shows as itself; a code above 127.
    press(form, (38 - 33) % 10, (38 - 33) / 10);
    EXPECT_EQ(overlay.Label1->text(), "&");
    EXPECT_EQ(overlay.Label1->textFormat(), Qt::PlainText);
    release(form);
    press(form, (233 - 33) % 10, (233 - 33) / 10);
    EXPECT_EQ(overlay.Label2->text(), "ASCII-code is #233");
    release(form);

    // An empty cell: no big character, the code line stays.
    press(form, 5, 22);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.Label1->text(), "");
    EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code");
    release(form);

    // Right and middle presses show the cell already selected.
    press(form, 1, 1);
    release(form);
    press(form, 7, 3, Qt::RightButton);
    EXPECT_EQ(overlay.Label1->text(), form.SortableGrid1->Cells(1, 1));
    release(form, Qt::RightButton);
    EXPECT_TRUE(overlay.isHidden()) << "every release that reaches the grid hides it";
    press(form, 7, 3, Qt::MiddleButton);
    EXPECT_EQ(overlay.Label1->text(), form.SortableGrid1->Cells(1, 1));
    release(form, Qt::MiddleButton);

    // Shift+left extends the selection: the bottom-right cell ends on the overlay.
    press(form, 4, 3, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(overlay.Label1->text(), form.SortableGrid1->Cells(4, 3));
    release(form);

    // The overlay keeps its first place after the main window moves.
    const QPoint first = overlay.pos();
    form.move(form.pos() + QPoint(120, 80));
    press(form, 0, 0);
    EXPECT_EQ(overlay.pos(), first);
    release(form);
}
