#include "framework/FileListBox.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QTimer>

namespace fw {

TFileListBox::TFileListBox(QWidget* parent) : TListBox(parent)
{
    fileIcon = QFileIconProvider().icon(QAbstractFileIconProvider::File);
    setOwnerDraw([this](QPainter& painter, int index, const QRect& rect,
                        const QColor& fill) { drawEntry(painter, index, rect, fill); },
                 16);
}

void TFileListBox::setMask(const QString& value)
{
    if (value == mask)
        return;
    mask = value;
    Update();
}

void TFileListBox::setDirectory(const QString& folder)
{
    if (folder == directory)
        return;
    if (watcher && !watcher->directories().isEmpty())
        watcher->removePaths(watcher->directories());
    directory = folder;
    Update();
}

void TFileListBox::Update()
{
    const int index = ItemIndex();
    const QString selected = itemText(index);
    setItems(listFiles && !directory.isEmpty() ? listFiles(directory, mask) : QStringList());
    if (index >= 0 && Count() > 0) {
        const int kept = int(Items().indexOf(selected));
        setItemIndex(kept >= 0 ? kept : std::min(index, Count() - 1));
    }
    // A folder made after the list began to follow it (an install makes the font
    // folder) is watched from the first read that finds it.
    if (watcher && !directory.isEmpty()) {
        const QString folder = QDir::cleanPath(directory);
        if (!watcher->directories().contains(folder) && QDir(folder).exists())
            watcher->addPath(folder);
    }
}

void TFileListBox::setFollowing(bool on)
{
    if (on == (watcher != nullptr))
        return;
    if (!on) {
        delete watcher;
        watcher = nullptr;
        return;
    }
    watcher = new QFileSystemWatcher(this);
    if (!settle) {
        settle = new QTimer(this);
        settle->setSingleShot(true);
        settle->setInterval(100);
        connect(settle, &QTimer::timeout, this, [this] { Update(); });
    }
    connect(watcher, &QFileSystemWatcher::directoryChanged, settle, qOverload<>(&QTimer::start));
    Update();
}

void TFileListBox::drawEntry(QPainter& painter, int index, const QRect& rect, const QColor& fill)
{
    painter.fillRect(rect, fill);
    const int iconSize = 16;
    fileIcon.paint(&painter, QRect(rect.left() + 2, rect.top() + (rect.height() - iconSize) / 2, iconSize, iconSize));
    const QRect textRect = rect.adjusted(iconSize + 6, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}

} // namespace fw
