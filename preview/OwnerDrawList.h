#pragma once

#include <QFont>
#include <QHash>
#include <QPainter>
#include <list>

namespace preview {

// Fonts of the faces the face list draws in, each loaded and kept so a repaint does
// not load it again; the least recently used go first once the cache is full. About
// ten pages of the list: each loaded font holds a face open in FreeType.
class FaceFontCache {
public:
    explicit FaceFontCache(int capacity = 128) : capacity(capacity) {}

    // The base font with its face replaced, without falling back to other faces.
    const QFont& font(const QFont& base, const QString& face);
    void clear();
    int size() const { return int(entries.size()); }

private:
    struct Entry {
        QString face;
        QFont font;
    };
    int capacity;
    QString baseKey;
    std::list<Entry> entries; // most recently used first
    QHash<QString, std::list<Entry>::iterator> byFace;
};

// One owner-drawn item: the rectangle filled, the name written from its top-left
// corner on the fill colour, in the given font and the painter's pen.
void drawFaceItem(QPainter& painter, const QRect& rect, const QColor& fill, const QFont& font, const QString& name);

} // namespace preview
