#include "framework/Accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

namespace fw {

namespace {
constexpr char hiddenProperty[] = "glyphwellHiddenFromReaders";

// A tool button with a menu arrow beside it: pressing it does what a click does, and
// its menu opens apart (Qt offers the menu twice and no press).
class SplitButtonAccessible : public QAccessibleWidget {
public:
    explicit SplitButtonAccessible(QToolButton* button) : QAccessibleWidget(button, QAccessible::ButtonMenu) {}

    QToolButton* button() const { return static_cast<QToolButton*>(widget()); }
    QString text(QAccessible::Text kind) const override
    {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? button()->toolTip() : text;
    }
    QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
    void doAction(const QString& name) override
    {
        if (!button()->isEnabled())
            return;
        if (name == pressAction())
            button()->click();
        else if (name == showMenuAction() && button()->menu()) // posted: the menu's loop must not hold the caller
            QMetaObject::invokeMethod(button(), &QToolButton::showMenu, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A drop-down named by what it chooses, its choice as its value. Qt names a combo box
// on Linux by its current text, so a reader heard the choice twice and never what
// it was for. Its children are Qt's: the list it drops down and, when it can be
// typed into, its field.
class ComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    // Its text, read only, is the choice shown: readers read a drop-down's choice there.
    QString text(int start, int end) const override { return box()->currentText().mid(start, end - start); }
    int characterCount() const override { return int(box()->currentText().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        state.editable = box()->isEditable();
        return state;
    }
    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        return index == 1 && box()->isEditable() ? QAccessible::queryAccessibleInterface(box()->lineEdit()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        return box()->isEditable() && child->object() == box()->lineEdit() ? 1 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& name) override
    {
        // Posted: the caller's request returns before the list is up.
        if ((name == showMenuAction() || name == pressAction()) && box()->isEnabled())
            QMetaObject::invokeMethod(box(), &QComboBox::showPopup, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A one-line field's text for assistive tools. Qt's own gives every character a text
// run of no length, from which Orca works out what to speak and drops the last
// character ("DejaVu Sans Ligh", "2" for 24); here the whole text is one run.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* field) : QAccessibleWidget(field, QAccessible::EditableText) {}

    QLineEdit* field() const { return static_cast<QLineEdit*>(widget()); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !field()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? field()->displayText() : QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override
    {
        if (kind == QAccessible::Value && !field()->isReadOnly())
            field()->setText(text);
        else
            QAccessibleWidget::setText(kind, text);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !field()->isReadOnly();
        state.readOnly = field()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    QString text(int start, int end) const override { return field()->displayText().mid(start, end - start); }
    int characterCount() const override { return int(field()->displayText().size()); }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(position); }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index != 0 || !field()->hasSelectedText())
            return;
        *start = field()->selectionStart();
        *end = *start + int(field()->selectedText().size());
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { field()->deselect(); }
    void setSelection(int, int start, int end) override { field()->setSelection(start, end - start); }
    QRect characterRect(int offset) const override
    {
        // Measured from where the text starts, without the field's scrolling.
        const QFontMetrics metrics = field()->fontMetrics();
        const QString shown = field()->displayText();
        const QRect contents = field()->contentsRect().marginsRemoved(field()->textMargins());
        const QPoint origin(contents.left() + 2 + metrics.horizontalAdvance(shown.left(offset)), contents.top());
        const QRect cell(origin, QSize(metrics.horizontalAdvance(shown.mid(offset, 1)), contents.height()));
        return QRect(field()->mapToGlobal(cell.topLeft()), cell.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return field()->cursorPositionAt(field()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override
    {
        field()->setCursorPosition(end);
        field()->setCursorPosition(start);
    }
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override
    {
        if (field()->isReadOnly())
            return;
        field()->setSelection(start, end - start);
        field()->insert(text);
    }
};

// Qt selects a field's whole text on Tab before it tells assistive tools the field has
// the focus, so a reader spoke the selection, then the field and its selection again.
// Here the field takes the focus first and selects its text a moment after: by then
// the reader knows the field, and the selection is said once, with it.
class SelectAfterFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn || !watched->isWidgetType())
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason && reason != Qt::ShortcutFocusReason)
            return false;
        // An editable drop-down hands its focus on to its field.
        auto* box = qobject_cast<QComboBox*>(watched);
        QLineEdit* field = box ? box->lineEdit() : qobject_cast<QLineEdit*>(watched);
        if (!field || !field->inputMask().isEmpty() || field->hasSelectedText())
            return false;
        auto* target = static_cast<QWidget*>(watched);
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(target, &plain);
        QMetaObject::invokeMethod(
            field,
            [target = QPointer<QWidget>(target), field] {
                if (target && target->hasFocus() && !field->hasSelectedText())
                    field->selectAll();
            },
            Qt::QueuedConnection);
        return true;
    }
};

} // namespace

void selectFieldsAfterFocus()
{
    static QPointer<SelectAfterFocus> filter;
    if (!filter && qApp) {
        filter = new SelectAfterFocus(qApp);
        qApp->installEventFilter(filter);
    }
}

QAccessibleInterface* controlAccessible(const QString& className, QObject* object)
{
    if (auto* field = qobject_cast<QLineEdit*>(object); className == QLatin1String("QLineEdit") && field)
        return new LineEditAccessible(field);
    if (auto* box = qobject_cast<QComboBox*>(object); className == QLatin1String("QComboBox") && box)
        return new ComboBoxAccessible(box);
    auto* tool = qobject_cast<QToolButton*>(object);
    if (className == QLatin1String("QToolButton") && tool && tool->popupMode() == QToolButton::MenuButtonPopup)
        return new SplitButtonAccessible(tool);
    return nullptr;
}

bool accessibleIdsWanted()
{
    return qEnvironmentVariable(accessibleIdsVariable) == QLatin1String("1");
}

void exposeAccessibleIds(QWidget* window)
{
    const bool ids = accessibleIdsWanted();
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : std::as_const(controls)) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        // Empty, a reader falls back to the tool tip; a hint "Font Size|Select font size"
        // shows its first part as the tip and gives its second as the description.
        const QString hint = control->toolTip();
        const qsizetype bar = hint.indexOf(QLatin1Char('|'));
        control->setAccessibleDescription(ids ? control->objectName() : bar >= 0 ? hint.mid(bar + 1) : QString());
    }
}

void hideFromReaders(QWidget* widget)
{
    widget->setProperty(hiddenProperty, true);
}

bool hiddenFromReaders(const QObject* object)
{
    return object && object->property(hiddenProperty).toBool();
}

QString spokenPosition(int index, int count)
{
    return QStringLiteral("%1 of %2").arg(index + 1).arg(count);
}

QString spokenCellPlace(int row, int col)
{
    return QStringLiteral("row %1, column %2").arg(row + 1).arg(col + 1);
}

} // namespace fw
