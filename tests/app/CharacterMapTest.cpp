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

TEST_F(CharacterMap, TheGridHoldsCodes33To255InTheSelectedFaceAndAHeldCellShowsTheOverlay)
{
    testenv::writeFile(fontFolder + "/x.ttf", "x");
    registry.set("Alpha (TrueType)", "x.ttf");
    TForm1& form = start({"Alpha", "Beta"});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TSortableGrid* grid = form.SortableGrid1;
    EXPECT_EQ(QSize(grid->ColCount(), grid->RowCount()), QSize(10, 23));
    EXPECT_EQ(QSize(grid->FixedCols(), grid->FixedRows()), QSize(0, 0));
    EXPECT_EQ(grid->ColWidths(0), 40);
    EXPECT_FALSE(grid->ClickSorting());
    EXPECT_EQ(std::pair(grid->AlignmentHorz(), grid->AlignmentVert()), std::pair(taCenter, taMiddle));
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

    TForm2& overlay = *windows.form2;
    EXPECT_TRUE(overlay.isHidden());
    EXPECT_EQ(overlay.size(), QSize(483, 468));
    EXPECT_DOUBLE_EQ(overlay.windowOpacity(), 190 / 255.0);
    EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code");
    // Held, a cell shows its character big in the map's face, "&" as itself, and its code, over the middle of
    // the window; the release hides it and forgets the code.
    for (const int code : {65, 38, 233}) {
        press(form, preview::mapColumn(code), preview::mapRow(code));
        EXPECT_TRUE(overlay.isVisible()) << code;
        EXPECT_EQ(overlay.Label1->text(), QString(QChar(code))) << code;
        EXPECT_EQ(overlay.Label1->textFormat(), Qt::PlainText);
        EXPECT_EQ(overlay.Label2->text(), QStringLiteral("ASCII-code is #%1").arg(code));
        EXPECT_EQ(overlay.Label1->font().family(), grid->font().family());
        EXPECT_EQ(overlay.Label1->font().pixelSize(), 267);
        EXPECT_EQ(overlay.pos(), preview::centredPlacement(form.frameGeometry(), overlay.size()));
        release(form);
        EXPECT_TRUE(overlay.isHidden()) << code;
        EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code") << code;
    }

    // An empty cell: no big character, the code line stays.
    press(form, 5, 22);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.Label1->text(), "");
    EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code");
    release(form);

    // Right and middle presses show the cell already selected; every release that reaches the grid hides it.
    press(form, 1, 1);
    release(form);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        press(form, 7, 3, button);
        EXPECT_EQ(overlay.Label1->text(), grid->Cells(1, 1)) << button;
        release(form, button);
        EXPECT_TRUE(overlay.isHidden()) << button;
    }

    // Shift+left extends the selection: the bottom-right cell ends on the overlay.
    press(form, 4, 3, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(overlay.Label1->text(), grid->Cells(4, 3));
    release(form);

    // The overlay keeps its first place after the main window moves.
    const QPoint first = overlay.pos();
    form.move(form.pos() + QPoint(120, 80));
    press(form, 0, 0);
    EXPECT_EQ(overlay.pos(), first);
    release(form);

    // Another face refills in that face; the file view leaves the grid alone.
    form.ListBox1->setItemIndex(1);
    form.ListBox1Click();
    EXPECT_EQ(grid->font().family(), "Beta");
    form.Button5Click();
    EXPECT_EQ(form.Edit1->font().family(), "Alpha");
    EXPECT_EQ(grid->font().family(), "Beta");
}
