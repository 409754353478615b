#pragma once

#include <QFont>
#include <QHash>
#include <QStringList>
#include <functional>
#include <list>

namespace preview {

// Qt loads a font the first time text is measured or drawn in it, and with thousands
// of installed fonts each load takes milliseconds. FontsAhead makes the fonts of the
// faces the user is likely to preview next while the window is idle, one face per
// step, and holds them so Qt keeps what it loaded. At most `capacity` faces are held;
// the least recently planned go first.
class FontsAhead {
public:
    // The fonts a preview of a face draws with.
    using FontsOf = std::function<QList<QFont>(const QString& face)>;

    explicit FontsAhead(int capacity = 96) : capacity(capacity) {}

    // The faces to make next, most likely first. Replaces what was waiting; faces
    // already made stay made and are not made again. `settings` names everything
    // but the face that the fonts depend on (size, style): when it changes, what was
    // made no longer counts.
    void plan(const QStringList& faces, const QString& settings);
    // Makes the fonts of the next waiting face. False when no face was waiting.
    bool step(const FontsOf& fontsOf);

    bool isMade(const QString& face) const { return byFace.contains(face); }
    int waiting() const { return int(queue.size()); }
    int made() const { return int(entries.size()); }

private:
    struct Entry {
        QString face;
        QList<QFont> fonts;
    };
    void touch(const QString& face);

    int capacity;
    QString currentSettings;
    QStringList queue;
    std::list<Entry> entries; // most recently planned or made first
    QHash<QString, std::list<Entry>::iterator> byFace;
};

} // namespace preview
