#pragma once

#include "framework/Canvas.h"
#include "framework/Colors.h"

#include <QAbstractScrollArea>
#include <QFlags>
#include <QLineEdit>
#include <QRect>
#include <QStringList>

#include <functional>
#include <vector>

namespace fw {

enum TGridOption : unsigned {
    goFixedVertLine = 0x0001,
    goFixedHorzLine = 0x0002,
    goVertLine = 0x0004,
    goHorzLine = 0x0008,
    goRangeSelect = 0x0010,
    goDrawFocusSelected = 0x0020,
    goRowSizing = 0x0040,
    goColSizing = 0x0080,
    goRowMoving = 0x0100,
    goColMoving = 0x0200,
    goEditing = 0x0400,
    goTabs = 0x0800,
    goRowSelect = 0x1000,
    goAlwaysShowEditor = 0x2000,
    goThumbTracking = 0x4000,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)

enum GridDrawFlag : unsigned { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
Q_DECLARE_FLAGS(GridDrawState, GridDrawFlag)

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// A cell address: X is the column, Y the row; -1 where there is no cell.
struct TGridCoord {
    int X = -1;
    int Y = -1;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// An inclusive rectangle of cells, Left <= Right and Top <= Bottom.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// A scroll bar in the windows' terms: positions Min..Max, and the page (the visible
// share of that range; 0 means the platform's default thumb).
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
};

class TInplaceEdit;

// The string grid: columns and rows of text cells, the first FixedCols columns and
// FixedRows rows drawn in FixedColor and never scrolled away, scrolling by whole
// cells, a current cell with a selection anchored on it, and an in-place editor.
//
// Coordinates (mouse positions, CellRect) are those of the viewport, the area inside
// the frame and scroll bars. Events are signals; OnSelectCell carries a reference and
// therefore needs a direct connection (the default for objects on one thread).
//
// A left press on a data cell selects it (with Shift held and goRangeSelect, extends
// the selection from the current cell, the anchor) before OnMouseDown is raised; other
// buttons leave the selection alone. The press holds the mouse until its release.
class TStringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    // Cells by column and row. Reading outside the grid gives an empty text; writing
    // outside it raises fw::Error.
    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& text);
    // A whole row or column as a list; assigning a shorter list empties the rest.
    QStringList Rows(int row) const;
    void setRows(int row, const QStringList& texts);
    QStringList Cols(int col) const;
    void setCols(int col, const QStringList& texts);

    int ColCount() const { return colCount; }
    void setColCount(int count);
    int RowCount() const { return rowCount; }
    void setRowCount(int count);
    int FixedCols() const { return fixedCols; }
    void setFixedCols(int count);
    int FixedRows() const { return fixedRows; }
    void setFixedRows(int count);
    int DefaultColWidth() const { return defaultColWidth; }
    void setDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight; }
    void setDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void setColWidths(int col, int width);
    int RowHeights(int row) const;
    void setRowHeights(int row, int height);
    int GridLineWidth() const { return 1; }

    bool DefaultDrawing() const { return defaultDrawing; }
    void setDefaultDrawing(bool on);
    TColor Color() const { return color; }
    void setColor(TColor value);
    TColor FixedColor() const { return fixedColor; }
    void setFixedColor(TColor value);
    // The colour of cell text; the face is the widget's font.
    TColor FontColor() const { return fontColor; }
    void setFontColor(TColor value);
    TGridOptions Options() const { return options; }
    void setOptions(TGridOptions value);
    TScrollStyle ScrollBars() const { return scrollBars; }
    void setScrollBars(TScrollStyle value);

    int Col() const { return current.X; }
    void setCol(int col);
    int Row() const { return current.Y; }
    void setRow(int row);
    TGridRect Selection() const;
    void setSelection(const TGridRect& rect);
    int TopRow() const { return topRow; }
    void setTopRow(int row);
    int LeftCol() const { return leftCol; }
    void setLeftCol(int col);
    // Data rows and columns fully visible from TopRow and LeftCol.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    bool EditorMode() const;
    void setEditorMode(bool on);
    void ShowEditor();
    void HideEditor();
    QLineEdit* InplaceEditor() const;
    TGridState GridState() const { return gridState; }
    bool IsSizingOrMoving() const { return gridState != gsNormal && gridState != gsSelecting; }

    // The cell's rectangle in viewport coordinates; empty when it is scrolled away.
    QRect CellRect(int col, int row) const;
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int& col, int& row) const;
    bool IsFixedCell(int col, int row) const { return col < fixedCols || row < fixedRows; }

    // Moves the row at `from` to index `to`; the rows between close up.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    void DeleteRow(int row);
    void DeleteColumn(int col);

    // The canvas that cell drawing and OnDrawCell handlers draw on.
    TCanvas& Canvas() { return canvas; }
    // The scroll bar in whole cells: Min 0, Max the last row (column); Page as set.
    TScrollInfo ScrollInfo(Qt::Orientation orientation) const;
    // Sets only the page of a scroll bar and redraws it.
    void setScrollPage(Qt::Orientation orientation, int page);

    // The name assistive tools read for a cell: the cell's text unless a namer is set.
    using CellNamer = std::function<QString(int col, int row)>;
    void setAccessibleCellNamer(CellNamer namer) { cellNamer = std::move(namer); }
    QString accessibleCellName(int col, int row) const { return cellNamer ? cellNamer(col, row) : Cells(col, row); }

signals:
    void OnClick(fw::TStringGrid* sender);
    void OnDrawCell(fw::TStringGrid* sender, int col, int row, const QRect& rect, fw::GridDrawState state);
    void OnSelectCell(fw::TStringGrid* sender, int col, int row, bool& canSelect);
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnTopLeftChanged(fw::TStringGrid* sender);
    void OnEnter(fw::TStringGrid* sender);
    void OnExit(fw::TStringGrid* sender);
    void OnRowMoved(fw::TStringGrid* sender, int from, int to);
    void OnColumnMoved(fw::TStringGrid* sender, int from, int to);

protected:
    // Overridable steps.
    virtual void DrawCell(int col, int row, const QRect& rect, GridDrawState state);
    virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // Key is a Qt::Key; an override or the grid sets it to 0 when it used the key.
    virtual void KeyDown(int& key, Qt::KeyboardModifiers shift);
    // The typed character; Enter arrives as '\r'. Set it to 0 when used.
    virtual void KeyPress(QChar& key);
    // The in-place editor commits its text into the cell.
    virtual void SetEditText(int col, int row, const QString& value);
    virtual QString GetEditText(int col, int row) const;
    // Raised when the current cell changes.
    virtual void Click();
    virtual void DoEnter();
    virtual void DoExit();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void Resize();
    virtual void TopLeftChanged();
    // The scroll ranges were set anew (size, fixed counts, options or widths changed).
    virtual void ScrollRangesChanged();
    virtual void RowMoved(int from, int to);
    virtual void ColumnMoved(int from, int to);
    // The cell-selection check: raises OnSelectCell.
    virtual bool SelectCell(int col, int row);

    // Makes (col, row) the current cell after the selection check (unless told it has
    // passed); with moveAnchor the selection shrinks to it; with show it is scrolled
    // into view.
    void MoveCurrent(int col, int row, bool moveAnchor, bool show, bool checked = false);
    // Moves the far corner of the selection (the current cell stays its anchor).
    void MoveAnchor(int col, int row);
    void ScrollIntoView(int col, int row);
    // Rows first + i take the old rows sources[i] (whole rows with their heights).
    void ReorderRows(int first, const std::vector<int>& sources);
    GridDrawState DrawStateOf(int col, int row) const;
    bool HasGridFocus() const;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;

private:
    friend class TInplaceEdit;

    int colExtent(int col) const { return ColWidths(col) + vertLineWidth(); }
    int rowExtent(int row) const { return RowHeights(row) + horzLineWidth(); }
    int vertLineWidth() const;
    int horzLineWidth() const;
    int fixedWidth() const;
    int fixedHeight() const;
    int maxTopRow() const;
    int maxLeftCol() const;
    int lastFullyVisibleRow() const;
    int lastFullyVisibleCol() const;
    void checkCol(int col) const;
    void checkRow(int row) const;
    void changeSize(int newColCount, int newRowCount);
    void clampCurrent();
    void restartAtTopLeft();
    void updateScrollRanges();
    void syncScrollPositions();
    void scrollBarAction(Qt::Orientation orientation, int action);
    void invalidateSelection(const TGridRect& before);
    void updateEditorGeometry();
    void handleKey(QKeyEvent* event);
    void noteFocusIn();
    void announceCurrentCell();
    void noteFocusOut(Qt::FocusReason reason);
    void paintGridLines(int x, int y, int col, int row, const QRect& cell);
    void updateCursor(const QPoint& position);
    int sizingLine(const QPoint& position, Qt::Orientation& orientation) const;

    std::vector<QStringList> cells; // one list per row; missing trailing cells are empty
    std::vector<int> colWidths;
    std::vector<int> rowHeights;
    int colCount = 0;
    int rowCount = 0;
    int fixedCols = 1;
    int fixedRows = 1;
    int defaultColWidth = 64;
    int defaultRowHeight = 24;
    bool defaultDrawing = true;
    TColor color = clWindow;
    TColor fixedColor = clBtnFace;
    TColor fontColor = clWindowText;
    TGridOptions options;
    TScrollStyle scrollBars = ssBoth;

    TGridCoord current{1, 1};
    TGridCoord edge{1, 1}; // the far corner of the selection
    int topRow = 1;
    int leftCol = 1;
    TScrollInfo vertPage; // only Page is kept; Min and Max follow the grid
    TScrollInfo horzPage;
    bool updatingBars = false;
    bool barsAgain = false;
    CellNamer cellNamer;

    TGridState gridState = gsNormal;
    int sizingIndex = -1;
    int sizingOrigin = 0;
    int movingIndex = -1;
    bool pressOnCurrent = false;
    bool focusInside = false;

    TInplaceEdit* editor = nullptr;
    QString editorOriginal;
    TCanvas canvas;
};

} // namespace fw

Q_DECLARE_OPERATORS_FOR_FLAGS(fw::TGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(fw::GridDrawState)
