// The character map's Unicode blocks and the sample of faces beyond Latin: what the
// window shows for a face that cannot draw the 8-bit page, its name or the sample.
#include "app/Unit1.h"

#include "framework/Errors.h"
#include "preview/CharacterMap.h"
#include "preview/FaceScript.h"
#include "system/FaceCoverage.h"
#include "system/FontFactory.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

// How long the line of a face's own script is that stands in for the sample.
constexpr int sampleLineLength = 24;
const QString sampleHint = QStringLiteral("Type your sample text here");

} // namespace

void TForm1::createMapChooser()
{
    Label8->setGeometry(0, 0, 200, Image3->height());
    ComboBox2 = new QComboBox(Image3);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setAccessibleDescription(ComboBox2->objectName());
    ComboBox2->setAccessibleName(QStringLiteral("Unicode block"));
    ComboBox2->setToolTip(QStringLiteral("Select the characters to show"));
    ComboBox2->setGeometry(200, 2, 240, 22);
    ComboBox2->setFont(sys::faceFont(QStringLiteral("Tahoma"), 12));
    fw::connectHandler(ComboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });

    MapEmpty = new QLabel(preview::nothingToShow, GrainPanel1);
    MapEmpty->setObjectName(QStringLiteral("MapEmpty"));
    MapEmpty->setAlignment(Qt::AlignCenter);
    MapEmpty->setGeometry(SortableGrid1->geometry());
    MapEmpty->setAutoFillBackground(true);
    MapEmpty->hide();
}

void TForm1::showFaceMap(const QString& face)
{
    const sys::FaceCoverage coverage = sys::faceCoverage(face);
    preview::MapPages pages = preview::mapPagesOf(coverage.characters, coverage.known);
    mapPages = std::move(pages.pages);
    {
        const QSignalBlocker quiet(ComboBox2);
        ComboBox2->clear();
        for (const preview::MapPage& page : mapPages)
            ComboBox2->addItem(page.name);
        if (mapPages.isEmpty())
            ComboBox2->addItem(preview::noBlocks);
        ComboBox2->setCurrentIndex(std::max<int>(0, int(pages.opening)));
    }
    fillMapPage(pages.opening);
}

void TForm1::ComboBox2Change()
{
    fillMapPage(ComboBox2->currentIndex());
}

void TForm1::fillMapPage(qsizetype index)
{
    const bool empty = index < 0 || index >= mapPages.size();
    MapEmpty->setVisible(empty);
    if (empty) {
        SortableGrid1->setRowCount(1);
        SortableGrid1->setRows(0, {});
        return;
    }
    const preview::MapPage& page = mapPages[index];
    const QList<QStringList> rows = preview::mapRowTexts(page);
    SortableGrid1->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        SortableGrid1->setRows(row, rows[row]);
    // A block opens at its first character; the 8-bit page keeps the user's place.
    if (!page.eightBit || !mapEightBit) {
        SortableGrid1->setTopRow(0);
        SortableGrid1->setSelection({0, 0, 0, 0});
    }
    mapEightBit = page.eightBit;
}

void TForm1::showSampleFor(const QString& face)
{
    const sys::FaceCoverage coverage = sys::faceCoverage(face);
    const bool draws = !coverage.known || preview::drawsSomeOf(coverage.characters, userSample);
    const preview::Specimen line = draws ? preview::Specimen{} : preview::faceSpecimen(coverage.characters, sampleLineLength);
    const bool replace = !draws && !line.text.isEmpty();
    if (!replace && !sampleSubstituted)
        return; // the user's text stays as it is, edits and all
    settingSample = true;
    Edit1->setPlainText(replace ? line.text : userSample);
    settingSample = false;
    sampleSubstituted = replace;
    if (!replace) {
        Edit1->setToolTip(sampleHint);
        return;
    }
    const QString userScript = preview::scriptOfText(userSample);
    const QString lacks = userScript.isEmpty() ? QStringLiteral("the face cannot draw the sample text")
                                               : QStringLiteral("the face has no %1 letters").arg(userScript);
    Edit1->setToolTip(line.script.isEmpty() ? QStringLiteral("Sample of the face's own characters: ") + lacks
                                            : QStringLiteral("Sample in %1: %2").arg(line.script, lacks));
}

void TForm1::Edit1Change()
{
    if (settingSample)
        return;
    // What the user types is theirs, shown as typed in the face.
    userSample = Edit1->toPlainText();
    if (sampleSubstituted) {
        sampleSubstituted = false;
        Edit1->setToolTip(sampleHint);
    }
}

const std::optional<QString>& TForm1::nameSpecimenOf(const QString& face)
{
    auto found = nameSpecimens.find(face);
    if (found == nameSpecimens.end())
        found = nameSpecimens.insert(face, preview::nameSpecimen(face, sys::faceCoverage(face)));
    return *found;
}
