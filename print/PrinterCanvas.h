#pragma once

#include "system/Printer.h"

#include <QFlags>
#include <QFont>
#include <QStringList>

namespace print {

inline const QString noDefaultPrinterMessage = QStringLiteral("There is no default printer currently selected");
inline const QString printingInProgressMessage = QStringLiteral("Printing in progress");
inline const QString jobRefusedMessage = QStringLiteral("The printer did not accept the print job");
inline const QString pdfNotWrittenMessage = QStringLiteral("The file %1 could not be written");

enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)

// The printer's drawing surface as the print jobs use it: the job, the canvas font
// (kept by the printer from job to job) and the two ways of drawing a text. Made
// with a file name, its jobs are written to that PDF file instead of printed.
class PrinterCanvas {
public:
    explicit PrinterCanvas(sys::Printer& printer, const QString& pdfFile = {}) : printer(printer), pdfFile(pdfFile) {}

    // Starts a job and opens its first page. Raises printingInProgressMessage while a
    // job is open and noDefaultPrinterMessage when there is no default printer.
    void beginDoc();
    void newPage();
    // Ends the job; raises jobRefusedMessage when the printer did not take it, or
    // pdfNotWrittenMessage for a file. False when the progress cancelled the job.
    bool endDoc(const sys::PageProgress& progress = {});
    void abort();
    bool printing() const { return printer.jobOpen(); }

    const sys::PrinterFont& font() const { return printer.canvasFont(); }
    void setFace(const QString& face, sys::Fallback fallback = sys::Fallback::Allowed);
    void setSize(int points);
    void setStyle(TFontStyles style);
    void setColor(const QColor& color);
    // A whole screen font: its face, size in points, style and fallback, with a colour.
    void assignFont(const QFont& font, const QColor& color);

    void textOut(int x, int y, const QString& text);
    // Fills the rectangle white and draws the text at (x, y) clipped to it.
    void textRect(const QRect& rect, int x, int y, const QString& text);
    // The width of the text's box in the canvas font, in device pixels.
    int textWidth(const QString& text) const;

private:
    sys::Printer& printer;
    QString pdfFile;
};

// One job on a canvas: begun when made, handed to the printer by end(). A job left
// any other way, by an error half-way, is aborted, so the next one can start.
class PrintJob {
public:
    explicit PrintJob(PrinterCanvas& canvas);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    // False when the progress cancelled the job.
    bool end(const sys::PageProgress& progress = {});

private:
    PrinterCanvas& canvas;
    bool open = true;
};

// A screen font's size in whole points.
int pointSize(const QFont& font);

// The items on one line, joined by commas. An item holding a space, a control
// character, a comma or a double quote is quoted, its quotes doubled. No items give
// an empty text; one empty item gives "".
QString commaText(const QStringList& items);

} // namespace print

Q_DECLARE_OPERATORS_FOR_FLAGS(print::TFontStyles)
