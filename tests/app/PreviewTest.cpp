#include "preview/FontsAhead.h"
#include "preview/Sample.h"
#include "tests/support/FormFixture.h"
#include "tests/support/UserTexts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using Preview = FormFixture;

namespace {

void clickFace(TForm1& form, int index)
{
    const QRect item = form.ListBox1->visualRect(form.ListBox1->model()->index(index, 0));
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, item.center());
}

} // namespace

TEST_F(Preview, ClickingAFaceFillsTheFaceViewFromItsRegistryNames)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Alpha Bold Italic (TrueType)", "alphabi.ttf");
    fonts.charsets["Beta"] = {0, 0, 89};
    TForm1& form = start({"Alpha", "Beta"});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // Item 0 is selected: its 25-pixel row is drawn on the highlight colour, item 1 is not.
    const QImage shot = form.ListBox1->viewport()->grab().toImage();
    EXPECT_EQ(form.ListBox1->visualRect(form.ListBox1->model()->index(1, 0)).top(), 25);
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, 24), form.ListBox1->palette().color(QPalette::Highlight));
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, 26), form.ListBox1->palette().color(QPalette::Base));

    // Slots 1 and 6: two source files, slot 1's first; the probe result in slot order.
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"alpha.ttf", "alphabi.ttf"}));
    EXPECT_EQ(form.ListBox2->Items(), QStringList({"alpha.ttf", "", "", "", "", "alphabi.ttf", "", ""}));

    clickFace(form, 1);
    EXPECT_EQ(form.ListBox1->ItemIndex(), 1);
    EXPECT_EQ(form.Edit2->text(), "Beta");
    EXPECT_EQ(form.Panel4->text(), "Beta");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"cannot identified file"}));
    EXPECT_EQ(form.ListBox4->Items(), QStringList({"ANSI_CHARSET", "ANSI_CHARSET", "Unknown charset 89"}));
    EXPECT_EQ(form.Edit1->font().family(), "Beta");

    // Keyboard moves preview too; setting the selection by program does not.
    QTest::keyClick(form.ListBox1, Qt::Key_Up);
    EXPECT_EQ(form.Panel4->text(), "Alpha");
    form.ListBox1->setItemIndex(2);
    EXPECT_EQ(form.Panel4->text(), "Alpha");
    form.setFaceDrawing(false);
    EXPECT_FALSE(form.ListBox1->isOwnerDrawn());
    EXPECT_EQ(form.ListBox1->ItemIndex(), 2) << "the drawing changes, the selection stays";
}

TEST_F(Preview, FontsOfTheFacesWithinReachAreMadeWhileIdle)
{
    QStringList names;
    for (int i = 0; i < 80; ++i)
        names << QStringLiteral("Face %1").arg(i, 2, 10, QLatin1Char('0'));
    TForm1& form = start(names);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const preview::FontsAhead& ahead = form.fontsMadeAhead();
    const auto face = [&](int row) { return form.ListBox1->itemText(row); };
    const auto idle = [&] { EXPECT_SOON_WITHIN(ahead.waiting() == 0, 10000); };

    clickFace(form, 3);
    idle();
    const int top = form.ListBox1->TopIndex();
    const int bottom = form.ListBox1->BottomIndex();
    ASSERT_EQ(top, 0);
    ASSERT_GT(bottom, 4);
    ASSERT_LT(4 * bottom + 4, 79) << "the list should be longer than four pages";
    // The neighbours, the page in view and the page below; nothing beyond.
    for (const int row : {2, 4, top, bottom, bottom + 1, 2 * bottom + 1})
        EXPECT_TRUE(ahead.isMade(face(row))) << row;
    EXPECT_FALSE(ahead.isMade(face(2 * bottom + 2)));
    EXPECT_FALSE(ahead.isMade(face(79)));

    // Scrolling to the end brings its faces and the page above within reach.
    form.ListBox1->scrollToBottom();
    idle();
    const int page = bottom - top + 1;
    const int lastTop = form.ListBox1->TopIndex();
    for (const int row : {79, lastTop, lastTop - 1, lastTop - page})
        EXPECT_TRUE(ahead.isMade(face(row))) << row;
    EXPECT_FALSE(ahead.isMade(face(lastTop - page - 1)));

    // Another style: the fonts made for the old one no longer count, and are made again.
    // Underlining draws over the same fonts and keeps them.
    QTest::mouseClick(form.UnderlineButton, Qt::LeftButton);
    EXPECT_TRUE(ahead.isMade(face(4)));
    QTest::mouseClick(form.BoldButton, Qt::LeftButton);
    EXPECT_FALSE(ahead.isMade(face(4)));
    idle();
    EXPECT_TRUE(ahead.isMade(face(4)));

    // The neighbours of the face the user is on stay within reach wherever the list
    // is scrolled, the first face as well.
    form.ListBox1->setFocus();
    QTest::keyClick(form.ListBox1, Qt::Key_Home);
    QTest::keyClick(form.ListBox1, Qt::Key_Down);
    form.ListBox1->scrollToBottom();
    QTest::mouseClick(form.ItalicButton, Qt::LeftButton);
    idle();
    for (const int row : {0, 2})
        EXPECT_TRUE(ahead.isMade(face(row))) << row;
    EXPECT_FALSE(ahead.isMade(face(30)));

    // The file view hides the face list: what was waiting stays waiting, and nothing new
    // is planned while it is away.
    QTest::mouseClick(form.ItalicButton, Qt::LeftButton);
    const int waiting = ahead.waiting();
    ASSERT_GT(waiting, 0);
    form.Button5Click();
    QTest::qWait(200);
    EXPECT_EQ(ahead.waiting(), waiting);
    QTest::mouseClick(form.ItalicButton, Qt::LeftButton);
    EXPECT_EQ(ahead.waiting(), waiting);
}

TEST_F(Preview, AProbeErrorStopsThePreviewAfterTheSampleFace)
{
    registry.setValue({"Beta bold (TrueType)", sys::RegType::Dword, QString(), 4});
    TForm1& form = start({"Alpha", "Beta"});
    form.ListBox1->setItemIndex(1);
    fw::guard([&] { form.ListBox1Click(); });
    EXPECT_EQ(dialogs.messages, QStringList({said::invalidDataType.arg("Beta bold (TrueType)")}));
    EXPECT_EQ(form.Edit1->font().family(), "Beta");
    EXPECT_EQ(form.Edit2->text(), "Alpha");
    EXPECT_EQ(form.Panel4->text(), "Alpha");
}

TEST_F(Preview, SizeFieldStyleAndColourStayWithTheSampleAcrossFaces)
{
    TForm1& form = start();
    // Text that is not a whole number is refused and keeps the size; a sign is dropped and the size kept in
    // bounds; 0 takes the interface font's size.
    const struct {
        const char* typed;
        int size; // 0: any size above 0
        bool refused;
    } sizes[] = {
        {"abc", 24, true},   {"", 24, true},     {"12345678901234567890", 24, true},
        {"100", 100, false}, {"-12", 12, false}, {"500000", preview::largestSampleSize, false}, {"0", 0, false},
    };
    for (const auto& c : sizes) {
        const qsizetype told = dialogs.messages.size();
        form.FontSize->setText(c.typed);
        EXPECT_EQ(dialogs.messages.mid(told), c.refused ? QStringList{said::notAnInteger.arg(c.typed)} : QStringList())
            << c.typed;
        const int size = form.Edit1->font().pointSize();
        EXPECT_TRUE(c.size ? size == c.size : size > 0) << c.typed << ": " << size;
    }
    // The arrows stay in 0..100.
    form.FontSize->setText("99");
    form.UpDown1->stepUp();
    form.UpDown1->stepUp();
    EXPECT_EQ(form.FontSize->text(), "100");
    EXPECT_EQ(form.Edit1->font().pointSize(), 100);
    form.FontSize->setText("1");
    form.UpDown1->stepDown();
    form.UpDown1->stepDown();
    EXPECT_EQ(form.FontSize->text(), "0");

    dialogs.chosenColors = {QColor(Qt::red), std::nullopt};
    QTest::mouseClick(form.BoldButton, Qt::LeftButton);
    QTest::mouseClick(form.ItalicButton, Qt::LeftButton);
    EXPECT_TRUE(form.Edit1->font().bold());
    EXPECT_TRUE(form.Edit1->font().italic());
    QTest::mouseClick(form.BoldButton, Qt::LeftButton);
    EXPECT_FALSE(form.Edit1->font().bold());
    EXPECT_TRUE(form.Edit1->font().italic());
    QTest::mouseClick(form.UnderlineButton, Qt::LeftButton);
    form.FontSize->setText("36");
    QTest::mouseClick(form.ToolButton3, Qt::LeftButton);
    QTest::mouseClick(form.ToolButton3, Qt::LeftButton); // cancelled: nothing changes
    EXPECT_EQ(dialogs.colorAsked.size(), 2u);

    form.ListBox1->setItemIndex(3);
    form.ListBox1Click();
    const QFont sample = form.Edit1->font();
    EXPECT_EQ(sample.family(), "Gamma");
    EXPECT_EQ(sample.pointSize(), 36);
    EXPECT_TRUE(sample.italic());
    EXPECT_TRUE(sample.underline());
    EXPECT_FALSE(sample.bold());
    EXPECT_EQ(form.Edit1->palette().color(QPalette::Text), QColor(Qt::red));
    // The character map keeps its plain style and size.
    EXPECT_FALSE(form.SortableGrid1->font().italic());
    EXPECT_EQ(form.SortableGrid1->font().pixelSize(), 24);
}

TEST_F(Preview, SampleChooser)
{
    TForm1& form = start();
    form.ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(form.Edit1->toPlainText(), preview::alphabetSample);
    EXPECT_EQ(preview::alphabetSample.size(), 91);
    form.ComboBox1->setCurrentIndex(0);
    EXPECT_EQ(form.Edit1->toPlainText(), "Sample");
    form.ComboBox1->setEditText("");
    QTest::keyClicks(form.ComboBox1->lineEdit(), "alphabets");
    EXPECT_EQ(form.Edit1->toPlainText(), "alphabets");
    form.ComboBox1->setCurrentIndex(3);
    EXPECT_EQ(form.Edit1->toPlainText(), "Jackdaws love my big sphinx of quartz. 0123456789");

    // Typing shows what is typed, without completing it from the items.
    form.ComboBox1->setEditText("");
    QTest::keyClicks(form.ComboBox1->lineEdit(), "T");
    EXPECT_EQ(form.Edit1->toPlainText(), "T");
    QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form.Edit1->toPlainText(), "T");
    // Choosing the item already shown puts its text back.
    form.ComboBox1->setCurrentIndex(0);
    form.Edit1->setPlainText("edited by hand");
    emit form.ComboBox1->textActivated(form.ComboBox1->currentText());
    EXPECT_EQ(form.Edit1->toPlainText(), "Sample");
}
