// The main window's two print handlers: they read the controls and hand them to
// the print jobs of print/.
#include "app/Unit1.h"

#include "print/FontCatalogue.h"
#include "print/FontSheet.h"
#include "system/Printer.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

QStringList memoLines(const QPlainTextEdit& memo)
{
    QStringList lines;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

// Shows the catalogue's progress in the face title and puts the title back
// afterwards, unless something else has replaced the progress text meanwhile.
class TitleProgress {
public:
    explicit TitleProgress(QLabel& title) : title(title), saved(title.text()) {}
    ~TitleProgress()
    {
        if (title.text() == shown)
            title.setText(saved);
    }
    void show(int page, int pages)
    {
        shown = QStringLiteral("Printing all fonts: page %1 of %2").arg(page).arg(pages);
        title.setText(shown);
        // Repaint between pages; clicks wait until the job has gone to the printer.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QLabel& title;
    QString saved;
    QString shown;
};

} // namespace

void TForm1::ToolButton1Click()
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
    print::PrinterCanvas canvas(services.printer);
    print::printFontSheet(canvas, sources);
}

void TForm1::GradientButton10Click()
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
    TitleProgress progress(*Panel4);
    print::PrinterCanvas canvas(services.printer);
    print::printFontCatalogue(canvas, walk, [&progress](int page, int pages) { progress.show(page, pages); });
}
