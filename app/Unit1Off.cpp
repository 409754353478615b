// The main window's turning of faces off and on: the face list's context menu, and
// the faces turned off shown greyed after the others.
#include "app/Unit1.h"

#include "framework/Dialogs.h"
#include "framework/Errors.h"
#include "manage/Messages.h"

#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>

void TForm1::createOffControls()
{
    FaceMenu = new QMenu(ListBox1);
    FaceMenu->setObjectName(QStringLiteral("FaceMenu"));
    TurnOff = FaceMenu->addAction(manage::turnOffCaption);
    TurnOn = FaceMenu->addAction(manage::turnOnCaption);
    TurnOff->setObjectName(QStringLiteral("TurnOff"));
    TurnOn->setObjectName(QStringLiteral("TurnOn"));
    // The name view greys and marks them as the face view does.
    ListBox1->setPlainMarker([this](int row) { return faces.isOff(ListBox1->itemText(row)); }, manage::offMark);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    fw::connectHandler(ListBox1, &QWidget::customContextMenuRequested, this,
                       [this](const QPoint& at) { ListBox1ContextPopup(at); });
    fw::connectHandler(TurnOff, &QAction::triggered, this, [this] { TurnOffClick(); });
    fw::connectHandler(TurnOn, &QAction::triggered, this, [this] { TurnOnClick(); });
    if (!services.fontsOff) {
        TurnOff->setEnabled(false);
        TurnOn->setEnabled(false);
        return;
    }
    fontsOff = std::make_unique<manage::FontsTurnedOff>(*services.fontsOff, services.fontResources);
    fontsOff->load();
    faces.setTurnedOff([this] { return fontsOff->faces(); });
}

void TForm1::ListBox1ContextPopup(const QPoint& at)
{
    // A right click names the face under it; the Menu key comes at the selected one.
    const QModelIndex item = ListBox1->indexAt(at);
    if (!item.isValid())
        return;
    ListBox1->setItemIndex(item.row());
    const bool off = faces.isOff(ListBox1->itemText(item.row()));
    TurnOff->setVisible(!off);
    TurnOn->setVisible(off);
    TurnOff->setEnabled(bool(fontsOff));
    TurnOn->setEnabled(bool(fontsOff));
    FaceMenu->popup(ListBox1->viewport()->mapToGlobal(at));
}

QStringList TForm1::controlFaces() const
{
    QStringList used{QFontInfo(QApplication::font()).family()};
    for (const QWidget* control : findChildren<QWidget*>()) {
        if (control == Edit1 || Edit1->isAncestorOf(control) || control == SortableGrid1 ||
            SortableGrid1->isAncestorOf(control) || control == FaceMenu)
            continue;
        const QString family = QFontInfo(control->font()).family();
        if (!used.contains(family, Qt::CaseInsensitive))
            used << family;
    }
    return used;
}

void TForm1::TurnOffClick()
{
    const int index = ListBox1->ItemIndex();
    if (!fontsOff || index < 0)
        return;
    const manage::OffChange change = fontsOff->planOff(ListBox1->itemText(index), controlFaces());
    if (!change.refusal.isEmpty()) {
        fw::ShowMessage(change.refusal);
        return;
    }
    if (!change.others.isEmpty() && !fw::ConfirmYes(manage::confirmTurnOff(change.face, change.others)))
        return;
    showTurnedFace(change.face, fontsOff->turnOff(change));
}

void TForm1::TurnOnClick()
{
    const int index = ListBox1->ItemIndex();
    if (!fontsOff || index < 0)
        return;
    const manage::OffChange change = fontsOff->planOn(ListBox1->itemText(index));
    if (!change.refusal.isEmpty()) {
        fw::ShowMessage(change.refusal);
        return;
    }
    if (!change.others.isEmpty() && !fw::ConfirmYes(manage::confirmTurnOn(change.face, change.others)))
        return;
    showTurnedFace(change.face, fontsOff->turnOn(change));
}

void TForm1::showTurnedFace(const QString& face, const QString& message)
{
    // The face moves to its new place in the list and stays selected there.
    reloadFaceList();
    ListBox1->setItemIndex(int(ListBox1->Items().indexOf(face)));
    ListBox1->scrollTo(ListBox1->currentIndex());
    if (!message.isEmpty())
        fw::ShowMessage(message);
}
