#pragma once

#include <QStringList>

namespace catalogue {

// The texts that mean "nothing found" in the other view.
inline const QString noFaceFound = QStringLiteral("Cannot found facename");
inline const QString noFileFound = QStringLiteral("cannot identified file");

// Which entry a newly shown list selects to follow the other view: for the marker,
// the first entry; otherwise the first entry equal to the target (letter case
// significant), or the last entry when none is. -1 for an empty list.
int followIndex(const QStringList& entries, const QString& target, const QString& marker);

} // namespace catalogue
