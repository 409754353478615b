#pragma once

#include "framework/ListBox.h"

#include <QIcon>

namespace fw {

// The file list box: the files of one folder that match its mask, each drawn with
// a small file icon at an item height of 16 pixels. It reads the folder only when
// pointed at another one than it shows.
class TFileListBox : public TListBox {
    Q_OBJECT
public:
    // Lists the names in a folder that match a mask ("*.ttf;*.fon"), in list order.
    using Lister = std::function<QStringList(const QString& folder, const QString& mask)>;

    explicit TFileListBox(QWidget* parent = nullptr);

    void setLister(Lister lister) { listFiles = std::move(lister); }
    QString Mask() const { return mask; }
    void setMask(const QString& value);
    QString Directory() const { return directory; }
    void setDirectory(const QString& folder);
    // Reads the folder again.
    void Update();

private:
    void drawEntry(QPainter& painter, int index, const QRect& rect, const QColor& fill);

    Lister listFiles;
    QString mask = QStringLiteral("*.*");
    QString directory;
    QIcon fileIcon;
};

} // namespace fw
