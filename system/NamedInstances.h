#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

typedef struct _FcFontSet FcFontSet;

namespace sys {

// A named instance of a variable font, listed as a face of its own under its full
// name ("Noto Sans Display SemiBold Condensed"). Qt registers the instances as styles
// of their family, so the family with this weight, width and slant draws it.
struct NamedInstance {
    QString family;
    QString file;
    int weight = 400; // OpenType scale
    int width = 100;  // percent of normal
    bool italic = false;
};

// The named instances among some fontconfig font sets, by case-folded full name, in
// the order the sets list them. A file counts as variable when fontconfig lists a
// variable pattern for it; its default face counts as an instance too. An instance
// whose full name is a family name is left out: the family's own entry draws it.
class NamedInstances {
public:
    NamedInstances() = default;
    explicit NamedInstances(std::initializer_list<const FcFontSet*> sets);

    const NamedInstance* find(const QString& face) const;
    // Full names, as fontconfig spells them, in list order.
    const QStringList& names() const { return ordered; }
    // The instances a file holds, by full name.
    QStringList namesInFile(const QString& file) const;
    // The instance of a family drawn with this weight, width and slant, or none.
    QString nameOf(const QString& family, int weight, int width, bool italic) const;

private:
    QHash<QString, NamedInstance> byName;
    QStringList ordered;
};

// The named instances of Qt's fontconfig configuration, read again when its fonts
// change: what the program draws with.
const NamedInstances& drawnInstances();

} // namespace sys
