// The main window's find field: it narrows the face list (and the file list) to the
// faces every typed word matches, and gives the whole list back when closed.
#include "app/Unit1.h"

#include "catalogue/FileBrowser.h"
#include "framework/Errors.h"
#include "preview/OwnerDrawList.h"
#include "print/SaveAsPdf.h"
#include "system/FileSystem.h"
#include "system/FontFactory.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

namespace {

constexpr int findFieldHeight = 22;
constexpr int findCountHeight = 16;
constexpr int findBarHeight = findFieldHeight + findCountHeight + 2;
constexpr int traitsReadDelayMs = 30;

} // namespace

void TForm1::createFindBar()
{
    listBounds = ListBox1->geometry();
    FindBar = new QWidget(GrainPanel5);
    FindBar->setObjectName(QStringLiteral("FindBar"));
    FindBar->setGeometry(listBounds.x(), listBounds.y(), listBounds.width(), findBarHeight);
    FindEdit = new QLineEdit(FindBar);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setAccessibleDescription(FindEdit->objectName());
    FindEdit->setAccessibleName(QStringLiteral("Find faces"));
    FindEdit->setPlaceholderText(QStringLiteral("Find faces"));
    FindEdit->setToolTip(catalogue::findFieldHint);
    FindEdit->setClearButtonEnabled(true);
    FindEdit->setGeometry(0, 0, listBounds.width(), findFieldHeight);
    FindEdit->installEventFilter(this);
    FindCount = new QLabel(FindBar);
    FindCount->setObjectName(QStringLiteral("FindCount"));
    FindCount->setAccessibleDescription(FindCount->objectName());
    FindCount->setTextFormat(Qt::PlainText);
    FindCount->setFont(sys::faceFont(QStringLiteral("Tahoma"), 12));
    QPalette palette = FindCount->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    FindCount->setPalette(palette);
    FindCount->setGeometry(2, findFieldHeight + 1, listBounds.width() - 2, findCountHeight);
    FindBar->hide();

    // Print All's menu offers the faces found while the field is open; the entries
    // join and leave it rather than hide, so assistive tools never list them unseen.
    PrintFound = new QAction(print::printFoundCaption, GradientButton10);
    PrintFound->setObjectName(QStringLiteral("PrintFound"));
    SaveFoundPdf = new QAction(print::saveFoundPdfCaption, GradientButton10);
    SaveFoundPdf->setObjectName(QStringLiteral("SaveFoundPdf"));

    auto* findKey = new QShortcut(QKeySequence::Find, this);
    fw::connectHandler(findKey, &QShortcut::activated, this, [this] { openFind(); });
    fw::connectHandler(FindEdit, &QLineEdit::textChanged, this, [this] { FindEditChange(); });
    fw::connectHandler(PrintFound, &QAction::triggered, this, [this] { PrintFoundClick(); });
    fw::connectHandler(SaveFoundPdf, &QAction::triggered, this, [this] { SaveFoundPdfClick(); });
    ListBox1->installEventFilter(this);
    FileListBox1->installEventFilter(this);
    QWidget::setTabOrder(FindEdit, ListBox1);
}

void TForm1::openFind()
{
    if (!finding) {
        finding = true;
        FindBar->show();
        FindBar->raise();
        const QRect below = listBounds.adjusted(0, findBarHeight, 0, 0);
        ListBox1->setGeometry(below);
        FileListBox1->setGeometry(below);
        GradientButton10->addActions({PrintFound, SaveFoundPdf});
        applyFind();
        // What the fonts write and are is read once the field shows, before the user
        // has typed a word: a tenth of a second at 10,000 fonts.
        QTimer::singleShot(traitsReadDelayMs, this, [this] {
            if (finding)
                readFaceTraits();
        });
    }
    FindEdit->setFocus(Qt::ShortcutFocusReason);
    FindEdit->selectAll();
}

void TForm1::closeFind()
{
    if (!finding)
        return;
    // The face selected in the narrowed list, else the face on show.
    const int index = ListBox1->ItemIndex();
    const QString selected = index >= 0 ? ListBox1->itemText(index) : Edit2->text();
    finding = false;
    {
        const QSignalBlocker quiet(FindEdit);
        FindEdit->clear();
    }
    FindBar->hide();
    ListBox1->setGeometry(listBounds);
    FileListBox1->setGeometry(listBounds);
    GradientButton10->removeAction(PrintFound);
    GradientButton10->removeAction(SaveFoundPdf);
    ListBox1->setItems(faces.faces());
    ListBox1->setItemIndex(int(faces.faces().indexOf(selected)));
    if (FileListBox1->isVisibleTo(this)) {
        FileListBox1->Update();
        FileListBox1->setFocus(Qt::OtherFocusReason);
    } else {
        ListBox1->setFocus(Qt::OtherFocusReason);
    }
    planFontsAhead();
}

void TForm1::FindEditChange()
{
    applyFind();
}

void TForm1::applyFind()
{
    if (!finding)
        return;
    const catalogue::FindQuery query = catalogue::parseQuery(FindEdit->text());
    const QStringList& all = faces.faces();
    if (!query.isEmpty())
        readFaceTraits();
    const int index = ListBox1->ItemIndex();
    const QString selected = index >= 0 ? ListBox1->itemText(index) : QString();
    QStringList shown;
    if (query.isEmpty()) {
        shown = all;
    } else {
        const std::vector<int> rows = finder.find(query);
        shown.reserve(qsizetype(rows.size()));
        for (int row : rows)
            shown << all.at(row);
    }
    ListBox1->setItems(shown);
    ListBox1->setItemIndex(selected.isEmpty() ? -1 : int(shown.indexOf(selected)));
    // The faces found show at once in the fonts at hand; the others' fonts follow.
    listFonts->holdNextPaint();
    if (FileListBox1->isVisibleTo(this))
        FileListBox1->Update();
    showFindCount();
    // What is made ahead is planned after the keystroke has shown.
    QTimer::singleShot(0, this, [this] { planFontsAhead(); });
}

void TForm1::showFindCount()
{
    if (!finding)
        return;
    if (FileListBox1->isVisibleTo(this))
        FindCount->setText(catalogue::foundCount(FileListBox1->Count(), folderFiles, true));
    else
        FindCount->setText(catalogue::foundCount(ListBox1->Count(), faces.count(), false));
}

void TForm1::readFaceTraits()
{
    if (finderStale) {
        finder.clearTraits();
        const QString fontFolder = dirfont->text();
        services.fonts.listFaceTraits([&](const sys::FaceTraits& traits) { finder.addTraits(traits, fontFolder); });
        finderStale = false;
        finderFaces.clear();
    }
    const QStringList& all = faces.faces();
    if (finderFaces.size() != all.size() || finderFaces.constData() != all.constData()) {
        finder.setFaces(all);
        finderFaces = all;
    }
}

QStringList TForm1::listFontFolder(const QString& folder, const QString& mask)
{
    QStringList names = catalogue::listFolder(services.files, folder, mask);
    folderFiles = int(names.size());
    if (finding) {
        const catalogue::FindQuery query = catalogue::parseQuery(FindEdit->text());
        names.removeIf([&](const QString& name) { return !catalogue::fileNameMatches(name, query); });
    }
    return names;
}

QString TForm1::faceAt(int row)
{
    if (!finding)
        return faces.at(row);
    if (row < 0 || row >= ListBox1->Count())
        throw fw::Error(QStringLiteral("List index out of bounds (%1)").arg(row));
    return ListBox1->itemText(row);
}

bool TForm1::findKeyEvent(QObject* watched, QKeyEvent* key)
{
    if (key->type() != QEvent::KeyPress)
        return false;
    fw::TListBox* list = FileListBox1->isVisibleTo(this) ? static_cast<fw::TListBox*>(FileListBox1) : ListBox1;
    if (watched == FindEdit) {
        switch (key->key()) {
        case Qt::Key_Escape:
            fw::guard([this] { closeFind(); });
            return true;
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Into the list; the first face found is previewed as a click would.
            list->setFocus(Qt::TabFocusReason);
            if (list->ItemIndex() < 0 && list->Count() > 0) {
                list->setItemIndex(0);
                fw::guard([&] { list == ListBox1 ? ListBox1Click() : FileListBox1Click(); });
            }
            return true;
        default:
            return false;
        }
    }
    if (key->key() == Qt::Key_Escape && finding) {
        fw::guard([this] { closeFind(); });
        return true;
    }
    if (key->key() == Qt::Key_Up && finding && list->ItemIndex() == 0) {
        FindEdit->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    if (key->text() == QLatin1String("/") && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        fw::guard([this] { openFind(); });
        return true;
    }
    return false;
}

void TForm1::PrintFoundClick()
{
    printCatalogue({}, true);
}

void TForm1::SaveFoundPdfClick()
{
    const auto file = print::askPdfFile(dirdoc->text(), print::foundFileName,
                                        [this](const QString& path) { return services.files.fileExists(path); });
    if (file)
        printCatalogue(*file, true);
}
