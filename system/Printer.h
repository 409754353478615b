#pragma once

#include "system/FontFactory.h"

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QPrinter;

namespace sys {

// A font on the printer: face name ("Default" is the interface face), size in whole
// points, style and colour. Fallback::None keeps a symbol face's own glyphs.
struct PrinterFont {
    QString face = QStringLiteral("Default");
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;
    Fallback fallback = Fallback::Allowed;

    bool operator==(const PrinterFont&) const = default;
};

// The device height of a size in points: size × dots per inch ÷ 72, rounded.
int printerPixelHeight(int points, int dpi);

// Called as a job's pages are made, after each page and often enough within a
// long one that a Cancel is seen at once: the page being made and the count.
// Returning false stops the job there: nothing of it is printed or written.
using PageProgress = std::function<bool(int page, int pages)>;

// The printer as one drawing surface for one job at a time. Positions are device
// pixels, x to the right and y down from the top-left of the printable area. A
// text's cell has its top-left corner at (x, y) and is drawn over a white box.
// The canvas font belongs to the printer and keeps whatever a job set in it.
class Printer {
public:
    enum class Start { Started, NoDefaultPrinter };
    enum class End { Printed, Refused, Cancelled };

    virtual ~Printer() = default;

    // Starts a job on the default printer and opens its first page.
    virtual Start startJob(const QString& title) = 0;
    // Starts a job that is written to a PDF file instead: the pages the default
    // printer would get, on its paper when there is one. The file appears, whole,
    // only when the job ends; an existing file of that name is then replaced.
    virtual Start startPdfJob(const QString& title, const QString& file) = 0;
    virtual void newPage() = 0;
    // Hands the job to the printer or writes its file: Refused when that failed,
    // Cancelled when the progress stopped it (nothing printed, no file).
    virtual End endJob(const PageProgress& progress = {}) = 0;
    // Drops the job: nothing of it is printed.
    virtual void abortJob() = 0;
    virtual bool jobOpen() const = 0;

    virtual void textOut(int x, int y, const QString& text, const PrinterFont& font) = 0;
    // Fills the rectangle white, then draws the text clipped to it.
    virtual void textRect(const QRect& rect, int x, int y, const QString& text, const PrinterFont& font) = 0;
    // The width in device pixels that textOut gives the text's box in that font.
    virtual int textWidth(const QString& text, const PrinterFont& font) const = 0;

    PrinterFont& canvasFont() { return font; }
    const PrinterFont& canvasFont() const { return font; }

private:
    PrinterFont font;
};

// The system's default printer through Qt's print support (CUPS), at 600 device
// pixels per inch with the printer's own paper and margins; or, when made with a
// file name, a PDF file of the same layout. A job's pages are kept until the job
// ends and only then drawn, into a spool file that has no name (see SpoolFile) and
// reaches the printer (or the target file) only once every page is in it, so an
// aborted, cancelled or killed job leaves nothing behind. A job may be made and
// ended on a thread other than the window's.
class QtPrinter : public Printer {
public:
    static constexpr int resolution = 600;
    // Pages per document that Qt's PDF engine makes at a time (see endJob).
    static constexpr int pagesPerPart = 16;

    QtPrinter();
    explicit QtPrinter(const QString& pdfFile);
    ~QtPrinter() override;

    Start startJob(const QString& title) override;
    Start startPdfJob(const QString& title, const QString& file) override;
    void newPage() override;
    End endJob(const PageProgress& progress = {}) override;
    void abortJob() override;
    bool jobOpen() const override;
    void textOut(int x, int y, const QString& text, const PrinterFont& font) override;
    void textRect(const QRect& rect, int x, int y, const QString& text, const PrinterFont& font) override;
    int textWidth(const QString& text, const PrinterFont& font) const override;

private:
    struct Job;
    QString pdfFile;
    std::unique_ptr<Job> job;
};

// The options Qt's CUPS engine gives a job of its own, for the printer's settings: the
// paper, the copies, the sides (duplex turns on the long edge of the sheet as it is
// read) and the orientation.
std::vector<std::pair<QByteArray, QByteArray>> cupsJobOptions(const QPrinter& printer);

} // namespace sys
