#pragma once

#include "framework/ListBox.h"

#include <QIcon>

class QFileSystemWatcher;
class QTimer;

namespace fw {

// The file list box: the files of one folder that match its mask, each drawn with
// a small file icon at an item height of 16 pixels. It reads the folder when pointed
// at another one than it shows, when told to, and, while it follows its folder,
// whenever a file in it comes or goes.
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
    // Reads the folder again; the selected file stays selected where it still exists,
    // else the selection stays at its place in the list. No click is raised.
    void Update();
    // Reads the folder again whenever a file in it comes or goes, by any program.
    void setFollowing(bool on);

private:
    void drawEntry(QPainter& painter, int index, const QRect& rect, const QColor& fill);

    Lister listFiles;
    QString mask = QStringLiteral("*.*");
    QString directory;
    QIcon fileIcon;
    QFileSystemWatcher* watcher = nullptr; // while following
    QTimer* settle = nullptr;              // a burst of changes is read once
};

} // namespace fw
