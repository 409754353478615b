// The main window's print handlers: they read the controls and hand them to the
// print jobs of print/, for the default printer or for a PDF file.
#include "app/Unit1.h"

#include "print/FontCatalogue.h"
#include "print/FontSheet.h"
#include "print/PrintWorker.h"
#include "print/SaveAsPdf.h"
#include "system/FileSystem.h"
#include "system/Printer.h"

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTextBlock>
#include <QTimer>

namespace {

QStringList memoLines(const QPlainTextEdit& memo)
{
    QStringList lines;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

// Shows a print job's progress in a window-modal box with a Cancel button (Escape
// too), and for the catalogue in the face title, while the job runs on the print
// worker. The box keeps the window's own controls from starting anything meanwhile;
// the timers of the window are held. The title is put back afterwards, unless
// something else has replaced the progress text meanwhile.
class PrintProgressBox {
public:
    PrintProgressBox(QWidget& window, QLabel* title, const QString& text, std::initializer_list<QTimer*> timers)
        : title(title), saved(title ? title->text() : QString()), text(text),
          box(QString(), QStringLiteral("Cancel"), 0, 1, &window)
    {
        for (QTimer* timer : timers) {
            if (timer->isActive()) {
                held.push_back(timer);
                timer->stop();
            }
        }
        box.setObjectName(QStringLiteral("PrintProgress"));
        box.setWindowTitle(fw::applicationTitle());
        box.setWindowModality(Qt::WindowModal);
        box.setAutoClose(false);
        box.setAutoReset(false);
        box.setMinimumDuration(0);
    }
    ~PrintProgressBox()
    {
        if (title && title->text() == shown)
            title->setText(saved);
        for (QTimer* timer : held)
            timer->start();
    }
    PrintProgressBox(const PrintProgressBox&) = delete;
    PrintProgressBox& operator=(const PrintProgressBox&) = delete;

    // Runs the job of so many pages on the worker and answers the window's events
    // until it ends, or at once on Cancel (the worker then drops the job by itself).
    // The box shows from the start, so nothing in the window can start another job or
    // change the fonts meanwhile. An earlier job still ending is waited for first.
    // False when cancelled; an error of the job is raised.
    bool run(print::PrintWorker& worker, int pages, print::PrintWorker::Job job)
    {
        QEventLoop loop;
        bool cancelled = false;
        QObject::connect(&box, &QProgressDialog::canceled, &loop, [&] {
            cancelled = true;
            worker.cancel();
            loop.quit();
        });
        QObject::connect(&worker, &print::PrintWorker::finished, &loop, &QEventLoop::quit);
        if (worker.running()) {
            box.setLabelText(QStringLiteral("Finishing the previous job\u2026"));
            box.show();
            loop.exec();
            if (cancelled)
                return false;
        }
        show(1, pages, 0);
        QObject::connect(&worker, &print::PrintWorker::progressed, &box,
                         [this](int stage, int page, int pages) { show(page, pages, stage * pages + page); });
        worker.start(std::move(job));
        loop.exec();
        if (cancelled)
            return false;
        if (const std::exception_ptr error = worker.takeError())
            std::rethrow_exception(error);
        return true;
    }

private:
    // Each page counts twice: laid out, then drawn.
    void show(int page, int pages, int done)
    {
        shown = text.arg(page).arg(pages);
        if (title)
            title->setText(shown);
        // Closing the job after its last page (writing the fonts of every face into
        // it) takes a while: the box says so.
        box.setLabelText(done < 2 * pages ? shown : shown + QStringLiteral("\nFinishing the job\u2026"));
        box.setMaximum(2 * pages);
        box.setValue(done);
        if (!box.isVisible())
            box.show();
    }

    QLabel* title;
    QString saved;
    QString text;
    QString shown;
    QProgressDialog box;
    std::vector<QTimer*> held;
};

} // namespace

void TForm1::printSheet(const QString& pdfFile)
{
    print::SheetSources sources;
    sources.faceTitle = Panel4->text();
    sources.faceListShowing = ListBox1->isVisibleTo(this);
    sources.fileListShowing = FileListBox1->isVisibleTo(this);
    sources.sourceFiles = ListBox3->Items();
    sources.fileName = Edit3->text();
    sources.memoFont = Edit1->font();
    sources.memoColor = Edit1->palette().color(QPalette::Text);
    sources.memoLines = memoLines(*Edit1);
    sources.characterMap = characterMapCells();
    const QString text = pdfFile.isEmpty() ? QStringLiteral("Printing the sheet: page %1 of %2")
                                           : QStringLiteral("Saving the sheet: page %1 of %2");
    PrintProgressBox progress(*this, nullptr, text, {Timer1, fontsAheadTimer});
    sys::Printer& printer = services.printer;
    progress.run(*printWorker, 1, [&printer, pdfFile, sources](const print::CatalogueProgress& reporter) {
        print::PrinterCanvas canvas(printer, pdfFile);
        print::printFontSheet(canvas, sources, reporter.drawn);
    });
}

void TForm1::printCatalogue(const QString& pdfFile, bool onlyFound)
{
    // The face list and the registry are read here, on the window's thread, before the
    // job starts: the files of each face, up to the first that cannot be read, whose
    // error the job raises when it reaches that row.
    ListBox5->setItems(onlyFound ? ListBox1->Items() : faces.faces());
    ListBox5->setItemIndex(0);
    const QStringList names = ListBox5->Items();
    auto files = std::make_shared<std::vector<QStringList>>();
    files->reserve(names.size());
    std::exception_ptr unreadable;
    for (int index = 0; index < names.size(); ++index) {
        try {
            files->push_back(print::catalogueFiles(catalogue::sourceFiles(registryNames.probe(names.at(index)))));
        } catch (...) {
            unreadable = std::current_exception();
            ListBox5->setItemIndex(index);
            break;
        }
    }
    if (!unreadable && !names.isEmpty()) {
        ListBox5->setItemIndex(int(names.size() - 1));
        ListBox6->setItems(files->back());
    }
    print::CatalogueWalk walk;
    walk.faces = names;
    walk.filesOf = [files, unreadable](int index) {
        if (std::size_t(index) >= files->size())
            std::rethrow_exception(unreadable);
        return files->at(index);
    };
    const QString text = onlyFound ? (pdfFile.isEmpty() ? QStringLiteral("Printing the faces found: page %1 of %2")
                                                        : QStringLiteral("Saving the faces found: page %1 of %2"))
                         : pdfFile.isEmpty() ? QStringLiteral("Printing all fonts: page %1 of %2")
                                             : QStringLiteral("Saving all fonts: page %1 of %2");
    PrintProgressBox progress(*this, Panel4, text, {Timer1, fontsAheadTimer});
    sys::Printer& printer = services.printer;
    const auto job = [&printer, pdfFile, walk](const print::CatalogueProgress& reporter) {
        print::PrinterCanvas canvas(printer, pdfFile);
        print::printFontCatalogue(canvas, walk, reporter);
    };
    progress.run(*printWorker, print::cataloguePages(names.size()), job);
}

bool TForm1::printJobRunning() const
{
    return printWorker->running();
}

void TForm1::ToolButton1Click()
{
    printSheet({});
}

void TForm1::GradientButton10Click()
{
    printCatalogue({});
}

void TForm1::SaveSheetPdfClick()
{
    const auto file = print::askPdfFile(dirdoc->text(), print::sheetFileName(Panel4->text()),
                                        [this](const QString& path) { return services.files.fileExists(path); });
    if (file)
        printSheet(*file);
}

void TForm1::SaveCataloguePdfClick()
{
    const auto file = print::askPdfFile(dirdoc->text(), print::catalogueFileName,
                                        [this](const QString& path) { return services.files.fileExists(path); });
    if (file)
        printCatalogue(*file);
}
