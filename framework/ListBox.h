#pragma once

#include <QListView>
#include <QPainter>
#include <QStringListModel>
#include <functional>

namespace fw {

// The standard list box: single selection, items as text, the selection read and
// set as an index (-1 for none). Only the user's own selection raises OnClick;
// setting the index by program never does. Items may be drawn by a handler
// (owner-drawn, fixed height) or plainly in the list's font. The items are one
// shared string list, so filling a list with thousands of names costs nothing.
class TListBox : public QListView {
    Q_OBJECT
public:
    // Draws one item. The painter comes prepared: the list's font, the text colour
    // and `fill` (highlight colours when selected); the handler fills and writes.
    using DrawItemHandler = std::function<void(QPainter& painter, int index, const QRect& rect, const QColor& fill)>;

    explicit TListBox(QWidget* parent = nullptr);

    int ItemIndex() const;
    void setItemIndex(int index);
    int Count() const { return int(items.rowCount()); }
    QStringList Items() const;
    void setItems(const QStringList& items);
    QString itemText(int index) const;
    // The first and the last item in view, both -1 when the list shows none.
    int TopIndex() const;
    int BottomIndex() const;

    // Owner-drawn items of a fixed height through the handler, or plain items.
    void setOwnerDraw(DrawItemHandler handler, int itemHeight);
    void setPlainDraw();
    // Plain items the marker picks are greyed halfway to the fill and end with `mark`.
    void setPlainMarker(std::function<bool(int index)> marker, const QString& mark)
    {
        plainMarker = std::move(marker);
        plainMark = mark;
    }
    bool isOwnerDrawn() const { return bool(drawHandler); }
    int ownerItemHeight() const { return itemHeight; }

signals:
    void OnClick();

protected:
    // One entry is always the whole selection: Ctrl does not deselect it, and a press
    // beside the entries keeps it.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    void focusInEvent(QFocusEvent* event) override;

private:
    friend class ListBoxDelegate;
    // The entries; each also tells assistive tools whether it is selected and
    // where it stands ("selected, 3 of 6").
    class Entries : public QStringListModel {
    public:
        explicit Entries(TListBox* list) : list(list) {}
        QVariant data(const QModelIndex& index, int role) const override;

    private:
        TListBox* list;
    };
    // Tells assistive tools that the current entry has the focus, with its state.
    void announceCurrent();

    Entries items{this};
    DrawItemHandler drawHandler;
    std::function<bool(int index)> plainMarker;
    QString plainMark;
    int itemHeight = 16;
    bool pressedOnItem = false;
};

} // namespace fw
