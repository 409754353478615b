#include "tests/support/FormFixture.h"

#include <QTest>

using Print = FormFixture;

namespace {

int indexOf(TForm1& form, const QString& face)
{
    return int(form.ListBox1->Items().indexOf(face));
}

void showFace(TForm1& form, const QString& face)
{
    form.ListBox1->setItemIndex(indexOf(form, face));
    form.ListBox1Click();
}

} // namespace

TEST_F(Print, SheetReadsTheWindowAsItStands)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Alpha BOLD (TrueType)", "alphab.ttf");
    TForm1& form = start({"Alpha", "Beta", "Gamma"});
    showFace(form, "Alpha");
    form.Edit1->setPlainText("one\ntwo\nthree");
    form.BoldButton->click();
    dialogs.chosenColors = {QColor(0, 0, 255)};
    form.ToolButton3Click();

    form.ToolButton1->click();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "end"}));
    EXPECT_EQ(printer.find("FontName : Alpha").size(), 1u);
    EXPECT_EQ(printer.first("Fontfile : alpha.ttf,alphab.ttf").y, 400);
    EXPECT_EQ(printer.first("Text size: 24 pt").y, 4350);
    // The sample shows the face's own glyphs, as on screen.
    const sys::PrinterFont sample{"Alpha", 24, true, false, false, QColor(0, 0, 255), sys::Fallback::None};
    const QStringList lines = {"one", "two", "three"};
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(printer.first(lines[m]).y, 4550 + 240 * m);
        EXPECT_EQ(printer.first(lines[m]).font, sample);
    }
    // The character map as the grid holds it, in the sample's face.
    const auto first = printer.first("!");
    ASSERT_TRUE(first.rect);
    EXPECT_EQ(*first.rect, QRect(0, 750, 170, 100));
    EXPECT_EQ(first.font, (sys::PrinterFont{"Alpha", 8, false, false, false, Qt::black, sys::Fallback::None}));
    const auto last = printer.first(QString(QChar(0xFF)));
    EXPECT_EQ(QPoint(last.x, last.y), QPoint(2 * 200 + 50, 4050));
    EXPECT_EQ(form.Panel4->text(), "Alpha") << "printing changes nothing in the window";

    // A second sheet: the labels are black again although the printer keeps the blue sample font.
    showFace(form, "Beta");
    form.ToolButton1->click();
    EXPECT_EQ(printer.first("Fontfile : \"cannot identified file\"").font.color, QColor(Qt::black));
    EXPECT_EQ(printer.first("Printed by Glyphwell").font.color, QColor(Qt::black));
    EXPECT_EQ(printer.first("one").font.face, "Beta");
}

TEST_F(Print, SheetInTheFileViewNamesTheFileUnquoted)
{
    testenv::writeFile(fontFolder + "/alpha.ttf", "a");
    testenv::writeFile(fontFolder + "/a stray file.ttf", "s");
    registry.set("Alpha (TrueType)", "alpha.ttf");
    TForm1& form = start({"Alpha", "Beta"});
    showFace(form, "Beta");
    form.Button5Click();
    form.FileListBox1->setItemIndex(int(form.FileListBox1->Items().indexOf("a stray file.ttf")));
    form.FileListBox1Click();

    form.ToolButton1->click();
    EXPECT_EQ(printer.find("FontName : Cannot found facename").size(), 1u);
    EXPECT_EQ(printer.find("Fontfile : a stray file.ttf").size(), 1u);
    // Alphabet, map and sample stay in the face the sample showed before.
    EXPECT_EQ(printer.first("ABCDEFGHIJKLMNOPQRSTUVWXYZ.1234567890").font.face, "Beta");
    EXPECT_EQ(printer.first("A").font.face, "Beta");

    form.FileListBox1->setItemIndex(int(form.FileListBox1->Items().indexOf("alpha.ttf")));
    form.FileListBox1Click();
    form.ToolButton1->click();
    EXPECT_EQ(printer.find("Fontfile : alpha.ttf").size(), 1u);
    EXPECT_EQ(printer.first("ABCDEFGHIJKLMNOPQRSTUVWXYZ.1234567890").font.face, "Alpha");
}

TEST_F(Print, PrinterErrorsAreShownAndNothingIsPrinted)
{
    TForm1& form = start();
    printer.hasDefaultPrinter = false;
    form.ToolButton1->click();
    form.GradientButton10->Click();
    EXPECT_EQ(dialogs.messages, QStringList({"There is no default printer currently selected",
                                             "There is no default printer currently selected"}));
    EXPECT_TRUE(printer.log.isEmpty());

    printer.hasDefaultPrinter = true;
    printer.open = true; // a job of ours is still open
    dialogs.messages.clear();
    form.ToolButton1->click();
    form.GradientButton10->Click();
    EXPECT_EQ(dialogs.messages, QStringList({"Printing in progress", "Printing in progress"}));
    EXPECT_TRUE(printer.log.isEmpty());
    EXPECT_TRUE(printer.texts.empty());
}

TEST_F(Print, PrintAllWalksTheInstalledFaces)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Alpha Italic (TrueType)", "alpha i.ttf");
    registry.set("Quote \"Q\", Comma (TrueType)", "q \"1\".ttf");
    registry.set("宋体 (TrueType)", "simsun.ttf");
    registry.set("Gamma (TrueType)", "gamma.ttf");
    TForm1& form = start({"Alpha", "Beta", "Gamma", "Quote \"Q\", Comma", "宋体"});
    const QString title = form.Panel4->text();
    const QStringList faces = form.ListBox1->Items();
    ASSERT_EQ(faces, QStringList({"Alpha", "Beta", "Default", "Gamma", "Quote \"Q\", Comma", "宋体"}));

    form.GradientButton10->Click();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "end"}));
    const struct {
        QString face;
        int y;
        QString files;
    } rows[] = {
        {"Alpha", 350, "alpha.ttf,\"alpha i.ttf\""},
        {"Beta", 480, "<Unregistered>"},
        {"Default", 590, "<Unregistered>"},
        {"Gamma", 700, "gamma.ttf"},
        {"Quote \"Q\", Comma", 810, "\"q \"\"1\"\".ttf\""},
        {"宋体", 920, "simsun.ttf"},
    };
    for (const auto& row : rows) {
        const auto names = printer.find(row.face);
        ASSERT_EQ(names.size(), 2u) << row.face.toStdString();
        EXPECT_EQ(QPoint(names[0].x, names[0].y), QPoint(0, row.y));
        EXPECT_EQ(QPoint(names[1].x, names[1].y), QPoint(1100, row.y));
        EXPECT_EQ(names[1].font.face, row.face) << "the printer sets \"Default\" in the interface face";
        const auto files = printer.find(row.files);
        EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const auto& text) {
            return text.x == 2300 && text.y == row.y;
        })) << row.files.toStdString();
    }
    // The scratch lists hold the walk; the title is back and nothing visible changed.
    EXPECT_EQ(form.ListBox5->Items(), faces);
    EXPECT_EQ(form.ListBox5->ItemIndex(), faces.size() - 1);
    EXPECT_EQ(form.ListBox6->Items(), QStringList({"simsun.ttf"}));
    EXPECT_EQ(form.Panel4->text(), title);
    EXPECT_EQ(form.ListBox1->Items(), faces);
}

TEST_F(Print, PrintAllStoppedByTheRegistryLeavesNoJobOpen)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.setValue(sys::RegValue{"Gamma (TrueType)", sys::RegType::Dword, QString(), 4});
    TForm1& form = start({"Alpha", "Beta", "Gamma", "Delta"});
    form.GradientButton10->Click();
    EXPECT_EQ(dialogs.messages, QStringList({"Invalid data type for 'Gamma (TrueType)'"}));
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "abort"}));
    EXPECT_EQ(form.ListBox5->itemText(form.ListBox5->ItemIndex()), "Gamma");

    // The next attempt runs into the same value, not into a job left open.
    form.GradientButton10->Click();
    EXPECT_EQ(dialogs.messages.last(), "Invalid data type for 'Gamma (TrueType)'");
    form.ToolButton1->click();
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(printer.log.last(), "end");
}
