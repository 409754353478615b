#include "app/Unit1.h"

#include "framework/Accessible.h"
#include "framework/Errors.h"
#include "framework/Fonts.h"
#include "preview/CharacterMap.h"
#include "preview/Unit2.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolBar>
#include <QToolButton>

namespace {

// Whether a one-line field shows less than its whole text.
bool isCut(const QLineEdit* field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    const QRect room = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field)
                           .marginsRemoved(field->textMargins());
    constexpr int innerMargins = 2 * 2; // the line edit's own margin on each side
    return field->fontMetrics().horizontalAdvance(field->text()) > room.width() - innerMargins;
}

// A read-only field whose text is cut shows the whole text as its tool tip.
void tipWhenCut(QLineEdit* field)
{
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [field] { field->setToolTip(isCut(field) ? field->text() : QString()); });
}

// Ties a caption to its field, and keeps the whole caption left of the field:
// a face that stands in for Tahoma may be wider, so the caption's font shrinks,
// and only when even the smallest size is too wide is the caption cut short.
void captionFor(QLabel* caption, QWidget* field)
{
    caption->setBuddy(field);
    // Read as the field's name: "Facename", not "Facename :".
    QString spoken = caption->text();
    if (spoken.endsWith(QLatin1String(" :")))
        spoken.chop(2);
    caption->setAccessibleName(spoken);
    constexpr int gap = 2;
    const int room = field->x() - caption->x() - gap;
    caption->setFont(fw::fittingFont(caption->font(), caption->text(), room));
    caption->adjustSize();
    if (caption->width() > room) {
        caption->setToolTip(caption->text());
        caption->setText(caption->fontMetrics().elidedText(caption->text(), Qt::ElideRight, room));
        caption->resize(room, caption->height());
    }
}

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

// Assistive tools see the program's own windows as windows, About as a dialog, not
// as bare panes, split tool buttons as both a button and a menu, drop-downs by their
// names, and one-line fields with their whole text.
QAccessibleInterface* windowAccessible(const QString& className, QObject* object)
{
    static const QStringList windows = {QStringLiteral("TForm1"), QStringLiteral("TForm2")};
    if (className == QLatin1String("TForm3") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    if (windows.contains(className) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (auto* field = qobject_cast<QLineEdit*>(object); className == QLatin1String("QLineEdit") && field)
        return new LineEditAccessible(field);
    if (auto* box = qobject_cast<QComboBox*>(object); className == QLatin1String("QComboBox") && box)
        return new ComboBoxAccessible(box);
    auto* tool = qobject_cast<QToolButton*>(object);
    if (className == QLatin1String("QToolButton") && tool && tool->popupMode() == QToolButton::MenuButtonPopup)
        return new SplitButtonAccessible(tool);
    return nullptr;
}

} // namespace

void TForm1::installAccessibleWindows()
{
    static const bool installed = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(installed);
}

void TForm1::prepareForKeyboardAndReaders()
{
    // Names a person would say.
    const std::pair<QWidget*, const char*> spoken[] = {
        {GradientButton6, fw::minimiseSpoken}, {GradientButton5, fw::closeSpoken},
        {ListBox1, "Font faces"},     {FileListBox1, "Font files"},  {TrackBar1, "Auto view delay"},
        {Edit2, "Face name"},         {ListBox3, "Source files"},    {ListBox4, "Charsets"},
        {Edit3, "File name"},         {Edit4, "File path"},          {Edit5, "Face name"},
        {Edit6, "File size"},         {Edit1, "Sample text"},        {ComboBox1, "Sample choice"},
        {FontSize, "Font size"},      {UpDown1, "Font size steps"},  {BoldButton, "Bold"},
        {ItalicButton, "Italic"},     {UnderlineButton, "Underline"}, {ToolButton1, "Print current font"},
        {ToolButton3, "Colour"},      {SortableGrid1, "Character map"},
    };
    for (const auto& [control, name] : spoken)
        control->setAccessibleName(QString::fromLatin1(name));
    // The drop-down's field takes the focus in its place.
    if (QLineEdit* field = ComboBox1->lineEdit())
        field->setAccessibleName(ComboBox1->accessibleName());
    SortableGrid1->setAccessibleCellNamer(
        [this](int column, int row) { return preview::cellSpokenName(SortableGrid1->Cells(column, row), mapEightBit); });

    const std::pair<const char*, QWidget*> captions[] = {
        {"Label1", Edit2}, {"Label2", ListBox3}, {"Label3", ListBox4},
        {"Label11", Edit3}, {"Label12", Edit4}, {"Label13", Edit5}, {"Label14", Edit6},
    };
    for (const auto& [name, field] : captions) {
        if (auto* caption = field->parentWidget()->findChild<QLabel*>(QString::fromLatin1(name)))
            captionFor(caption, field);
    }
    for (QLineEdit* field : {Edit2, Edit3, Edit4, Edit5, Edit6})
        tipWhenCut(field);

    // Tab goes over the window from top left to bottom right; Qt skips the hidden
    // list, panel and disabled view button on the way.
    const QList<QWidget*> order = {
        ListBox1, FileListBox1, Button7, Button6, Button5, CheckBox1, TrackBar1,
        Edit2, ListBox3, ListBox4, GradientButton1, Edit3, Edit4, Edit5, Edit6, GradientButton2,
        Edit1, ComboBox1, FontSize, UpDown1, BoldButton, ItalicButton, UnderlineButton, ToolButton1, ToolButton3,
        ComboBox2, SortableGrid1, Button4, Button3, GradientButton7, GradientButton10, GradientButton8, GradientButton9,
        GradientButton6, GradientButton5,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // Tab and Shift+Tab leave the sample; Ctrl+Tab types a tab into it.
    Edit1->setTabChangesFocus(true);
    Edit1->installEventFilter(this);
    SortableGrid1->installEventFilter(this);
    // While Enter holds the zoom open, it follows the cell the arrows move to.
    fw::connectHandler(SortableGrid1, &TSortableGrid::OnClick, this, [this] {
        if (zoomLatched && Form2 && Form2->isVisible())
            SortableGrid1MouseDown(Qt::NoButton, {}, 0, 0);
    });
    // The view buttons choose what the list shows, as the tabs of a tab bar do.
    for (TGradientButton* view : {Button7, Button6, Button5})
        view->setPageTab(true);
    fw::exposeAccessibleIds(this);
    ListBox1->setFocus(Qt::OtherFocusReason);
}

bool TForm1::keyboardEvent(QObject* watched, QEvent* event)
{
    // A zoom the keys opened closes when the map loses the focus, since its
    // closing key would go elsewhere.
    if (watched == SortableGrid1 && event->type() == QEvent::FocusOut && Form2 && Form2->isVisible()
        && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        zoomLatched = false;
        fw::guard([this] { SortableGrid1MouseUp(Qt::NoButton, {}, 0, 0); });
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == SortableGrid1)
        return SortableGrid1Key(key);
    if (key->type() == QEvent::KeyPress && key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
        Edit1->insertPlainText(QStringLiteral("\t"));
        return true;
    }
    return false;
}

bool TForm1::SortableGrid1Key(QKeyEvent* key)
{
    const bool press = key->type() == QEvent::KeyPress;
    const bool zoomShown = Form2 && Form2->isVisible();
    switch (key->key()) {
    case Qt::Key_Space:
        // Held down: shown on the first press, hidden on the last release.
        if (!key->isAutoRepeat())
            fw::guard([&] {
                if (press)
                    SortableGrid1MouseDown(Qt::NoButton, key->modifiers(), 0, 0);
                else
                    SortableGrid1MouseUp(Qt::NoButton, key->modifiers(), 0, 0);
            });
        zoomLatched = false;
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (press)
            fw::guard([&] {
                zoomLatched = !(zoomShown && zoomLatched);
                if (zoomLatched)
                    SortableGrid1MouseDown(Qt::NoButton, key->modifiers(), 0, 0);
                else
                    SortableGrid1MouseUp(Qt::NoButton, key->modifiers(), 0, 0);
            });
        return true;
    case Qt::Key_Escape:
        if (!zoomShown)
            return false;
        if (press)
            fw::guard([&] { SortableGrid1MouseUp(Qt::NoButton, key->modifiers(), 0, 0); });
        zoomLatched = false;
        return true;
    default:
        return false;
    }
}
