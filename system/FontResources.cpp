#include "system/FontResources.h"

#include "system/Fontconfig.h"

#include <QFontDatabase>

namespace sys {

int FontconfigResources::addFontResource(const QString& path)
{
    if (!session.addApplicationFont(path))
        return 0;
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0)
        return 0;
    if (qtFontIds.contains(path))
        QFontDatabase::removeApplicationFont(qtFontIds.value(path));
    qtFontIds.insert(path, id);
    return int(QFontDatabase::applicationFontFamilies(id).size());
}

bool FontconfigResources::removeFontResource(const QString& path)
{
    session.removeApplicationFont(path);
    const auto id = qtFontIds.constFind(path);
    if (id == qtFontIds.constEnd())
        return false;
    const bool removed = QFontDatabase::removeApplicationFont(*id);
    qtFontIds.erase(id);
    return removed;
}

void FontconfigResources::broadcastFontChange()
{
    // Rescanning the font folders rewrites fontconfig's caches, so every fontconfig
    // program sees the change; then the program drops its own lists.
    session.reload();
    session.config();
    notifyListeners();
}

} // namespace sys
