#include "app/Unit1.h"

#include "framework/Accessible.h"
#include "framework/Errors.h"
#include "framework/Fonts.h"
#include "preview/CharacterMap.h"
#include "preview/Unit2.h"

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

// Assistive tools see the program's own windows as windows, About as a dialog, not
// as bare panes; Qt's own controls as fw::controlAccessible shows them.
QAccessibleInterface* windowAccessible(const QString& className, QObject* object)
{
    static const QStringList windows = {QStringLiteral("TForm1"), QStringLiteral("TForm2")};
    if (className == QLatin1String("TForm3") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    if (windows.contains(className) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return fw::controlAccessible(className, object);
}

} // namespace

void TForm1::installAccessibleWindows()
{
    static const bool installed = (QAccessible::installFactory(windowAccessible), fw::selectFieldsAfterFocus(), true);
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
