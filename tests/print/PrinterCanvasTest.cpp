#include "framework/Errors.h"
#include "print/PrinterCanvas.h"
#include "tests/support/Printers.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

QString raisedBy(const std::function<void()>& action)
{
    try {
        action();
    } catch (const fw::Error& error) {
        return error.text();
    }
    return QString();
}

} // namespace

TEST(CommaText, QuotesOnlyItemsThatNeedIt)
{
    const struct {
        QStringList items;
        QString text;
    } cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"alpha.ttf", "alphab.ttf"}, "alpha.ttf,alphab.ttf"},
        {{"cannot identified file"}, "\"cannot identified file\""},
        {{"a,b.ttf"}, "\"a,b.ttf\""},
        {{"say \"hi\".ttf"}, "\"say \"\"hi\"\".ttf\""},
        {{"\"", "x"}, "\"\"\"\",x"},
        {{"tab\there.ttf", "bell\x07.ttf", QString("c1") + QChar(0x85)}, "\"tab\there.ttf\",\"bell\x07.ttf\",\"c1\u0085\""},
        {{"a.ttf", "", "b.ttf"}, "a.ttf,,b.ttf"},
        {{"Ünïcødé-宋体.ttf", "/abs/path/x.ttf"}, "Ünïcødé-宋体.ttf,/abs/path/x.ttf"},
        {{"<Unregistered>"}, "<Unregistered>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(print::commaText(c.items), c.text) << c.items.join('|').toStdString();
}

TEST(PrinterCanvas, JobsRaiseWithoutPrinterOrWhileOneIsOpenAndAJobLeftByAnErrorIsAborted)
{
    RecordingPrinter printer;
    print::PrinterCanvas canvas(printer);

    printer.hasDefaultPrinter = false;
    EXPECT_EQ(raisedBy([&] { canvas.beginDoc(); }), "There is no default printer currently selected");
    EXPECT_FALSE(canvas.printing());
    EXPECT_TRUE(printer.log.isEmpty());

    printer.hasDefaultPrinter = true;
    canvas.beginDoc();
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell"}));
    EXPECT_EQ(raisedBy([&] { canvas.beginDoc(); }), "Printing in progress");
    EXPECT_EQ(raisedBy([&] { print::PrintJob second(canvas); }), "Printing in progress");
    EXPECT_TRUE(canvas.printing()) << "a refused second job leaves the first one open";
    canvas.endDoc();
    EXPECT_FALSE(canvas.printing());

    // A printer that refuses the finished job: raised, and the job is over.
    printer.accepts = false;
    EXPECT_EQ(raisedBy([&] {
                  print::PrintJob job(canvas);
                  job.end();
              }),
              "The printer did not accept the print job");
    EXPECT_FALSE(canvas.printing());
    EXPECT_EQ(printer.log.back(), "end");

    // A job left by an error: aborted, and the next one prints.
    printer.accepts = true;
    printer.log.clear();
    EXPECT_EQ(raisedBy([&] {
                  print::PrintJob job(canvas);
                  canvas.textOut(0, 0, "half");
                  throw fw::Error("Invalid data type for 'X (TrueType)'");
              }),
              "Invalid data type for 'X (TrueType)'");
    EXPECT_EQ(printer.log, QStringList({"start Glyphwell", "abort"}));
    EXPECT_FALSE(canvas.printing());
    print::PrintJob next(canvas);
    next.end();
    EXPECT_EQ(printer.log.back(), "end");
}

TEST(PrinterCanvas, TheFontBelongsToThePrinterAndOutlivesJobs)
{
    RecordingPrinter printer;
    {
        print::PrinterCanvas canvas(printer);
        print::PrintJob job(canvas);
        canvas.setFace("Alpha", sys::Fallback::None);
        canvas.setSize(30);
        canvas.setStyle(print::fsBold | print::fsUnderline);
        canvas.setColor(Qt::red);
        canvas.textOut(5, 6, "first");
        job.end();
    }
    print::PrinterCanvas later(printer);
    print::PrintJob job(later);
    later.textOut(7, 8, "second");
    job.end();
    const sys::PrinterFont expected{"Alpha", 30, true, false, true, Qt::red, sys::Fallback::None};
    EXPECT_EQ(printer.first("second").font, expected);

    // A whole screen font: size in points (from pixels at the screen's 96 dpi when
    // sized in pixels), style, colour and fallback.
    QFont screen(QStringLiteral("Beta"));
    screen.setPointSize(24);
    screen.setItalic(true);
    later.assignFont(screen, Qt::blue);
    EXPECT_EQ(later.font(), (sys::PrinterFont{"Beta", 24, false, true, false, Qt::blue, sys::Fallback::Allowed}));
    screen.setPixelSize(32);
    screen.setStyleStrategy(QFont::NoFontMerging);
    later.assignFont(screen, Qt::blue);
    EXPECT_EQ(later.font(), (sys::PrinterFont{"Beta", 24, false, true, false, Qt::blue, sys::Fallback::None}));
    EXPECT_EQ(sys::printerPixelHeight(12, 600), 100);
    EXPECT_EQ(sys::printerPixelHeight(11, 600), 92);
    EXPECT_EQ(sys::printerPixelHeight(8, 300), 33);
}
