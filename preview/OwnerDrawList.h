#pragma once

#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QStringList>
#include <functional>
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
    // The face's font when it is loaded already, else null.
    const QFont* loaded(const QFont& base, const QString& face);
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

// The face list's fonts without a stall. Loading a font the first time costs Qt a
// search over every installed family, a few milliseconds each at 10,000 families, so a
// paint loads fonts for at most `budgetMs`. The items whose fonts were not loaded by
// then draw in the list's own font for a moment, and their fonts are loaded right after
// the paint, a budget at a time, so the window keeps answering the keyboard and mouse.
class ListItemFonts {
public:
    ListItemFonts(FaceFontCache& cache, int budgetMs) : cache(cache), budgetMs(budgetMs) {}

    // A new paint begins: a full budget, or none when the paint was held back.
    void startPaint()
    {
        spent.invalidate();
        holding = holdNext;
        holdNext = false;
    }
    // The next paint loads no font: it follows a keystroke that must show at once, and
    // the fonts it lacks are loaded right after by loadWaiting().
    void holdNextPaint() { holdNext = true; }
    bool holdingPaint() const { return holding; }
    // The face's font, loaded while the budget lasts; after that `base` for a face not
    // loaded yet, which waits for loadWaiting().
    const QFont& font(const QFont& base, const QString& face);
    bool hasWaiting() const { return !waiting.isEmpty(); }
    // Loads the waiting faces still shown for up to the budget; true when none waits.
    bool loadWaiting(const QFont& base, const std::function<bool(const QString&)>& shown);

private:
    bool budgetLeft();
    FaceFontCache& cache;
    int budgetMs;
    QElapsedTimer spent; // since the first load of this paint
    QStringList waiting;
    bool holdNext = false;
    bool holding = false;
};

// One owner-drawn item: the rectangle filled, the name written from its top-left
// corner on the fill colour, in the given font and the painter's pen.
void drawFaceItem(QPainter& painter, const QRect& rect, const QColor& fill, const QFont& font, const QString& name);

// The item of a face that cannot write its own name: the name in the list's font,
// then a few characters of the face's own in the face, from the same top line. The
// name is cut short where the specimen (up to a third of the item) would not fit.
void drawSpecimenItem(QPainter& painter, const QRect& rect, const QColor& fill, const QFont& listFont,
                      const QFont& faceFont, const QString& name, const QString& specimen);
inline constexpr int specimenGap = 8; // pixels between the name and the specimen

} // namespace preview
