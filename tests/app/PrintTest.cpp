#include "tests/support/Choose.h"
#include "tests/support/FormFixture.h"
#include "tests/support/UserTexts.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <atomic>
#include <tuple>

using Print = FormFixture;

TEST_F(Print, SheetReadsTheWindowAsItStands)
{
    testenv::writeFile(fontFolder + "/alpha.ttf", "a");
    testenv::writeFile(fontFolder + "/a stray file.ttf", "s");
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Alpha BOLD (TrueType)", "alphab.ttf");
    TForm1& form = start({"Alpha", "Beta", "Gamma"});
    chooseFace(form, "Alpha");
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
    chooseFace(form, "Beta");
    form.ToolButton1->click();
    EXPECT_EQ(printer.first("Fontfile : \"cannot identified file\"").font.color, QColor(Qt::black));
    EXPECT_EQ(printer.first("Printed by Glyphwell").font.color, QColor(Qt::black));
    EXPECT_EQ(printer.first("one").font.face, "Beta");

    // The file view names the file, unquoted.
    form.Button5Click();
    chooseFile(form, "a stray file.ttf");
    form.ToolButton1->click();
    EXPECT_EQ(printer.find("FontName : Cannot found facename").size(), 1u);
    EXPECT_EQ(printer.find("Fontfile : a stray file.ttf").size(), 1u);
    // Alphabet, map and sample stay in the face the sample showed before.
    EXPECT_EQ(printer.first("ABCDEFGHIJKLMNOPQRSTUVWXYZ.1234567890").font.face, "Beta");
    EXPECT_EQ(printer.first("A").font.face, "Beta");

    chooseFile(form, "alpha.ttf");
    form.ToolButton1->click();
    EXPECT_EQ(printer.find("Fontfile : alpha.ttf").size(), 1u);
    EXPECT_EQ(printer.first("ABCDEFGHIJKLMNOPQRSTUVWXYZ.1234567890").font.face, "Alpha");
}

TEST_F(Print, ErrorsAreShownAndLeaveNoJobOpen)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.setValue(sys::RegValue{"Gamma (TrueType)", sys::RegType::Dword, QString(), 4});
    TForm1& form = start({"Alpha", "Beta", "Gamma", "Delta"});
    // The sheet and Print All each say it.
    const struct {
        bool hasDefaultPrinter;
        bool open; // a job of ours is still open
        QString message;
    } cases[] = {{false, false, "There is no default printer currently selected"},
                 {true, true, "Printing in progress"}};
    for (const auto& c : cases) {
        printer.hasDefaultPrinter = c.hasDefaultPrinter;
        printer.open = c.open;
        dialogs.messages.clear();
        form.ToolButton1->click();
        form.GradientButton10->Click();
        EXPECT_EQ(dialogs.messages, QStringList({c.message, c.message}));
        EXPECT_TRUE(printer.log.isEmpty() && printer.texts.empty()) << c.message.toStdString();
    }

    // A registry value Print All cannot read stops it there, and the job is dropped.
    printer.open = false;
    dialogs.messages.clear();
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

namespace {

// The texts of the last job with their pages, positions and fonts, to compare jobs.
auto jobTexts(const RecordingPrinter& printer)
{
    std::vector<std::tuple<int, int, int, QString, QString, int, bool>> texts;
    for (const auto& text : printer.texts)
        texts.emplace_back(text.page, text.x, text.y, text.text, text.font.face, text.font.size, text.rect.has_value());
    return texts;
}

QStringList actionTexts(const QList<QAction*>& actions)
{
    // What a menu of these actions shows.
    QStringList texts;
    for (const QAction* action : actions)
        if (action->isVisible())
            texts << action->text();
    return texts;
}

} // namespace

TEST_F(Print, SaveAsPdfWritesThePrintedPagesToAChosenFileAndAsksBeforeReplacing)
{
    TForm1& form = start({"Alpha", "Beta", "Gamma"});
    chooseFace(form, "Alpha");
    QStringList shown;
    recordProgressTexts(form, shown);
    // One click still prints; the arrow and Print All's context menu offer the file.
    EXPECT_EQ(form.ToolButton1->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(actionTexts(form.ToolButton1->menu()->actions()), QStringList({"Print", "Save as PDF\u2026"}));
    EXPECT_EQ(form.GradientButton10->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(actionTexts(form.GradientButton10->actions()), QStringList({"Save as PDF\u2026"}));
    form.ToolButton1->click();
    const auto printed = jobTexts(printer);

    // The dialog proposes the face's name in the documents folder; cancelling it saves nothing.
    dialogs.savedFiles = {std::nullopt};
    form.SaveSheetPdf->trigger();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].proposedFile, documents + "/Alpha.pdf");
    EXPECT_EQ(dialogs.saveRequests[0].filter, "PDF document|*.pdf");
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "end"}));

    const QString chosen = documents + "/sheet.pdf";
    dialogs.savedFiles = {chosen};
    form.SaveSheetPdf->trigger();
    EXPECT_EQ(printer.log.mid(2), QStringList({"start Glyphwell to " + chosen, "end"}));
    EXPECT_EQ(jobTexts(printer), printed) << "the file gets exactly the printed page";
    EXPECT_TRUE(dialogs.questions.isEmpty());

    // An existing file is replaced only after a Yes.
    ASSERT_EQ(testenv::contents(testenv::writeFile(chosen, "")), "");
    dialogs.savedFiles = {chosen, chosen};
    dialogs.answers = {false, true};
    form.SaveSheetPdf->trigger();
    EXPECT_EQ(dialogs.questions, QStringList({said::confirmReplace.arg(chosen)}));
    EXPECT_EQ(printer.log.size(), 4) << "No keeps the file";
    form.SaveSheetPdf->trigger();
    EXPECT_EQ(printer.log.mid(4), QStringList({"start Glyphwell to " + chosen, "end"}));

    // The catalogue: its own proposed name, the same rows as printed.
    form.GradientButton10->Click();
    const auto catalogue = jobTexts(printer);
    dialogs.savedFiles = {documents + "/all.pdf"};
    form.SaveCataloguePdf->trigger();
    EXPECT_EQ(dialogs.saveRequests.back().proposedFile, documents + "/Glyphwell catalogue.pdf");
    EXPECT_EQ(printer.log.mid(8), QStringList({"start Glyphwell to " + documents + "/all.pdf", "end"}));
    EXPECT_EQ(jobTexts(printer), catalogue);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    // What the progress box said of each job, printed or saved.
    EXPECT_EQ(shown, QStringList({said::printingSheet.arg(1).arg(1), said::savingSheet.arg(1).arg(1),
                                  said::savingSheet.arg(1).arg(1), said::printingAll.arg(1).arg(1),
                                  said::savingAll.arg(1).arg(1)}));
}

TEST_F(Print, JobsLeaveTheWindowAnsweringAndPrintAllCanBeCancelledWhileLaidOutOrDrawn)
{
    QStringList names;
    for (int face = 0; face < 200; ++face)
        names << QString("Face %1").arg(face, 3, 10, QChar('0'));
    TForm1& form = start(names);
    const QString title = form.Panel4->text();
    // A job that goes on only once the window's timer has ticked: were the job run on
    // the window's thread, the timer could not tick and the job would wait in vain.
    std::atomic<int> ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    const auto waitForTicks = [&] {
        const int seen = ticks;
        QDeadlineTimer deadline(20000);
        while (ticks < seen + 3 && !deadline.hasExpired())
            QThread::msleep(1);
        return ticks >= seen + 3;
    };
    bool answeredWhileLaidOut = false;
    bool answeredWhileDrawn = false;
    printer.onNewPage = [&](int) { answeredWhileLaidOut = waitForTicks(); };
    printer.onDrawn = [&](int) { answeredWhileDrawn = waitForTicks(); };
    form.ToolButton1->click();
    EXPECT_TRUE(answeredWhileDrawn) << "the sheet";
    printer.log.clear();
    form.GradientButton10->Click();
    EXPECT_TRUE(answeredWhileLaidOut);
    EXPECT_TRUE(answeredWhileDrawn);
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "page", "page", "page", "end"}));
    timer.stop();
    printer.log.clear();
    printer.onDrawn = {};

    form.CheckBox1->setChecked(true); // the auto view waits while the job runs
    ASSERT_TRUE(form.Timer1->isActive());

    // Escape as the third of four pages opens. The pages are laid out on the job's
    // thread: the window is looked at on its own.
    QString shownWhenCancelled;
    bool autoViewHeld = false;
    printer.onNewPage = [&](int page) {
        QMetaObject::invokeMethod(
            &form,
            [&] {
                auto* box = form.findChild<QProgressDialog*>("PrintProgress");
                if (page != 3 || !box || !box->isVisible())
                    return;
                shownWhenCancelled = form.Panel4->text() + "|" + box->labelText();
                autoViewHeld = !form.Timer1->isActive();
                QTest::keyClick(box, Qt::Key_Escape);
            },
            Qt::BlockingQueuedConnection);
    };
    form.GradientButton10->Click();
    EXPECT_EQ(form.findChild<QProgressDialog*>("PrintProgress"), nullptr) << "the box is gone";
    EXPECT_EQ(form.Panel4->text(), title);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_SOON_WITHIN(!form.printJobRunning(), 60000); // the job drops its pages in the background
    EXPECT_EQ(shownWhenCancelled, "Printing all fonts: page 2 of 4|Printing all fonts: page 2 of 4");
    EXPECT_TRUE(autoViewHeld);
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "page", "page", "abort"}));
    form.CheckBox1->setChecked(false);

    // The Cancel button once every page is laid out and the pages are being drawn.
    printer.onNewPage = {};
    printer.onDrawn = [&](int page) {
        QMetaObject::invokeMethod(
            &form,
            [&] {
                auto* box = form.findChild<QProgressDialog*>("PrintProgress");
                if (page > 1 && box && box->isVisible() && box->value() > box->maximum() / 2)
                    QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
            },
            Qt::BlockingQueuedConnection);
    };
    dialogs.savedFiles = {documents + "/all.pdf"};
    form.SaveCataloguePdf->trigger();
    EXPECT_SOON_WITHIN(!form.printJobRunning(), 60000);
    printer.onDrawn = {};
    EXPECT_EQ(printer.log.mid(4), QStringList({"start Glyphwell to " + documents + "/all.pdf", "page", "page", "page",
                                               "cancelled"}));
    EXPECT_EQ(form.Panel4->text(), title);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();

    // Nothing is left open: the next job prints whole.
    form.GradientButton10->Click();
    EXPECT_EQ(printer.log.last(), "end");
}
