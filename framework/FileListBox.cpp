#include "framework/FileListBox.h"

#include <QFileIconProvider>

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
    directory = folder;
    Update();
}

void TFileListBox::Update()
{
    setItems(listFiles && !directory.isEmpty() ? listFiles(directory, mask) : QStringList());
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
