#include "catalogue/InstalledFaces.h"

#include "framework/Errors.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace catalogue {

void sortFaceNames(QStringList& names)
{
    // Sort keys once instead of collating on every comparison; the C locale has no
    // case-insensitive keys of its own, so fold the case there.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const bool plainLocale = collator.locale().language() == QLocale::C;
    std::vector<QCollatorSortKey> keys;
    QStringList folded;
    if (plainLocale) {
        folded.reserve(names.size());
        for (const QString& name : names)
            folded << name.toCaseFolded();
    } else {
        keys.reserve(std::size_t(names.size()));
        for (const QString& name : names)
            keys.push_back(collator.sortKey(name));
    }
    std::vector<qsizetype> order(std::size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return plainLocale ? folded.at(a) < folded.at(b) : keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype i : order)
        sorted << names.at(i);
    names = std::move(sorted);
}

QStringList buildInstalledFaceList(const std::vector<sys::FontReport>& reports)
{
    QStringList faces{QStringLiteral("Default")};
    faces.reserve(qsizetype(reports.size()) + 1);
    for (const sys::FontReport& report : reports) {
        if (!faces.isEmpty() && faces.constLast().compare(report.face, Qt::CaseInsensitive) == 0)
            continue;
        faces << report.face;
    }
    sortFaceNames(faces);
    return faces;
}

const QStringList& InstalledFaceList::faces()
{
    if (!built) {
        list = buildInstalledFaceList(enumeration.enumerateFaces());
        // Their files are loaded for this program, so the enumeration has them too.
        QStringList off = turnedOff ? turnedOff() : QStringList();
        list.removeIf([&](const QString& face) { return off.contains(face, Qt::CaseInsensitive); });
        sortFaceNames(off);
        offFaces = QSet<QString>(off.begin(), off.end());
        list += off;
        built = true;
    }
    return list;
}

QString InstalledFaceList::at(int index)
{
    const QStringList& all = faces();
    if (index < 0 || index >= all.size())
        throw fw::Error(QStringLiteral("List index out of bounds (%1)").arg(index));
    return all.at(index);
}

} // namespace catalogue
