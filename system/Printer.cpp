#include "system/Printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <optional>
#include <vector>

namespace sys {

int printerPixelHeight(int points, int dpi)
{
    return int(std::lround(double(points) * dpi / 72.0));
}

namespace {

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
    // Paper gets the face as Qt prints it; a raster face's pixel stand-in is for the screen.
    if (faceOf(qt) != qt.family()) {
        qt.setFamilies({installedFamily(font.face)});
        qt.setHintingPreference(QFont::PreferDefaultHinting);
        qt.setStyleStrategy(QFont::StyleStrategy(qt.styleStrategy() & ~QFont::NoAntialias));
    }
    // Letters as typed, one glyph each: no ligatures where a script needs no shaping.
    // Outlines only: a bitmap face would print at its screen size, a speck at 600 dpi.
    qt.setStyleStrategy(QFont::StyleStrategy(qt.styleStrategy() | QFont::PreferNoShaping | QFont::ForceOutline));
    return qt;
}

void draw(QPainter& painter, const Drawing& drawing, const QRect& page, int dpi)
{
    // Texts wholly off the printable area are lost anyway; skipping them keeps a
    // long sample from filling the document with invisible lines.
    if (drawing.rect ? !drawing.rect->intersects(page) : drawing.y > page.bottom() || drawing.x > page.right())
        return;
    painter.setFont(qtFont(drawing.font, dpi));
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box = drawing.rect.value_or(
        QRect(drawing.x, drawing.y, metrics.horizontalAdvance(drawing.text), metrics.height()));
    if (!box.intersects(page))
        return;
    painter.fillRect(box, Qt::white);
    if (drawing.text.isEmpty())
        return;
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
    QString printerName; // empty when the job goes to the PDF file
    std::vector<std::vector<Drawing>> pages{1};
};

QtPrinter::QtPrinter() = default;

QtPrinter::QtPrinter(const QString& pdfFile) : pdfFile(pdfFile) {}

QtPrinter::~QtPrinter() = default;

Printer::Start QtPrinter::startJob(const QString& title)
{
    auto started = std::make_unique<Job>();
    started->title = title;
    if (pdfFile.isEmpty()) {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull())
            return Start::NoDefaultPrinter;
        started->printerName = printer.printerName();
    }
    job = std::move(started);
    return Start::Started;
}

void QtPrinter::newPage()
{
    if (job)
        job->pages.emplace_back();
}

bool QtPrinter::endJob(const PageProgress& progress)
{
    if (!job)
        return false;
    const std::unique_ptr<Job> finished = std::move(job);

    std::unique_ptr<QPrinter> printer;
    if (pdfFile.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(finished->printerName);
        if (info.isNull())
            return false;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFile);
    }
    printer->setResolution(resolution);
    printer->setFullPage(false);
    printer->setDocName(finished->title);

    QPainter painter;
    if (!painter.begin(printer.get()))
        return false;
    const int dpi = printer->resolution();
    const QRect page(QPoint(0, 0), printer->pageRect(QPrinter::DevicePixel).toRect().size());
    const int pages = int(finished->pages.size());
    for (int index = 0; index < pages; ++index) {
        if (index > 0)
            printer->newPage();
        for (const Drawing& drawing : finished->pages[index])
            draw(painter, drawing, page, dpi);
        if (progress)
            progress(index + 1, pages);
    }
    return painter.end();
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

} // namespace sys
