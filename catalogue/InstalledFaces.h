#pragma once

#include "system/FontEnumeration.h"

#include <QSet>
#include <QStringList>
#include <functional>
#include <vector>

namespace catalogue {

// The installed face list from a family enumeration: "Default", then every
// reported name unless it equals the name added just before it ignoring letter
// case, the whole list sorted case-insensitively in the user's locale. Repeats that
// were not adjacent in the enumeration stay.
QStringList buildInstalledFaceList(const std::vector<sys::FontReport>& reports);

// Sorts case-insensitively in the user's locale; equal names keep their order.
void sortFaceNames(QStringList& names);

// The shared installed face list: built on first use, dropped on the font-change
// notice, built anew on the next use.
class InstalledFaceList {
public:
    explicit InstalledFaceList(sys::FontEnumeration& enumeration) : enumeration(enumeration) {}

    const QStringList& faces();
    int count() { return int(faces().size()); }
    // Entry i; an index outside the list raises the framework's list-index error.
    QString at(int index);
    void invalidate() { built = false; }
    bool isBuilt() const { return built; }
    // Faces turned off follow the others, sorted.
    void setTurnedOff(std::function<QStringList()> source) { turnedOff = std::move(source); }
    bool isOff(const QString& face) const { return offFaces.contains(face); }

private:
    sys::FontEnumeration& enumeration;
    std::function<QStringList()> turnedOff;
    QSet<QString> offFaces;
    QStringList list;
    bool built = false;
};

} // namespace catalogue
