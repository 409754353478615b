#include "tests/support/FormFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

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

void collectDescriptions(QAccessibleInterface* node, QStringList& into)
{
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i); child && child->role() != QAccessible::Cell) {
            into << child->text(QAccessible::Description);
            collectDescriptions(child, into);
        }
    }
}

} // namespace

TEST_F(Accessibility, GradientButtonsArePushButtonsPressedThroughTheirAction)
{
    TForm1& form = start();
    TForm3& about = *windows.form3;
    const auto buttons = form.findChildren<TGradientButton*>() + about.findChildren<TGradientButton*>();
    ASSERT_EQ(buttons.size(), 14);
    for (TGradientButton* button : buttons) {
        EXPECT_EQ(accessible(button)->role(), QAccessible::Button);
        EXPECT_EQ(accessible(button)->text(QAccessible::Name), button->Caption());
    }
    for (TGrainPanel* panel : form.findChildren<TGrainPanel*>()) {
        EXPECT_EQ(accessible(panel)->role(), QAccessible::Grouping);
        EXPECT_EQ(accessible(panel)->text(QAccessible::Name), "");
    }

    // The press action clicks as the mouse does; the disabled view button is unavailable.
    const auto press = [](TGradientButton* button) {
        accessible(button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    QSignalSpy faceViewClicks(form.Button7, &TGradientButton::OnClick);
    EXPECT_TRUE(accessible(form.Button7)->state().disabled);
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
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.ListBox1);
    const QStringList rest = {"Edit1", "ComboBox1", "FontSize", "BoldButton", "ItalicButton", "UnderlineButton",
                              "ToolButton1", "ToolButton3", "ComboBox2", "SortableGrid1", "Button4", "Button3", "GradientButton7",
                              "GradientButton10", "GradientButton8", "GradientButton9", "GradientButton6",
                              "GradientButton5"};
    EXPECT_EQ(tabWalk(), QStringList({"ListBox1", "Button6", "Button5", "CheckBox1", "TrackBar1", "Edit2", "ListBox3",
                                      "ListBox4", "GradientButton1"}) + rest);

    // Tab and Shift+Tab leave the sample untouched; Ctrl+Tab types a tab.
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(form.Edit1, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.GradientButton1);
    EXPECT_EQ(form.Edit1->toPlainText(), "\tType Sample Text Here");

    form.Button5Click();
    form.FileListBox1->setFocus();
    EXPECT_EQ(tabWalk(), QStringList({"FileListBox1", "Button7", "Button6", "CheckBox1", "TrackBar1", "Edit3", "Edit4",
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
    for (const auto& [control, name] : spoken) {
        EXPECT_EQ(accessible(control)->text(QAccessible::Name), name);
        EXPECT_EQ(accessible(control)->text(QAccessible::Description), control->objectName());
    }

    // Each caption is tied to its field and keeps its whole text left of it.
    const std::pair<const char*, QWidget*> captions[] = {
        {"Label1", form.Edit2}, {"Label2", form.ListBox3}, {"Label3", form.ListBox4}, {"Label11", form.Edit3},
        {"Label12", form.Edit4}, {"Label13", form.Edit5}, {"Label14", form.Edit6},
    };
    for (const auto& [name, field] : captions) {
        auto* caption = form.findChild<QLabel*>(name);
        EXPECT_EQ(caption->buddy(), field) << name;
        EXPECT_TRUE(caption->text().endsWith(" :")) << name;
        EXPECT_LE(caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()), field->x()) << name;
    }
    EXPECT_EQ(accessible(form.Edit2)->relations(QAccessible::Label).value(0).first->object(),
              form.findChild<QLabel*>("Label1"));

    QStringList exposed;
    collectDescriptions(accessible(&form), exposed);
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
        QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
        const QPoint at = form.ListBox3->visualRect(form.ListBox3->model()->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, form.ListBox3->viewport()->mapToGlobal(at));
        QApplication::sendEvent(form.ListBox3->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipOver(1), longFile);
    EXPECT_EQ(tipOver(0), "");
}

TEST_F(Accessibility, CharacterMapZoomsFromTheKeyboard)
{
    TForm1& form = start();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
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
    EXPECT_EQ(accessible(form.ToolButton1)->role(), QAccessible::ButtonMenu);
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
        QTRY_VERIFY(!seen.isEmpty());
        EXPECT_EQ(seen.first(), "popup menu");
        EXPECT_EQ(seen.last(), "Save as PDF\u2026");
    }
}
