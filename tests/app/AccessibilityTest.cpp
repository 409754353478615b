#include "tests/support/FormFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <map>
#include <tuple>

using Accessibility = FormFixture;

namespace {

QAccessibleInterface* accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// The controls Tab visits from the focused one until it comes back to it; a combo
// box's field stands for the combo box.
QStringList tabWalk()
{
    QStringList visited;
    QWidget* first = QApplication::focusWidget();
    do {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : "(none)");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (QApplication::focusWidget() != first && visited.size() < 60);
    return visited;
}

// What a reader walking the tree meets below a node, in its order, table cells left out.
QList<QAccessibleInterface*> reachable(QAccessibleInterface* node)
{
    QList<QAccessibleInterface*> met;
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i); child && child->role() != QAccessible::Cell)
            met << child << reachable(child);
    return met;
}

QStringList descriptionsBelow(QObject* object)
{
    QStringList heard;
    for (QAccessibleInterface* met : reachable(accessible(object)))
        heard << met->text(QAccessible::Description);
    return heard;
}

// Shows the window with the keyboard focus in it.
bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// What a reader finds when it asks the window what has the focus: name, description.
QString spokenFocus(QWidget* window)
{
    QAccessibleInterface* focus = accessible(window);
    while (focus && focus->focusChild() && focus->focusChild() != focus)
        focus = focus->focusChild();
    return focus ? focus->text(QAccessible::Name) + " | " + focus->text(QAccessible::Description) : "(none)";
}

} // namespace

TEST_F(Accessibility, GradientButtonsArePushButtonsPressedThroughTheirAction)
{
    TForm1& form = start();
    TForm3& about = *windows.form3;
    const auto buttons = form.findChildren<TGradientButton*>() + about.findChildren<TGradientButton*>();
    ASSERT_EQ(buttons.size(), 14);
    // The title strips' "_" and "X" are named as a person says them.
    const std::map<QObject*, QString> renamed = {
        {form.GradientButton6, "Minimise"}, {form.GradientButton5, "Close"}, {about.GradientButton5, "Close"}};
    for (TGradientButton* button : buttons) {
        const bool view = button == form.Button7 || button == form.Button6 || button == form.Button5;
        EXPECT_EQ(accessible(button)->role(), view ? QAccessible::PageTab : QAccessible::Button) << button->objectName().toStdString();
        EXPECT_EQ(accessible(button)->text(QAccessible::Name),
                  renamed.count(button) ? renamed.at(button) : button->Caption());
    }
    EXPECT_EQ(form.GradientButton6->Caption(), "_");
    EXPECT_EQ(about.GradientButton5->Caption(), "X");
    for (TGrainPanel* panel : form.findChildren<TGrainPanel*>()) {
        EXPECT_EQ(accessible(panel)->role(), QAccessible::Grouping);
        EXPECT_EQ(accessible(panel)->text(QAccessible::Name), "");
    }

    // The press action clicks as the mouse does; the current view's button does nothing.
    const auto press = [](TGradientButton* button) {
        accessible(button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    QSignalSpy faceViewClicks(form.Button7, &TGradientButton::OnClick);
    press(form.Button7);
    EXPECT_EQ(faceViewClicks.count(), 0);
    press(form.GradientButton9);
    EXPECT_TRUE(about.isVisible());
    press(about.GradientButton5);
    EXPECT_TRUE(about.isHidden());
}

TEST_F(Accessibility, TabVisitsTheVisibleControlsFromTopLeftToBottomRight)
{
    TForm1& form = start();
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(QApplication::focusWidget(), form.ListBox1);
    const QStringList rest = {"Edit1", "ComboBox1", "FontSize", "BoldButton", "ItalicButton", "UnderlineButton",
                              "ToolButton1", "ToolButton3", "ComboBox2", "SortableGrid1", "Button4", "Button3", "GradientButton7",
                              "GradientButton10", "GradientButton8", "GradientButton9", "GradientButton6",
                              "GradientButton5"};
    EXPECT_EQ(tabWalk(), QStringList({"ListBox1", "Button7", "Button6", "Button5", "CheckBox1", "TrackBar1", "Edit2", "ListBox3",
                                      "ListBox4", "GradientButton1"}) + rest);

    // Tab and Shift+Tab leave the sample untouched; Ctrl+Tab types a tab.
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(form.Edit1, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.GradientButton1);
    EXPECT_EQ(form.Edit1->toPlainText(), "\tType Sample Text Here");

    form.Button5Click();
    form.FileListBox1->setFocus();
    EXPECT_EQ(tabWalk(), QStringList({"FileListBox1", "Button7", "Button6", "Button5", "CheckBox1", "TrackBar1", "Edit3", "Edit4",
                                      "Edit5", "Edit6", "GradientButton2"}) + rest);
}

TEST_F(Accessibility, ControlsAreNamedCaptionedAndShowCutTextsWhole)
{
    TForm1& form = start();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const std::pair<QWidget*, QString> spoken[] = {
        {form.Edit2, "Face name"},   {form.ListBox3, "Source files"}, {form.ListBox4, "Charsets"},
        {form.Edit1, "Sample text"}, {form.FontSize, "Font size"},    {form.BoldButton, "Bold"},
        {form.ToolButton1, "Print current font"}, {form.ToolButton3, "Colour"}, {form.SortableGrid1, "Character map"},
    };
    for (const auto& [control, name] : spoken)
        EXPECT_EQ(accessible(control)->text(QAccessible::Name), name);
    // Drop-downs are named by what they choose; the choice is their value, and what
    // they drop down (and the field typed into) their children.
    const std::tuple<QComboBox*, QString, int> boxes[] = {{form.ComboBox1, "Sample choice", 2},
                                                          {form.ComboBox2, "Unicode block", 1}};
    for (const auto& [box, name, children] : boxes) {
        QAccessibleInterface* spokenBox = accessible(box);
        EXPECT_EQ(spokenBox->role(), QAccessible::ComboBox) << name.toStdString();
        EXPECT_EQ(spokenBox->text(QAccessible::Name), name);
        EXPECT_EQ(spokenBox->text(QAccessible::Value), box->currentText());
        QAccessibleTextInterface* shown = spokenBox->textInterface();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(0, shown->characterCount()), box->currentText());
        EXPECT_FALSE(box->currentText().isEmpty());
        ASSERT_EQ(spokenBox->childCount(), children);
        EXPECT_EQ(spokenBox->child(0)->object(), box->view());
        EXPECT_EQ(spokenBox->indexOfChild(spokenBox->child(children - 1)), children - 1);
        EXPECT_EQ(spokenBox->state().editable, children == 2);
        // A reader's "show menu" drops the list down, after its request has returned.
        spokenBox->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        EXPECT_FALSE(box->view()->isVisible());
        EXPECT_SOON(box->view()->isVisible());
        EXPECT_TRUE(spokenBox->state().expanded);
        box->hidePopup();
    }

    // Each caption is tied to its field, read without its " :", and keeps its whole
    // text left of it.
    const std::tuple<const char*, QWidget*, QString> captions[] = {
        {"Label1", form.Edit2, "Facename"},   {"Label2", form.ListBox3, "Sourcefile"}, {"Label3", form.ListBox4, "Charset"},
        {"Label11", form.Edit3, "Filename"},  {"Label12", form.Edit4, "Filepath"},     {"Label13", form.Edit5, "Facename"},
        {"Label14", form.Edit6, "File Size"},
    };
    for (const auto& [name, field, spokenCaption] : captions) {
        auto* caption = form.findChild<QLabel*>(name);
        EXPECT_EQ(caption->buddy(), field) << name;
        EXPECT_EQ(accessible(caption)->text(QAccessible::Name), spokenCaption) << name;
        EXPECT_TRUE(caption->text().endsWith(" :")) << name;
        EXPECT_LE(caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()), field->x()) << name;
    }
    EXPECT_EQ(accessible(form.Edit2)->relations(QAccessible::Label).value(0).first->object(),
              form.findChild<QLabel*>("Label1"));

    const QStringList exposed = descriptionsBelow(&form);
    for (const char* scratch : {"ListBox2", "ListBox5", "ListBox6", "dirfont", "dirdoc"})
        EXPECT_FALSE(exposed.contains(scratch)) << scratch;

    const QString longPath = "/home/someone/.local/share/fonts/a rather long folder name/";
    form.Edit4->setText(longPath);
    EXPECT_EQ(form.Edit4->toolTip(), longPath);
    form.Edit4->setText("/f/");
    EXPECT_EQ(form.Edit4->toolTip(), "");
    const QString longFile = "SomeVeryLongFontFamilyName-BoldCondensedItalic.ttf";
    form.ListBox3->setItems({"a.ttf", longFile});
    const auto tipOver = [&](int row) {
        QToolTip::hideText();
        (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
        const QPoint at = form.ListBox3->visualRect(form.ListBox3->model()->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, form.ListBox3->viewport()->mapToGlobal(at));
        QApplication::sendEvent(form.ListBox3->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipOver(1), longFile);
    EXPECT_EQ(tipOver(0), "");
    form.ListBox3->setToolTip("The face's files");
    EXPECT_EQ(tipOver(0), "The face's files") << "an entry that fits leaves the list its own hint";
}

TEST_F(Accessibility, CharacterMapZoomsFromTheKeyboard)
{
    TForm1& form = start();
    ASSERT_TRUE(showActive(form));
    TSortableGrid* grid = form.SortableGrid1;
    TForm2& overlay = *windows.form2;
    grid->setFocus();
    grid->setCol(0);
    grid->setRow(0);

    for (const Qt::Key arrow : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(grid, arrow);
    QTest::keyPress(grid, Qt::Key_Space);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.Label1->text(), "-");
    EXPECT_EQ(overlay.Label2->text(), "ASCII-code is #45");
    QTest::keyClick(grid, Qt::Key_Right); // a held zoom stays on the cell it opened on
    EXPECT_EQ(overlay.Label2->text(), "ASCII-code is #45");
    QTest::keyClick(grid, Qt::Key_Left);
    QTest::keyRelease(grid, Qt::Key_Space);
    EXPECT_TRUE(overlay.isHidden());
    EXPECT_EQ(overlay.Label2->text(), "Unknown ASCII Code");

    // Enter opens it until Enter again or Escape; the arrows take it along.
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(overlay.isVisible());
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(overlay.Label2->text(), "ASCII-code is #44");
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(overlay.isHidden());
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Escape);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(overlay.isHidden());
    QTest::keyPress(grid, Qt::Key_Space);
    form.ListBox1->setFocus();
    EXPECT_TRUE(overlay.isHidden()) << "its release would go elsewhere";

    QAccessibleTableInterface* table = accessible(grid)->tableInterface();
    EXPECT_EQ(table->cellAt(20, 0)->text(QAccessible::Name), QString(QChar(0xE9)) + ", code 233");
    EXPECT_EQ(table->cellAt(0, 5)->text(QAccessible::Name), "&, code 38");
    EXPECT_EQ(table->cellAt(22, 5)->text(QAccessible::Name), "");

    // Escape closes the About window, which takes the focus when shown.
    form.GradientButton9Click();
    TForm3& about = *windows.form3;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(about.isHidden());
}

// The split print button presses as the mouse does or opens its menu; Print All's
// menu opens from the bus as from the right button.
TEST_F(Accessibility, ButtonsWithMenusOfferPressAndShowMenu)
{
    TForm1& form = start();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QAccessibleActionInterface* print = accessible(form.ToolButton1)->actionInterface();
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->actionNames(),
              QStringList({QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::showMenuAction()}));
    // Only the style buttons stay pressed in; only the print button has a menu.
    for (QToolButton* tool : {form.BoldButton, form.ItalicButton, form.UnderlineButton, form.ToolButton1, form.ToolButton3}) {
        const bool style = tool != form.ToolButton1 && tool != form.ToolButton3;
        EXPECT_EQ(accessible(tool)->role(), style ? QAccessible::CheckBox : tool == form.ToolButton1 ? QAccessible::ButtonMenu : QAccessible::Button);
        EXPECT_EQ(tool->isCheckable(), style) << tool->objectName().toStdString() << " stays pressed in";
    }
    QAccessibleActionInterface* printAll = accessible(form.GradientButton10)->actionInterface();
    ASSERT_NE(printAll, nullptr);
    EXPECT_EQ(printAll->actionNames(), QStringList({QAccessibleActionInterface::pressAction(),
                                                    QAccessibleActionInterface::showMenuAction(), "SetFocus"}));
    EXPECT_EQ(accessible(form.Button4)->actionInterface()->actionNames(),
              QStringList({QAccessibleActionInterface::pressAction(), "SetFocus"}));

    // The menu opens once the bus call has returned; read and closed while it shows.
    for (QAccessibleActionInterface* button : {print, printAll}) {
        QStringList seen;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QAccessibleInterface* shown = menu ? QAccessible::queryAccessibleInterface(menu) : nullptr;
            seen << (shown && shown->role() == QAccessible::PopupMenu ? "popup menu" : "no menu");
            for (int i = 0; shown && i < shown->childCount(); ++i)
                seen << shown->child(i)->text(QAccessible::Name);
            if (menu)
                menu->close();
        });
        button->doAction(QAccessibleActionInterface::showMenuAction());
        EXPECT_TRUE(seen.isEmpty()) << "the call waited for the menu";
        EXPECT_SOON(!seen.isEmpty());
        EXPECT_EQ(seen.first(), "popup menu");
        EXPECT_EQ(seen.last(), "Save as PDF\u2026");
    }
}

// A reader hears a control's hint as its description, never its object name; UI
// test tools ask for the object names with GLYPHWELL_ACCESSIBLE_IDS=1.
TEST_F(Accessibility, DescriptionsAreHintsAndObjectNamesOnlyWhenAsked)
{
    start();
    const QString aboutLines = "Glyphwell, Version 1.0, Copyright (c) 2026 the Glyphwell developers. Free to use and share.";
    const QStringList hints = {"", "Click to install new font", "", "Hold mouse down to zoom character", "Minimize",
                               "Select font size", aboutLines, "", "Select the characters to show"};
    const struct {
        const char* variable; // nullptr: unset
        bool asked;
        QStringList descriptions; // the form, Install, the source files, the map, Minimise, the size, About, its
                                  // Close, the block chooser
    } cases[] = {
        {nullptr, false, hints},
        {"0", false, hints},
        {"1", true, {"Form1", "Button4", "ListBox3", "SortableGrid1", "GradientButton6", "FontSize", "Form3",
                     "GradientButton5", "ComboBox2"}},
    };
    for (const auto& expected : cases) {
        if (expected.variable)
            qputenv("GLYPHWELL_ACCESSIBLE_IDS", expected.variable);
        else
            qunsetenv("GLYPHWELL_ACCESSIBLE_IDS");
        Windows made = createWindows(services());
        qunsetenv("GLYPHWELL_ACCESSIBLE_IDS");
        TForm1& form = *made.form1;
        TForm3& about = *made.form3;
        QStringList descriptions;
        for (QObject* object : std::initializer_list<QObject*>{&form, form.Button4, form.ListBox3, form.SortableGrid1,
                                                              form.GradientButton6, form.FontSize, &about,
                                                              about.GradientButton5, form.ComboBox2})
            descriptions << accessible(object)->text(QAccessible::Description);
        const char* variable = expected.variable ? expected.variable : "unset";
        EXPECT_EQ(descriptions, expected.descriptions) << variable;

        // Nowhere in either window does a reader hear an object name, unless asked.
        const QStringList heard = descriptionsBelow(&form) + descriptionsBelow(&about);
        QStringList names;
        for (QWidget* window : {static_cast<QWidget*>(&form), static_cast<QWidget*>(&about)})
            for (QWidget* control : window->findChildren<QWidget*>())
                if (!control->objectName().isEmpty())
                    names << control->objectName();
        const auto spokenNames = std::count_if(heard.begin(), heard.end(), [&](const QString& d) { return names.contains(d); });
        if (expected.asked)
            EXPECT_GT(spokenNames, 30);
        else
            EXPECT_EQ(spokenNames, 0) << variable;
    }
}

// Focus, a click, Down and Up: the reader is on the face with its state and place.
TEST_F(Accessibility, FaceListSpeaksTheSelectedFaceAndItsPlace)
{
    TForm1& form = start({"Courier", "DejaVu Sans", "Liberation Serif", "Noto Sans", "Zapf"});
    ASSERT_TRUE(showActive(form));
    fw::TListBox* list = form.ListBox1;
    const int count = list->Count();
    ASSERT_GE(count, 5);
    const int dejaVu = int(list->Items().indexOf("DejaVu Sans"));
    const QString of = QString(" of %1").arg(count);
    list->setItemIndex(dejaVu);
    form.Edit1->setFocus();
    list->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(spokenFocus(&form), "DejaVu Sans | selected, " + QString::number(dejaVu + 1) + of);

    const auto clickRow = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
    };
    clickRow(dejaVu + 1);
    EXPECT_EQ(spokenFocus(&form), list->itemText(dejaVu + 1) + " | selected, " + QString::number(dejaVu + 2) + of);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(spokenFocus(&form), list->itemText(dejaVu - 1) + " | selected, " + QString::number(dejaVu) + of);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(spokenFocus(&form), "DejaVu Sans | selected, " + QString::number(dejaVu + 1) + of);

    // An entry the user is not on is read with its place only.
    QAccessibleTableInterface* entries = accessible(list)->tableInterface();
    EXPECT_EQ(entries->cellAt(0, 0)->text(QAccessible::Description), "1" + of);
    EXPECT_EQ(entries->cellAt(count - 1, 0)->text(QAccessible::Description), QString::number(count) + of);
}

// The view buttons are a row of page tabs; the view in use is the selected tab, which
// looks and acts as a disabled button yet stays in reach of the keyboard.
TEST_F(Accessibility, ViewButtonsArePageTabsTheOneInUseSelected)
{
    TForm1& form = start();
    ASSERT_TRUE(showActive(form));
    const std::pair<std::function<void()>, TGradientButton*> views[] = {
        {[&] { form.Button6Click(); }, form.Button6},
        {[&] { form.Button5Click(); }, form.Button5},
        {[&] { form.Button7Click(); }, form.Button7},
    };
    for (const auto& [open, current] : views) {
        open();
        for (TGradientButton* tab : {form.Button7, form.Button6, form.Button5}) {
            const QAccessible::State state = accessible(tab)->state();
            EXPECT_EQ(accessible(tab)->role(), QAccessible::PageTab);
            EXPECT_EQ(state.selected, tab == current) << tab->objectName().toStdString() << " with " << current->objectName().toStdString();
            EXPECT_FALSE(state.disabled) << tab->objectName().toStdString();
            EXPECT_EQ(tab->cursor().shape(), tab == current ? Qt::ArrowCursor : Qt::PointingHandCursor);
        }
        const QImage shown = current->renderFace();
        current->setEnabled(false);
        EXPECT_EQ(current->renderFace(), shown) << "drawn as a disabled button";
        current->setEnabled(true);
        QSignalSpy clicks(current, &TGradientButton::OnClick);
        QTest::mouseClick(current, Qt::LeftButton);
        current->setFocus(Qt::TabFocusReason);
        QTest::keyClick(current, Qt::Key_Space);
        QTest::keyClick(current, Qt::Key_Return);
        EXPECT_EQ(clicks.count(), 0);
        EXPECT_EQ(QApplication::focusWidget(), current);
    }
}

// The map: on focus and on every move the reader is on one cell, with its place.
TEST_F(Accessibility, CharacterMapSpeaksTheCellTheUserIsOnWithItsPlace)
{
    TForm1& form = start();
    ASSERT_TRUE(showActive(form));
    TSortableGrid* grid = form.SortableGrid1;
    grid->setCol(0);
    grid->setRow(0);
    grid->setFocus(Qt::TabFocusReason);
    const std::pair<Qt::Key, QString> moves[] = {
        {Qt::Key_unknown, "!, code 33 | row 1, column 1"},
        {Qt::Key_Right, "\", code 34 | row 1, column 2"},
        {Qt::Key_Right, "#, code 35 | row 1, column 3"},
        {Qt::Key_Down, "-, code 45 | row 2, column 3"},
        {Qt::Key_Left, ",, code 44 | row 2, column 2"},
    };
    for (const auto& [key, heard] : moves) {
        if (key != Qt::Key_unknown)
            QTest::keyClick(grid, key);
        EXPECT_EQ(spokenFocus(&form), heard);
    }
    grid->setRow(22);
    grid->setCol(2);
    EXPECT_EQ(spokenFocus(&form), QString(QChar(0xFF)) + ", code 255 | row 23, column 3");
    form.ListBox1->setFocus();
    EXPECT_FALSE(spokenFocus(&form).contains("code")) << "the map has let the focus go";
}

// About reads as a dialog from its close button; its rule of underscores is not read.
TEST_F(Accessibility, AboutIsADialogReadFromItsCloseButton)
{
    TForm1& form = start();
    TForm3& about = *windows.form3;
    form.GradientButton9Click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    EXPECT_EQ(accessible(&about)->role(), QAccessible::Dialog);
    EXPECT_EQ(accessible(&about)->text(QAccessible::Name), "About Glyphwell");
    EXPECT_EQ(QApplication::focusWidget(), about.GradientButton5);
    EXPECT_EQ(spokenFocus(&about), "Close | ");

    QStringList lines;
    for (QAccessibleInterface* met : reachable(accessible(&about))) {
        EXPECT_NE(met->object(), about.Label6);
        if (qobject_cast<QLabel*>(met->object()) && !met->text(QAccessible::Name).isEmpty())
            lines << met->text(QAccessible::Name);
    }
    EXPECT_EQ(lines, QStringList({"About", "Glyphwell", "Version 1.0",
                                  "Copyright (c) 2026 the Glyphwell developers. Free to use and share."}));
}

// Fields tell a reader their whole text and exactly what is selected.
TEST_F(Accessibility, TextFieldsReportTheirTextAndSelectionExactly)
{
    TForm1& form = start();
    ASSERT_TRUE(showActive(form));
    form.Edit2->setText("DejaVu Sans");
    struct Case {
        QLineEdit* field;
        int from, length; // -1: Tab into the field
        QString text;
        int start, end;
    };
    const Case cases[] = {
        {form.Edit2, -1, 0, "DejaVu Sans", 0, 11},
        {form.Edit2, 0, 1, "DejaVu Sans", 0, 1},
        {form.Edit2, 7, 4, "DejaVu Sans", 7, 11},
        {form.FontSize, -1, 0, "24", 0, 2},
        {form.FontSize, 1, 1, "24", 1, 2},
    };
    for (const Case& c : cases) {
        if (c.from < 0) {
            // setFocus tells assistive tools of the focus before it returns; the text is
            // selected after, or a reader speaks the selection twice.
            c.field->setFocus(Qt::TabFocusReason);
            EXPECT_FALSE(c.field->hasSelectedText()) << c.field->objectName().toStdString();
            EXPECT_SOON(c.field->hasSelectedText());
        } else {
            c.field->setSelection(c.from, c.length);
        }
        QAccessibleTextInterface* text = accessible(c.field)->textInterface();
        ASSERT_NE(text, nullptr);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        EXPECT_EQ(text->selectionCount(), 1) << c.field->objectName().toStdString();
        EXPECT_EQ(std::pair(start, end), std::pair(c.start, c.end)) << c.field->objectName().toStdString();
        EXPECT_EQ(text->text(start, end), c.text.mid(c.start, c.end - c.start));
        EXPECT_EQ(text->text(0, text->characterCount()), c.text);
        // The whole text is one run: a reader that speaks by runs keeps its last character.
        int runStart = -1, runEnd = -1;
        text->attributes(1, &runStart, &runEnd);
        EXPECT_EQ(std::pair(runStart, runEnd), std::pair(0, int(c.text.size())));
    }
    // The read-only face name cannot be typed into by a reader; the size can.
    EXPECT_EQ(accessible(form.Edit2)->editableTextInterface(), nullptr);
    EXPECT_TRUE(accessible(form.Edit2)->state().readOnly);
    EXPECT_TRUE(accessible(form.Edit2)->state().selectableText);
    accessible(form.FontSize)->editableTextInterface()->replaceText(0, 2, "36");
    EXPECT_EQ(form.FontSize->text(), "36");
}
