#include "preview/Unit2.h"
#include "system/FontFactory.h"
#include "app/Unit3.h"
#include "tests/support/Choose.h"
#include "tests/support/FormFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QHelpEvent>
#include <QApplication>
#include <QRawFont>
#include <QScrollBar>

using MainWindow = FormFixture;

TEST_F(MainWindow, ControlsAtTheirBoundsWithTheirTexts)
{
    TForm1& form = start();
    EXPECT_EQ(form.objectName(), "Form1");
    EXPECT_EQ(form.windowTitle(), "Glyphwell");
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(799, 601));
    EXPECT_EQ(form.grab().toImage().pixelColor(0, 200), QColor(74, 147, 255)) << "the window's blue at its left edge";
    EXPECT_EQ(windows.form2->objectName() + windows.form3->objectName(), "Form2Form3");

    struct Expected {
        const char* name;
        QRect bounds;
    };
    const Expected controls[] = {
        {"Image1", {0, 0, 799, 45}},         {"Image2", {12, 5, 33, 33}},
        {"Panel4", {283, 11, 409, 29}},      {"GradientButton6", {739, 4, 21, 21}},
        {"GradientButton5", {763, 4, 21, 21}}, {"GrainPanel5", {1, 45, 218, 307}},
        {"ListBox1", {4, 4, 208, 302}},      {"FileListBox1", {4, 4, 208, 302}},
        {"Button7", {2, 351, 75, 25}},       {"Button6", {73, 351, 75, 25}},
        {"Button5", {144, 351, 74, 25}},     {"GrainPanel4", {1, 376, 218, 48}},
        {"CheckBox1", {8, 4, 97, 17}},       {"TrackBar1", {8, 24, 201, 9}},
        {"Panel1", {2, 424, 217, 175}},      {"Panel3", {2, 424, 216, 175}},
        {"GrainPanel2", {219, 45, 579, 305}}, {"Edit1", {6, 5, 568, 260}},
        {"Image3", {218, 351, 444, 26}},     {"GrainPanel1", {219, 375, 441, 224}},
        {"SortableGrid1", {4, 6, 436, 210}}, {"Image4", {662, 351, 136, 26}},
        {"GrainPanel3", {660, 375, 139, 226}}, {"Button4", {4, 12, 131, 28}},
        {"Button3", {4, 46, 131, 28}},       {"GradientButton7", {4, 80, 131, 28}},
        {"GradientButton10", {4, 115, 131, 28}}, {"GradientButton8", {4, 151, 131, 28}},
        {"GradientButton9", {4, 186, 131, 28}}, {"Label8", {0, 0, 200, 26}},
        {"ComboBox2", {200, 2, 240, 22}},    {"StandardToolBar", {392, 269, 186, 30}},
        // The information panels' fields.
        {"Edit2", {68, 6, 142, 21}},          {"ListBox3", {68, 32, 142, 46}},
        {"ListBox4", {68, 82, 142, 50}},      {"GradientButton1", {6, 138, 204, 28}},
        {"Edit3", {68, 8, 141, 21}},          {"Edit4", {68, 36, 141, 21}},
        {"Edit5", {68, 64, 141, 21}},         {"Edit6", {68, 92, 141, 21}},
        {"GradientButton2", {6, 138, 203, 28}},
    };
    for (const Expected& control : controls) {
        auto* widget = form.findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->geometry(), control.bounds) << control.name;
        EXPECT_NE(widget->accessibleDescription(), control.name) << "a reader would hear it";
    }
    EXPECT_EQ(form.CheckBox1->palette().color(QPalette::WindowText), QColor(Qt::white)) << "white on the grain";
    const std::pair<const char*, QPoint> captions[] = {
        {"Label1", {6, 10}},  {"Label2", {6, 36}},  {"Label3", {6, 86}},  {"Label11", {6, 12}},
        {"Label12", {6, 40}}, {"Label13", {6, 68}}, {"Label14", {6, 96}}, {"Label4", {53, 7}},
    };
    for (const auto& [name, at] : captions) {
        auto* label = form.findChild<QWidget*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->pos(), at) << name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white)) << name;
    }
    EXPECT_EQ(form.ComboBox1->geometry().topLeft(), QPoint(8, 272));
    EXPECT_EQ(form.ComboBox1->width(), 385);
    EXPECT_EQ(form.StandardToolBar->pos(), QPoint(392, 269));
    EXPECT_FALSE(form.StandardToolBar->isMovable());
    // The style buttons and the print and colour buttons stand apart.
    QStringList bar;
    for (QAction* action : form.StandardToolBar->actions())
        bar << (action->isSeparator() ? "|" : form.StandardToolBar->widgetForAction(action)->objectName());
    EXPECT_EQ(bar, QStringList({"FontSize", "UpDown1", "BoldButton", "ItalicButton", "UnderlineButton", "|",
                                "ToolButton1", "ToolButton3"}));

    for (const QLabel* header : {form.Label8, form.Label10})
        EXPECT_TRUE(header->font().pixelSize() == 16 && header->font().bold()) << header->objectName().toStdString();
    EXPECT_EQ(form.Label4->text(), "Glyphwell");
    EXPECT_EQ(form.Edit1->toPlainText(), "Type Sample Text Here");
    EXPECT_EQ(form.ComboBox1->currentText(), "Sample Text");
    EXPECT_EQ(form.ComboBox1->count(), 4);
    EXPECT_EQ(form.FontSize->text(), "24");
    EXPECT_EQ(form.UpDown1->Position(), 24);
    EXPECT_EQ(QList<int>({form.TrackBar1->minimum(), form.TrackBar1->value(), form.TrackBar1->maximum()}),
              QList<int>({1, 15, 50}));
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Button4->toolTip(), "Click to install new font");
    EXPECT_EQ(form.FontSize->toolTip(), "Font Size|Select font size");
    EXPECT_EQ(form.Edit1->font().pointSize(), 24);
    // The face views' panel lies over the file view's panel.
    EXPECT_GT(form.children().indexOf(form.Panel1), form.children().indexOf(form.Panel3));
    EXPECT_TRUE(form.FileListBox1->isHidden());
    EXPECT_TRUE(form.dirfont->isHidden());
    EXPECT_FALSE(form.dirfont->isEnabled());
}

TEST_F(MainWindow, StartFillsTheFaceListPreviewsTheFirstFaceAndReadsTheFolders)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    fonts.charsets["Alpha"] = {0, 238};
    TForm1& form = start({"Gamma", "Alpha", "Beta"});
    EXPECT_EQ(form.ListBox1->Items(), QStringList({"Alpha", "Beta", "Default", "Gamma"}));
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    EXPECT_TRUE(form.ListBox1->isOwnerDrawn());
    EXPECT_EQ(form.Panel4->text(), "Alpha");
    EXPECT_EQ(form.Edit2->text(), "Alpha");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"alpha.ttf"}));
    EXPECT_EQ(form.ListBox4->Items(), QStringList({"ANSI_CHARSET", "EASTEUROPE_CHARSET"}));
    EXPECT_EQ(form.Edit1->font().family(), "Alpha");
    EXPECT_TRUE(form.Button7->Current());
    EXPECT_FALSE(form.Button6->Current());
    EXPECT_EQ(form.dirfont->text(), fontFolder + "/");
    EXPECT_EQ(form.dirdoc->text(), documents + "/");
    EXPECT_EQ(form.FileListBox1->Directory(), fontFolder + "/");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    if (auto* application = fw::TApplication::instance()) {
        EXPECT_EQ(application->HintPause(), 10);
        EXPECT_EQ(application->HintHidePause(), 2500);
        ASSERT_NE(application->HintWindow(), nullptr);
        EXPECT_EQ(application->HintWindow()->font().family(), sys::installedFamily("Arial Narrow"));
        EXPECT_TRUE(application->HintWindow()->font().bold());
        EXPECT_EQ(application->HintWindow()->font().pointSize(), 10);
        EXPECT_EQ(application->HintWindow()->textColor(), QColor(0, 0, 255));
    }
}

TEST_F(MainWindow, MissingFoldersGiveASingleSeparatorAndNoMessage)
{
    shellFolders.documents.clear();
    shellFolders.fontFolder = folders.path() + "/no such folder";
    TForm1& form = start();
    EXPECT_EQ(form.dirdoc->text(), "/");
    EXPECT_EQ(form.FileListBox1->Count(), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// On the shown window: hints, and dragging it by its title handles.
TEST_F(MainWindow, HintsShowTheirShortPartAndOnlyTheTitleHandlesDragWithTheLeftButton)
{
    TForm1& form = start();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (const QScrollBar* bar : {form.Edit1->horizontalScrollBar(), form.Edit1->verticalScrollBar()})
        EXPECT_TRUE(bar->isVisible()) << "the sample's scroll bars stay though its text fits";
    // A hint shows its short part in the hint window's font and colour.
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), form.FontSize->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(form.FontSize, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Font Size");
    EXPECT_TRUE(QToolTip::font().bold());
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), QColor(0, 0, 255));
    EXPECT_SOON_WITHIN(!QToolTip::isVisible(), 5000); // hidden again after its pause
    // A hint in a script no installed face has shows boxes: no search over every font.
    form.Edit2->setToolTip(QString::fromUtf8("明朝体"));
    QApplication::sendEvent(form.Edit2, &help);
    EXPECT_TRUE(QToolTip::font().styleStrategy() & QFont::NoFontMerging);
    EXPECT_TRUE(QToolTip::font().bold());
    QToolTip::hideText();

    form.move(100, 100);
    const QSize size = form.size();
    const QPoint start = form.pos();

    // A move without a press on a handle does nothing.
    QCursor::setPos(start + QPoint(50, 20));
    QTest::mouseMove(form.Image1, QPoint(50, 20));
    EXPECT_EQ(form.pos(), start);

    // A right press does not start a drag.
    QTest::mousePress(form.Image1, Qt::RightButton, {}, QPoint(50, 20));
    EXPECT_FALSE(form.isDragging());
    QTest::mouseRelease(form.Image1, Qt::RightButton, {}, QPoint(50, 20));

    // Left press on the icon, moves follow the cursor, size stays; off-screen is fine.
    QTest::mousePress(form.Image2, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(form.isDragging());
    QCursor::setPos(start + QPoint(50, 20) + QPoint(-300, -250));
    form.FormMouseMove(0, 0);
    EXPECT_EQ(form.pos(), start + QPoint(-300, -250));
    EXPECT_EQ(form.size(), size);
    // A right release does not end a left drag; the left release does.
    form.FormMouseUp(Qt::RightButton, 0, 0);
    EXPECT_TRUE(form.isDragging());
    QTest::mouseRelease(form.Label4, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(form.isDragging());
    // A quick second press, which Qt reports as a double click, drags as well.
    QTest::mouseDClick(form.Image1, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_TRUE(form.isDragging());
    form.FormMouseUp(Qt::LeftButton, 0, 0);

    // The face label over the title picture, the background and the panels are not handles.
    for (const auto& [widget, at] : {std::pair<QWidget*, QPoint>{form.Panel4, {10, 10}}, {&form, {230, 360}},
                                     {form.GrainPanel2, {3, 3}}}) {
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        EXPECT_FALSE(form.isDragging()) << widget->objectName().toStdString();
    }
}

TEST_F(MainWindow, NamesInOtherScriptsShowInAFaceThatHoldsThemAndLatinNamesInTheirOwn)
{
    const QString arabic = QString::fromUtf8("خط عربي");
    const QString georgian = QString::fromUtf8("ქართული"); // no interface face here has Georgian
    TForm1& form = start({"Alpha", arabic, georgian});
    const QFont title = form.Panel4->font();
    const QFont field = form.Edit2->font();
    for (const QString& name : {arabic, georgian}) {
        chooseFace(form, name);
        EXPECT_EQ(form.Panel4->text(), name);
        EXPECT_EQ(form.Edit2->text(), name);
        // Each draws the whole name in one face.
        for (const QFont& font : {form.Panel4->font(), form.Edit2->font()}) {
            const QRawFont face = QRawFont::fromFont(font);
            for (const QChar c : name)
                EXPECT_TRUE(c == ' ' || face.supportsCharacter(c)) << face.familyName().toStdString();
        }
        EXPECT_EQ(form.Panel4->font().pixelSize(), title.pixelSize());
    }

    chooseFace(form, "Alpha");
    EXPECT_EQ(form.Panel4->text(), "Alpha");
    EXPECT_EQ(form.Panel4->font(), title);
    EXPECT_EQ(form.Edit2->font(), field);
}
