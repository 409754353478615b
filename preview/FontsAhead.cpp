#include "preview/FontsAhead.h"

#include <QFontMetrics>
#include <QSet>
#include <algorithm>

namespace preview {

void FontsAhead::plan(const QStringList& faces, const QString& settings)
{
    if (settings != currentSettings) {
        entries.clear();
        byFace.clear();
        currentSettings = settings;
    }
    queue.clear();
    // Faces planned again are the likeliest to be wanted: they move to the front, the
    // last to be dropped. Walking backwards leaves the first planned at the very front.
    QSet<QString> kept;
    for (auto face = faces.crbegin(); face != faces.crend(); ++face) {
        if (byFace.contains(*face)) {
            touch(*face);
            kept.insert(*face);
        }
    }
    for (const QString& face : faces) {
        if (!byFace.contains(face) && !queue.contains(face))
            queue << face;
    }
    // A plan larger than what is held would push out its own first faces.
    const int room = std::max(0, capacity - int(kept.size()));
    if (queue.size() > room)
        queue.resize(room);
}

bool FontsAhead::step(const FontsOf& fontsOf)
{
    if (queue.isEmpty())
        return false;
    const QString face = queue.takeFirst();
    Entry entry{face, fontsOf(face)};
    // Measuring a font makes Qt load it; it keeps the load while the font lives.
    for (const QFont& font : entry.fonts)
        QFontMetrics(font).height();
    entries.push_front(std::move(entry));
    byFace.insert(face, entries.begin());
    if (int(entries.size()) > capacity) {
        byFace.remove(entries.back().face);
        entries.pop_back();
    }
    return true;
}

void FontsAhead::touch(const QString& face)
{
    entries.splice(entries.begin(), entries, byFace.value(face));
}

} // namespace preview
