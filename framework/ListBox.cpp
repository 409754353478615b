#include "framework/ListBox.h"

#include "framework/Accessible.h"
#include "system/TextFaces.h"

#include <QAccessible>

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace fw {

// Prepares the surface the way the windows do for an owner-drawn item, lets the
// handler draw, then adds the focus rectangle.
class ListBoxDelegate : public QStyledItemDelegate {
public:
    explicit ListBoxDelegate(TListBox* list) : QStyledItemDelegate(list), list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!list->drawHandler) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        const QColor fill = selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
        painter->save();
        painter->setFont(list->font());
        painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
        painter->setBrush(fill);
        painter->setClipRect(option.rect);
        list->drawHandler(*painter, index.row(), option.rect, fill);
        painter->restore();
        if ((option.state & QStyle::State_HasFocus) && list->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.rect = option.rect;
            focus.state = option.state;
            focus.backgroundColor = fill;
            list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, list);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (list->drawHandler)
            return QSize(option.rect.width(), list->itemHeight);
        return QStyledItemDelegate::sizeHint(option, index);
    }

    // Names come in every script: a plain item's text shows in a face that holds it
    // whole, so Qt never searches all installed fonts for a missing character.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!list->drawHandler && list->plainMarker && list->plainMarker(index.row())) {
            option->text += list->plainMark;
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText}) {
                const QColor text = option->palette.color(role);
                const QColor fill = option->palette.color(role == QPalette::Text ? QPalette::Base : QPalette::Highlight);
                option->palette.setColor(role, QColor((text.red() + fill.red()) / 2, (text.green() + fill.green()) / 2,
                                                      (text.blue() + fill.blue()) / 2));
            }
        }
        const QFont font = sys::fontForText(option->font, option->text);
        if (font != option->font) {
            option->font = font;
            option->fontMetrics = QFontMetrics(font);
        }
    }

    // A plainly drawn item whose text is cut shows the whole text as its tool tip;
    // elsewhere the list's own hint shows.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || list->drawHandler || !index.isValid())
            return false;
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        QStyle* style = view->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        // The item may be laid out wider than the list; only what the list shows counts.
        const QRect shown = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view) & view->viewport()->rect();
        const int room = shown.width() - 2 * margin;
        if (item.fontMetrics.horizontalAdvance(item.text) <= room)
            return false;
        QToolTip::showText(event->globalPos(), item.text, view->viewport(), option.rect);
        return true;
    }

private:
    TListBox* list;
};

TListBox::TListBox(QWidget* parent) : QListView(parent)
{
    setModel(&items);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new ListBoxDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QVariant TListBox::Entries::data(const QModelIndex& index, int role) const
{
    if (role != Qt::AccessibleDescriptionRole || !index.isValid())
        return QStringListModel::data(index, role);
    const QString position = spokenPosition(index.row(), rowCount());
    return list->selectionModel() && list->selectionModel()->isSelected(index)
               ? QStringLiteral("selected, ") + position
               : position;
}

void TListBox::announceCurrent()
{
    if (!QAccessible::isActive() || !hasFocus() || !currentIndex().isValid())
        return;
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = self ? self->tableInterface() : nullptr;
    if (!table)
        return;
    const int child = self->indexOfChild(table->cellAt(currentIndex().row(), 0));
    if (child < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(child);
    QAccessible::updateAccessibility(&focus);
}

void TListBox::focusInEvent(QFocusEvent* event)
{
    QListView::focusInEvent(event);
    // The list alone says only how many entries it has; the reader follows the focus
    // on to the entry the user is on, after the list's own focus notice.
    QMetaObject::invokeMethod(this, &TListBox::announceCurrent, Qt::QueuedConnection);
}

int TListBox::ItemIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void TListBox::setItemIndex(int index)
{
    if (index < 0 || index >= Count()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex row = items.index(index);
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    scrollTo(row);
}

int TListBox::TopIndex() const
{
    if (viewport()->height() <= 0)
        return -1;
    return indexAt(QPoint(1, 1)).row();
}

int TListBox::BottomIndex() const
{
    if (TopIndex() < 0)
        return -1;
    // The last row that shows any part, or the last item when the rows end above
    // the bottom edge.
    const int row = indexAt(QPoint(1, viewport()->height() - 1)).row();
    return row >= 0 ? row : Count() - 1;
}

QStringList TListBox::Items() const
{
    return items.stringList();
}

void TListBox::setItems(const QStringList& list)
{
    items.setStringList(list);
}

QString TListBox::itemText(int index) const
{
    return index >= 0 && index < Count() ? items.stringList().at(index) : QString();
}

void TListBox::setOwnerDraw(DrawItemHandler handler, int height)
{
    drawHandler = std::move(handler);
    itemHeight = height;
    // Item sizes are cached by the view; make it ask again.
    doItemsLayout();
    viewport()->update();
}

void TListBox::setPlainDraw()
{
    drawHandler = nullptr;
    doItemsLayout();
    viewport()->update();
}

QItemSelectionModel::SelectionFlags TListBox::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QListView::selectionCommand(index, event) == QItemSelectionModel::NoUpdate
               ? QItemSelectionModel::NoUpdate
               : QItemSelectionModel::ClearAndSelect;
}

void TListBox::mousePressEvent(QMouseEvent* event)
{
    // Only the left button selects, as in the standard list box.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
    pressedOnItem = indexAt(event->position().toPoint()).isValid();
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second press is a press like any other.
    mousePressEvent(event);
}

void TListBox::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && pressedOnItem && ItemIndex() >= 0) {
        pressedOnItem = false;
        // The press moved the focus before it selected: say the entry again, selected.
        announceCurrent();
        emit OnClick();
    }
}

void TListBox::keyPressEvent(QKeyEvent* event)
{
    const int before = ItemIndex();
    QListView::keyPressEvent(event);
    if (ItemIndex() != before && ItemIndex() >= 0)
        emit OnClick();
}

} // namespace fw
