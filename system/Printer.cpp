#include "system/Printer.h"

#include "system/FaceCoverage.h"
#include "system/RasterFaces.h"
#include "system/SpoolFile.h"
#include "system/TextFaces.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <cmath>
#include <cups/cups.h>
#include <malloc.h>
#include <optional>
#include <utility>
#include <vector>

namespace sys {

int printerPixelHeight(int points, int dpi)
{
    return int(std::lround(double(points) * dpi / 72.0));
}

namespace {

// The height a point size has on the screen, where the bitmap face's strike is chosen.
double screenPixelHeight(int points)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return points * (screen ? screen->logicalDotsPerInchY() : 96.0) / 72.0;
}

// One text of a page; a text in a rectangle carries its rectangle, a plain text none.
struct Drawing {
    std::optional<QRect> rect;
    int x = 0;
    int y = 0;
    QString text;
    PrinterFont font;
};

QFont qtFont(const PrinterFont& font, int dpi)
{
    QFont qt = faceFont(font.face, printerPixelHeight(font.size, dpi), font.bold, font.italic, font.underline,
                        font.fallback);
    // A bitmap face prints its own pixels: the strike the screen shows at this point
    // size, as outlines the page scales freely (one stand-in per strike, not per size).
    // Asked by the face's own name, which is a family fontconfig lists.
    const QString standIn = rasterFaces() && !isDefaultFace(font.face)
                                ? rasterFaces()->outlineStandIn(font.face, screenPixelHeight(font.size))
                                : QString();
    if (!standIn.isEmpty()) {
        qt.setFamilies({standIn});
        qt.setHintingPreference(QFont::PreferNoHinting);
        qt.setStyleStrategy(QFont::StyleStrategy(qt.styleStrategy() | QFont::NoAntialias));
    }
    // Letters as typed, one glyph each: no ligatures where a script needs no shaping.
    // Outlines only: a bitmap face would print at its screen size, a speck at 600 dpi.
    qt.setStyleStrategy(QFont::StyleStrategy(qt.styleStrategy() | QFont::PreferNoShaping | QFont::ForceOutline));
    return qt;
}

// The font a text is printed in: a label in a script its face lacks goes in one face
// that has it all, found once, rather than through Qt's search over every installed
// family. A face of colour glyphs keeps them (they are printed as an image).
struct PrintedFont {
    QFont font;
    bool colour = false;
};

PrintedFont printedFont(const PrinterFont& font, const QString& text, int dpi)
{
    PrintedFont printed{qtFont(font, dpi)};
    if (font.fallback == Fallback::Allowed)
        printed.font = fontForText(printed.font, text);
    printed.colour = isColourFace(printed.font.families().value(0, printed.font.family()));
    if (printed.colour)
        printed.font.setStyleStrategy(QFont::StyleStrategy(printed.font.styleStrategy() & ~QFont::ForceOutline));
    return printed;
}

// Qt's PDF engine drops colour glyphs: the text is drawn into an image at the device's
// resolution instead, its cell and whatever ink lies outside it, within the page.
void drawInColour(QPainter& painter, const QFont& font, const QFontMetrics& metrics, const Drawing& drawing,
                  const QRect& page)
{
    const QPoint cellOrigin(drawing.x, drawing.y);
    const QRect cell(cellOrigin, QSize(metrics.horizontalAdvance(drawing.text), metrics.height()));
    const QRect ink = metrics.boundingRect(drawing.text).translated(cellOrigin + QPoint(0, metrics.ascent()));
    const QRect area = cell.united(ink).intersected(drawing.rect ? drawing.rect->intersected(page) : page);
    if (area.isEmpty())
        return;
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter imagePainter(&image);
    imagePainter.setFont(font);
    imagePainter.setPen(drawing.font.color);
    imagePainter.drawText(cellOrigin + QPoint(0, metrics.ascent()) - area.topLeft(), drawing.text);
    imagePainter.end();
    painter.drawImage(area.topLeft(), image);
}

void draw(QPainter& painter, const Drawing& drawing, const QRect& page, int dpi)
{
    // Texts wholly off the printable area are lost anyway; skipping them keeps a
    // long sample from filling the document with invisible lines.
    if (drawing.rect ? !drawing.rect->intersects(page) : drawing.y > page.bottom() || drawing.x > page.right())
        return;
    const PrintedFont printed = printedFont(drawing.font, drawing.text, dpi);
    painter.setFont(printed.font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box = drawing.rect.value_or(
        QRect(drawing.x, drawing.y, metrics.horizontalAdvance(drawing.text), metrics.height()));
    if (!box.intersects(page))
        return;
    painter.fillRect(box, Qt::white);
    if (drawing.text.isEmpty())
        return;
    if (printed.colour) {
        drawInColour(painter, printed.font, metrics, drawing, page);
        return;
    }
    painter.save();
    if (drawing.rect)
        painter.setClipRect(*drawing.rect);
    painter.setPen(drawing.font.color);
    painter.drawText(drawing.x, drawing.y + metrics.ascent(), drawing.text);
    painter.restore();
}

} // namespace

struct QtPrinter::Job {
    QString title;
    QString printerName; // the default printer's; empty when there is none
    QString pdfFile;     // the file the job is written to; empty for the printer
    std::vector<std::vector<Drawing>> pages{1};
};

namespace {

// A Qt printer that writes the job into the spool file: Qt's CUPS engine for the
// default printer, which then leaves the sending to us; its PDF engine on the same
// paper and margins for a file.
std::unique_ptr<QPrinter> spoolingPrinter(const QPrinterInfo& info, bool pdf, const QString& spool)
{
    std::unique_ptr<QPrinter> printer;
    if (pdf) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        if (!info.isNull())
            printer->setPageLayout(QPrinter(info, QPrinter::HighResolution).pageLayout());
    } else {
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    // A name without the .pdf suffix keeps the printer's own engine. The engine opens
    // the spool file again by that name and closes its own descriptor when it ends.
    printer->setOutputFileName(spool);
    printer->setResolution(QtPrinter::resolution);
    printer->setFullPage(false);
    return printer;
}

} // namespace

std::vector<std::pair<QByteArray, QByteArray>> cupsJobOptions(const QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    std::vector<std::pair<QByteArray, QByteArray>> options;
    options.emplace_back("media", layout.pageSize().key().toLocal8Bit());
    if (printer.copyCount() > 1)
        options.emplace_back("copies", QByteArray::number(printer.copyCount()));
    const bool portrait = layout.orientation() == QPageLayout::Portrait;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        options.emplace_back("sides", "one-sided");
        break;
    case QPrinter::DuplexAuto:
        options.emplace_back("sides", portrait ? "two-sided-long-edge" : "two-sided-short-edge");
        break;
    case QPrinter::DuplexLongSide:
        options.emplace_back("sides", "two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        options.emplace_back("sides", "two-sided-short-edge");
        break;
    }
    if (!portrait)
        options.emplace_back("landscape", "");
    return options;
}

namespace {

// Hands the finished spool files to CUPS as one job.
bool sendToCups(const QPrinter& printer, const QStringList& spools, const QString& title)
{
    auto options = cupsJobOptions(printer);
    std::vector<cups_option_t> cupsOptions;
    for (auto& [name, value] : options)
        cupsOptions.push_back({name.data(), value.data()});
    // CUPS takes the queue's name without an instance ("queue/instance").
    const QByteArray queue = printer.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    // The parts go as the documents of one job, in order.
    std::vector<QByteArray> names;
    for (const QString& spool : spools)
        names.push_back(QFile::encodeName(spool));
    std::vector<const char*> files;
    for (const QByteArray& name : names)
        files.push_back(name.constData());
    return cupsPrintFiles(queue.constData(), int(files.size()), files.data(), title.toLocal8Bit().constData(),
                          int(cupsOptions.size()), cupsOptions.data()) != 0;
}

// Joins the parts of a document into one PDF file with poppler's pdfunite, which
// opens the spool files by the names they have for it: their descriptors are kept
// open across its exec. While it runs, a Cancel stops it.
Printer::End joinPdfParts(const std::vector<std::unique_ptr<SpoolFile>>& parts, const SpoolFile& joined,
                          const std::function<bool()>& goOn)
{
    QStringList arguments;
    std::vector<int> descriptors;
    for (const auto& part : parts) {
        arguments << part->path();
        descriptors.push_back(part->descriptor());
    }
    arguments << joined.path();
    descriptors.push_back(joined.descriptor());
    QProcess unite;
    unite.setChildProcessModifier([descriptors] {
        for (int descriptor : descriptors)
            SpoolFile::inheritable(descriptor);
    });
    unite.start(QStringLiteral("pdfunite"), arguments);
    if (!unite.waitForStarted(-1))
        return Printer::End::Refused;
    while (!unite.waitForFinished(50)) {
        if (unite.state() == QProcess::NotRunning)
            break;
        if (!goOn()) {
            unite.kill();
            unite.waitForFinished(-1);
            return Printer::End::Cancelled;
        }
    }
    return unite.exitStatus() == QProcess::NormalExit && unite.exitCode() == 0 ? Printer::End::Printed
                                                                               : Printer::End::Refused;
}

bool canJoinPdfParts()
{
    static const bool found = !QStandardPaths::findExecutable(QStringLiteral("pdfunite")).isEmpty();
    return found;
}

} // namespace

QtPrinter::QtPrinter() = default;

QtPrinter::QtPrinter(const QString& pdfFile) : pdfFile(pdfFile) {}

QtPrinter::~QtPrinter() = default;

Printer::Start QtPrinter::startJob(const QString& title)
{
    if (!pdfFile.isEmpty())
        return startPdfJob(title, pdfFile);
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return Start::NoDefaultPrinter;
    job = std::make_unique<Job>();
    job->title = title;
    job->printerName = printer.printerName();
    return Start::Started;
}

Printer::Start QtPrinter::startPdfJob(const QString& title, const QString& file)
{
    job = std::make_unique<Job>();
    job->title = title;
    job->printerName = QPrinterInfo::defaultPrinter().printerName();
    job->pdfFile = file;
    return Start::Started;
}

void QtPrinter::newPage()
{
    if (job)
        job->pages.emplace_back();
}

Printer::End QtPrinter::endJob(const PageProgress& progress)
{
    if (!job)
        return End::Refused;
    // What the job held goes back to the system when it ends, however it ends.
    struct GiveBack {
        ~GiveBack() { malloc_trim(0); }
    } giveBack;
    const std::unique_ptr<Job> finished = std::move(job);
    const bool pdf = !finished->pdfFile.isEmpty();
    const QPrinterInfo info =
        finished->printerName.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(finished->printerName);
    if (!pdf && info.isNull())
        return End::Refused;

    // Qt's PDF engine holds every font drawn, and the font's engine, until its document
    // ends: with thousands of faces, hundreds of megabytes. The pages are drawn as
    // documents of a few pages each, so each part's fonts are written and let go when
    // it ends; the parts go to CUPS as one job, or are joined into the one file.
    const int pages = int(finished->pages.size());
    const int partPages = pdf && !canJoinPdfParts() ? pages : pagesPerPart; // even: a duplex sheet stays whole
    // The spool files lie beside the target, so that the whole can take its place.
    const QString spoolTarget = pdf ? finished->pdfFile : QDir::tempPath() + QStringLiteral("/glyphwell.spool");
    if (pdf)
        removeStaleParts(spoolTarget);
    std::vector<std::unique_ptr<SpoolFile>> parts;
    std::unique_ptr<QPrinter> printer;
    // A page of new faces takes a while to draw; asking between its texts as well
    // lets a Cancel stop the job within a fraction of a second.
    constexpr qint64 askEvery = 50; // ms
    QElapsedTimer sinceAsked;
    sinceAsked.start();
    const auto goOn = [&](int pageNumber) {
        sinceAsked.restart();
        return !progress || progress(pageNumber, pages);
    };
    for (int first = 0; first < pages; first += partPages) {
        std::unique_ptr<SpoolFile> spool = SpoolFile::create(spoolTarget);
        if (!spool)
            return End::Refused;
        printer = spoolingPrinter(info, pdf, spool->path());
        printer->setDocName(finished->title);
        QPainter painter;
        if (!painter.begin(printer.get()))
            return End::Refused;
        const int dpi = printer->resolution();
        const QRect page(QPoint(0, 0), printer->pageRect(QPrinter::DevicePixel).toRect().size());
        bool cancelled = false;
        for (int index = first; index < std::min(pages, first + partPages) && !cancelled; ++index) {
            if (index > first)
                printer->newPage();
            for (const Drawing& drawing : finished->pages[index]) {
                draw(painter, drawing, page, dpi);
                if (progress && sinceAsked.elapsed() >= askEvery && !goOn(index + 1)) {
                    cancelled = true;
                    break;
                }
            }
            cancelled = cancelled || !goOn(index + 1);
        }
        // A cancelled part is ended as any other (writing the fonts drawn so far) and
        // its spool file dropped: it never had a name, or loses its part file.
        const bool ended = painter.end();
        if (cancelled)
            return End::Cancelled;
        // Closing a spool file sends nothing: that is done below, once all are whole.
        if (!ended)
            return End::Refused;
        parts.push_back(std::move(spool));
    }
    // Asked once more at the last moment a Cancel can still leave nothing behind.
    if (!goOn(pages))
        return End::Cancelled;
    if (!pdf) {
        QStringList spools;
        for (const auto& part : parts)
            spools << part->path();
        return sendToCups(*printer, spools, finished->title) ? End::Printed : End::Refused;
    }
    if (parts.size() == 1)
        return parts.front()->commit(finished->pdfFile) ? End::Printed : End::Refused;
    const std::unique_ptr<SpoolFile> joined = SpoolFile::create(spoolTarget);
    if (!joined)
        return End::Refused;
    const End end = joinPdfParts(parts, *joined, [&] { return goOn(pages); });
    if (end != End::Printed)
        return end;
    return joined->commit(finished->pdfFile) ? End::Printed : End::Refused;
}

void QtPrinter::abortJob()
{
    job.reset();
}

bool QtPrinter::jobOpen() const
{
    return job != nullptr;
}

void QtPrinter::textOut(int x, int y, const QString& text, const PrinterFont& font)
{
    if (job)
        job->pages.back().push_back({std::nullopt, x, y, text, font});
}

void QtPrinter::textRect(const QRect& rect, int x, int y, const QString& text, const PrinterFont& font)
{
    if (job)
        job->pages.back().push_back({rect, x, y, text, font});
}

int QtPrinter::textWidth(const QString& text, const PrinterFont& font) const
{
    // Measured on a device of the printer's resolution, as the text is printed.
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = int(std::lround(resolution / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return QFontMetrics(printedFont(font, text, resolution).font, &device).horizontalAdvance(text);
}

} // namespace sys
