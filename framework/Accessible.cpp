#include "framework/Accessible.h"

#include <QVariant>
#include <QWidget>

namespace fw {

namespace {
constexpr char hiddenProperty[] = "glyphwellHiddenFromReaders";
}

bool accessibleIdsWanted()
{
    return qEnvironmentVariable(accessibleIdsVariable) == QLatin1String("1");
}

void exposeAccessibleIds(QWidget* window)
{
    const bool ids = accessibleIdsWanted();
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : std::as_const(controls)) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith(QLatin1String("qt_")))
            control->setAccessibleDescription(ids ? control->objectName() : QString());
    }
}

void hideFromReaders(QWidget* widget)
{
    widget->setProperty(hiddenProperty, true);
}

bool hiddenFromReaders(const QObject* object)
{
    return object && object->property(hiddenProperty).toBool();
}

QString spokenPosition(int index, int count)
{
    return QStringLiteral("%1 of %2").arg(index + 1).arg(count);
}

QString spokenCellPlace(int row, int col)
{
    return QStringLiteral("row %1, column %2").arg(row + 1).arg(col + 1);
}

} // namespace fw
