#include "widgets/SortableGrid.h"

#include "framework/Errors.h"

#include <QApplication>
#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <exception>

namespace {

[[noreturn]] void indexError()
{
    throw fw::Error(QStringLiteral("Grid index out of range"));
}

// ---- conversions of cell texts, each reporting failure ----

// The locale's conversions of a cell text to a number, a time or a date and time
// (a date alone counts, at midnight). Made once per guess or sort: the formats are
// looked up once, and numbers are read through a named locale when its symbols are
// the system locale's, which answers without asking the system for each one.
class Conversions {
public:
    Conversions()
        : numbers(system),
          timeShort(system.timeFormat(QLocale::ShortFormat)),
          timeLong(system.timeFormat(QLocale::LongFormat)),
          dateTimeShort(system.dateTimeFormat(QLocale::ShortFormat)),
          dateTimeLong(system.dateTimeFormat(QLocale::LongFormat)),
          dateShort(system.dateFormat(QLocale::ShortFormat)),
          dateLong(system.dateFormat(QLocale::LongFormat))
    {
        QLocale named(system.name());
        named.setNumberOptions(system.numberOptions());
        if (sameNumberSymbols(named, system))
            numbers = named;
    }

    bool toNumber(const QString& text, double& value) const
    {
        if (text.isEmpty())
            return false;
        bool ok = false;
        value = numbers.toDouble(text, &ok);
        return ok;
    }

    bool toTime(const QString& text, qint64& value) const
    {
        if (text.isEmpty())
            return false;
        for (const QString* format : {&timeShort, &timeLong}) {
            const QTime time = system.toTime(text, *format);
            if (time.isValid()) {
                value = time.msecsSinceStartOfDay();
                return true;
            }
        }
        return false;
    }

    bool toDateTime(const QString& text, qint64& value) const
    {
        if (text.isEmpty())
            return false;
        for (const QString* format : {&dateTimeShort, &dateTimeLong}) {
            const QDateTime stamp = system.toDateTime(text, *format);
            if (stamp.isValid()) {
                value = stamp.toMSecsSinceEpoch();
                return true;
            }
        }
        for (const QString* format : {&dateShort, &dateLong}) {
            const QDate date = system.toDate(text, *format);
            if (date.isValid()) {
                value = date.startOfDay().toMSecsSinceEpoch();
                return true;
            }
        }
        return false;
    }

private:
    static bool sameNumberSymbols(const QLocale& a, const QLocale& b)
    {
        return a.decimalPoint() == b.decimalPoint() && a.groupSeparator() == b.groupSeparator()
            && a.negativeSign() == b.negativeSign() && a.positiveSign() == b.positiveSign()
            && a.exponential() == b.exponential() && a.zeroDigit() == b.zeroDigit()
            && a.percent() == b.percent();
    }

    QLocale system;
    QLocale numbers;
    QString timeShort;
    QString timeLong;
    QString dateTimeShort;
    QString dateTimeLong;
    QString dateShort;
    QString dateLong;
};

// ---- the comparison of a sort ----

// The options of the sort that runs, shared by all grids while it runs.
const TSortOptions* runningSort = nullptr;

class RunningSort {
public:
    explicit RunningSort(const TSortOptions& options) : previous(runningSort) { runningSort = &options; }
    ~RunningSort() { runningSort = previous; }
    RunningSort(const RunningSort&) = delete;
    RunningSort& operator=(const RunningSort&) = delete;

private:
    const TSortOptions* previous;
};

// Upper case for the letters a-z only; every other character stays as it is.
QString upperAscii(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

// A key made ready for comparing once, so that no comparison converts again.
struct PreparedKey {
    QByteArray bytes; // text kinds: the UTF-8 bytes
    QString text;     // skCustom
    double number = 0;
    qint64 stamp = 0;
    bool converted = false;
};

PreparedKey prepareKey(const QString& key, const TSortOptions& options, const Conversions& convert)
{
    const QString text = options.MatchCase ? key : upperAscii(key);
    PreparedKey prepared;
    switch (options.Kind) {
    case skNumber: prepared.converted = convert.toNumber(text, prepared.number); break;
    case skDateTime: prepared.converted = convert.toDateTime(text, prepared.stamp); break;
    case skTime: prepared.converted = convert.toTime(text, prepared.stamp); break;
    case skCustom: prepared.text = text; break;
    default: prepared.bytes = text.toUtf8(); break;
    }
    return prepared;
}

template <typename T> int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareBytes(const QByteArray& a, const QByteArray& b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int result = common > 0 ? std::memcmp(a.constData(), b.constData(), std::size_t(common)) : 0;
    if (result != 0)
        return result < 0 ? -1 : 1;
    return threeWay(a.size(), b.size());
}

// Equal keys go by their earlier row before the direction applies, so the order of
// equal keys is kept both ways.
int compareEntries(const PreparedKey& lhs, int lhsRow, const PreparedKey& rhs, int rhsRow)
{
    const TSortOptions& options = *runningSort;
    int result = 0;
    switch (options.Kind) {
    case skNumber:
        if (lhs.converted && rhs.converted)
            result = threeWay(lhs.number, rhs.number);
        break;
    case skDateTime:
    case skTime:
        if (lhs.converted && rhs.converted)
            result = threeWay(lhs.stamp, rhs.stamp);
        break;
    case skCustom:
        result = options.Compare ? threeWay(options.Compare(lhs.text, rhs.text), 0) : 0;
        break;
    default:
        result = compareBytes(lhs.bytes, rhs.bytes);
        break;
    }
    if (result == 0)
        return threeWay(lhsRow, rhsRow);
    return options.Descending ? -result : result;
}

// A stable merge sort of positions. It stays within bounds whatever the comparison
// answers, which matters for keys that do not convert or a caller's own comparison.
template <typename Compare> void mergeSort(std::vector<int>& items, Compare compare)
{
    const std::size_t count = items.size();
    constexpr std::size_t run = 16;
    for (std::size_t start = 0; start < count; start += run) {
        const std::size_t end = std::min(start + run, count);
        for (std::size_t i = start + 1; i < end; ++i) {
            const int item = items[i];
            std::size_t j = i;
            while (j > start && compare(items[j - 1], item) > 0) {
                items[j] = items[j - 1];
                --j;
            }
            items[j] = item;
        }
    }
    std::vector<int> buffer(count);
    for (std::size_t width = run; width < count; width *= 2) {
        for (std::size_t low = 0; low < count; low += 2 * width) {
            const std::size_t middle = std::min(low + width, count);
            const std::size_t high = std::min(low + 2 * width, count);
            std::size_t left = low;
            std::size_t right = middle;
            std::size_t out = low;
            while (left < middle && right < high)
                buffer[out++] = compare(items[left], items[right]) <= 0 ? items[left++] : items[right++];
            while (left < middle)
                buffer[out++] = items[left++];
            while (right < high)
                buffer[out++] = items[right++];
        }
        items.swap(buffer);
    }
}

// The lines of a text file: UTF-8 (invalid bytes become replacement characters),
// a leading byte-order mark dropped, lines ended by CR LF, LF or CR.
QStringList readLines(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw fw::Error(QStringLiteral("Cannot open file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw fw::Error(QStringLiteral("Cannot read file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

} // namespace

// ---- sorted list ----

void TSortedList::Add(const QString& key, int rowIndex)
{
    auto entry = std::make_unique<TSortedListEntry>();
    entry->Key = key;
    entry->RowIndex = rowIndex;
    entries.push_back(std::move(entry));
}

void TSortedList::Reorder(const std::vector<int>& positions)
{
    std::vector<std::unique_ptr<TSortedListEntry>> sorted;
    sorted.reserve(positions.size());
    for (const int position : positions)
        sorted.push_back(std::move(entries.at(std::size_t(position))));
    entries = std::move(sorted);
}

void TSortedList::Move(int from, int to)
{
    auto entry = std::move(entries.at(std::size_t(from)));
    entries.erase(entries.begin() + from);
    entries.insert(entries.begin() + to, std::move(entry));
}

// ---- construction ----

TSortableGrid::TSortableGrid(QWidget* parent) : fw::TStringGrid(parent)
{
    RememberCell();
}

TSortableGrid::~TSortableGrid()
{
    sortedList.Clear();
}

void TSortableGrid::setAlignmentHorz(TAlignment value)
{
    if (alignmentHorz == value)
        return;
    alignmentHorz = value;
    viewport()->update();
}

void TSortableGrid::setAlignmentVert(TVertAlignment value)
{
    if (alignmentVert == value)
        return;
    alignmentVert = value;
    viewport()->update();
}

void TSortableGrid::setBevelStyle(TCellBevelStyle value)
{
    if (bevelStyle == value)
        return;
    bevelStyle = value;
    viewport()->update();
}

void TSortableGrid::setProportionalScrollBars(bool on)
{
    proportionalScrollBars = on;
    UpdateScrollPages();
}

// ---- drawing ----

TFormatOptions TSortableGrid::startFormat(fw::TCanvas& canvas) const
{
    TColor light = clWindow;
    TColor shadow = clWindow;
    if (bevelStyle == cbRaised) {
        light = clBtnHighlight;
        shadow = clBtnShadow;
    } else if (bevelStyle == cbLowered) {
        light = clBtnShadow;
        shadow = clBtnHighlight;
    }
    return TFormatOptions{canvas.Brush, canvas.Font, alignmentHorz, alignmentVert, bevelStyle, light, shadow, false};
}

void TSortableGrid::DrawCell(int col, int row, const QRect& rect, fw::GridDrawState state)
{
    fw::TCanvas& canvas = Canvas();
    TFormatOptions options = startFormat(canvas);
    emit OnGetCellFormat(this, col, row, state, options);
    if (!DefaultDrawing()) {
        fw::TStringGrid::DrawCell(col, row, rect, state);
        return;
    }
    const QString text = Cells(col, row);
    const int width = rect.width();
    const int height = rect.height();
    const int textWidth = canvas.TextWidth(text);
    const int textHeight = canvas.TextHeight(text);
    int x = 2;
    if (options.HorzAlign == taRightJustify)
        x = width - textWidth - 2;
    else if (options.HorzAlign == taCenter)
        x = (width - textWidth) / 2;
    int y = 2;
    if (options.VertAlign == taBottomJustify)
        y = height - textHeight - 3;
    else if (options.VertAlign == taMiddle)
        y = (height - textHeight) / 2;
    canvas.TextRect(rect, rect.left() + x, rect.top() + y, options.NoText ? QString() : text);

    // Bevels sit on data cells only, and only where the fixed-line options allow.
    if (options.Bevel == cbNone || col < FixedCols() || row < FixedRows())
        return;
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + width;
    const int bottom = rect.top() + height;
    const bool vertical = Options() & fw::goFixedVertLine;
    const bool horizontal = Options() & fw::goFixedHorzLine;
    canvas.Pen.Color = options.ShadowColor;
    if (vertical) {
        canvas.MoveTo(right - 1, top);
        canvas.LineTo(right - 1, bottom);
    }
    if (horizontal) {
        canvas.MoveTo(left, bottom - 1);
        canvas.LineTo(right, bottom - 1);
    }
    canvas.Pen.Color = options.LightColor;
    if (vertical) {
        canvas.MoveTo(left, top);
        canvas.LineTo(left, bottom);
    }
    if (horizontal) {
        canvas.MoveTo(left, top);
        canvas.LineTo(right, top);
    }
}

// ---- scroll bars ----

// The thumb shows the visible share of the rows (columns), fixed ones included.
void TSortableGrid::UpdateScrollPages()
{
    const auto setPage = [this](Qt::Orientation orientation, int visible, int fixed, int count) {
        const fw::TScrollInfo info = ScrollInfo(orientation);
        int page = 0;
        if (proportionalScrollBars) {
            const double share = (visible + fixed) * 1.0 / count * (info.Max - info.Min + 1);
            page = std::max(1, int(std::nearbyint(share))); // halves to even
        }
        setScrollPage(orientation, page);
    };
    if (ScrollBars() == fw::ssVertical || ScrollBars() == fw::ssBoth)
        setPage(Qt::Vertical, VisibleRowCount(), FixedRows(), RowCount());
    if (ScrollBars() == fw::ssHorizontal || ScrollBars() == fw::ssBoth)
        setPage(Qt::Horizontal, VisibleColCount(), FixedCols(), ColCount());
}

void TSortableGrid::Resize()
{
    fw::TStringGrid::Resize();
    UpdateScrollPages();
}

void TSortableGrid::ScrollRangesChanged()
{
    fw::TStringGrid::ScrollRangesChanged();
    UpdateScrollPages();
}

void TSortableGrid::ColWidthsChanged()
{
    fw::TStringGrid::ColWidthsChanged();
    emit OnColumnWidthsChanged(this);
    UpdateScrollPages();
}

void TSortableGrid::RowHeightsChanged()
{
    fw::TStringGrid::RowHeightsChanged();
    emit OnRowHeightsChanged(this);
    UpdateScrollPages();
}

void TSortableGrid::SizeChanged(int oldColCount, int oldRowCount)
{
    fw::TStringGrid::SizeChanged(oldColCount, oldRowCount);
    // A remembered cell that no longer exists is replaced by the current one.
    if (rememberedCol >= ColCount() || rememberedRow >= RowCount())
        RememberCell();
    emit OnSizeChanged(this, oldColCount, oldRowCount);
    UpdateScrollPages();
}

// ---- cell movement ----

void TSortableGrid::RememberCell()
{
    rememberedCol = Col();
    rememberedRow = Row();
    rememberedText = Cells(rememberedCol, rememberedRow);
    rememberedModified = modified;
}

void TSortableGrid::GoToCell(int col, int row)
{
    col = std::clamp(std::max(col, FixedCols()), 0, ColCount() - 1);
    row = std::clamp(std::max(row, FixedRows()), 0, RowCount() - 1);
    if (SelectCell(col, row))
        MoveCurrent(col, row, true, true, true);
}

void TSortableGrid::ClearCells()
{
    for (int r = 0; r < RowCount(); ++r)
        setRows(r, {});
    modified = false;
    RememberCell();
}

void TSortableGrid::withoutAlwaysShowEditor(const std::function<void()>& step)
{
    const fw::TGridOptions before = Options();
    if (!(before & fw::goAlwaysShowEditor)) {
        step();
        return;
    }
    setOptions(before & ~fw::TGridOptions(fw::goAlwaysShowEditor));
    try {
        step();
    } catch (...) {
        setOptions(before);
        throw;
    }
    setOptions(before);
}

void TSortableGrid::InsertRowAt(int row)
{
    if (row < 0 || row > RowCount())
        indexError();
    setRowCount(RowCount() + 1);
    ShiftRow(RowCount() - 1, row);
    setRows(row, {});
    if (row >= FixedRows())
        setRow(row);
    emit OnRowInsert(this, row);
}

void TSortableGrid::InsertColumnAt(int col)
{
    if (col < 0 || col > ColCount())
        indexError();
    setColCount(ColCount() + 1);
    ShiftColumn(ColCount() - 1, col);
    setCols(col, {});
    if (col >= FixedCols())
        setCol(col);
    emit OnColumnInsert(this, col);
}

void TSortableGrid::RemoveRow(int row)
{
    if (row < 0 || row >= RowCount())
        indexError();
    setRows(row, {});
    withoutAlwaysShowEditor([&] { DeleteRow(row); });
    emit OnRowDelete(this, row);
}

void TSortableGrid::RemoveColumn(int col)
{
    if (col < 0 || col >= ColCount())
        indexError();
    setCols(col, {});
    withoutAlwaysShowEditor([&] { DeleteColumn(col); });
    emit OnColumnDelete(this, col);
}

void TSortableGrid::ShiftRow(int from, int to)
{
    withoutAlwaysShowEditor([&] { MoveRow(from, to); });
}

void TSortableGrid::ShiftColumn(int from, int to)
{
    withoutAlwaysShowEditor([&] { MoveColumn(from, to); });
}

void TSortableGrid::ExchangeRows(int a, int b)
{
    if (a < b) {
        ShiftRow(b, a);
        ShiftRow(a + 1, b);
    } else if (b < a) {
        ShiftRow(a, b);
        ShiftRow(b + 1, a);
    }
}

void TSortableGrid::ExchangeColumns(int a, int b)
{
    if (a < b) {
        ShiftColumn(b, a);
        ShiftColumn(a + 1, b);
    } else if (b < a) {
        ShiftColumn(a, b);
        ShiftColumn(b + 1, a);
    }
}

namespace {

// Where an index ends up when the item at `from` moves to `to`.
int followMove(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < to && index > from && index <= to)
        return index - 1;
    if (to < from && index >= to && index < from)
        return index + 1;
    return index;
}

} // namespace

// The remembered cell and the sort map follow the rows they describe, so that a later
// validation looks at the edited text and a restore puts the rows where they were.
void TSortableGrid::RowMoved(int from, int to)
{
    fw::TStringGrid::RowMoved(from, to);
    rememberedRow = followMove(rememberedRow, from, to);
    const int first = FixedRows();
    if (sortedList.Count() > 0) {
        if (from >= first && to >= first && from - first < sortedList.Count() && to - first < sortedList.Count())
            sortedList.Move(from - first, to - first);
        else
            sortedList.Clear();
    }
}

void TSortableGrid::ColumnMoved(int from, int to)
{
    fw::TStringGrid::ColumnMoved(from, to);
    rememberedCol = followMove(rememberedCol, from, to);
}

// ---- column widths, search, files ----

void TSortableGrid::FitColumn(int col)
{
    if (col < 0 || col >= ColCount())
        indexError();
    fw::TCanvas& canvas = Canvas();
    const fw::TFont gridFont(font(), FontColor());
    int widest = 0;
    for (int r = 0; r < RowCount(); ++r) {
        canvas.Font = gridFont;
        TFormatOptions options = startFormat(canvas);
        emit OnGetCellFormat(this, col, r, DrawStateOf(col, r), options);
        widest = std::max(widest, canvas.TextWidth(Cells(col, r)));
    }
    canvas.Font = gridFont;
    setColWidths(col, widest + canvas.TextWidth(QStringLiteral("x")));
}

void TSortableGrid::FitAllColumns(bool includeFixed, int extra)
{
    for (int c = includeFixed ? 0 : FixedCols(); c < ColCount(); ++c) {
        FitColumn(c);
        if (extra != 0)
            setColWidths(c, ColWidths(c) + extra);
    }
}

bool TSortableGrid::LocateText(const QString& text, int& col, int& row) const
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            if (collator.compare(Cells(c, r), text) == 0) {
                col = c;
                row = r;
                return true;
            }
    col = -1;
    row = -1;
    return false;
}

void TSortableGrid::LoadDelimited(const QString& fileName, QChar separator)
{
    ClearCells();
    // The kept sort order belongs to the old contents.
    sortedList.Clear();
    const QStringList lines = readLines(fileName);
    std::vector<QStringList> fields;
    fields.reserve(std::size_t(lines.size()));
    qsizetype widest = FixedCols() + 1;
    for (const QString& line : lines) {
        fields.push_back(line.split(separator));
        widest = std::max(widest, fields.back().size());
    }
    setRowCount(int(std::min<qsizetype>(lines.size(), INT_MAX)));
    setColCount(FixedCols() + 1);
    setColCount(int(std::min<qsizetype>(widest, INT_MAX)));
    for (std::size_t i = 0; i < fields.size() && i < std::size_t(RowCount()); ++i)
        setRows(int(i), fields[i]);
    RememberCell();
}

void TSortableGrid::SaveDelimited(const QString& fileName, QChar separator) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw fw::Error(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    for (int r = 0; r < RowCount(); ++r)
        file.write((Rows(r).join(separator) + QLatin1Char('\n')).toUtf8());
    if (!file.commit())
        throw fw::Error(QStringLiteral("Cannot write file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

// ---- sorting ----

TSortKind TSortableGrid::GuessSortKind(int col) const
{
    const Conversions convert;
    bool numeric = true;
    bool time = true;
    bool dateTime = true;
    double number = 0;
    qint64 stamp = 0;
    for (int r = FixedRows(); r < RowCount() && (numeric || time || dateTime); ++r) {
        const QString text = Cells(col, r);
        if (numeric && !convert.toNumber(text, number))
            numeric = false;
        if (time && !convert.toTime(text, stamp))
            time = false;
        if (dateTime && !convert.toDateTime(text, stamp))
            dateTime = false;
    }
    if (numeric)
        return skNumber;
    if (dateTime)
        return skDateTime;
    if (time)
        return skTime;
    return skText;
}

void TSortableGrid::SortColumn(int col, TSortOptions options)
{
    if (EditorMode() || FixedRows() + 1 >= RowCount())
        return;
    if (col < 0 || col >= ColCount())
        indexError();
    if (options.Kind == skAuto)
        options.Kind = GuessSortKind(col);
    emit OnBeginSort(this, col, options);
    DoSortColumn(col, options);
    emit OnEndSort(this, col);
}

void TSortableGrid::DoSortColumn(int col, TSortOptions options)
{
    sortedList.Clear();
    const RunningSort running(options);
    const int first = FixedRows();
    const int count = RowCount() - first;
    const Conversions convert;
    std::vector<PreparedKey> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int r = first; r < RowCount(); ++r) {
        sortedList.Add(Cells(col, r), r);
        keys.push_back(prepareKey(sortedList.Items(r - first).Key, options, convert));
    }
    std::vector<int> positions(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        positions[std::size_t(i)] = i;
    mergeSort(positions, [&](int a, int b) {
        return compareEntries(keys[std::size_t(a)], first + a, keys[std::size_t(b)], first + b);
    });
    sortedList.Reorder(positions);

    // Whole rows move, fixed columns included; the current and remembered rows
    // follow their contents.
    std::vector<int> sources(static_cast<std::size_t>(count));
    int currentAt = Row() - first;
    int rememberedAt = rememberedRow;
    for (int i = 0; i < count; ++i) {
        const int source = sortedList.Items(i).RowIndex;
        sources[std::size_t(i)] = source;
        if (source == Row())
            currentAt = i;
        if (source == rememberedRow)
            rememberedAt = first + i;
    }
    ReorderRows(first, sources);
    rememberedRow = rememberedAt;
    GoToCell(Col(), first + currentAt);
}

bool TSortableGrid::SortMapValid()
{
    if (sortedList.Count() == RowCount() - FixedRows())
        return true;
    sortedList.Clear();
    return false;
}

void TSortableGrid::RestoreOrder()
{
    if (!SortMapValid() || sortedList.Count() == 0)
        return;
    const int first = FixedRows();
    const int count = sortedList.Count();
    // Row RowIndex of entry i takes back the row now at first + i.
    std::vector<int> sources(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        sources[std::size_t(sortedList.Items(i).RowIndex - first)] = first + i;
    const int currentRow = sortedList.Items(Row() - first).RowIndex;
    if (rememberedRow >= first && rememberedRow - first < count)
        rememberedRow = sortedList.Items(rememberedRow - first).RowIndex;
    ReorderRows(first, sources);
    sortedList.Clear();
    GoToCell(Col(), currentRow);
}

// ---- mouse and keys ----

void TSortableGrid::clickSort(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (!hasFocus() || !clickSorting || IsSizingOrMoving() || FixedRows() < 1)
        return;
    if (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return;
    int col = -1;
    int row = -1;
    MouseToCell(x, y, col, row);
    if (col < 0 || row < 0 || row > FixedRows() - 1)
        return;
    TSortOptions options;
    options.Kind = skAuto;
    options.Descending = button == Qt::RightButton;
    options.MatchCase = caseSensitive;
    emit OnClickSort(this, col, row, options);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    SortColumn(col, options);
}

void TSortableGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    // The grid's own release handling runs even when the sort fails.
    try {
        clickSort(button, shift, x, y);
    } catch (...) {
        fw::TStringGrid::MouseUp(button, shift, x, y);
        throw;
    }
    fw::TStringGrid::MouseUp(button, shift, x, y);
}

void TSortableGrid::KeyDown(int& key, Qt::KeyboardModifiers shift)
{
    const int pressed = key;
    fw::TStringGrid::KeyDown(key, shift);
    if (!extendedKeys || EditorMode())
        return;
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier) {
        if (pressed == Qt::Key_Insert) {
            InsertRowAt(Row());
            key = 0;
        } else if (pressed == Qt::Key_Delete && FixedRows() + 1 < RowCount()) {
            RemoveRow(Row());
            key = 0;
        }
    } else if (held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (pressed == Qt::Key_Insert) {
            InsertColumnAt(Col());
            key = 0;
        } else if (pressed == Qt::Key_Delete && FixedCols() + 1 < ColCount()) {
            RemoveColumn(Col());
            key = 0;
        }
    }
}

void TSortableGrid::KeyPress(QChar& key)
{
    if (key == QLatin1Char('\r'))
        ValidateCell();
    fw::TStringGrid::KeyPress(key);
}

// ---- edit bookkeeping ----

void TSortableGrid::SetEditText(int col, int row, const QString& value)
{
    if (value != Cells(col, row))
        modified = true;
    fw::TStringGrid::SetEditText(col, row, value);
}

void TSortableGrid::Click()
{
    try {
        fw::TStringGrid::Click();
    } catch (...) {
        if (entered)
            ValidateCell();
        throw;
    }
    if (entered)
        ValidateCell();
}

void TSortableGrid::DoEnter()
{
    try {
        fw::TStringGrid::DoEnter();
    } catch (...) {
        entered = true;
        RememberCell();
        throw;
    }
    entered = true;
    RememberCell();
}

void TSortableGrid::DoExit()
{
    std::exception_ptr failure;
    try {
        Click();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        fw::TStringGrid::DoExit();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    entered = false;
    if (failure)
        std::rethrow_exception(failure);
}

void TSortableGrid::ValidateCell()
{
    const int col = rememberedCol;
    const int row = rememberedRow;
    if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount()) {
        const QString text = Cells(col, row);
        if (text != rememberedText) {
            QString value = text;
            bool valid = true;
            emit OnCellValidate(this, col, row, value, valid);
            if (valid) {
                if (value != text)
                    setCells(col, row, value);
            } else {
                setCells(col, row, value != text ? value : rememberedText);
                modified = rememberedModified;
            }
        }
    }
    RememberCell();
}
