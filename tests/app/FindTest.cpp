#include "tests/support/Choose.h"
#include "tests/support/FormFixture.h"
#include "tests/support/UserTexts.h"
#include "tests/support/Printers.h"

#include <QAccessible>
#include <QAction>
#include <QTest>

using Find = FormFixture;

namespace {

QStringList actionTexts(const QWidget* widget)
{
    QStringList texts;
    for (const QAction* action : widget->actions())
        texts << action->text();
    return texts;
}

QStringList printedTexts(const RecordingPrinter& printer)
{
    QStringList texts;
    for (const auto& text : printer.texts)
        texts << text.text;
    return texts;
}

} // namespace

TEST_F(Find, TypingNarrowsTheListsAndEscapeGivesThemBackWithTheSelection)
{
    fonts.traits = {
        {"Beta Mono", {"en", "el"}, true, false, false, false, false, {fontFolder + "/beta.otf"}},
        {"Gamma", {"en", "el"}, false, false, false, false, false, {"/usr/share/fonts/gamma.ttf"}},
        {"Noto Sans Arabic", {"ar"}, false, false, false, false, false, {"/usr/share/fonts/arabic.ttf"}},
        {"Noto Naskh Arabic", {"ar"}, false, false, false, false, false, {"/usr/share/fonts/naskh.ttf"}},
    };
    for (const char* file : {"alpha.ttf", "beta.otf", "gamma.pcf.gz"})
        testenv::writeFile(fontFolder + "/" + file, "x");
    TForm1& form = start({"Alpha", "Beta Mono", "Gamma", "Noto Sans Arabic", "Noto Naskh Arabic"});
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const QStringList whole = form.ListBox1->Items();
    ASSERT_EQ(whole.size(), 6);
    const QRect listPlace = form.ListBox1->geometry();
    const auto placesOfOthers = [&form] {
        return QList<QRect>{form.GrainPanel5->geometry(), form.Button7->geometry(), form.Panel4->geometry(),
                            form.GrainPanel2->geometry()};
    };
    const QList<QRect> others = placesOfOthers();
    chooseFace(form, "Gamma");
    ASSERT_EQ(form.Edit2->text(), "Gamma");
    EXPECT_FALSE(form.FindBar->isVisible());
    EXPECT_EQ(fonts.traitReads, 0); // nothing is read for finding until a word is typed

    // Ctrl+F opens the field over the top of the list; nothing else moves.
    QTest::keyClick(form.ListBox1, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form.FindBar->isVisible());
    EXPECT_TRUE(form.FindEdit->hasFocus());
    EXPECT_EQ(form.FindCount->text(), "6 of 6 faces");
    // Spoken: the field's name, the count as the label reads.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.FindEdit)->text(QAccessible::Name), "Find faces");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.FindCount)->text(QAccessible::Name), "6 of 6 faces");
    EXPECT_GE(form.ListBox1->geometry().top(), form.FindBar->geometry().bottom());
    EXPECT_EQ(form.ListBox1->geometry().bottom(), listPlace.bottom());

    QTest::keyClicks(form.FindEdit, "arab");
    EXPECT_EQ(form.ListBox1->Items(), QStringList({"Noto Naskh Arabic", "Noto Sans Arabic"}));
    EXPECT_EQ(form.FindCount->text(), "2 of 6 faces");
    EXPECT_EQ(form.ListBox1->ItemIndex(), -1);
    EXPECT_EQ(form.Edit2->text(), "Gamma"); // nothing is previewed by typing
    EXPECT_EQ(actionTexts(form.GradientButton10),
              QStringList({"Save as PDF\u2026", "Print the faces found", "Save the faces found as PDF\u2026"}));
    EXPECT_EQ(placesOfOthers(), others);

    // Down goes into the list and previews the first face found; the arrows go on.
    QTest::keyClick(form.FindEdit, Qt::Key_Down);
    EXPECT_TRUE(form.ListBox1->hasFocus());
    EXPECT_EQ(form.Edit2->text(), "Noto Naskh Arabic");
    EXPECT_EQ(form.Edit1->font().family(), "Noto Naskh Arabic");
    QTest::keyClick(form.ListBox1, Qt::Key_Down);
    EXPECT_EQ(form.Edit2->text(), "Noto Sans Arabic");
    EXPECT_EQ(form.Panel4->text(), "Noto Sans Arabic");
    // Up goes back up the list, and from its first face to the field.
    QTest::keyClick(form.ListBox1, Qt::Key_Up);
    EXPECT_TRUE(form.ListBox1->hasFocus());
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    QTest::keyClick(form.ListBox1, Qt::Key_Up);
    EXPECT_TRUE(form.FindEdit->hasFocus());
    QTest::keyClick(form.FindEdit, Qt::Key_Down);
    QTest::keyClick(form.ListBox1, Qt::Key_Down);
    EXPECT_EQ(form.Edit2->text(), "Noto Sans Arabic");
    // The auto view steps through the faces found: after the last, the first.
    form.Timer1Timer();
    EXPECT_EQ(form.Edit2->text(), "Noto Naskh Arabic");
    form.ListBox1->setItemIndex(1);

    // Printing the faces found prints those and no other.
    QStringList shown;
    recordProgressTexts(form, shown);
    form.PrintFound->trigger();
    const QStringList printed = printedTexts(printer);
    EXPECT_TRUE(printed.contains("Noto Naskh Arabic") && printed.contains("Noto Sans Arabic")) << printed.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(printed.contains("Gamma") || printed.contains("Alpha") || printed.contains("Default")) << printed.join(QLatin1Char('|')).toStdString();
    dialogs.savedFiles = {documents + "/found.pdf"};
    form.SaveFoundPdf->trigger();
    EXPECT_EQ(dialogs.saveRequests.back().proposedFile, documents + "/Glyphwell faces found.pdf");
    EXPECT_EQ(shown, QStringList({said::printingFound.arg(1).arg(1), said::savingFound.arg(1).arg(1)}));
    form.activateWindow(); // the job's progress box had it
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // Escape: the whole list, the selected face still selected, the field empty.
    QTest::keyClick(form.ListBox1, Qt::Key_Escape);
    EXPECT_FALSE(form.FindBar->isVisible());
    EXPECT_EQ(form.ListBox1->geometry(), listPlace);
    EXPECT_EQ(form.ListBox1->Items(), whole);
    EXPECT_EQ(form.ListBox1->itemText(form.ListBox1->ItemIndex()), "Noto Sans Arabic");
    EXPECT_TRUE(form.FindEdit->text().isEmpty());
    EXPECT_EQ(actionTexts(form.GradientButton10), QStringList({"Save as PDF\u2026"}));

    // The list's own type-ahead is unchanged; "/" opens the field again.
    QTest::keyClicks(form.ListBox1, "g");
    EXPECT_EQ(form.ListBox1->itemText(form.ListBox1->ItemIndex()), "Gamma");
    QTest::keyClick(form.ListBox1, Qt::Key_Slash);
    ASSERT_TRUE(form.isFinding());
    ASSERT_TRUE(form.FindEdit->hasFocus());
    QTest::keyClicks(form.FindEdit, "greek mono");
    EXPECT_EQ(form.ListBox1->Items(), QStringList({"Beta Mono"}));
    // Escape in the field, with no face found selected: the face on show is selected.
    QTest::keyClick(form.FindEdit, Qt::Key_Escape);
    EXPECT_EQ(form.ListBox1->Items(), whole);
    EXPECT_EQ(form.ListBox1->itemText(form.ListBox1->ItemIndex()), form.Edit2->text());

    // Fonts installed while finding are found by what they write.
    fonts.traits.push_back({"Zeta", {"el"}, false, false, false, false, false, {fontFolder + "/zeta.ttf"}});
    fonts.addFaces({"Zeta"});
    resources.broadcastFontChange();
    form.openFind();
    QTest::keyClicks(form.FindEdit, "greek");
    EXPECT_EQ(form.ListBox1->Items(), QStringList({"Beta Mono", "Gamma", "Zeta"}));
    EXPECT_EQ(form.FindCount->text(), "3 of 7 faces");
    form.closeFind();

    // A pasted line of 10,000 characters with controls in it finds nothing.
    form.openFind();
    form.FindEdit->setText(QString(10000, QLatin1Char('x')) + QChar(1) + QStringLiteral("(.*"));
    EXPECT_TRUE(form.ListBox1->Items().isEmpty());
    EXPECT_EQ(form.FindCount->text(), "0 of 7 faces");
    form.closeFind();

    // The file view narrows its files by the same words, with its own count.
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    QTest::keyClick(form.FileListBox1, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(form.FindEdit, "pcf");
    EXPECT_EQ(form.FileListBox1->Items(), QStringList({"gamma.pcf.gz"}));
    EXPECT_EQ(form.FindCount->text(), "1 of 3 files");
    QTest::keyClick(form.FindEdit, Qt::Key_Escape);
    EXPECT_EQ(form.FileListBox1->Items(), QStringList({"alpha.ttf", "beta.otf", "gamma.pcf.gz"}));
    EXPECT_TRUE(form.FileListBox1->hasFocus());
}
