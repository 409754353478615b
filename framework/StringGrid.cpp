#include "framework/StringGrid.h"

#include "framework/Accessible.h"

#include "framework/Errors.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace fw {

namespace {

constexpr int sizingMargin = 3; // pixels either side of a line that start sizing
constexpr TColor dataLineColor = clSilver;
constexpr TColor fixedLineColor = clGray;

[[noreturn]] void indexError()
{
    throw Error(QStringLiteral("Grid index out of range"));
}

// Fixed columns (rows) come first, then the scrolled ones from the first shown.
int firstShown(int fixed, int first)
{
    return fixed > 0 ? 0 : first;
}

int nextShown(int index, int fixed, int first)
{
    return index + 1 == fixed ? std::max(first, fixed) : index + 1;
}

template <typename T> void moveItem(std::vector<T>& items, int from, int to)
{
    if (from < to)
        std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    else
        std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
}

} // namespace

// The in-place editor: a line edit over the current cell that hands the keys that
// move between cells back to the grid.
class TInplaceEdit : public QLineEdit {
public:
    explicit TInplaceEdit(TStringGrid* owner) : QLineEdit(owner->viewport()), grid(owner)
    {
        setObjectName(QStringLiteral("InplaceEditor"));
        setFrame(false);
        connect(this, &QLineEdit::textEdited, this,
                [this](const QString& text) { grid->SetEditText(grid->Col(), grid->Row(), text); });
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && (grid->Options() & goTabs)) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                grid->handleKey(key);
                return true;
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const bool plain = !hasSelectedText();
        switch (event->key()) {
        case Qt::Key_Escape:
            if (text() != grid->editorOriginal) {
                setText(grid->editorOriginal);
                grid->SetEditText(grid->Col(), grid->Row(), grid->editorOriginal);
            }
            if (!(grid->Options() & goAlwaysShowEditor))
                grid->HideEditor();
            return;
        case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Return: case Qt::Key_Enter:
            grid->handleKey(event);
            return;
        case Qt::Key_Left:
            if (plain && cursorPosition() == 0 && event->modifiers() == Qt::NoModifier) {
                grid->handleKey(event);
                return;
            }
            break;
        case Qt::Key_Right:
            if (plain && cursorPosition() == text().size() && event->modifiers() == Qt::NoModifier) {
                grid->handleKey(event);
                return;
            }
            break;
        case Qt::Key_Home: case Qt::Key_End:
            if (event->modifiers() & Qt::ControlModifier) {
                grid->handleKey(event);
                return;
            }
            break;
        default:
            break;
        }
        QLineEdit::keyPressEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        grid->noteFocusOut(event->reason());
    }

private:
    TStringGrid* grid;
};

namespace {

// Assistive tools see the grid as a table whose cells carry their texts.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCellAccessible(TStringGrid* owner, int row, int col) : grid(owner), row(row), col(col) {}

    bool isValid() const override { return grid && row < grid->RowCount() && col < grid->ColCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid ? grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grid.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return QString();
        if (kind == QAccessible::Description)
            return fw::spokenCellPlace(row, col);
        if (kind != QAccessible::Name && kind != QAccessible::Value)
            return QString();
        return kind == QAccessible::Name ? grid->accessibleCellName(col, row) : grid->Cells(col, row);
    }
    void setText(QAccessible::Text kind, const QString& text) override
    {
        if (isValid() && kind == QAccessible::Value && (grid->Options() & goEditing) && !grid->IsFixedCell(col, row))
            grid->setCells(col, row, text);
    }
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect local = grid->CellRect(col, row);
        if (local.isEmpty())
            return QRect();
        return QRect(grid->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override
    {
        if (!isValid())
            return QAccessible::Cell;
        if (row < grid->FixedRows())
            return QAccessible::ColumnHeader;
        if (col < grid->FixedCols())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = !grid->IsFixedCell(col, row);
        state.selected = isSelected();
        state.focusable = state.selectable;
        state.focused = grid->hasFocus() && grid->Col() == col && grid->Row() == row;
        state.invisible = grid->CellRect(col, row).isEmpty();
        state.editable = (grid->Options() & goEditing) && state.selectable;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && !grid->IsFixedCell(col, row) && grid->Selection().contains(col, row);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return col; }
    int rowIndex() const override { return row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<TStringGrid> grid;
    int row;
    int col;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(TStringGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(cellIds))
            QAccessible::deleteAccessibleInterface(id);
    }

    TStringGrid* grid() const { return static_cast<TStringGrid*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override
    {
        return int(std::min<qint64>(INT_MAX, qint64(grid()->RowCount()) * grid()->ColCount()));
    }
    QAccessibleInterface* child(int index) const override
    {
        const int cols = grid()->ColCount();
        if (index < 0 || index >= childCount())
            return nullptr;
        return cellAt(index / cols, index % cols);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->parent() != this)
            return -1;
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        if (!cell)
            return -1;
        const qint64 index = qint64(cell->rowIndex()) * grid()->ColCount() + cell->columnIndex();
        return index < INT_MAX ? int(index) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        const TGridCoord hit = grid()->MouseCoord(local.x(), local.y());
        return hit.X >= 0 && hit.Y >= 0 ? cellAt(hit.Y, hit.X) : nullptr;
    }

    // A reader asking what has the focus is told the cell the user is on.
    QAccessibleInterface* focusChild() const override
    {
        return grid()->hasFocus() ? cellAt(grid()->Row(), grid()->Col()) : QAccessibleWidget::focusChild();
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int col) const override
    {
        if (row < 0 || col < 0 || row >= grid()->RowCount() || col >= grid()->ColCount())
            return nullptr;
        const qint64 key = (qint64(row) << 32) | quint32(col);
        if (const auto found = cellIds.constFind(key); found != cellIds.cend())
            return QAccessible::accessibleInterface(found.value());
        auto* cell = new GridCellAccessible(grid(), row, col);
        cellIds.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int selectedCellCount() const override
    {
        const TGridRect s = grid()->Selection();
        return int(std::min<qint64>(INT_MAX, qint64(s.Right - s.Left + 1) * (s.Bottom - s.Top + 1)));
    }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> result;
        const TGridRect s = grid()->Selection();
        for (int r = s.Top; r <= s.Bottom; ++r)
            for (int c = s.Left; c <= s.Right; ++c)
                result << cellAt(r, c);
        return result;
    }
    QString columnDescription(int col) const override
    {
        return grid()->FixedRows() > 0 ? grid()->Cells(col, 0) : QString();
    }
    QString rowDescription(int row) const override
    {
        return grid()->FixedCols() > 0 ? grid()->Cells(0, row) : QString();
    }
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return grid()->ColCount(); }
    int rowCount() const override { return grid()->RowCount(); }
    QList<int> selectedColumns() const override
    {
        QList<int> result;
        const TGridRect s = grid()->Selection();
        if (s.Top == grid()->FixedRows() && s.Bottom == grid()->RowCount() - 1)
            for (int c = s.Left; c <= s.Right; ++c)
                result << c;
        return result;
    }
    QList<int> selectedRows() const override
    {
        QList<int> result;
        const TGridRect s = grid()->Selection();
        if (s.Left == grid()->FixedCols() && s.Right == grid()->ColCount() - 1)
            for (int r = s.Top; r <= s.Bottom; ++r)
                result << r;
        return result;
    }
    bool isColumnSelected(int col) const override { return selectedColumns().contains(col); }
    bool isRowSelected(int row) const override { return selectedRows().contains(row); }
    bool selectRow(int row) override
    {
        if (row < grid()->FixedRows() || row >= grid()->RowCount())
            return false;
        grid()->setSelection({grid()->FixedCols(), row, grid()->ColCount() - 1, row});
        return true;
    }
    bool selectColumn(int col) override
    {
        if (col < grid()->FixedCols() || col >= grid()->ColCount())
            return false;
        grid()->setSelection({col, grid()->FixedRows(), col, grid()->RowCount() - 1});
        return true;
    }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells are addressed by index and read their text live, so nothing is cached
    // that a change of the grid could make wrong.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable QHash<qint64, QAccessible::Id> cellIds;
};

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const
{
    QList<QAccessibleInterface*> result;
    if (auto* table = parent() ? parent()->tableInterface() : nullptr)
        for (int r = 0; isValid() && r < grid->FixedRows(); ++r)
            result << table->cellAt(r, col);
    return result;
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const
{
    QList<QAccessibleInterface*> result;
    if (auto* table = parent() ? parent()->tableInterface() : nullptr)
        for (int c = 0; isValid() && c < grid->FixedCols(); ++c)
            result << table->cellAt(row, c);
    return result;
}

QAccessibleInterface* gridAccessibleFactory(const QString&, QObject* object)
{
    if (auto* grid = qobject_cast<TStringGrid*>(object))
        return new GridAccessible(grid);
    return nullptr;
}

} // namespace

TStringGrid::TStringGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    static const bool accessibleInstalled = (QAccessible::installFactory(gridAccessibleFactory), true);
    Q_UNUSED(accessibleInstalled);

    options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    colCount = 5;
    rowCount = 5;
    cells.resize(std::size_t(rowCount));
    colWidths.assign(std::size_t(colCount), defaultColWidth);
    rowHeights.assign(std::size_t(rowCount), defaultRowHeight);

    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { scrollBarAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { scrollBarAction(Qt::Horizontal, action); });
    updateScrollRanges();
}

TStringGrid::~TStringGrid() = default;

// ---- cells ----

QString TStringGrid::Cells(int col, int row) const
{
    if (row < 0 || row >= rowCount || col < 0)
        return QString();
    const QStringList& line = cells[std::size_t(row)];
    return col < line.size() ? line.at(col) : QString();
}

void TStringGrid::setCells(int col, int row, const QString& text)
{
    checkCol(col);
    checkRow(row);
    QStringList& line = cells[std::size_t(row)];
    if (col >= line.size()) {
        if (text.isEmpty())
            return;
        line.resize(col + 1);
    }
    if (line.at(col) == text)
        return;
    line[col] = text;
    if (EditorMode() && col == current.X && row == current.Y && editor->text() != text)
        editor->setText(text);
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(rect);
}

QStringList TStringGrid::Rows(int row) const
{
    QStringList result;
    if (row < 0 || row >= rowCount)
        return result;
    result = cells[std::size_t(row)];
    result.resize(colCount);
    return result;
}

void TStringGrid::setRows(int row, const QStringList& texts)
{
    checkRow(row);
    QStringList line = texts.mid(0, colCount);
    while (!line.isEmpty() && line.constLast().isEmpty())
        line.removeLast();
    cells[std::size_t(row)] = line;
    if (EditorMode() && row == current.Y && editor->text() != Cells(current.X, row))
        editor->setText(Cells(current.X, row));
    viewport()->update();
}

QStringList TStringGrid::Cols(int col) const
{
    QStringList result;
    if (col < 0 || col >= colCount)
        return result;
    result.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r)
        result << Cells(col, r);
    return result;
}

void TStringGrid::setCols(int col, const QStringList& texts)
{
    checkCol(col);
    for (int r = 0; r < rowCount; ++r)
        setCells(col, r, r < texts.size() ? texts.at(r) : QString());
}

// ---- size ----

void TStringGrid::checkCol(int col) const
{
    if (col < 0 || col >= colCount)
        indexError();
}

void TStringGrid::checkRow(int row) const
{
    if (row < 0 || row >= rowCount)
        indexError();
}

void TStringGrid::setColCount(int count)
{
    count = std::max(1, count);
    if (count == colCount)
        return;
    if (count <= fixedCols)
        fixedCols = count - 1;
    changeSize(count, rowCount);
}

void TStringGrid::setRowCount(int count)
{
    count = std::max(1, count);
    if (count == rowCount)
        return;
    if (count <= fixedRows)
        fixedRows = count - 1;
    changeSize(colCount, count);
}

void TStringGrid::changeSize(int newColCount, int newRowCount)
{
    const int oldColCount = colCount;
    const int oldRowCount = rowCount;
    cells.resize(std::size_t(newRowCount));
    if (newColCount < oldColCount)
        for (QStringList& line : cells)
            if (line.size() > newColCount)
                line.resize(newColCount);
    colWidths.resize(std::size_t(newColCount), defaultColWidth);
    rowHeights.resize(std::size_t(newRowCount), defaultRowHeight);
    colCount = newColCount;
    rowCount = newRowCount;
    const TGridCoord before = current;
    clampCurrent();
    if (!(current == before))
        HideEditor();
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&event);
    }
    SizeChanged(oldColCount, oldRowCount);
}

void TStringGrid::clampCurrent()
{
    const auto clampCol = [this](int c) { return std::clamp(c, fixedCols, colCount - 1); };
    const auto clampRow = [this](int r) { return std::clamp(r, fixedRows, rowCount - 1); };
    current = {clampCol(current.X), clampRow(current.Y)};
    edge = {clampCol(edge.X), clampRow(edge.Y)};
    topRow = std::clamp(topRow, fixedRows, rowCount - 1);
    leftCol = std::clamp(leftCol, fixedCols, colCount - 1);
}

// A new set of fixed cells starts the grid over at its first data cell.
void TStringGrid::restartAtTopLeft()
{
    HideEditor();
    leftCol = fixedCols;
    topRow = fixedRows;
    current = {fixedCols, fixedRows};
    edge = current;
}

void TStringGrid::setFixedCols(int count)
{
    if (count < 0 || count >= colCount)
        throw Error(QStringLiteral("Fixed column count must be less than column count"));
    if (count == fixedCols)
        return;
    fixedCols = count;
    restartAtTopLeft();
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
}

void TStringGrid::setFixedRows(int count)
{
    if (count < 0 || count >= rowCount)
        throw Error(QStringLiteral("Fixed row count must be less than row count"));
    if (count == fixedRows)
        return;
    fixedRows = count;
    restartAtTopLeft();
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
}

void TStringGrid::setDefaultColWidth(int width)
{
    width = std::max(0, width);
    defaultColWidth = width;
    colWidths.assign(std::size_t(colCount), width);
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
    ColWidthsChanged();
}

void TStringGrid::setDefaultRowHeight(int height)
{
    height = std::max(0, height);
    defaultRowHeight = height;
    rowHeights.assign(std::size_t(rowCount), height);
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
    RowHeightsChanged();
}

int TStringGrid::ColWidths(int col) const
{
    return col >= 0 && col < colCount ? colWidths[std::size_t(col)] : defaultColWidth;
}

void TStringGrid::setColWidths(int col, int width)
{
    checkCol(col);
    width = std::max(0, width);
    if (colWidths[std::size_t(col)] == width)
        return;
    colWidths[std::size_t(col)] = width;
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
    ColWidthsChanged();
}

int TStringGrid::RowHeights(int row) const
{
    return row >= 0 && row < rowCount ? rowHeights[std::size_t(row)] : defaultRowHeight;
}

void TStringGrid::setRowHeights(int row, int height)
{
    checkRow(row);
    height = std::max(0, height);
    if (rowHeights[std::size_t(row)] == height)
        return;
    rowHeights[std::size_t(row)] = height;
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
    RowHeightsChanged();
}

// ---- look ----

void TStringGrid::setDefaultDrawing(bool on)
{
    if (defaultDrawing == on)
        return;
    defaultDrawing = on;
    viewport()->update();
}

void TStringGrid::setColor(TColor value)
{
    if (color == value)
        return;
    color = value;
    viewport()->update();
}

void TStringGrid::setFixedColor(TColor value)
{
    if (fixedColor == value)
        return;
    fixedColor = value;
    viewport()->update();
}

void TStringGrid::setFontColor(TColor value)
{
    if (fontColor == value)
        return;
    fontColor = value;
    viewport()->update();
}

void TStringGrid::setOptions(TGridOptions value)
{
    if (options == value)
        return;
    const TGridOptions before = options;
    options = value;
    if (!(options & goEditing) || ((before & goAlwaysShowEditor) && !(options & goAlwaysShowEditor)))
        HideEditor();
    if (!(options & goRangeSelect))
        edge = current;
    updateScrollRanges();
    updateEditorGeometry();
    viewport()->update();
    if ((options & goEditing) && (options & goAlwaysShowEditor) && hasFocus())
        ShowEditor();
}

void TStringGrid::setScrollBars(TScrollStyle value)
{
    if (scrollBars == value)
        return;
    scrollBars = value;
    const bool vertical = value == ssVertical || value == ssBoth;
    const bool horizontal = value == ssHorizontal || value == ssBoth;
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    updateScrollRanges();
}

// ---- current cell, selection, scrolling ----

void TStringGrid::setCol(int col)
{
    if (col < fixedCols || col >= colCount)
        indexError();
    MoveCurrent(col, current.Y, true, true);
}

void TStringGrid::setRow(int row)
{
    if (row < fixedRows || row >= rowCount)
        indexError();
    MoveCurrent(current.X, row, true, true);
}

TGridRect TStringGrid::Selection() const
{
    TGridRect rect{std::min(current.X, edge.X), std::min(current.Y, edge.Y), std::max(current.X, edge.X),
                   std::max(current.Y, edge.Y)};
    if (options & goRowSelect) {
        rect.Left = fixedCols;
        rect.Right = colCount - 1;
    }
    return rect;
}

void TStringGrid::setSelection(const TGridRect& rect)
{
    const auto inData = [this](int c, int r) { return c >= fixedCols && c < colCount && r >= fixedRows && r < rowCount; };
    if (!inData(rect.Left, rect.Top) || !inData(rect.Right, rect.Bottom))
        indexError();
    MoveCurrent(rect.Left, rect.Top, true, true);
    if (current.X == rect.Left && current.Y == rect.Top)
        MoveAnchor(rect.Right, rect.Bottom);
}

void TStringGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show, bool checked)
{
    if (col < fixedCols || col >= colCount || row < fixedRows || row >= rowCount)
        indexError();
    if (col != current.X || row != current.Y) {
        if (!checked && !SelectCell(col, row))
            return;
        const bool reshow = (options & goEditing) && (options & goAlwaysShowEditor) && HasGridFocus();
        HideEditor();
        current = {col, row};
        if (moveAnchor || !(options & goRangeSelect))
            edge = current;
        if (show)
            ScrollIntoView(col, row);
        viewport()->update();
        announceCurrentCell();
        Click();
        if (reshow)
            ShowEditor();
        return;
    }
    if (moveAnchor && !(edge == current)) {
        edge = current;
        viewport()->update();
    }
    if (show)
        ScrollIntoView(col, row);
}

void TStringGrid::MoveAnchor(int col, int row)
{
    if (!(options & goRangeSelect)) {
        MoveCurrent(col, row, true, true);
        return;
    }
    col = std::clamp(col, fixedCols, colCount - 1);
    row = std::clamp(row, fixedRows, rowCount - 1);
    if (edge.X != col || edge.Y != row) {
        edge = {col, row};
        viewport()->update();
    }
    ScrollIntoView(col, row);
}

void TStringGrid::setTopRow(int row)
{
    row = std::clamp(row, fixedRows, maxTopRow());
    if (row == topRow)
        return;
    topRow = row;
    syncScrollPositions();
    updateEditorGeometry();
    viewport()->update();
    TopLeftChanged();
}

void TStringGrid::setLeftCol(int col)
{
    col = std::clamp(col, fixedCols, maxLeftCol());
    if (col == leftCol)
        return;
    leftCol = col;
    syncScrollPositions();
    updateEditorGeometry();
    viewport()->update();
    TopLeftChanged();
}

void TStringGrid::ScrollIntoView(int col, int row)
{
    if (row >= fixedRows && row < rowCount) {
        if (row < topRow) {
            setTopRow(row);
        } else if (row > lastFullyVisibleRow()) {
            // The topmost row that still shows `row` whole at the bottom.
            const int available = viewport()->height() - fixedHeight();
            int top = row;
            int used = RowHeights(row);
            while (top - 1 >= fixedRows && used + rowExtent(top - 1) <= available)
                used += rowExtent(--top);
            setTopRow(top);
        }
    }
    if (col >= fixedCols && col < colCount) {
        if (col < leftCol) {
            setLeftCol(col);
        } else if (col > lastFullyVisibleCol()) {
            const int available = viewport()->width() - fixedWidth();
            int left = col;
            int used = ColWidths(col);
            while (left - 1 >= fixedCols && used + colExtent(left - 1) <= available)
                used += colExtent(--left);
            setLeftCol(left);
        }
    }
}

int TStringGrid::vertLineWidth() const
{
    return (options & (goVertLine | goFixedVertLine)) ? GridLineWidth() : 0;
}

int TStringGrid::horzLineWidth() const
{
    return (options & (goHorzLine | goFixedHorzLine)) ? GridLineWidth() : 0;
}

int TStringGrid::fixedWidth() const
{
    int width = 0;
    for (int c = 0; c < fixedCols; ++c)
        width += colExtent(c);
    return width;
}

int TStringGrid::fixedHeight() const
{
    int height = 0;
    for (int r = 0; r < fixedRows; ++r)
        height += rowExtent(r);
    return height;
}

int TStringGrid::maxTopRow() const
{
    const int available = viewport()->height() - fixedHeight();
    int top = rowCount - 1;
    int used = RowHeights(top);
    while (top - 1 >= fixedRows && used + rowExtent(top - 1) <= available)
        used += rowExtent(--top);
    return std::max(top, fixedRows);
}

int TStringGrid::maxLeftCol() const
{
    const int available = viewport()->width() - fixedWidth();
    int left = colCount - 1;
    int used = ColWidths(left);
    while (left - 1 >= fixedCols && used + colExtent(left - 1) <= available)
        used += colExtent(--left);
    return std::max(left, fixedCols);
}

int TStringGrid::VisibleRowCount() const
{
    const int available = viewport()->height() - fixedHeight();
    int count = 0;
    int used = 0;
    for (int r = topRow; r < rowCount && used + RowHeights(r) <= available; ++r) {
        used += rowExtent(r);
        ++count;
    }
    return count;
}

int TStringGrid::VisibleColCount() const
{
    const int available = viewport()->width() - fixedWidth();
    int count = 0;
    int used = 0;
    for (int c = leftCol; c < colCount && used + ColWidths(c) <= available; ++c) {
        used += colExtent(c);
        ++count;
    }
    return count;
}

int TStringGrid::lastFullyVisibleRow() const
{
    return topRow + std::max(1, VisibleRowCount()) - 1;
}

int TStringGrid::lastFullyVisibleCol() const
{
    return leftCol + std::max(1, VisibleColCount()) - 1;
}

TScrollInfo TStringGrid::ScrollInfo(Qt::Orientation orientation) const
{
    TScrollInfo info = orientation == Qt::Vertical ? vertPage : horzPage;
    info.Min = 0;
    info.Max = (orientation == Qt::Vertical ? rowCount : colCount) - 1;
    return info;
}

void TStringGrid::setScrollPage(Qt::Orientation orientation, int page)
{
    page = std::max(0, page);
    TScrollInfo& info = orientation == Qt::Vertical ? vertPage : horzPage;
    info.Page = page;
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    if (bar->pageStep() != page) {
        bar->setPageStep(page);
        bar->update();
    }
}

// The scroll bars count whole cells: position p shows row FixedRows + p at the top.
// Their page (the thumb) is set separately and is 0, the platform's thumb, by default.
void TStringGrid::updateScrollRanges()
{
    if (updatingBars) {
        barsAgain = true;
        return;
    }
    updatingBars = true;
    for (int pass = 0; pass < 4; ++pass) {
        barsAgain = false;
        topRow = std::clamp(topRow, fixedRows, maxTopRow());
        leftCol = std::clamp(leftCol, fixedCols, maxLeftCol());
        verticalScrollBar()->setSingleStep(1);
        horizontalScrollBar()->setSingleStep(1);
        verticalScrollBar()->setPageStep(vertPage.Page);
        horizontalScrollBar()->setPageStep(horzPage.Page);
        verticalScrollBar()->setRange(0, maxTopRow() - fixedRows);
        horizontalScrollBar()->setRange(0, maxLeftCol() - fixedCols);
        if (!barsAgain)
            break;
    }
    updatingBars = false;
    topRow = std::clamp(topRow, fixedRows, maxTopRow());
    leftCol = std::clamp(leftCol, fixedCols, maxLeftCol());
    syncScrollPositions();
    ScrollRangesChanged();
}

void TStringGrid::syncScrollPositions()
{
    const bool wasUpdating = updatingBars;
    updatingBars = true;
    verticalScrollBar()->setValue(topRow - fixedRows);
    horizontalScrollBar()->setValue(leftCol - fixedCols);
    updatingBars = wasUpdating;
}

void TStringGrid::scrollContentsBy(int, int)
{
    if (updatingBars)
        return;
    setTopRow(fixedRows + verticalScrollBar()->value());
    setLeftCol(fixedCols + horizontalScrollBar()->value());
}

void TStringGrid::scrollBarAction(Qt::Orientation orientation, int action)
{
    // Page clicks move by the visible cells whatever size the thumb has.
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    const int visible = std::max(1, orientation == Qt::Vertical ? VisibleRowCount() : VisibleColCount());
    if (action == QAbstractSlider::SliderPageStepAdd)
        bar->setSliderPosition(bar->value() + visible);
    else if (action == QAbstractSlider::SliderPageStepSub)
        bar->setSliderPosition(bar->value() - visible);
}

// ---- geometry ----

QRect TStringGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= colCount || row < 0 || row >= rowCount)
        return QRect();
    const int width = viewport()->width();
    const int height = viewport()->height();
    int x = 0;
    if (col < fixedCols) {
        for (int c = 0; c < col; ++c)
            x += colExtent(c);
    } else {
        if (col < leftCol)
            return QRect();
        x = fixedWidth();
        for (int c = leftCol; c < col && x < width; ++c)
            x += colExtent(c);
    }
    int y = 0;
    if (row < fixedRows) {
        for (int r = 0; r < row; ++r)
            y += rowExtent(r);
    } else {
        if (row < topRow)
            return QRect();
        y = fixedHeight();
        for (int r = topRow; r < row && y < height; ++r)
            y += rowExtent(r);
    }
    if (x >= width || y >= height)
        return QRect();
    return QRect(x, y, ColWidths(col), RowHeights(row));
}

TGridCoord TStringGrid::MouseCoord(int x, int y) const
{
    TGridCoord hit;
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height())
        return hit;
    const auto find = [](int position, int fixed, int first, int count, auto extent) {
        int start = 0;
        for (int i = 0; i < fixed; ++i) {
            if (position < start + extent(i))
                return i;
            start += extent(i);
        }
        for (int i = std::max(first, fixed); i < count; ++i) {
            if (position < start + extent(i))
                return i;
            start += extent(i);
        }
        return -1;
    };
    const int col = find(x, fixedCols, leftCol, colCount, [this](int c) { return colExtent(c); });
    const int row = find(y, fixedRows, topRow, rowCount, [this](int r) { return rowExtent(r); });
    if (col >= 0 && row >= 0)
        hit = {col, row};
    return hit;
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) const
{
    const TGridCoord hit = MouseCoord(x, y);
    col = hit.X;
    row = hit.Y;
}

// ---- structure ----

void TStringGrid::MoveRow(int from, int to)
{
    checkRow(from);
    checkRow(to);
    if (from == to)
        return;
    const bool editing = EditorMode();
    HideEditor();
    moveItem(cells, from, to);
    moveItem(rowHeights, from, to);
    viewport()->update();
    RowMoved(from, to);
    if (editing && (options & goAlwaysShowEditor))
        ShowEditor();
}

void TStringGrid::MoveColumn(int from, int to)
{
    checkCol(from);
    checkCol(to);
    if (from == to)
        return;
    const bool editing = EditorMode();
    HideEditor();
    const int reach = std::max(from, to);
    for (QStringList& line : cells) {
        if (line.size() <= std::min(from, to))
            continue;
        if (line.size() <= reach)
            line.resize(reach + 1);
        line.move(from, to);
        while (!line.isEmpty() && line.constLast().isEmpty())
            line.removeLast();
    }
    moveItem(colWidths, from, to);
    viewport()->update();
    ColumnMoved(from, to);
    if (editing && (options & goAlwaysShowEditor))
        ShowEditor();
}

void TStringGrid::DeleteRow(int row)
{
    checkRow(row);
    if (rowCount == 1) {
        cells[0].clear();
        viewport()->update();
        return;
    }
    MoveRow(row, rowCount - 1);
    setRowCount(rowCount - 1);
}

void TStringGrid::DeleteColumn(int col)
{
    checkCol(col);
    if (colCount == 1) {
        for (QStringList& line : cells)
            line.clear();
        viewport()->update();
        return;
    }
    MoveColumn(col, colCount - 1);
    setColCount(colCount - 1);
}

void TStringGrid::ReorderRows(int first, const std::vector<int>& sources)
{
    const int count = int(sources.size());
    if (first < 0 || count > rowCount - first)
        indexError();
    std::vector<bool> used(std::size_t(count), false);
    for (const int source : sources) {
        const int index = source - first;
        if (index < 0 || index >= count || used[std::size_t(index)])
            indexError();
        used[std::size_t(index)] = true;
    }
    std::vector<QStringList> rows(static_cast<std::size_t>(count));
    std::vector<int> heights(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows[std::size_t(i)] = std::move(cells[std::size_t(sources[std::size_t(i)])]);
        heights[std::size_t(i)] = rowHeights[std::size_t(sources[std::size_t(i)])];
    }
    for (int i = 0; i < count; ++i) {
        cells[std::size_t(first + i)] = std::move(rows[std::size_t(i)]);
        rowHeights[std::size_t(first + i)] = heights[std::size_t(i)];
    }
    if (EditorMode())
        editor->setText(Cells(current.X, current.Y));
    viewport()->update();
}

// ---- editor ----

bool TStringGrid::EditorMode() const
{
    return editor && editor->isVisible();
}

void TStringGrid::setEditorMode(bool on)
{
    if (on)
        ShowEditor();
    else
        HideEditor();
}

QLineEdit* TStringGrid::InplaceEditor() const
{
    return editor;
}

void TStringGrid::ShowEditor()
{
    if (!(options & goEditing) || IsFixedCell(current.X, current.Y))
        return;
    if (!editor)
        editor = new TInplaceEdit(this);
    if (!editor->isVisible()) {
        editorOriginal = GetEditText(current.X, current.Y);
        editor->setText(editorOriginal); // the caret goes to the end
    }
    updateEditorGeometry();
    editor->show();
    if (hasFocus())
        editor->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void TStringGrid::HideEditor()
{
    if (!EditorMode())
        return;
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void TStringGrid::updateEditorGeometry()
{
    if (!editor)
        return;
    const QRect rect = CellRect(current.X, current.Y);
    if (rect.isEmpty()) {
        editor->setGeometry(QRect(-1000, -1000, 1, 1)); // scrolled away: keep it out of sight
        return;
    }
    editor->setFont(font());
    editor->setGeometry(rect);
}

// ---- painting ----

GridDrawState TStringGrid::DrawStateOf(int col, int row) const
{
    GridDrawState state;
    if (IsFixedCell(col, row))
        return state | gdFixed;
    if (Selection().contains(col, row))
        state |= gdSelected;
    if (col == current.X && row == current.Y && HasGridFocus())
        state |= gdFocused;
    return state;
}

bool TStringGrid::HasGridFocus() const
{
    return hasFocus() || (editor && editor->hasFocus());
}

void TStringGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    canvas.setPainter(&painter);
    const QRect area = event->rect();
    const int width = viewport()->width();
    const int height = viewport()->height();

    // The columns and rows on screen with their left and top edges.
    std::vector<std::pair<int, int>> columns;
    int x = 0;
    for (int c = firstShown(fixedCols, leftCol); c < colCount && x < width; c = nextShown(c, fixedCols, leftCol)) {
        columns.emplace_back(c, x);
        x += colExtent(c);
    }
    std::vector<std::pair<int, int>> rows;
    int y = 0;
    for (int r = firstShown(fixedRows, topRow); r < rowCount && y < height; r = nextShown(r, fixedRows, topRow)) {
        rows.emplace_back(r, y);
        y += rowExtent(r);
    }

    const QFont gridFont = font();
    for (const auto& [row, top] : rows) {
        if (top > area.bottom() || top + rowExtent(row) <= area.top())
            continue;
        for (const auto& [col, left] : columns) {
            if (left > area.right() || left + colExtent(col) <= area.left())
                continue;
            const QRect rect(left, top, ColWidths(col), RowHeights(row));
            const GridDrawState state = DrawStateOf(col, row);
            const bool highlight = (state & gdSelected)
                && (!(state & gdFocused) || (options & (goDrawFocusSelected | goRowSelect)));
            canvas.Font = TFont(gridFont, highlight ? clHighlightText : fontColor);
            canvas.Brush.Color = (state & gdFixed) ? fixedColor : highlight ? clHighlight : color;
            canvas.Pen.Color = clBlack;
            if (!rect.isEmpty()) {
                canvas.FillRect(rect);
                painter.save();
                painter.setClipRect(rect);
                DrawCell(col, row, rect, state);
                painter.restore();
                if (defaultDrawing && (state & gdFocused) && !EditorMode() && !(options & goRowSelect)) {
                    painter.setPen(QPen(toQColor(clWindowText), 1, Qt::DotLine));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(rect.adjusted(0, 0, -1, -1));
                }
            }
            paintGridLines(left, top, col, row, rect);
        }
    }
    // Whatever lies beyond the last column and row shows the grid's colour.
    const QColor background = toQColor(color);
    if (x < width)
        painter.fillRect(QRect(x, 0, width - x, height).intersected(area), background);
    if (y < height)
        painter.fillRect(QRect(0, y, std::min(x, width), height - y).intersected(area), background);
    canvas.setPainter(nullptr);
}

void TStringGrid::paintGridLines(int x, int y, int col, int row, const QRect& cell)
{
    QPainter* painter = canvas.painter();
    const bool fixed = IsFixedCell(col, row);
    const QColor background = toQColor(fixed ? fixedColor : color);
    const int vertical = vertLineWidth();
    const int horizontal = horzLineWidth();
    if (vertical > 0) {
        const bool drawn = fixed ? bool(options & goFixedVertLine) : bool(options & goVertLine);
        painter->fillRect(QRect(x + cell.width(), y, vertical, cell.height() + horizontal),
                          drawn ? toQColor(fixed ? fixedLineColor : dataLineColor) : background);
    }
    if (horizontal > 0) {
        const bool drawn = fixed ? bool(options & goFixedHorzLine) : bool(options & goHorzLine);
        painter->fillRect(QRect(x, y + cell.height(), cell.width(), horizontal),
                          drawn ? toQColor(fixed ? fixedLineColor : dataLineColor) : background);
    }
}

void TStringGrid::DrawCell(int col, int row, const QRect& rect, GridDrawState state)
{
    if (defaultDrawing)
        canvas.TextRect(rect, rect.left() + 2, rect.top() + 2, Cells(col, row));
    emit OnDrawCell(this, col, row, rect, state);
}

// ---- mouse ----

int TStringGrid::sizingLine(const QPoint& position, Qt::Orientation& orientation) const
{
    if ((options & goColSizing) && position.y() < fixedHeight()) {
        int x = 0;
        for (int c = firstShown(fixedCols, leftCol); c < colCount && x <= position.x() + sizingMargin;
             c = nextShown(c, fixedCols, leftCol)) {
            x += colExtent(c);
            if (std::abs(position.x() - x) <= sizingMargin) {
                orientation = Qt::Horizontal;
                return c;
            }
        }
    }
    if ((options & goRowSizing) && position.x() < fixedWidth()) {
        int y = 0;
        for (int r = firstShown(fixedRows, topRow); r < rowCount && y <= position.y() + sizingMargin;
             r = nextShown(r, fixedRows, topRow)) {
            y += rowExtent(r);
            if (std::abs(position.y() - y) <= sizingMargin) {
                orientation = Qt::Vertical;
                return r;
            }
        }
    }
    return -1;
}

void TStringGrid::updateCursor(const QPoint& position)
{
    Qt::Orientation orientation = Qt::Horizontal;
    if (sizingLine(position, orientation) >= 0)
        viewport()->setCursor(orientation == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor);
    else
        viewport()->unsetCursor();
}

void TStringGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers shift = event->modifiers();
    if (button == Qt::LeftButton) {
        pressOnCurrent = false;
        if (EditorMode() && !(options & goAlwaysShowEditor))
            HideEditor();
        Qt::Orientation orientation = Qt::Horizontal;
        const int line = sizingLine(position, orientation);
        if (line >= 0) {
            gridState = orientation == Qt::Horizontal ? gsColSizing : gsRowSizing;
            sizingIndex = line;
            sizingOrigin = orientation == Qt::Horizontal ? position.x() - ColWidths(line) : position.y() - RowHeights(line);
        } else {
            const TGridCoord hit = MouseCoord(position.x(), position.y());
            if (hit.X >= 0 && hit.Y >= 0) {
                if (!IsFixedCell(hit.X, hit.Y)) {
                    if ((shift & Qt::ShiftModifier) && (options & goRangeSelect)) {
                        MoveAnchor(hit.X, hit.Y);
                    } else {
                        pressOnCurrent = hit == current && edge == current;
                        MoveCurrent(hit.X, hit.Y, true, true);
                    }
                    gridState = gsSelecting;
                } else if ((options & goRowMoving) && hit.X < fixedCols && hit.Y >= fixedRows) {
                    gridState = gsRowMoving;
                    movingIndex = hit.Y;
                } else if ((options & goColMoving) && hit.Y < fixedRows && hit.X >= fixedCols) {
                    gridState = gsColMoving;
                    movingIndex = hit.X;
                }
            }
        }
        viewport()->repaint();
    }
    event->accept();
    MouseDown(button, shift, position.x(), position.y());
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint position = event->position().toPoint();
        const TGridCoord hit = MouseCoord(position.x(), position.y());
        if (hit == current && (options & goEditing))
            ShowEditor();
    }
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    switch (gridState) {
    case gsSelecting: {
        // Past an edge the selection reaches one cell beyond it, which scrolls.
        const int width = viewport()->width();
        const int height = viewport()->height();
        TGridCoord hit = MouseCoord(std::clamp(position.x(), 0, width - 1), std::clamp(position.y(), 0, height - 1));
        const int baseCol = (options & goRangeSelect) ? edge.X : current.X;
        const int baseRow = (options & goRangeSelect) ? edge.Y : current.Y;
        int col = hit.X < 0 ? colCount - 1 : hit.X;
        int row = hit.Y < 0 ? rowCount - 1 : hit.Y;
        if (position.x() < fixedWidth())
            col = leftCol > fixedCols ? leftCol - 1 : fixedCols;
        else if (position.x() >= width)
            col = std::min(lastFullyVisibleCol() + 1, colCount - 1);
        if (position.y() < fixedHeight())
            row = topRow > fixedRows ? topRow - 1 : fixedRows;
        else if (position.y() >= height)
            row = std::min(lastFullyVisibleRow() + 1, rowCount - 1);
        col = std::clamp(col, fixedCols, colCount - 1);
        row = std::clamp(row, fixedRows, rowCount - 1);
        if (col != baseCol || row != baseRow) {
            if (options & goRangeSelect)
                MoveAnchor(col, row);
            else
                MoveCurrent(col, row, true, true);
            viewport()->repaint();
        }
        break;
    }
    case gsColSizing:
        setColWidths(sizingIndex, position.x() - sizingOrigin);
        break;
    case gsRowSizing:
        setRowHeights(sizingIndex, position.y() - sizingOrigin);
        break;
    case gsNormal:
        if (!(event->buttons() & Qt::LeftButton))
            updateCursor(position);
        break;
    default:
        break;
    }
    event->accept();
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    event->accept();
    MouseUp(event->button(), event->modifiers(), position.x(), position.y());
}

void TStringGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    emit OnMouseDown(button, shift, x, y);
}

void TStringGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (button == Qt::LeftButton) {
        const TGridState state = gridState;
        const bool onCurrent = pressOnCurrent;
        gridState = gsNormal;
        pressOnCurrent = false;
        const TGridCoord hit = MouseCoord(x, y);
        if (state == gsSelecting && onCurrent && hit == current && (options & goEditing))
            ShowEditor();
        else if (state == gsRowMoving && hit.Y >= fixedRows && hit.Y != movingIndex)
            MoveRow(movingIndex, hit.Y);
        else if (state == gsColMoving && hit.X >= fixedCols && hit.X != movingIndex)
            MoveColumn(movingIndex, hit.X);
        viewport()->update();
    }
    emit OnMouseUp(button, shift, x, y);
}

// ---- keys ----

void TStringGrid::keyPressEvent(QKeyEvent* event)
{
    handleKey(event);
}

void TStringGrid::handleKey(QKeyEvent* event)
{
    int key = event->key();
    KeyDown(key, event->modifiers());
    if (key == 0) {
        event->accept();
        viewport()->repaint();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty()) {
        QChar typed = text.at(0);
        KeyPress(typed);
        if (typed.isNull()) {
            event->accept();
            viewport()->repaint();
            return;
        }
    }
    event->ignore();
}

void TStringGrid::KeyDown(int& key, Qt::KeyboardModifiers shift)
{
    const bool extend = (shift & Qt::ShiftModifier) && (options & goRangeSelect);
    const bool ctrl = shift & Qt::ControlModifier;
    TGridCoord target = extend ? edge : current;
    bool anchored = extend;
    const int page = std::max(1, VisibleRowCount());
    switch (key) {
    case Qt::Key_Up: --target.Y; break;
    case Qt::Key_Down: ++target.Y; break;
    case Qt::Key_Left: --target.X; break;
    case Qt::Key_Right: ++target.X; break;
    case Qt::Key_PageUp:
        target.Y -= page;
        setTopRow(topRow - page);
        break;
    case Qt::Key_PageDown:
        target.Y += page;
        setTopRow(topRow + page);
        break;
    case Qt::Key_Home:
        if (ctrl)
            target.Y = fixedRows;
        target.X = fixedCols;
        break;
    case Qt::Key_End:
        if (ctrl)
            target.Y = rowCount - 1;
        target.X = colCount - 1;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!(options & goTabs))
            return;
        anchored = false;
        if (key == Qt::Key_Tab && !(shift & Qt::ShiftModifier)) {
            if (++target.X >= colCount) {
                target.X = fixedCols;
                target.Y = target.Y + 1 < rowCount ? target.Y + 1 : fixedRows;
            }
        } else if (--target.X < fixedCols) {
            target.X = colCount - 1;
            target.Y = target.Y - 1 >= fixedRows ? target.Y - 1 : rowCount - 1;
        }
        break;
    case Qt::Key_F2:
        if (!(options & goEditing))
            return;
        ShowEditor();
        key = 0;
        return;
    default:
        return;
    }
    target.X = std::clamp(target.X, fixedCols, colCount - 1);
    target.Y = std::clamp(target.Y, fixedRows, rowCount - 1);
    if (anchored)
        MoveAnchor(target.X, target.Y);
    else
        MoveCurrent(target.X, target.Y, true, true);
    key = 0;
}

void TStringGrid::KeyPress(QChar& key)
{
    if (!(options & goEditing))
        return;
    if (key == QLatin1Char('\r')) {
        if (!(options & goAlwaysShowEditor)) {
            if (EditorMode())
                HideEditor();
            else
                ShowEditor();
        }
        key = QChar();
        return;
    }
    if (key.isPrint() && !EditorMode()) {
        ShowEditor();
        if (EditorMode()) {
            editor->setText(QString(key));
            SetEditText(current.X, current.Y, editor->text());
            key = QChar();
        }
    }
}

bool TStringGrid::focusNextPrevChild(bool next)
{
    if (options & goTabs)
        return false; // Tab moves between cells
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- editor text ----

void TStringGrid::SetEditText(int col, int row, const QString& value)
{
    setCells(col, row, value);
}

QString TStringGrid::GetEditText(int col, int row) const
{
    return Cells(col, row);
}

// ---- focus ----

void TStringGrid::announceCurrentCell()
{
    if (!QAccessible::isActive() || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(int(std::min<qint64>(INT_MAX, qint64(current.Y) * colCount + current.X)));
    QAccessible::updateAccessibility(&event);
}

void TStringGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    // The reader goes on from the grid to the cell the user is on, so that the first
    // move reads one cell, not the row it starts in; queued, after the grid's own
    // focus notice.
    QMetaObject::invokeMethod(this, &TStringGrid::announceCurrentCell, Qt::QueuedConnection);
    noteFocusIn();
    if ((options & goEditing) && (options & goAlwaysShowEditor))
        ShowEditor();
}

void TStringGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    noteFocusOut(event->reason());
}

void TStringGrid::noteFocusIn()
{
    viewport()->repaint();
    if (focusInside)
        return;
    focusInside = true;
    DoEnter();
}

// Focus passing to the editor stays inside the grid; a window switch or a popup is
// no leaving either.
void TStringGrid::noteFocusOut(Qt::FocusReason reason)
{
    viewport()->update();
    QWidget* now = QApplication::focusWidget();
    if (now && (now == this || isAncestorOf(now)))
        return;
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !focusInside)
        return;
    focusInside = false;
    HideEditor();
    DoExit();
}

void TStringGrid::DoEnter()
{
    emit OnEnter(this);
}

void TStringGrid::DoExit()
{
    emit OnExit(this);
}

// ---- remaining steps ----

void TStringGrid::Click()
{
    emit OnClick(this);
}

bool TStringGrid::SelectCell(int col, int row)
{
    bool canSelect = true;
    emit OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

void TStringGrid::ColWidthsChanged() {}

void TStringGrid::RowHeightsChanged() {}

void TStringGrid::SizeChanged(int, int) {}

void TStringGrid::ScrollRangesChanged() {}

void TStringGrid::TopLeftChanged()
{
    emit OnTopLeftChanged(this);
}

void TStringGrid::RowMoved(int from, int to)
{
    emit OnRowMoved(this, from, to);
}

void TStringGrid::ColumnMoved(int from, int to)
{
    emit OnColumnMoved(this, from, to);
}

void TStringGrid::Resize()
{
    updateScrollRanges();
    updateEditorGeometry();
}

void TStringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Resize();
}

bool TStringGrid::event(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        if (editor)
            editor->setFont(font());
        viewport()->update();
    }
    return QAbstractScrollArea::event(event);
}

} // namespace fw
