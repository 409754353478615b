// The main window's print handlers: they read the controls and hand them to the
// print jobs of print/, for the default printer or for a PDF file.
#include "app/Unit1.h"

#include "print/FontCatalogue.h"
#include "print/FontSheet.h"
#include "print/SaveAsPdf.h"
#include "system/FileSystem.h"
#include "system/Printer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

// Shows the catalogue's progress in the face title and in a window-modal box with
// a Cancel button (Escape too), and lets the window repaint between pages. The box
// keeps the window's own controls from starting anything meanwhile; the timers of
// the window are held. The title is put back afterwards, unless something else has
// replaced the progress text meanwhile.
class CatalogueProgressBox {
public:
    CatalogueProgressBox(QWidget& window, QLabel& title, const QString& text, std::initializer_list<QTimer*> timers)
        : title(title), saved(title.text()), text(text), box(QString(), QStringLiteral("Cancel"), 0, 1, &window)
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
    ~CatalogueProgressBox()
    {
        if (title.text() == shown)
            title.setText(saved);
        for (QTimer* timer : held)
            timer->start();
    }
    CatalogueProgressBox(const CatalogueProgressBox&) = delete;
    CatalogueProgressBox& operator=(const CatalogueProgressBox&) = delete;

    // Each page counts twice: laid out, then drawn.
    print::CatalogueProgress reporter()
    {
        return {[this](int page, int pages) { return show(page, pages, page); },
                [this](int page, int pages) { return show(page, pages, pages + page); }};
    }

private:
    bool show(int page, int pages, int done)
    {
        // Asked after every row: answer from the last look unless the page changed
        // or a moment has passed, so that repainting does not slow the job.
        if (done == shownDone && sinceShown.isValid() && sinceShown.elapsed() < 40)
            return !box.wasCanceled();
        shownDone = done;
        sinceShown.start();
        shown = text.arg(page).arg(pages);
        title.setText(shown);
        // Closing the job after its last page (writing the fonts of every face into
        // it) takes a while and cannot be stopped: the box says so.
        box.setLabelText(done < 2 * pages ? shown : shown + QStringLiteral("\nFinishing the job\u2026"));
        box.setMaximum(2 * pages);
        box.setValue(done);
        if (!box.isVisible())
            box.show(); // on the first page: a job that cannot start shows no box
        QCoreApplication::processEvents();
        return !box.wasCanceled();
    }

    QLabel& title;
    QString saved;
    QString text;
    QString shown;
    int shownDone = -1;
    QElapsedTimer sinceShown;
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
    print::PrinterCanvas canvas(services.printer, pdfFile);
    print::printFontSheet(canvas, sources);
}

void TForm1::printCatalogue(const QString& pdfFile)
{
    ListBox5->setItems(faces.faces());
    ListBox5->setItemIndex(0);
    print::CatalogueWalk walk;
    walk.faces = ListBox5->Items();
    walk.filesOf = [this, &walk](int index) {
        ListBox5->setItemIndex(index);
        const QStringList files =
            print::catalogueFiles(catalogue::sourceFiles(registryNames.probe(walk.faces.at(index))));
        ListBox6->setItems(files);
        return files;
    };
    const QString text = pdfFile.isEmpty() ? QStringLiteral("Printing all fonts: page %1 of %2")
                                           : QStringLiteral("Saving all fonts: page %1 of %2");
    CatalogueProgressBox progress(*this, *Panel4, text, {Timer1, fontsAheadTimer});
    print::PrinterCanvas canvas(services.printer, pdfFile);
    print::printFontCatalogue(canvas, walk, progress.reporter());
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
