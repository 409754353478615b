// The real printer: Qt's PDF output read back with pdftotext and pdftoppm, and the
// program's own handlers printing to the system's default CUPS printer when that is
// a queue writing PDF files (scripts/cups-test-printer.sh sets one up).
#include "app/Startup.h"
#include "app/Unit1.h"
#include "print/PrinterCanvas.h"
#include "tests/support/Choose.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PdfText.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>
#include <iostream>

namespace {

using pdftext::points;
using testenv::entries;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The word that lies at the position (in points), within a tolerance; any word
// there when the text is not to be compared.
const pdftext::Word* wordAt(const pdftext::Document& document, const QString& text, double x, double y,
                            double tolerance = 0.6, bool anyText = false)
{
    for (const pdftext::Word& word : document.words)
        if ((anyText || word.text == text) && std::abs(word.xMin - x) < tolerance && std::abs(word.yMin - y) < tolerance)
            return &word;
    return nullptr;
}

// The file that the default printer writes each job to, or why there is none.
struct PrinterFile {
    QString printer;
    QString file;
    QString whyNot;
};

PrinterFile defaultPrinterFile()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {{}, {}, "no default printer (start scripts/cups-test-printer.sh)"};
    if (QStandardPaths::findExecutable("lpoptions").isEmpty() || QStandardPaths::findExecutable("lpstat").isEmpty())
        return {{}, {}, "the CUPS client tools are missing"};
    for (const QString& option : run("lpoptions", {"-p", info.printerName()}).split(' ')) {
        if (option.startsWith("device-uri=file:"))
            return {info.printerName(), QUrl(option.mid(11)).toLocalFile(), {}};
    }
    return {{}, {}, "the default printer " + info.printerName() + " does not write to a file"};
}

// Waits until the queue is empty and the job's file has been written.
bool waitForJob(const PrinterFile& target)
{
    for (int i = 0; i < 600; ++i) {
        const bool pending = !run("lpstat", {"-W", "not-completed", "-o", target.printer}).trimmed().isEmpty();
        if (!pending && QFileInfo(target.file).size() > 0)
            return true;
        QThread::msleep(100);
    }
    return false;
}

// Prints a fresh job through the action and reads what the printer wrote. With
// GLYPHWELL_KEEP_PRINTS set to a folder, the job is kept there as NAME.pdf.
std::optional<pdftext::Document> printThroughCups(const PrinterFile& target, const QString& name,
                                                  const std::function<void()>& print)
{
    QFile::remove(target.file);
    print();
    if (!waitForJob(target))
        return std::nullopt;
    const QString keep = qEnvironmentVariable("GLYPHWELL_KEEP_PRINTS");
    if (!keep.isEmpty()) {
        QFile::remove(keep + "/" + name + ".pdf");
        QFile::copy(target.file, keep + "/" + name + ".pdf");
    }
    return pdftext::read(target.file);
}

// Starts a job of pages "Page1", "Page2", ..., in two faces by turns.
void startPages(sys::QtPrinter& printer, int pages)
{
    printer.startJob("pages");
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            printer.newPage();
        sys::PrinterFont font;
        font.face = page % 2 ? "DejaVu Sans" : "Liberation Sans";
        printer.textOut(0, 100, QString("Page%1").arg(page), font);
    }
}

} // namespace

TEST(QtPrinterPdf, PositionsAreDevicePixelsAndSizesTruePoints)
{
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.path() + "/out.pdf";
    sys::QtPrinter printer(pdf);
    print::PrinterCanvas canvas(printer);
    canvas.beginDoc();
    canvas.setFace("DejaVu Sans");
    canvas.setSize(12);
    canvas.textOut(0, 100, "Origin");
    canvas.textOut(1200, 700, "Moved");
    canvas.textOut(0, 100000, "Lost");
    canvas.setSize(24);
    canvas.textOut(0, 1300, "Origin");
    canvas.newPage();
    canvas.textOut(0, 100, "Second");
    canvas.endDoc();

    const auto document = pdftext::read(pdf);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->pages, 2);
    const auto origins = document->find("Origin");
    ASSERT_EQ(origins.size(), 2u);
    const double x0 = origins[0].xMin;
    const double y0 = origins[0].yMin - points(100);
    EXPECT_NE(wordAt(*document, "Moved", x0 + points(1200), y0 + points(700), 0.05), nullptr);
    EXPECT_NE(wordAt(*document, "Origin", x0, y0 + points(1300), 0.05), nullptr);
    EXPECT_TRUE(document->find("Lost").empty());
    ASSERT_EQ(document->find("Second").size(), 1u);
    EXPECT_EQ(document->find("Second")[0].page, 2);

    // 12 points at 600 dpi is a 100-pixel em; 24 points twice as wide.
    const double width = QFontMetricsF(sys::faceFont("DejaVu Sans", 100)).horizontalAdvance("Origin") * 72 / 600;
    EXPECT_NEAR(origins[0].xMax - origins[0].xMin, width, 0.02 * width);
    EXPECT_NEAR((origins[1].xMax - origins[1].xMin) / (origins[0].xMax - origins[0].xMin), 2.0, 0.02);

    // An aborted job leaves nothing behind, and the printer is free again.
    const QString dropped = folder.path() + "/dropped.pdf";
    sys::QtPrinter second(dropped);
    print::PrinterCanvas other(second);
    other.beginDoc();
    other.textOut(0, 0, "never");
    other.abort();
    EXPECT_FALSE(QFile::exists(dropped));
    EXPECT_FALSE(other.printing());
}

TEST(QtPrinterPdf, LongJobsAreMadeInPartsAndReachTheFileWholeAndInOrder)
{
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // Saved to a memory file system where there is one: not the temporary folder's.
    const bool shm = QFileInfo("/dev/shm").isWritable();
    QTemporaryDir folder(shm ? "/dev/shm/glyphwell-XXXXXX" : QDir::tempPath() + "/glyphwell-XXXXXX");
    const QString pdf = folder.path() + "/long.pdf";
    constexpr int pages = 2 * sys::QtPrinter::pagesPerPart + 3;
    const auto printLong = [&](const sys::PageProgress& progress) {
        sys::QtPrinter printer(pdf);
        startPages(printer, pages);
        return printer.endJob(progress);
    };
    int last = 0;
    ASSERT_EQ(printLong([&](int page, int count) {
                  EXPECT_EQ(count, pages);
                  EXPECT_GE(page, last);
                  last = page;
                  return true;
              }),
              sys::Printer::End::Printed);
    EXPECT_EQ(last, pages);
    const auto document = pdftext::read(pdf);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->pages, pages);
    for (int page = 1; page <= pages; ++page) {
        const auto words = document->find(QString("Page%1").arg(page));
        ASSERT_EQ(words.size(), 1u) << page;
        EXPECT_EQ(words[0].page, page);
    }
    // Cancelled in its second part: the file from before stays as it was, no part is left.
    const QDateTime written = QFileInfo(pdf).lastModified();
    EXPECT_EQ(printLong([](int page, int) { return page < sys::QtPrinter::pagesPerPart + 4; }),
              sys::Printer::End::Cancelled);
    EXPECT_EQ(QFileInfo(pdf).lastModified(), written);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"long.pdf"}));

    // Exactly one part's pages: no empty part, no blank page after them.
    sys::QtPrinter whole(pdf);
    startPages(whole, sys::QtPrinter::pagesPerPart);
    ASSERT_EQ(whole.endJob(), sys::Printer::End::Printed);
    EXPECT_EQ(pdftext::read(pdf)->pages, sys::QtPrinter::pagesPerPart);
    // A folder that is not there takes no file: refused, not printed.
    sys::QtPrinter nowhere(folder.path() + "/no such folder/x.pdf");
    nowhere.startJob("nowhere");
    EXPECT_EQ(nowhere.endJob(), sys::Printer::End::Refused);
}

// The parts are joined by pdfunite: here stand-ins that fail, or hang until killed.
TEST(QtPrinterPdf, AJoinThatFailsOrIsCancelledKeepsTheFileThatWasThere)
{
    QTemporaryDir folder;
    const QString pdf = folder.path() + "/long.pdf";
    const QByteArray path = qgetenv("PATH");
    const struct {
        const char* script;
        bool cancel;
        sys::Printer::End end;
    } cases[] = {{"exit 1", false, sys::Printer::End::Refused}, {"exec sleep 60", true, sys::Printer::End::Cancelled}};
    for (const auto& c : cases) {
        QTemporaryDir bin;
        testenv::writeFile(bin.path() + "/pdfunite", QByteArray("#!/bin/sh\n") + c.script + "\n");
        QFile::setPermissions(bin.path() + "/pdfunite", QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin.path()) + ":" + path);
        testenv::writeFile(pdf, "old contents");
        sys::QtPrinter printer(pdf);
        startPages(printer, sys::QtPrinter::pagesPerPart + 1);
        // Asked at most three times for the last page before the join, then while it
        // runs; only a join stopped while it runs ends as Cancelled.
        int lastPageAsked = 0;
        const auto end = printer.endJob([&](int page, int pages) {
            lastPageAsked += page == pages;
            return !c.cancel || lastPageAsked < 4;
        });
        qputenv("PATH", path);
        EXPECT_EQ(end, c.end) << c.script;
        EXPECT_EQ(testenv::contents(pdf), "old contents") << c.script;
        EXPECT_EQ(entries(folder.path()), QStringList({"long.pdf"})) << c.script;
    }
}

TEST(QtPrinterPdf, TextsHideWhatLiesBeneathTheirBoxes)
{
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty() || !pdftext::available())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.path() + "/boxes.pdf";
    sys::QtPrinter printer(pdf);
    print::PrinterCanvas canvas(printer);
    canvas.beginDoc();
    canvas.setFace("DejaVu Sans");
    canvas.setSize(40);
    canvas.textOut(0, 0, "MMMM");                           // reference: where the page starts
    canvas.textOut(0, 1000, "MMMM");                        // half covered by an empty white rectangle
    canvas.textRect(QRect(0, 1000, 400, 600), 0, 1000, "");
    canvas.textRect(QRect(0, 2000, 300, 500), 0, 2000, "MMMM"); // clipped to 300 pixels
    canvas.textOut(0, 3000, "MMMM");                        // covered by the box of later periods
    canvas.textOut(0, 3000, "....");
    canvas.endDoc();

    // 60 dpi: one image pixel is ten device pixels. The first text marks the page's origin.
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf, folder.path() + "/page"}), 0);
    const QImage page(folder.path() + "/page.png");
    ASSERT_FALSE(page.isNull());
    const auto words = pdftext::read(pdf);
    ASSERT_TRUE(words && !words->find("MMMM").empty());
    const double left = words->find("MMMM")[0].xMin * 60 / 72, top = words->find("MMMM")[0].yMin * 60 / 72;
    const auto dark = [&](int x1, int y1, int x2, int y2) { // device pixels from the origin
        int count = 0;
        for (int y = y1 / 10; y < y2 / 10; ++y)
            for (int x = x1 / 10; x < x2 / 10; ++x)
                count += qGray(page.pixel(int(left) + x, int(top) + y)) < 128 ? 1 : 0;
        return count;
    };
    EXPECT_EQ(dark(20, 1000, 380, 1400), 0) << "the white rectangle hides the letters under it";
    EXPECT_GT(dark(500, 1000, 1100, 1400), 20) << "the letters beside it stay";
    EXPECT_GT(dark(20, 2000, 280, 2400), 20) << "the text in its rectangle";
    EXPECT_EQ(dark(320, 2000, 1200, 2500), 0) << "clipped at the rectangle's right edge";
    EXPECT_EQ(dark(20, 3050, 380, 3200), 0) << "the later text's box hides the letters' tops";
    EXPECT_GT(dark(500, 3050, 1100, 3200), 20);
}

// A printer removed while the job was being made: the job says it was refused, not
// printed.
TEST(CupsPrinting, APrinterGoneBeforeTheJobEndsIsRefused)
{
    const PrinterFile target = defaultPrinterFile();
    if (target.file.isEmpty() || QStandardPaths::findExecutable("lpadmin").isEmpty())
        GTEST_SKIP() << (target.file.isEmpty() ? target.whyNot.toStdString() : "lpadmin is missing");
    QLockFile lock(QDir::tempPath() + "/glyphwell-cups-test.lock");
    lock.setStaleLockTime(0);
    ASSERT_TRUE(lock.tryLock(300000));
    const QString gone = "GlyphwellGone";
    run("lpadmin", {"-p", gone, "-E", "-v", "file:///dev/null"});
    run("lpadmin", {"-d", gone});
    sys::QtPrinter printer;
    const sys::Printer::Start started = printer.startJob("gone");
    printer.textOut(0, 100, "Page", {});
    run("lpadmin", {"-x", gone});
    run("lpadmin", {"-d", target.printer});
    ASSERT_EQ(started, sys::Printer::Start::Started) << "the queue could not be made";
    EXPECT_EQ(printer.endJob(), sys::Printer::End::Refused);
    EXPECT_EQ(QPrinterInfo::defaultPrinter().printerName(), target.printer);
}

// What CUPS is told of the paper, sides, orientation and copies (its PDF queue shows
// none of them in what it writes).
TEST(CupsPrinting, JobOptionsFollowThePrintersSettings)
{
    using Options = std::vector<std::pair<QByteArray, QByteArray>>;
    const struct {
        QPageLayout::Orientation orientation;
        QPrinter::DuplexMode duplex;
        int copies;
        Options options;
    } cases[] = { // after the paper, "media A4"
        {QPageLayout::Portrait, QPrinter::DuplexNone, 1, {{"sides", "one-sided"}}},
        {QPageLayout::Portrait, QPrinter::DuplexAuto, 2, {{"copies", "2"}, {"sides", "two-sided-long-edge"}}},
        {QPageLayout::Landscape, QPrinter::DuplexAuto, 1, {{"sides", "two-sided-short-edge"}, {"landscape", ""}}},
        {QPageLayout::Landscape, QPrinter::DuplexLongSide, 1, {{"sides", "two-sided-long-edge"}, {"landscape", ""}}},
        {QPageLayout::Portrait, QPrinter::DuplexShortSide, 1, {{"sides", "two-sided-short-edge"}}},
    };
    for (const auto& c : cases) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(c.orientation);
        printer.setDuplex(c.duplex);
        printer.setCopyCount(c.copies);
        Options expected{{"media", "A4"}};
        expected.insert(expected.end(), c.options.begin(), c.options.end());
        EXPECT_EQ(sys::cupsJobOptions(printer), expected) << c.orientation << " " << c.duplex;
    }
}

TEST(CupsPrinting, SheetAndCatalogueReachTheDefaultPrinter)
{
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const PrinterFile target = defaultPrinterFile();
    if (target.file.isEmpty())
        GTEST_SKIP() << target.whyNot.toStdString();
    // Other test processes may print to the same queue.
    QLockFile lock(QDir::tempPath() + "/glyphwell-cups-test.lock");
    lock.setStaleLockTime(0);
    ASSERT_TRUE(lock.tryLock(300000));

    // A symbol face, and a face whose file vanishes after the fonts were listed.
    // Both are made known to Qt as an install does, in case it listed the fonts already.
    const QString symbols = "/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf";
    if (QFileInfo::exists(symbols))
        QFontDatabase::addApplicationFont(testenv::copyInto(symbols, testenv::userFontFolder()));
    const QString vanishing = testenv::copyInto(testenv::debianFont("DejaVuSerif.ttf"), testenv::userFontFolder());
    QFontDatabase::addApplicationFont(vanishing);
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
    const QStringList faces = form.ListBox1->Items();
    ASSERT_TRUE(faces.contains("DejaVu Sans"));
    chooseFace(form, "DejaVu Sans");
    form.Edit1->setPlainText("Sample one\nSample two\nSample three");

    const auto sheet = printThroughCups(target, "sheet", [&] { form.ToolButton1->click(); });
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    ASSERT_TRUE(sheet) << "no finished job in " << target.file.toStdString();
    EXPECT_EQ(sheet->pages, 1);
    const auto header = sheet->find("Printed");
    ASSERT_EQ(header.size(), 1u);
    const double x0 = header[0].xMin, y0 = header[0].yMin - points(100);
    const auto at = [&](const QString& text, int x, int y) { return wordAt(*sheet, text, x0 + points(x), y0 + points(y)); };
    EXPECT_TRUE(at("FontName", 0, 250));
    EXPECT_TRUE(at("Fontfile", 0, 400));
    EXPECT_TRUE(at("Font", 2100, 550));
    EXPECT_TRUE(at("Character", 0, 550));
    for (int k = 0; k < 11; ++k) {
        EXPECT_TRUE(at(QString::number(QList<int>{6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20}[k]), 2100, 750 + 300 * k)) << k;
        // The larger lines run past the printable area's right edge and are cut there.
        const auto* alphabet = wordAt(*sheet, "", x0 + points(2100), y0 + points(850 + 300 * k), 0.6, true);
        EXPECT_TRUE(alphabet && alphabet->text.startsWith("ABCDEFGHIJKLMNOPQRSTUVWXY")) << k;
    }
    EXPECT_TRUE(at("!", 50, 750));
    EXPECT_TRUE(at("$", 650, 750));
    EXPECT_TRUE(at(QString(QChar(0xFD)), 50, 4050));
    EXPECT_TRUE(at("Your", 0, 4200));
    EXPECT_TRUE(at("size:", 0, 4350) || at("Text", 0, 4350));
    EXPECT_TRUE(at("Sample", 0, 4550));
    EXPECT_TRUE(at("Sample", 0, 4790));
    EXPECT_TRUE(at("Sample", 0, 5030));
    const auto dejavu = sheet->find("DejaVu");
    EXPECT_FALSE(dejavu.empty()) << "the face title";

    QFile::remove(vanishing);
    const QString title = form.Panel4->text();
    const auto catalogue = printThroughCups(target, "catalogue", [&] { form.GradientButton10->Click(); });
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(form.Panel4->text(), title);
    EXPECT_EQ(catalogue->pages, 1);
    const auto first = catalogue->find("Printed");
    ASSERT_EQ(first.size(), 1u);
    const double cx = first[0].xMin, cy = first[0].yMin - points(100);
    for (int row = 0; row < faces.size(); ++row) {
        const int y = row == 0 ? 350 : 370 + 110 * row;
        const QString word = faces[row].split(' ').first();
        EXPECT_TRUE(wordAt(*catalogue, word, cx, cy + points(y))) << faces[row].toStdString();
        const bool unregistered = faces[row] == "Default" || faces[row] == "MS Sans Serif";
        if (unregistered)
            EXPECT_TRUE(wordAt(*catalogue, "<Unregistered>", cx + points(2300), cy + points(y)))
                << faces[row].toStdString();
        if (faces[row] == "DejaVu Sans" || faces[row] == "Default")
            EXPECT_TRUE(wordAt(*catalogue, word, cx + points(1100), cy + points(y), 1.0)) << faces[row].toStdString();
    }
}

TEST(CupsPrinting, NoDefaultPrinterIsReportedAndNothingPrinted)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a default printer is set";
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    windows.form1->ToolButton1->click();
    windows.form1->GradientButton10->Click();
    EXPECT_EQ(dialogs.messages, QStringList({"There is no default printer currently selected",
                                             "There is no default printer currently selected"}));
}

namespace {

// Clicks the Cancel button of Print All's progress box once its pages are being drawn.
struct CancelWhileDrawing {
    explicit CancelWhileDrawing(TForm1& form)
    {
        QObject::connect(&watch, &QTimer::timeout, [&form] {
            auto* box = form.findChild<QProgressDialog*>("PrintProgress");
            if (box && box->isVisible() && box->value() > box->maximum() / 2)
                QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
        });
        watch.start(0);
    }
    QTimer watch;
};

} // namespace

TEST(SaveAsPdf, SheetAndCatalogueFilesHoldWhatThePrinterGets)
{
    if (!pdftext::available())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
    const QStringList faces = form.ListBox1->Items();
    ASSERT_TRUE(faces.contains("DejaVu Sans"));
    chooseFace(form, "DejaVu Sans");
    form.Edit1->setPlainText("Sample one\nSample two");

    const QString sheetFile = folder.path() + "/sheet.pdf", catalogueFile = folder.path() + "/catalogue.pdf";
    dialogs.savedFiles = {sheetFile, catalogueFile};
    form.SaveSheetPdf->trigger();
    form.SaveCataloguePdf->trigger();
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    EXPECT_EQ(entries(folder.path()), QStringList({"catalogue.pdf", "sheet.pdf"})) << "no spool file is left";
    const auto sheet = pdftext::read(sheetFile);
    const auto catalogue = pdftext::read(catalogueFile);
    ASSERT_TRUE(sheet && catalogue);
    EXPECT_EQ(sheet->pages, 1);
    EXPECT_EQ(catalogue->pages, 1);
    const auto header = sheet->find("Printed");
    ASSERT_EQ(header.size(), 1u);
    const double x0 = header[0].xMin, y0 = header[0].yMin - points(100);
    EXPECT_TRUE(wordAt(*sheet, "FontName", x0, y0 + points(250)));
    EXPECT_TRUE(wordAt(*sheet, "Character", x0, y0 + points(550)));
    EXPECT_TRUE(wordAt(*sheet, "Sample", x0, y0 + points(4550)));
    EXPECT_TRUE(wordAt(*sheet, "Sample", x0, y0 + points(4790)));
    const auto first = catalogue->find("Printed");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(wordAt(*catalogue, faces[1].split(' ').first(), first[0].xMin, first[0].yMin + points(380)));

    // With the CUPS test printer: the queue gets the same pages, the same words at
    // the same places, as the files.
    const PrinterFile target = defaultPrinterFile();
    if (target.file.isEmpty()) { // the files are checked; the comparison needs a printer
        std::cout << "[     NOTE ] not compared with a printer: " << target.whyNot.toStdString() << "\n";
        return;
    }
    QLockFile lock(QDir::tempPath() + "/glyphwell-cups-test.lock");
    lock.setStaleLockTime(0);
    ASSERT_TRUE(lock.tryLock(300000));
    const std::pair<QString, std::function<void()>> jobs[] = {
        {sheetFile, [&] { form.ToolButton1->click(); }},
        {catalogueFile, [&] { form.GradientButton10->Click(); }},
    };
    for (const auto& [file, print] : jobs) {
        const auto saved = pdftext::read(file);
        const auto printed = printThroughCups(target, QFileInfo(file).baseName(), print);
        ASSERT_TRUE(saved && printed) << file.toStdString();
        EXPECT_EQ(printed->pages, saved->pages);
        EXPECT_EQ(printed->words.size(), saved->words.size()) << file.toStdString();
        for (const pdftext::Word& word : printed->words) {
            const auto* same = wordAt(*saved, word.text, word.xMin, word.yMin, 0.1);
            EXPECT_TRUE(same && same->page == word.page) << word.text.toStdString() << " in " << file.toStdString();
        }
    }
}

TEST(SaveAsPdf, CancelledCatalogueLeavesNoFileAndNoJob)
{
    QTemporaryDir folder;
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;

    const QString file = folder.path() + "/catalogue.pdf";
    const auto openFiles = [] { // the spool files still open
        QStringList spools;
        for (const QFileInfo& open : QDir("/dev/fd").entryInfoList(QDir::System | QDir::NoDotAndDotDot))
            if (open.symLinkTarget().contains(".part") || open.symLinkTarget().contains(".spool"))
                spools << open.symLinkTarget();
        return spools;
    };
    {
        CancelWhileDrawing cancel(form);
        dialogs.savedFiles = {file};
        form.SaveCataloguePdf->trigger();
    }
    EXPECT_TRUE(entries(folder.path()).isEmpty());

    // A cancelled job that was to replace a file leaves the old file as it was.
    testenv::writeFile(file, "old contents");
    {
        CancelWhileDrawing cancel(form);
        dialogs.savedFiles = {file};
        dialogs.answers = {true};
        form.SaveCataloguePdf->trigger();
    }
    EXPECT_EQ(entries(folder.path()), QStringList({"catalogue.pdf"}));
    EXPECT_EQ(testenv::contents(file), "old contents");
    EXPECT_EQ(openFiles(), QStringList()) << "the spool files are closed";
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();

    const PrinterFile target = defaultPrinterFile();
    if (target.file.isEmpty()) { // the files are checked; the queue needs a printer
        std::cout << "[     NOTE ] no queue checked: " << target.whyNot.toStdString() << "\n";
        return;
    }
    QLockFile lock(QDir::tempPath() + "/glyphwell-cups-test.lock");
    lock.setStaleLockTime(0);
    ASSERT_TRUE(lock.tryLock(300000));
    const QString jobsBefore = run("lpstat", {"-W", "all", "-o", target.printer});
    QFile::remove(target.file);
    {
        CancelWhileDrawing cancel(form);
        form.GradientButton10->Click();
    }
    QThread::msleep(500);
    EXPECT_EQ(run("lpstat", {"-W", "all", "-o", target.printer}), jobsBefore) << "no job reached the queue";
    EXPECT_FALSE(QFile::exists(target.file));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
}

namespace {

// What the process has open, one line a descriptor: its target.
QStringList openDescriptors()
{
    QStringList open;
    for (const QString& fd : QDir("/proc/self/fd").entryList(QDir::System | QDir::NoDotAndDotDot))
        open << QFile::symLinkTarget("/proc/self/fd/" + fd);
    return open;
}

// The main window on scripted faces, saving its PDF files through Qt for real.
struct PdfWindow : FakeServices {
    sys::QtPrinter pdfPrinter;
    Windows windows;
    TForm1& start(const QStringList& faces)
    {
        fonts.addFaces(faces);
        windows = createWindows(Services{fonts, registry, shellFolders, files, resources, shell, pdfPrinter, fontFiles});
        return *windows.form1;
    }
};

} // namespace

TEST(SaveAsPdf, CancelledInAnyPartTheWindowIsBackAtOnceAndNothingIsLeft)
{
    // Three parts of drawing: two whole, and a last of two pages.
    constexpr int pages = 2 * sys::QtPrinter::pagesPerPart + 2;
    QStringList faces;
    for (int face = 0; face < (pages - 1) * 52 + 3; ++face) // with "Default", one row on the last page
        faces << QString("Face %1").arg(face, 4, 10, QChar('0'));
    QTemporaryDir folder;
    PdfWindow window;
    FakeDialogs& dialogs = window.dialogs;
    TForm1& form = window.start(faces);
    const QString file = folder.path() + "/catalogue.pdf";
    // The fonts Qt opens for good are opened before anything is counted.
    dialogs.savedFiles = {folder.path() + "/sheet.pdf"};
    form.SaveSheetPdf->trigger();
    ASSERT_TRUE(QFile::remove(folder.path() + "/sheet.pdf"));

    const struct {
        int page; // drawn when Cancel is clicked
        bool replacing;
    } cases[] = {{2, false}, {pages / 2 + 4, true}, {pages, false}};
    for (const auto& c : cases) {
        if (c.replacing)
            testenv::writeFile(file, "old contents");
        const QStringList before = entries(folder.path());
        const QStringList descriptors = openDescriptors();
        bool cancelled = false;
        QString shown;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* box = form.findChild<QProgressDialog*>("PrintProgress");
            if (!cancelled && box && box->isVisible() && box->value() >= pages + c.page) {
                shown = box->labelText();
                cancelled = true;
                QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        watch.start(1);
        dialogs.savedFiles = {file};
        dialogs.answers = {true};
        form.SaveCataloguePdf->trigger();
        ASSERT_TRUE(cancelled) << c.page;
        // Cancelled in the part meant, its page shown at the click: the part being drawn
        // stops, and the window does not wait for the rest.
        const QRegularExpression shownPage(QString("^Saving all fonts: page (\\d+) of %1").arg(pages));
        const int page = shownPage.match(shown).captured(1).toInt();
        EXPECT_EQ((page - 1) / sys::QtPrinter::pagesPerPart, (c.page - 1) / sys::QtPrinter::pagesPerPart)
            << shown.toStdString();
        EXPECT_EQ(entries(folder.path()), before) << c.page;
        EXPECT_SOON_WITHIN(!form.printJobRunning(), 120000);
        EXPECT_EQ(entries(folder.path()), before) << c.page;
        // The print system's own connection of the job's thread may close a moment later.
        EXPECT_SOON(openDescriptors().size() <= descriptors.size()) << c.page << ": " << openDescriptors().join(' ').toStdString();
        if (c.replacing)
            EXPECT_EQ(testenv::contents(file), "old contents") << c.page;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
}

// Run by the test below in a process of its own: a long job into the file that
// GLYPHWELL_KILLED_JOB names, telling each page it makes on its output.
TEST(QtPrinterPdf, KilledJobHelper)
{
    const QString target = qEnvironmentVariable("GLYPHWELL_KILLED_JOB");
    if (target.isEmpty())
        GTEST_SKIP() << "run by JobKilledMidwayLeavesTheFolderAsItWas";
    sys::QtPrinter printer(target);
    startPages(printer, 2 * sys::QtPrinter::pagesPerPart + 3);
    printer.endJob([](int page, int) {
        std::cout << "page " << page << std::endl;
        QThread::msleep(20);
        return true;
    });
}

TEST(QtPrinterPdf, JobKilledMidwayLeavesTheFolderAsItWas)
{
    constexpr int pages = 2 * sys::QtPrinter::pagesPerPart + 3;
    for (const int killedAt : {2, sys::QtPrinter::pagesPerPart + 4, pages}) {
        QTemporaryDir folder;
        const QString target = folder.path() + "/long.pdf";
        testenv::writeFile(target, "old contents");
        QProcess job;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GLYPHWELL_KILLED_JOB", target);
        job.setProcessEnvironment(environment);
        job.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=QtPrinterPdf.KilledJobHelper"});
        ASSERT_TRUE(job.waitForStarted());
        const QByteArray line = "page " + QByteArray::number(killedAt);
        bool reached = false;
        while (!reached && job.waitForReadyRead(60000)) {
            while (job.canReadLine())
                reached = reached || job.readLine().trimmed() == line;
        }
        ASSERT_TRUE(reached) << killedAt;
        job.kill(); // SIGKILL
        ASSERT_TRUE(job.waitForFinished());
        EXPECT_EQ(entries(folder.path()), QStringList({"long.pdf"})) << killedAt;
        EXPECT_EQ(testenv::contents(target), "old contents") << killedAt;
    }
}
