#include "catalogue/ListViews.h"

namespace catalogue {

int followIndex(const QStringList& entries, const QString& target, const QString& marker)
{
    if (entries.isEmpty())
        return -1;
    if (target == marker)
        return 0;
    const qsizetype found = entries.indexOf(target);
    return int(found >= 0 ? found : entries.size() - 1);
}

} // namespace catalogue
