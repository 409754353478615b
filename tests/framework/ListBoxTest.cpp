#include "framework/ListBox.h"
#include "framework/UpDown.h"
#include "tests/support/Printers.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QPoint itemCentre(fw::TListBox& list, int index)
{
    return list.visualRect(list.model()->index(index, 0)).center();
}

} // namespace

TEST(ListBox, OnlyTheUsersLeftPressesSelectAndClick)
{
    fw::TListBox list;
    list.resize(200, 200);
    list.setItems({"one", "two", "three"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy clicks(&list, &fw::TListBox::OnClick);

    list.setItemIndex(1);
    EXPECT_EQ(clicks.count(), 0) << "setting the selection by program raises nothing";
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(list.viewport(), button, {}, itemCentre(list, 2));
        EXPECT_EQ(list.ItemIndex(), 1);
    }
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, itemCentre(list, 1));
    EXPECT_EQ(list.ItemIndex(), 1) << "Ctrl does not take the selection away";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 190));
    EXPECT_EQ(list.ItemIndex(), 1) << "a press below the entries keeps the selection";
    EXPECT_EQ(clicks.count(), 1) << "the Ctrl click on an entry is a click";

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, itemCentre(list, 0));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, itemCentre(list, 2));
    EXPECT_EQ(list.ItemIndex(), 2);
    const int before = int(clicks.count());
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(clicks.count(), before + 1) << "moving with the keyboard is a click";
}

TEST(ListBox, TopAndBottomIndexAreTheRowsInView)
{
    fw::TListBox list;
    list.setOwnerDraw([](QPainter&, int, const QRect&, const QColor&) {}, 25);
    list.resize(200, 110);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const auto inView = [&list] { return std::pair(list.TopIndex(), list.BottomIndex()); };
    EXPECT_EQ(inView(), std::pair(-1, -1)) << "empty";

    list.setItems({"a", "b"});
    EXPECT_EQ(inView(), std::pair(0, 1)) << "rows end above the bottom edge";

    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QString::number(i);
    list.setItems(many);
    const int rowsInView = list.viewport()->height() / 25;
    ASSERT_GE(rowsInView, 2);
    // A row cut by the bottom edge is in view.
    const int partly = list.viewport()->height() % 25 ? 1 : 0;
    EXPECT_EQ(inView(), std::pair(0, rowsInView - 1 + partly));
    list.scrollToBottom();
    EXPECT_EQ(list.BottomIndex(), 39);
    EXPECT_GT(list.TopIndex(), 30);

    list.resize(200, 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(list.viewport()->height(), 0);
    EXPECT_EQ(inView(), std::pair(-1, -1)) << "no height, no rows";
}

TEST(UpDown, ArrowsAndArrowKeysStepFromTheTypedNumberWithinTheRange)
{
    QLineEdit field;
    fw::TUpDown arrows;
    arrows.setRange(0, 100);
    arrows.setPosition(24);
    arrows.setAssociate(&field);
    EXPECT_EQ(field.text(), "24");
    field.setText("50");
    arrows.stepUp();
    EXPECT_EQ(field.text(), "51");
    QTest::keyClick(&field, Qt::Key_Down);
    QTest::keyClick(&field, Qt::Key_Down);
    EXPECT_EQ(field.text(), "49");
    field.setText("500");
    arrows.stepUp();
    EXPECT_EQ(field.text(), "100");
    field.setText("not a number");
    arrows.stepDown();
    EXPECT_EQ(field.text(), "99");
}
