#include "print/PrinterCanvas.h"

#include "framework/Application.h"
#include "framework/Errors.h"
#include "framework/Fonts.h"
#include "system/FontFactory.h"
#include "system/NamedInstances.h"

#include <algorithm>

namespace print {

void PrinterCanvas::beginDoc()
{
    if (printer.jobOpen())
        throw fw::Error(printingInProgressMessage);
    const QString title = fw::applicationTitle();
    const auto started = pdfFile.isEmpty() ? printer.startJob(title) : printer.startPdfJob(title, pdfFile);
    if (started == sys::Printer::Start::NoDefaultPrinter)
        throw fw::Error(noDefaultPrinterMessage);
}

void PrinterCanvas::newPage()
{
    printer.newPage();
}

bool PrinterCanvas::endDoc(const sys::PageProgress& progress)
{
    switch (printer.endJob(progress)) {
    case sys::Printer::End::Printed:
        return true;
    case sys::Printer::End::Cancelled:
        return false;
    case sys::Printer::End::Refused:
        break;
    }
    throw fw::Error(pdfFile.isEmpty() ? jobRefusedMessage : pdfNotWrittenMessage.arg(pdfFile));
}

void PrinterCanvas::abort()
{
    printer.abortJob();
}

void PrinterCanvas::setFace(const QString& face, sys::Fallback fallback)
{
    printer.canvasFont().face = face;
    printer.canvasFont().fallback = fallback;
}

void PrinterCanvas::setSize(int points)
{
    printer.canvasFont().size = points;
}

void PrinterCanvas::setStyle(TFontStyles style)
{
    sys::PrinterFont& font = printer.canvasFont();
    font.bold = style.testFlag(fsBold);
    font.italic = style.testFlag(fsItalic);
    font.underline = style.testFlag(fsUnderline);
}

void PrinterCanvas::setColor(const QColor& color)
{
    printer.canvasFont().color = color;
}

void PrinterCanvas::assignFont(const QFont& screenFont, const QColor& color)
{
    sys::PrinterFont& font = printer.canvasFont();
    font.face = sys::faceOf(screenFont);
    font.size = pointSize(screenFont);
    // A named instance carries its weight in its name: bold is only what it adds.
    font.bold = screenFont.bold() && !sys::drawnInstances().find(font.face);
    font.italic = screenFont.italic();
    font.underline = screenFont.underline();
    font.color = color;
    font.fallback = sys::fallbackOf(screenFont);
}

void PrinterCanvas::textOut(int x, int y, const QString& text)
{
    printer.textOut(x, y, text, font());
}

void PrinterCanvas::textRect(const QRect& rect, int x, int y, const QString& text)
{
    printer.textRect(rect, x, y, text, font());
}

int PrinterCanvas::textWidth(const QString& text) const
{
    return printer.textWidth(text, font());
}

PrintJob::PrintJob(PrinterCanvas& canvas) : canvas(canvas)
{
    canvas.beginDoc();
}

PrintJob::~PrintJob()
{
    if (open)
        canvas.abort();
}

bool PrintJob::end(const sys::PageProgress& progress)
{
    open = false;
    return canvas.endDoc(progress);
}

int pointSize(const QFont& font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    // A font sized in pixels: its size at the screen's resolution.
    return font.pixelSize() > 0 ? fw::heightToSize(-font.pixelSize()) : 0;
}

QString commaText(const QStringList& items)
{
    if (items.size() == 1 && items.first().isEmpty())
        return QStringLiteral("\"\"");
    QStringList written;
    written.reserve(items.size());
    for (QString item : items) {
        const bool quoted = std::any_of(item.cbegin(), item.cend(), [](QChar c) {
            return c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('"') ||
                   c.category() == QChar::Other_Control;
        });
        if (quoted)
            item = QLatin1Char('"') + item.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        written << item;
    }
    return written.join(QLatin1Char(','));
}

} // namespace print
