#pragma once

#include "framework/StringGrid.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TSortableGrid;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVertAlignment { taTopJustify, taBottomJustify, taMiddle };
enum TCellBevelStyle { cbNone, cbRaised, cbLowered };

// How a cell is drawn, handed to OnGetCellFormat before each cell is drawn or
// measured. Brush and Font are the canvas's own: changing them changes the cell.
struct TFormatOptions {
    fw::TBrush& Brush;
    fw::TFont& Font;
    TAlignment HorzAlign;
    TVertAlignment VertAlign;
    TCellBevelStyle Bevel;
    TColor LightColor;  // top and left bevel edges
    TColor ShadowColor; // bottom and right bevel edges
    bool NoText = false;
};

enum TSortKind : std::uint8_t { skAuto, skText, skNumber, skDateTime, skTime, skCustom };

// The options of one sort.
struct TSortOptions {
    TSortKind Kind = skAuto;
    bool Descending = false;
    bool MatchCase = false;
    // The comparison for skCustom: negative, zero or positive.
    std::function<int(const QString&, const QString&)> Compare;
};

// One data row before the sort: its key (the cell text) and where it came from.
struct TSortedListEntry {
    QString Key;
    std::int32_t RowIndex = 0;
};

// The rows of the last sort in sorted order: position i came from row RowIndex.
class TSortedList {
public:
    int Count() const { return int(entries.size()); }
    const TSortedListEntry& Items(int index) const { return *entries.at(std::size_t(index)); }
    void Add(const QString& key, int rowIndex);
    void Clear() { entries.clear(); }
    // Puts the entries in the given order of their current positions.
    void Reorder(const std::vector<int>& positions);
    void Move(int from, int to);

private:
    std::vector<std::unique_ptr<TSortedListEntry>> entries;
};

// The string grid with cell alignment, bevels, a per-cell format event, proportional
// scroll bars, row and column editing commands, delimited text files, edit
// validation, and sorting of its data rows by a column.
//
// Events are signals. Those with reference parameters (OnGetCellFormat, OnClickSort,
// OnBeginSort, OnCellValidate) hand values back to the grid and so need direct
// connections, Qt's default within one thread; a queued connection would lose them.
class TSortableGrid : public fw::TStringGrid {
    Q_OBJECT
public:
    explicit TSortableGrid(QWidget* parent = nullptr);
    ~TSortableGrid() override;

    bool CaseSensitive() const { return caseSensitive; }
    void setCaseSensitive(bool on) { caseSensitive = on; }
    TAlignment AlignmentHorz() const { return alignmentHorz; }
    void setAlignmentHorz(TAlignment value);
    TVertAlignment AlignmentVert() const { return alignmentVert; }
    void setAlignmentVert(TVertAlignment value);
    bool ClickSorting() const { return clickSorting; }
    void setClickSorting(bool on) { clickSorting = on; }
    TCellBevelStyle BevelStyle() const { return bevelStyle; }
    void setBevelStyle(TCellBevelStyle value);
    bool ProportionalScrollBars() const { return proportionalScrollBars; }
    void setProportionalScrollBars(bool on);
    bool ExtendedKeys() const { return extendedKeys; }
    void setExtendedKeys(bool on) { extendedKeys = on; }

    // Whether a committed edit changed a cell since the last validation.
    bool Modified() const { return modified; }
    // The row order of the last sort, kept for RestoreOrder.
    const TSortedList& SortedList() const { return sortedList; }

    virtual void DoSortColumn(int col, TSortOptions options);
    virtual TSortKind GuessSortKind(int col) const;
    virtual void UpdateScrollPages();
    virtual void RememberCell();
    virtual void GoToCell(int col, int row);
    virtual void ClearCells();
    virtual void InsertRowAt(int row);
    virtual void InsertColumnAt(int col);
    virtual void RemoveRow(int row);
    virtual void RemoveColumn(int col);
    virtual void ShiftRow(int from, int to);
    virtual void ShiftColumn(int from, int to);
    virtual void ExchangeRows(int a, int b);
    virtual void ExchangeColumns(int a, int b);
    virtual void FitColumn(int col);
    virtual void FitAllColumns(bool includeFixed, int extra);
    virtual void SortColumn(int col, TSortOptions options);
    // Finds the first cell equal to the text ignoring letter case, column by column.
    // Sets col and row to -1 when there is none.
    virtual bool LocateText(const QString& text, int& col, int& row) const;
    // Replaces the grid's contents with the lines of a text file split at the
    // separator (UTF-8; no quoting). Raises fw::Error when the file cannot be read,
    // leaving the grid empty.
    virtual void LoadDelimited(const QString& fileName, QChar separator);
    // Writes every row, fixed ones included, as one line of cells joined by the
    // separator. Raises fw::Error when the file cannot be written.
    virtual void SaveDelimited(const QString& fileName, QChar separator) const;
    virtual bool SortMapValid();
    virtual void RestoreOrder();
    virtual void ValidateCell();

signals:
    void OnGetCellFormat(TSortableGrid* sender, int col, int row, fw::GridDrawState state, TFormatOptions& options);
    void OnClickSort(TSortableGrid* sender, int col, int row, TSortOptions& options);
    void OnRowInsert(TSortableGrid* sender, int index);
    void OnRowDelete(TSortableGrid* sender, int index);
    void OnColumnInsert(TSortableGrid* sender, int index);
    void OnColumnDelete(TSortableGrid* sender, int index);
    void OnColumnWidthsChanged(TSortableGrid* sender);
    void OnRowHeightsChanged(TSortableGrid* sender);
    void OnSizeChanged(TSortableGrid* sender, int oldColCount, int oldRowCount);
    void OnBeginSort(TSortableGrid* sender, int col, TSortOptions& options);
    void OnEndSort(TSortableGrid* sender, int col);
    void OnCellValidate(TSortableGrid* sender, int col, int row, QString& value, bool& valid);

protected:
    void DrawCell(int col, int row, const QRect& rect, fw::GridDrawState state) override;
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) override;
    void KeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void KeyPress(QChar& key) override;
    void SetEditText(int col, int row, const QString& value) override;
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void Resize() override;
    void ScrollRangesChanged() override;
    void RowMoved(int from, int to) override;
    void ColumnMoved(int from, int to) override;

private:
    TFormatOptions startFormat(fw::TCanvas& canvas) const;
    void withoutAlwaysShowEditor(const std::function<void()>& step);
    void clickSort(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    bool caseSensitive = false;
    TAlignment alignmentHorz = taLeftJustify;
    TVertAlignment alignmentVert = taTopJustify;
    bool clickSorting = true;
    TCellBevelStyle bevelStyle = cbNone;
    bool proportionalScrollBars = true;
    bool extendedKeys = false;

    TSortedList sortedList;
    bool modified = false;
    bool entered = false;
    // The remembered cell: where it is, its text and the modified flag at that time.
    int rememberedCol = 0;
    int rememberedRow = 0;
    QString rememberedText;
    bool rememberedModified = false;
};
