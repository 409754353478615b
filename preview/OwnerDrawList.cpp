#include "preview/OwnerDrawList.h"

#include "system/FontFactory.h"

#include <QFontMetrics>

namespace preview {

const QFont& FaceFontCache::font(const QFont& base, const QString& face)
{
    const QString key = base.key();
    if (key != baseKey) {
        clear();
        baseKey = key;
    }
    const auto found = byFace.find(face);
    if (found != byFace.end()) {
        entries.splice(entries.begin(), entries, found.value());
        return entries.front().font;
    }
    QFont font = base;
    sys::setFace(font, face, sys::Fallback::None);
    // Loaded through the cached font itself, so that the cache holds what Qt loaded. A
    // painter draws with a passing copy, and once many fonts are loaded Qt drops the
    // loads that nothing holds whenever it makes a new one.
    QFontMetrics(font).height();
    entries.push_front({face, font});
    byFace.insert(face, entries.begin());
    if (int(entries.size()) > capacity) {
        byFace.remove(entries.back().face);
        entries.pop_back();
    }
    return entries.front().font;
}

const QFont* FaceFontCache::loaded(const QFont& base, const QString& face)
{
    if (base.key() != baseKey)
        return nullptr;
    const auto found = byFace.find(face);
    if (found == byFace.end())
        return nullptr;
    entries.splice(entries.begin(), entries, found.value());
    return &entries.front().font;
}

void FaceFontCache::clear()
{
    entries.clear();
    byFace.clear();
}

bool ListItemFonts::budgetLeft()
{
    if (holding)
        return false;
    if (!spent.isValid()) {
        spent.start();
        return true;
    }
    return spent.elapsed() < budgetMs;
}

const QFont& ListItemFonts::font(const QFont& base, const QString& face)
{
    if (const QFont* font = cache.loaded(base, face))
        return *font;
    if (budgetLeft())
        return cache.font(base, face);
    if (!waiting.contains(face))
        waiting << face;
    return base;
}

bool ListItemFonts::loadWaiting(const QFont& base, const std::function<bool(const QString&)>& shown)
{
    waiting.removeIf([&](const QString& face) { return !shown(face); });
    spent.invalidate();
    holding = false;
    while (!waiting.isEmpty() && budgetLeft())
        cache.font(base, waiting.takeFirst());
    return waiting.isEmpty();
}

void drawFaceItem(QPainter& painter, const QRect& rect, const QColor& fill, const QFont& font, const QString& name)
{
    painter.fillRect(rect, fill);
    painter.setFont(font);
    painter.setBackground(fill);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, name);
}

void drawSpecimenItem(QPainter& painter, const QRect& rect, const QColor& fill, const QFont& listFont,
                      const QFont& faceFont, const QString& name, const QString& specimen)
{
    // The specimen always shows: a long name gives way, cut short with an ellipsis.
    const QFontMetrics nameMetrics(listFont);
    const int specimenWidth = std::min(QFontMetrics(faceFont).horizontalAdvance(specimen), rect.width() / 3);
    const int nameRoom = rect.width() - (specimen.isEmpty() ? 0 : specimenWidth + specimenGap);
    const QString shown = nameMetrics.elidedText(name, Qt::ElideRight, std::max(0, nameRoom));
    drawFaceItem(painter, rect, fill, listFont, shown);
    if (specimen.isEmpty())
        return;
    QRect rest = rect;
    rest.setLeft(rect.left() + nameMetrics.horizontalAdvance(shown) + specimenGap);
    painter.setFont(faceFont);
    painter.drawText(rest, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, specimen);
}

} // namespace preview
