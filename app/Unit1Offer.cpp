// The main window's handling of font files handed to the program: from its command
// line or dropped on it, each is previewed and offered for installation.
#include "app/Unit1.h"

#include "catalogue/Charsets.h"
#include "catalogue/FileBrowser.h"
#include "framework/Dialogs.h"
#include "manage/FontFiles.h"
#include "manage/Messages.h"
#include "preview/CharacterMap.h"
#include "system/FontFactory.h"
#include "system/FontRegistry.h"
#include "system/FontResources.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>

void TForm1::offerFontFiles(const QList<manage::OfferedFile>& offered)
{
    pendingOffers.insert(pendingOffers.end(), offered.begin(), offered.end());
    if (!offering && !pendingOffers.empty())
        offerTimer->start(0);
}

void TForm1::offerNextFontFile()
{
    if (offering || pendingOffers.empty())
        return;
    const manage::OfferedFile offer = pendingOffers.front();
    pendingOffers.pop_front();
    offering = true;
    fw::guard([&] { offerFontFile(offer); });
    offering = false;
    // The next one after the events that waited, so the window stays alive.
    if (!pendingOffers.empty())
        offerTimer->start(0);
}

void TForm1::offerFontFile(const manage::OfferedFile& offer)
{
    using Verdict = manage::OfferDecision::Verdict;
    if (!offer.refusal.isEmpty()) {
        fw::ShowMessage(offer.refusal);
        return;
    }
    const manage::OfferDecision decision = manage::decideOffer(services.fontFiles, services.files, dirfont->text(),
                                                               installedFontFiles(), offer.path);
    if (decision.verdict == Verdict::Refused) {
        fw::ShowMessage(decision.message);
        return;
    }
    if (decision.verdict == Verdict::Ask && !loadedForRun.contains(offer.path)) {
        services.fontResources.addFontResource(offer.path);
        loadedForRun.insert(offer.path);
    }
    previewFontFile(offer.path, decision.family);
    if (decision.verdict == Verdict::Installed) {
        fw::ShowMessage(decision.message);
        return;
    }
    if (!fw::ConfirmYes(manage::confirmInstallOffered(decision.family, offer.path)))
        return; // stays loaded for this run, nothing written
    // Installed, it is loaded from the font folder instead.
    services.fontResources.removeFontResource(offer.path);
    loadedForRun.remove(offer.path);
    installFontFile(offer.path);
}

void TForm1::previewFontFile(const QString& path, const QString& face)
{
    setSampleFace(face);
    showSampleFor(face);
    SortableGrid1->setFont(characterMapFont(face));
    showFaceMap(face);
    Panel4->setText(face);
    // The information panel of the current view names the file.
    if (ListBox1->isVisibleTo(this)) {
        Edit2->setText(face);
        ListBox3->setItems({path});
        QStringList charsets;
        catalogue::appendCharsets(services.fonts, face, charsets);
        ListBox4->setItems(charsets);
    } else {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        Edit3->setText(path.mid(slash + 1));
        Edit4->setText(path.left(slash + 1));
        Edit5->setText(face);
        Edit6->setText(catalogue::fileSizeField(services.files, path));
    }
}

QStringList TForm1::installedFontFiles()
{
    // Every file the registry view names, except those loaded for this run only.
    QStringList paths;
    if (!services.registry.open())
        return paths;
    for (const sys::RegValue& value : services.registry.values()) {
        if (!value.isString() || value.data.isEmpty())
            continue;
        const QString path = manage::fontFilePath(dirfont->text(), value.data);
        if (!loadedForRun.contains(path))
            paths << path;
    }
    services.registry.close();
    return paths;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    // Offered only when at least one dropped file is a font.
    dropAcceptable = false;
    const QMimeData* data = event->mimeData();
    if (data && data->hasUrls()) {
        for (const manage::OfferedFile& offer :
             manage::offeredFiles(manage::droppedFiles(data->urls()), QDir::currentPath())) {
            if (!offer.path.isEmpty() && services.fontFiles.inspect(offer.path).kind == sys::FileKind::Font) {
                dropAcceptable = true;
                break;
            }
        }
    }
    if (dropAcceptable)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (dropAcceptable)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!dropAcceptable || !data) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    offerFontFiles(manage::offeredFiles(manage::droppedFiles(data->urls()), QDir::currentPath()));
}
